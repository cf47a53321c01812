// The diary selection: its window, the date window each category starts
// with, the rules that keep the window sound, and OK running the browse.
#include "calendar/DiarySel.h"

#include "platform/DateField.h"
#include "calendar/DiaryBr.h"
#include "calendar/DiaryGlobals.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"

#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace ven {
namespace {

const WindowDef kDiarySelDef{
    .title = "Diary Select",
    .w = 157,
    .h = 71,
    .icon = "Tarn-Vel.ico",
    .controls = {
        {.name = "Category", .kind = Kind::Option, .text = "Category", .x = 3, .y = 1, .w = 56, .h = 59},
        {.name = "PhoneFax", .kind = Kind::Radio, .text = " Phone/Fax", .x = 8, .y = 10, .w = 48, .h = 8, .parent = "Category", .use = "0"},
        {.name = "Projects", .kind = Kind::Radio, .text = " &Projects", .x = 8, .y = 18, .w = 48, .h = 8, .parent = "Category", .use = "1"},
        {.name = "Notes", .kind = Kind::Radio, .text = " &Notes", .x = 8, .y = 26, .w = 48, .h = 8, .parent = "Category", .use = "2"},
        {.name = "Meetings", .kind = Kind::Radio, .text = " &Meetings", .x = 8, .y = 34, .w = 48, .h = 8, .parent = "Category", .use = "3"},
        {.name = "Extra", .kind = Kind::Radio, .text = " &Extra", .x = 8, .y = 42, .w = 48, .h = 8, .parent = "Category", .use = "4"},
        {.name = "All", .kind = Kind::Radio, .text = " &All", .x = 8, .y = 50, .w = 48, .h = 8, .parent = "Category", .use = "5"},
        {.name = "BeginPrompt", .kind = Kind::Prompt, .text = "Begin:", .x = 63, .y = 6, .w = 22, .h = 10},
        {.name = "BeginDate", .kind = Kind::Spin, .x = 86, .y = 4, .w = 48, .h = 12, .picture = "D06-B",
         .tip = "Right Click to Select from Calendar", .low = 1, .high = 109211},
        {.name = "BeginDay", .kind = Kind::String, .x = 86, .y = 17, .w = 48, .h = 8, .picture = "s11"},
        {.name = "EndPrompt", .kind = Kind::Prompt, .text = "End:", .x = 63, .y = 30, .w = 22, .h = 10},
        {.name = "EndDate", .kind = Kind::Spin, .x = 86, .y = 28, .w = 48, .h = 12, .picture = "D06-B",
         .tip = "Right Click to Select from Calendar", .low = 1, .high = 109211},
        {.name = "EndDay", .kind = Kind::String, .x = 86, .y = 41, .w = 48, .h = 8, .picture = "s11"},
        {.name = "Picture", .kind = Kind::Image, .x = 137, .y = 4, .w = 17, .h = 17, .icon = "Tarn-Vel.gif"},
        {.name = "OK", .kind = Kind::Button, .x = 86, .y = 50, .w = 20, .h = 11, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .x = 108, .y = 50, .w = 20, .h = 11, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .x = 130, .y = 50, .w = 20, .h = 11, .flags = HelpButton},
        {.name = "DateLine", .kind = Kind::String, .x = 3, .y = 62, .w = 151, .h = 8},
    }};

// The buttons show icons only.
const std::pair<const char*, QStyle::StandardPixmap> kButtonIcons[] = {
    {"OK", QStyle::SP_DialogOkButton}, {"Cancel", QStyle::SP_DialogCancelButton}, {"Help", QStyle::SP_DialogHelpButton}};

constexpr int32_t kFirstDate = 36163;   // 1 January 1900
constexpr int32_t kLastDate = 109211;   // 31 December 2099
constexpr int32_t kDayStart = 1;        // the whole days: from midnight
constexpr int32_t kLatestEnd = 8637001; // an end time on the begin's day comes after it
constexpr uint8_t kExtra = 4;

// A category's date window in days from today (or from this week's Monday).
struct DateWindow {
    int begin, end;
    bool fromMonday = false;
};
// By category 0..5: when the window opens, and when the category is chosen.
const DateWindow kAtSetUp[] = {{-7, 0}, {0, 0}, {0, 0}, {0, 31}, {0, 8}, {-1, 1}};
const DateWindow kOnChoosing[] = {{-7, 8}, {0, 0}, {0, 0}, {0, 31}, {0, 7, true}, {-1, 1}};

class DiarySel : public WindowController {
public:
    DiarySel() : WindowController(QStringLiteral("DiarySel"), kDiarySelDef) {}

protected:
    bool setUp() override
    {
        category_ = GCategory <= kAllCategories ? GCategory : 0;
        DiaryBeginTime = kDayStart;
        DiaryEndTime = kLastTime;
        setDates(kAtSetUp[category_]);
        Window& w = window();
        w.bind(QStringLiteral("Category"), bindTo(category_));
        DateField::attach(*this, QStringLiteral("BeginDate"), &DiaryBeginDate, QStringLiteral("Select Start Date"));
        DateField::attach(*this, QStringLiteral("EndDate"), &DiaryEndDate, QStringLiteral("Select End Date"));
        w.bind(QStringLiteral("BeginDay"), bindTo(beginDay_));
        w.bind(QStringLiteral("EndDay"), bindTo(endDay_));
        w.bind(QStringLiteral("DateLine"), bindTo(DateLine));
        for (const auto& [name, icon] : kButtonIcons)
            if (auto* b = control(QString::fromUtf8(name)).as<QPushButton>())
                b->setIcon(b->style()->standardIcon(icon));
        keepWindowSound();
        return true;
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        // A date's own key, step or entry holds it within the years shown.
        if ((c == QLatin1String("BeginDate") || c == QLatin1String("EndDate"))
            && (e == FieldEvent::Accepted || e == FieldEvent::NewSelection)) {
            int32_t& date = c == QLatin1String("BeginDate") ? DiaryBeginDate : DiaryEndDate;
            date = std::clamp(date, kFirstDate, kLastDate);
            window().display(c);
        }
        keepWindowSound();
        WindowController::fieldEvent(c, e);
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Category")) {
            if (category_ <= kAllCategories)
                setDates(kOnChoosing[category_]);
            window().display();
            keepWindowSound();
            return;
        }
        if (c == QLatin1String("OK"))
            return runBrowse();
        WindowController::accepted(c);
    }

private:
    void setDates(const DateWindow& d)
    {
        const int32_t today = clock().today();
        const int32_t from = d.fromMonday ? today / 7 * 7 + 1 : today;
        DiaryBeginDate = from + d.begin;
        DiaryEndDate = from + d.end;
    }

