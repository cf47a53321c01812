// The diary browse: its window, the period's filter and the two orders, the
// computed columns, the form requests, Copy, Send Fax, the clipboard text
// and the category reports.
#include "calendar/DiaryBr.h"

#include "calendar/DiaryGlobals.h"
#include "calendar/DiaryReport.h"
#include "core/DateHelpers.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

namespace ven {
namespace {

const WindowDef kDiaryBrDef{
    .title = "Diary",
    .w = 358,
    .h = 217,
    .icon = "Memo.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 350, .h = 188},
        {.name = "Chronologically", .kind = Kind::Tab, .text = "Chronologically", .parent = "Sheet"},
        {.name = "Alphabetically", .kind = Kind::Tab, .text = "Alphabetically", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 342, .h = 168},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 198, .w = 33, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 39, .y = 198, .w = 33, .h = 14},
        {.name = "Copy", .kind = Kind::Button, .text = "C&opy", .x = 74, .y = 198, .w = 33, .h = 14, .tip = "Copy Record"},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 109, .y = 198, .w = 33, .h = 14},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 144, .y = 198, .w = 33, .h = 14},
        {.name = "SendFax", .kind = Kind::Button, .text = "Send Fax", .x = 179, .y = 198, .w = 33, .h = 14,
         .tip = "\n Send Faximile Message \n"},
        {.name = "Clipbrd", .kind = Kind::Button, .text = "Clip&brd", .x = 214, .y = 198, .w = 33, .h = 14},
        {.name = "Print", .kind = Kind::Button, .text = "&Print", .x = 249, .y = 198, .w = 33, .h = 14, .tip = "Print"},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 284, .y = 198, .w = 33, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 319, .y = 198, .w = 33, .h = 14, .flags = HelpButton},
    }};

// The title by category; any other category lists all events.
const char* const kTitles[] = {"Telephone Messages & Faxes", "Projects", "Minutes of Meeting", "Meetings", "Extra"};
// The report of each category.
const char* const kReports[] = {"DiaryPhoRp", "DiaryProRp", "DiaryNotRp", "DiaryMemRp", "DiaryExtRp"};
constexpr uint8_t kPhoneFax = 0, kExtra = 4;
constexpr int kChronological = 1;  // the sheet's first tab
constexpr int kFrozenColumns = 2;

int64_t beginTime(const Record& r) { return std::max<int64_t>(1, r.num(DRY::BTIME)); }

// A date as dd.mm.
QString dayAndMonth(int64_t date) { return formatDate(int32_t(date), u"D06.B").left(5); }

// Names of VenNam records by number, read through instances of their own so
// that the procedure's VenNam buffer stays as the diary form left it.
class NameReader {
public:
    // Last name, first name and organization, the non-blank ones joined by
    // ", "; blank for 0 or a missing name.
    QString name(int64_t recno)
    {
        if (recno == 0)
            return {};
        KeyedFile& f = ctx_.file(VenNam);
        if (!f.isOpen() && !f.open())
            return {};
        f.rec().clear();
        f.rec().set(NAM::RECNO, recno);
        if (!f.get(NAM::RECNOKEY))
            return {};
        QStringList parts;
        for (uint16_t field : {NAM::LASTNAME, NAM::FIRSTNAME, NAM::ORG})
            if (const QString t = f.rec().str(field).trimmed(); !t.isEmpty())
                parts << t;
        return parts.join(QStringLiteral(", "));
    }

private:
    Context ctx_;
};

