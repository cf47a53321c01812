// The diary period: its repair, the entries it lists and its parameter texts.
#include "calendar/DiaryPeriod.h"

#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <QStringList>

#include <algorithm>

namespace ven {

void DiaryPeriod::repair(int32_t today, int32_t blankBeginTime, int32_t blankEndTime)
{
    if (LBDate <= 0)
        LBDate = today;
    if (LEDate <= 0)
        LEDate = LBDate + 1;
    if (LBTime <= 0)
        LBTime = blankBeginTime;
    if (LETime <= 0)
        LETime = blankEndTime;
    if (LEDate == LBDate && LETime <= LBTime)
        LETime = kLastTime;
    if (LEDate < LBDate)
        LEDate = LBDate + 1;
}

bool DiaryPeriod::lists(const Record& entry) const
{
    if (LCategory != kAllCategories && entry.num(DRY::CATEGORY) != LCategory)
        return false;
    const int64_t date = entry.num(DRY::BDATE);
    const int64_t time = std::max<int64_t>(1, entry.num(DRY::BTIME));
    const bool fromBegin = date > LBDate || (date == LBDate && time >= LBTime);
    const bool toEnd = date < LEDate || (date == LEDate && time <= LETime);
    return fromBegin && toEnd;
}

QString joinParameters(std::initializer_list<int64_t> values)
{
    QStringList parts;
    for (int64_t v : values)
        parts << QString::number(v);
    return parts.join(',');
}

std::vector<int64_t> splitParameters(const QString& text, size_t count)
{
    std::vector<int64_t> out(count, 0);
    const QStringList parts = text.split(',');
    for (size_t i = 0; i < count && i < size_t(parts.size()); ++i)
        out[i] = parts[int(i)].trimmed().toLongLong();
    return out;
}

DiaryPeriod periodFromParameters(const QString& text)
{
    if (text.trimmed().isEmpty())
        return {};
    const std::vector<int64_t> v = splitParameters(text, 5);
    return {uint8_t(std::clamp<int64_t>(v[0], 0, 255)), int32_t(v[1]), int32_t(v[2]), int32_t(v[3]), int32_t(v[4])};
}

QString periodParameters(const DiaryPeriod& p)
{
    return joinParameters({p.LCategory, p.LBDate, p.LBTime, p.LEDate, p.LETime});
}

} // namespace ven
