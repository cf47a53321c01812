// The alarm list: the alarms in date and time order with their repeat rule
// abbreviated, the alarm form for Insert, Copy, Change and Delete, and
// "Next Alarm".
#include "calendar/AlarmsBr.h"

#include "calendar/UpdateVenAlarm.h"
#include "core/AlarmScan.h"
#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/Picture.h"

namespace ven {
namespace {

const WindowDef kAlarmsBrDef{
    .title = "Alarms Browse ",
    .w = 358,
    .h = 220,
    .icon = "AlarmClock.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 350, .h = 192},
        {.name = "AlarmsTab", .kind = Kind::Tab, .text = "Alarms", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 342, .h = 172, .font = {.family = "Tahoma", .points = 8, .bold = true}},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 201, .w = 34, .h = 14, .flags = Hidden},
        {.name = "Copy", .kind = Kind::Button, .text = "Copy", .x = 4, .y = 201, .w = 34, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 42, .y = 201, .w = 34, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 80, .y = 201, .w = 34, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 118, .y = 201, .w = 34, .h = 14},
        {.name = "NextAlarm", .kind = Kind::Button, .text = "Next Alarm", .x = 170, .y = 201, .w = 60, .h = 14, .icon = "AlarmClock.ico"},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 278, .y = 201, .w = 36, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 318, .y = 201, .w = 36, .h = 14, .flags = HelpButton},
    }};

struct Repeat {
    const char* code;
    const char* shown;
};
const Repeat kRepeats[] = {{"0", "Dly"}, {"1", "Sun"}, {"2", "Mon"}, {"3", "Tue"}, {"4", "Wed"}, {"5", "Thu"},
                           {"6", "Fri"}, {"7", "Sat"}, {"8", "M-F"}, {"9", "S-S"}};

QString fileColumn(const Record& r)
{
    const QString sound = r.str(ALA::SOUND).trimmed();
    return sound == u"VIEW" ? sound : SplitPath(PathName, 1, sound);
}

QString importance(const Record& r)
{
    const int64_t i = r.num(ALA::IMPORTANT);
    return i == 1 ? QStringLiteral("I") : i == 9 ? QStringLiteral("D") : QStringLiteral("N");
}

std::vector<BrowseColumn> columns()
{
    using C = BrowseColumn;
    return {
        C::computed("Da", 18, "s2", [](const Record& r) { return WeekdayName(int32_t(r.num(ALA::DATE))).left(2); }),
        C::computed("te", 28, "s5", [](const Record& r) { return formatDate(int32_t(r.num(ALA::DATE)), u"D06.").left(5); }),
        C::ofField(ALA::TIME, "Time", 24, "T01.B"),
        C::ofField(ALA::WARNING, "Wrn", 24, "T1.B"),
        C::ofField(ALA::MESSAGE, "M", 8, "s1"),
        C::computed("Rep", 16, "s3", [](const Record& r) { return RepeatAbbreviation(r.str(ALA::DOW)); }),
        C::ofField(ALA::ACTION, "Message or Parameters", 120, "s128"),
        C::computed("I", 8, "s1", importance),
        C::computed("L", 8, "s1", [](const Record& r) { return r.num(ALA::LOG) ? QStringLiteral("Y") : QStringLiteral("N"); }),
        C::computed("File", 60, "s128", fileColumn),
        C::ofField(ALA::NBR, "Nbr", 24, "n_06B"),
        C::ofField(ALA::DRYNUM, "Diary", 28, "n_07B"),
    };
}

class AlarmsBr : public WindowController {
public:
    AlarmsBr() : WindowController(QStringLiteral("AlarmsBr"), kAlarmsBrDef) {}

protected:
    bool setUp() override
    {
        auto list = std::make_unique<BrowseList>(*this, VenAlarm, columns());
        list->addOrder(ALA::ALARM_KEY, ALA::DATE);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeUpdateVenAlarm({}); });
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        addPart(std::move(list));
        return true;
    }

    void accepted(const QString& control) override
    {
        if (control == u"NextAlarm") {
            ++AlarmsChanged;
            return;
        }
        WindowController::accepted(control);
    }

    void tearDown() override { ++AlarmsChanged; }
};

} // namespace

QString RepeatAbbreviation(const QString& code)
{
    const QString c = code.trimmed();
    for (const Repeat& r : kRepeats)
        if (c == QLatin1String(r.code))
            return QString::fromLatin1(r.shown);
    return QStringLiteral("No");
}

std::unique_ptr<WindowController> makeAlarmsBr(const QString&)
{
    return std::make_unique<AlarmsBr>();
}

} // namespace ven
