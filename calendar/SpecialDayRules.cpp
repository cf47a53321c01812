// The counting rules of special days.
#include "calendar/SpecialDayRules.h"

#include "data/Dictionary.h"
#include "platform/Picture.h"

namespace ven {

QString ordinalSuffix(int64_t n)
{
    const int64_t lastTwo = n % 100;
    if (lastTwo >= 11 && lastTwo <= 13)
        return QStringLiteral("th");
    switch (n % 10) {
    case 1: return QStringLiteral("st");
    case 2: return QStringLiteral("nd");
    case 3: return QStringLiteral("rd");
    default: return QStringLiteral("th");
    }
}

QString showName(int64_t show)
{
    switch (show) {
    case ShowTo: return QStringLiteral("To");
    case ShowFrom: return QStringLiteral("From");
    case ShowBoth: return QStringLiteral("Both");
    default: return {};
    }
}

namespace {
// The count as the calendar shows it: wide enough for any count of days
// between two valid dates, so long counts never show as "#####".
QString count(int64_t n)
{
    return formatNumber(double(n), u"n9");
}
} // namespace

SpecialDayLines specialDayLines(const Record& day, int32_t selected)
{
    SpecialDayLines out;
    const int64_t show = day.num(DAY::SHOW);
    const int64_t date = day.num(DAY::DATE);
    if (show == ShowTo || show == ShowBoth) {
        const int64_t to = date - selected - 1;
        const int64_t before = day.num(DAY::DAYSB);
        if (to >= 0 && (before <= 0 || to <= before))
            out.to = count(to) + QStringLiteral(" days to ") + day.str(DAY::NAME).trimmed();
    }
    if (show == ShowFrom || show == ShowBoth) {
        const int64_t of = selected - date + 1;
        const int64_t after = day.num(DAY::DAYSA);
        if (of >= 1 && (after <= 0 || of <= after))
            out.of = count(of) + ordinalSuffix(of) + QStringLiteral(" day of ") + day.str(DAY::NAME).trimmed();
    }
    return out;
}

} // namespace ven
