// Project totals: the hours of an entry, the day they are judged against,
// the sums in memory and their one-batch write.
#include "calendar/ProjectTotals.h"

#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <algorithm>
#include <limits>

namespace ven {
namespace {

constexpr int64_t kHour = 360000;  // hundredths of a second
enum Category : int64_t { Project = 1, Meeting = 3, Extra = 4 };

int32_t stored(int64_t total)
{
    return int32_t(std::clamp<int64_t>(total, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

int64_t entryHours(const Record& e)
{
    const int64_t bdate = e.num(DRY::BDATE), edate = e.num(DRY::EDATE), etime = e.num(DRY::ETIME);
    if (bdate <= 0 || edate <= 0 || etime <= 0)
        return 0;
    const int64_t btime = std::max<int64_t>(1, e.num(DRY::BTIME));
    const int64_t duration = (edate - bdate) * kLastTime + etime - btime;
    if (duration <= 0)
        return 0;
    return std::max<int64_t>(1, (duration + kHour / 2) / kHour);
}

TotalsDay TotalsDay::of(int32_t today)
{
    const auto ymd = calendarDateUnchecked(today);
    return {today, int(ymd.year()), unsigned(ymd.month()), today - today % 7};
}

void ProjectTotals::addProject(int64_t number, int64_t category, const Totals& start)
{
    projects_[{number, category}] = start;
}

Status ProjectTotals::loadZeroed(KeyedFile& pro)
{
    if (Status st = pro.set(PRO::NUMBER_KEY); !st)
        return st;
    while (pro.next())
        if (pro.rec().num(PRO::NUMBER) > 0)
            addProject(pro.rec().num(PRO::NUMBER), pro.rec().num(PRO::CATEGORY));
    return {};
}

bool ProjectTotals::add(const Record& e, const TotalsDay& day)
{
    const int64_t project = e.num(DRY::PROJECT), category = e.num(DRY::CATEGORY), bdate = e.num(DRY::BDATE);
    if (project <= 0 || bdate > day.today || (category != Project && category != Meeting && category != Extra))
        return false;
    auto it = projects_.find({project, category});
    if (it == projects_.end())
        return false;
    const int64_t hours = entryHours(e);
    Totals& t = it->second;
    t.total += hours;
    const auto ymd = calendarDateUnchecked(int32_t(bdate));
    if (int(ymd.year()) == day.year) {
        t.year += hours;
        if (unsigned(ymd.month()) == day.month)
            t.month += hours;
    }
    // The week runs from the last Sunday to today, across a month's or a year's end.
    if (bdate >= day.sunday)
        t.week += hours;
    return true;
}

Status ProjectTotals::write(KeyedFile& pro) const
{
    WriteBatch batch(pro);
    for (const auto& [key, t] : projects_) {
        pro.rec().clear();
        pro.rec().set(PRO::NUMBER, key.first);
        pro.rec().set(PRO::CATEGORY, key.second);
        if (!pro.get(PRO::NUMBER_KEY))
            continue;  // deleted meanwhile
        Record& r = pro.rec();
        const Totals now{r.num(PRO::TTIME), r.num(PRO::YTIME), r.num(PRO::MTIME), r.num(PRO::WTIME)};
        const Totals next{stored(t.total), stored(t.year), stored(t.month), stored(t.week)};
        if (now == next)
            continue;
        r.set(PRO::TTIME, next.total);
        r.set(PRO::YTIME, next.year);
        r.set(PRO::MTIME, next.month);
        r.set(PRO::WTIME, next.week);
        if (Status st = pro.put(); !st)
            return st;
    }
    return batch.commit();
}

const ProjectTotals::Totals* ProjectTotals::find(int64_t number, int64_t category) const
{
    auto it = projects_.find({number, category});
    return it == projects_.end() ? nullptr : &it->second;
}

std::optional<ProjectTotals>& zeroedProjectTotals()
{
    static std::optional<ProjectTotals> totals;
    return totals;
}

} // namespace ven
