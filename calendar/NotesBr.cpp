// The daily-notes register: the range around the selected day, its count,
// the date pickers of From and To, and the text of a deleted note left on
// the clipboard.
#include "calendar/NotesBr.h"

#include "calendar/Calendar.h"
#include "calendar/CalendarWnd.h"
#include "calendar/DailyNoteFr.h"
#include "calendar/NotesFr.h"
#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>

namespace ven {
namespace {

const WindowDef kNotesBrDef{
    .title = "Daily Notes",
    .w = 152,
    .h = 215,
    .icon = "DailyNote.ico",
    .mdi = true,
    .resizable = true,
    .controls = {
        {.name = "FromPrompt", .kind = Kind::Prompt, .text = "From:", .x = 4, .y = 6, .w = 20, .h = 10},
        {.name = "From", .kind = Kind::Entry, .x = 24, .y = 4, .w = 48, .h = 12, .picture = "D06-B", .tip = "Start Date"},
        {.name = "ToPrompt", .kind = Kind::Prompt, .text = "To:", .x = 78, .y = 6, .w = 14, .h = 10},
        {.name = "To", .kind = Kind::Entry, .x = 94, .y = 4, .w = 48, .h = 12, .picture = "d06-B", .tip = "To Date"},
        {.name = "Count", .kind = Kind::String, .x = 100, .y = 20, .w = 44, .h = 10, .picture = "n_6", .flags = AlignRight,
         .font = {.bold = true}, .color = 0x000080},
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 30, .w = 144, .h = 146},
        {.name = "Notes", .kind = Kind::Tab, .text = "Notes", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 46, .w = 136, .h = 126},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 180, .w = 34, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 40, .y = 180, .w = 34, .h = 14},
        {.name = "Copy", .kind = Kind::Button, .text = "C&opy", .x = 76, .y = 180, .w = 34, .h = 14, .flags = Default},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 112, .y = 180, .w = 34, .h = 14},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 4, .y = 197, .w = 34, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 76, .y = 197, .w = 34, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 112, .y = 197, .w = 34, .h = 14, .flags = HelpButton},
    }};

class NotesBr : public WindowController {
public:
    NotesBr() : WindowController(QStringLiteral("NotesBr"), kNotesBrDef) {}

protected:
    bool setUp() override
    {
        if (SelectedDate < 5)
            SelectedDate = clock().today();
        if (from_ < 5) {
            from_ = SelectedDate - 7;
            to_ = SelectedDate + 7;
        }
        Window& w = window();
        w.bind(QStringLiteral("From"), bindTo(from_));
        w.bind(QStringLiteral("To"), bindTo(to_));
        w.bind(QStringLiteral("Count"), bindTo(count_));
        using C = BrowseColumn;
        BrowseColumn weekday =
            C::computed("Wdy", 40, "s9", [](const Record& r) { return QVariant(WeekdayName(int32_t(r.num(ANT::DATE)))); });
        for (int32_t day = 80000; day < 80007; ++day)  // a week: every name shows whole
            weekday.samples << WeekdayName(day);
        auto list = std::make_unique<BrowseList>(*this, VenNote,
                                                 std::vector<BrowseColumn>{C::ofField(ANT::DATE, "Date", 50, "D06-B"), weekday});
        list->addOrder(ANT::NOTE_KEY);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeNotesFr(); });
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        list->setStored([this] { applyRange(false); });  // a stored or deleted note is counted
        list_ = list.get();
        addPart(std::move(list));
        applyRange(false);
        return true;
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if ((c == QLatin1String("From") || c == QLatin1String("To"))
            && (e == FieldEvent::RightClick || e == FieldEvent::DoubleClick))
            return pick(c == QLatin1String("From"));
        WindowController::fieldEvent(c, e);
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("From") || c == QLatin1String("To"))
            return applyRange(true);
        if (c == QLatin1String("Delete") && list_->loadHighlighted()) {
            // The note is read again and left on the clipboard before it goes.
            const Record& r = file(VenNote).rec();
            QGuiApplication::clipboard()->setText(noteClipText(int32_t(r.num(ANT::DATE)), r.str(ANT::NOTE)));
        }
        WindowController::accepted(c);
    }

private:
    void pick(bool from)
    {
        picked_ = from ? from_ : to_;
        QPointer<NotesBr> self = this;
        pickDate(QString::fromUtf8(from ? "Select Start Date" : "Select End Date"), picked_, [self, from](bool picked) {
            if (!self || !picked || !self->isOpen())
                return;
            (from ? self->from_ : self->to_) = self->picked_;
            self->window().display();
            self->applyRange(true);
        });
    }

    // The list within From..To and its count, counted one by one.
    void applyRange(bool refill)
    {
        list_->setRange(ANT::DATE, int64_t(from_), int64_t(to_));
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Context ctx;
        KeyedFile& f = ctx.file(VenNote);
        count_ = 0;
        if (f.open()) {
            f.rec().clear();
            f.rec().set(ANT::DATE, int64_t(from_));
            f.setFromBuffer(ANT::NOTE_KEY);
            while (f.next() && f.rec().num(ANT::DATE) <= to_)
                ++count_;
        }
        QApplication::restoreOverrideCursor();
        window().display(QStringLiteral("Count"));
        if (refill)
            list_->refresh();
    }

    BrowseList* list_ = nullptr;
    int32_t from_ = 0, to_ = 0, picked_ = 0;
    int32_t count_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeNotesBr(const QString&)
{
    return std::make_unique<NotesBr>();
}

} // namespace ven