std::vector<BrowseColumn> diaryColumns(std::shared_ptr<NameReader> names)
{
    using C = BrowseColumn;
    auto nameOf = [names](uint16_t field) {
        return [names, field](const Record& r) { return QVariant(names->name(r.num(field))); };
    };
    return {
        C::computed("Beg", 16, "s3", [](const Record& r) { return QVariant(WeekdayName(int32_t(r.num(DRY::BDATE))).left(3)); }),
        C::computed("in", 22, "s5", [](const Record& r) { return QVariant(dayAndMonth(r.num(DRY::BDATE))); }),
        C::computed("Time", 22, "T01.B", [](const Record& r) { return QVariant::fromValue<qlonglong>(beginTime(r)); }),
        C::computed("End", 22, "s5",
                    [](const Record& r) {
                        const int64_t end = r.num(DRY::EDATE);
                        return QVariant(end == r.num(DRY::BDATE) ? QString() : dayAndMonth(end));
                    }),
        C::ofField(DRY::ETIME, "Time", 22, "T01.B"),
        // As the reports show it: hours past a day as they are ("25.00").
        C::computed("Dur", 22, "s8", [](const Record& r) { return QVariant(durationText(r)); }),
        C::ofField(DRY::LEGEND, "Legend", 120, "s255"),
        C::ofField(DRY::C, "C", 12, "n2B"),
        C::ofField(DRY::T, "T", 16, "n03B"),
        C::ofField(DRY::CATEGORY, "Cat", 12, "n1B"),
        C::computed("Caller", 80, "s60", nameOf(DRY::CALLER)),
        C::computed("Client", 80, "s60", nameOf(DRY::CLIENT)),
        C::ofField(DRY::NUMBER, "Number", 28, "n06b"),
        C::ofField(DRY::CALLER, "Caller#", 28, "n06b"),
        // One line in the list: its line breaks show as blanks.
        C::computed("Memorandum", 200, "s255",
                    [](const Record& r) {
                        QString m = r.str(DRY::MEMORANDUM);
                        m.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace('\n', ' ').replace('\r', ' ');
                        return QVariant(m);
                    }),
    };
}

class DiaryBr : public WindowController {
public:
    explicit DiaryBr(const DiaryPeriod& period) : WindowController(QStringLiteral("DiaryBr"), kDiaryBrDef), period_(period)
    {
        helpTopic = QStringLiteral("DiaryBrw");
    }

protected:
    bool setUp() override
    {
        period_.repair(clock().today(), clock().time(), kLastTime);
        const uint8_t cat = period_.LCategory;
        window().setTitle(QString::fromUtf8(cat < std::size(kTitles) ? kTitles[cat] : "All Events"));

        auto list = std::make_unique<BrowseList>(*this, VenDry, diaryColumns(std::make_shared<NameReader>()));
        list->addOrder(DRY::CHRONOKEY);
        list->addOrder(DRY::ALPHAKEY, DRY::LEGEND);
        list->setSheet(QStringLiteral("Sheet"));
        list->setFilter([p = period_](const Record& r) { return p.lists(r); });
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        list_ = list.get();
        addPart(std::move(list));
        limitToWindow(true);
        list_->freezeColumns(kFrozenColumns);
        control("Print").show(cat < std::size(kReports));
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow)
            showRowButtons();
    }

    void newSelection(const QString& c) override
    {
        // The chronological order reads only the window's dates by its key.
        if (c == QLatin1String("Sheet"))
            limitToWindow(window().chosenTab(c) == kChronological);
        WindowController::newSelection(c);
        if (c == QLatin1String("List"))
            showRowButtons();
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Insert"))
            return runForm(InsertRecord);
        if (c == QLatin1String("Change"))
            return runForm(ChangeRecord);
        if (c == QLatin1String("Delete"))
            return runForm(DeleteRecord);
        if (c == QLatin1String("Copy")) {
            // The list loads the entry, sets CopyRequested and presses Insert.
            if (!list_->highlighted())
                return;
            DiaryCopyRequested = 1;
            return WindowController::accepted(c);
        }
        if (c == QLatin1String("SendFax"))
            return sendFax();
        if (c == QLatin1String("Clipbrd"))
            return copyToClipboard();
        if (c == QLatin1String("Print"))
            return print();
        WindowController::accepted(c);
    }