    // An end before the begin is moved after it; the weekday names follow.
    // Only what changes is shown again, so that a date being typed stays.
    void keepWindowSound()
    {
        if (DiaryEndDate < DiaryBeginDate) {
            DiaryEndDate = DiaryBeginDate + 1;
            window().display(QStringLiteral("EndDate"));
        }
        if (DiaryEndDate == DiaryBeginDate && DiaryEndTime <= DiaryBeginTime)
            DiaryEndTime = kLatestEnd;
        beginDay_ = WeekdayName(DiaryBeginDate);
        endDay_ = WeekdayName(DiaryEndDate);
        window().display(QStringLiteral("BeginDay"));
        window().display(QStringLiteral("EndDay"));
    }

    void runBrowse()
    {
        GCategory = category_ < kAllCategories ? category_ : 0;
        if (category_ == kExtra && DiaryEndDate < DiaryBeginDate + 1) {
            DiaryEndDate = DiaryBeginDate + 1;
            window().display(QStringLiteral("EndDate"));  // a field that is left later reads what it shows
        }
        const DiaryPeriod period{category_, DiaryBeginDate, DiaryBeginTime, DiaryEndDate, DiaryEndTime};
        QPointer<DiarySel> self(this);
        call(makeDiaryBr(period), NoRequest, [self](uint8_t) {
            if (self && self->isOpen()) {
                self->window().display();
                self->keepWindowSound();
            }
        });
    }

    uint8_t category_ = 0;
    QString beginDay_, endDay_;
};

} // namespace

std::unique_ptr<WindowController> makeDiarySel(const QString&)
{
    return std::make_unique<DiarySel>();
}

} // namespace ven
