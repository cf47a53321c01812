// Day texts, the feast key rule and the import lines.
#include "calendar/FeastDays.h"

#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"

namespace ven {
namespace {

const QChar kSeparator(0xFE);

QString twoDigits(int n) { return QString::number(n).rightJustified(2, u'0'); }

QString clipped(QString s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    s.truncate(n);
    return s;
}

} // namespace

QString memorialDayMonth(int64_t dayNo)
{
    const auto d = calendarDateUnchecked(int32_t(dayNumber(1999, 1, 1) + dayNo - 1));
    return twoDigits(int(unsigned(d.day()))) + twoDigits(int(unsigned(d.month())));
}

bool feastKeyUsable(const Record& feast)
{
    if (feast.num(LIT::FEAST) != 0 || feast.num(LIT::LANGUAGE) != 0)
        return true;
    messageBox(QStringLiteral("Feast 0 cannot be kept in language 0: give the feast a number, or another language."),
               QStringLiteral("Invalid Feast"), Icon::Exclamation);
    return false;
}

QString feastImportFile(int year, int language)
{
    return QString::number(year).rightJustified(4, u'0') + QStringLiteral("Lit") + QString::number(language)
           + QStringLiteral(".inp");
}

QString memorialImportFile(int year, int level)
{
    return QString::number(year).rightJustified(4, u'0') + QStringLiteral("Mem") + QString::number(level)
           + QStringLiteral(".inp");
}

std::optional<int32_t> memorialDate(int year, int64_t dayNo)
{
    const int32_t jan1 = dayNumber(year, 1, 1);
    if (dayNo < 1 || dayNo > 366)
        return std::nullopt;
    if (IsLeapYear(year)) {
        if (dayNo == 366)
            return dayNumber(year, 2, 24);
        if (dayNo >= 55)
            return int32_t(jan1 + dayNo);
    } else if (dayNo == 366) {
        return std::nullopt;
    }
    return int32_t(jan1 + dayNo - 1);
}

QString importLine(int32_t date, const QString& text)
{
    const auto d = calendarDateUnchecked(date);
    const QStringList fields = {QStringLiteral("U"), twoDigits(int(d.year()) % 100), twoDigits(int(unsigned(d.month()))),
                                twoDigits(int(unsigned(d.day()))), QStringLiteral("00"), QStringLiteral("00"), text};
    return fields.join(kSeparator);
}

QStringList feastImportLines(int year, const std::map<uint8_t, QString>& names)
{
    QStringList lines;
    if (names.empty())
        return lines;
    const int32_t last = dayNumber(year, 12, 31);
    for (int32_t d = dayNumber(year, 1, 1); d <= last; ++d)
        if (auto it = names.find(ChurchDayNumber(d)); it != names.end())
            lines << importLine(d, clipped(it->second));
    return lines;
}

} // namespace ven