private:
    void limitToWindow(bool on)
    {
        if (on)
            list_->setRange(DRY::BDATE, int64_t(period_.LBDate), int64_t(period_.LEDate));
        else
            list_->clearRanges();
    }

    // Clip&brd for an extra event, Send Fax for a telephone entry; Copy
    // needs an entry to copy.
    void showRowButtons()
    {
        const Record* h = list_->highlighted();
        const int64_t cat = h ? h->num(DRY::CATEGORY) : -1;
        control("Clipbrd").show(cat == kExtra);
        control("SendFax").show(cat == kPhoneFax);
        control("Copy").enable(h != nullptr);
    }

    // Presses a button as the user would: only while it is shown and enabled.
    void press(const QString& c)
    {
        Control b = control(c);
        if (b.isVisible() && b.isEnabled())
            raiseFieldEvent(c, FieldEvent::Accepted);
    }

    // Runs the diary form with the request on this thread: an insert on a
    // new record (or, after Copy, on the highlighted entry's values), a
    // change or delete on the highlighted entry.
    void runForm(uint8_t request)
    {
        if (request == InsertRecord ? !list_->prepareInsert() : !list_->loadHighlighted()) {
            DiaryCopyRequested = 0;
            return;
        }
        QPointer<DiaryBr> self(this);
        callProcedure(QStringLiteral("DiaryFr"), request, [self, request](uint8_t response) {
            // The form clears it as it closes; a form that never opened did not.
            DiaryCopyRequested = 0;
            if (self && self->isOpen())
                self->formEnded(request, response);
        });
    }

    void formEnded(uint8_t request, uint8_t response)
    {
        KeyedFile& f = list_->file();
        takeInsertPrepared(f);  // a form that did not take the prepared record leaves nothing behind
        if (request == InsertRecord && response != RequestCompleted && f.isOpen() && f.autoIncPending())
            f.cancelAutoInc();
        // The entry stored last is highlighted when the window lists it.
        if (response == RequestCompleted && request != DeleteRecord && f.hasCurrent()) {
            const int row = list_->model().loadAround(f.currentId(), f.rec(), list_->pageRows() * 2);
            if (row >= 0)
                list_->view()->setCurrentIndex(list_->model().index(row, 0));
        }
        list_->refresh();
        showRowButtons();
    }

    void sendFax()
    {
        const Record* h = list_->highlighted();
        if (!h)
            return;
        // An entry without caller, legend or memorandum opens to be completed.
        if (h->num(DRY::CALLER) == 0 || h->str(DRY::LEGEND).trimmed().isEmpty()
            || h->str(DRY::MEMORANDUM).trimmed().isEmpty())
            return press(QStringLiteral("Change"));
        if (!list_->loadHighlighted())
            return;
        callProcedure(QStringLiteral("FaximileRp"), NoRequest, {}, QString::number(list_->file().rec().num(DRY::NUMBER)));
    }

    void copyToClipboard()
    {
        if (!list_->loadHighlighted())
            return;
        const Record& r = list_->file().rec();
        const QString crlf = QStringLiteral("\r\n");
        const QString text = "TV" + r.str(DRY::C).trimmed() + ": " + formatTime(int32_t(beginTime(r)), u"T01.") + "-"
                             + formatTime(int32_t(r.num(DRY::ETIME)), u"T01.") + " " + r.str(DRY::LEGEND).trimmed() + crlf
                             + r.str(DRY::MEMORANDUM).trimmed() + crlf + QString(60, QChar('~')) + crlf;
        QGuiApplication::clipboard()->setText(text);
    }

    // The category's report over the window, in the chosen tab's order. An
    // extra browse over several days prints one report over them, its
    // programme days from 06:00 to 06:00, so that no programme prints twice
    // and days without programmes take no room.
    void print()
    {
        const uint8_t cat = period_.LCategory;
        if (cat >= std::size(kReports))
            return;
        list_->loadHighlighted();
        const int64_t order = window().chosenTab(QStringLiteral("Sheet"));
        const DiaryPeriod& p = period_;
        const bool days = cat == kExtra && p.LEDate > p.LBDate + 1;
        const QString parameters = days ? joinParameters({order, cat, p.LBDate, kProgramDayBegins, p.LEDate, kProgramDayEnds})
                                        : joinParameters({order, cat, p.LBDate, p.LBTime, p.LEDate, p.LETime});
        callProcedure(QString::fromUtf8(kReports[cat]), NoRequest, {}, parameters);
    }

    DiaryPeriod period_;
    BrowseList* list_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeDiaryBr(const DiaryPeriod& period)
{
    return std::make_unique<DiaryBr>(period);
}

std::unique_ptr<WindowController> makeDiaryBr(const QString& parameter)
{
    return makeDiaryBr(periodFromParameters(parameter));
}

} // namespace ven
