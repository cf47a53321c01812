// The hours that diary entries book to projects, summed into each project's
// totals of all time, this year, this month and this week, in one pass over
// the diary with the projects held in memory, and written back in one batch.
//
// GUI thread only, like the batch runs that use it.
#pragma once

#include "platform/KeyedFile.h"

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace ven {

// Whole hours of a diary entry: its whole duration rounded to the hour
// (halves up), at least 1 when it lasts at all; 0 for an entry without an
// end date or end time, or whose end lies before its begin.
int64_t entryHours(const Record& entry);

// The moments the totals are judged against, read once per run.
struct TotalsDay {
    int32_t today = 0;
    int year = 0;
    unsigned month = 0;
    int32_t sunday = 0;  // the most recent Sunday, today itself on a Sunday
    static TotalsDay of(int32_t today);
};

// A project's four totals in whole hours.
struct ProjectHours {
    int64_t total = 0, year = 0, month = 0, week = 0;
    bool operator==(const ProjectHours&) const = default;
};

class ProjectTotals {
public:
    using Totals = ProjectHours;
    // A project by (number, category) whose totals start at `start`.
    void addProject(int64_t number, int64_t category, const Totals& start = {});
    // Reads every project numbered above 0 from `pro`, its totals at 0.
    Status loadZeroed(KeyedFile& pro);
    // Adds the entry's hours to its project when the entry counts: booked
    // to a project of its own category, of category Project, Meeting or
    // Extra, and beginning no later than today. False when it does not.
    bool add(const Record& entry, const TotalsDay& day);
    // Writes every project's totals in one transaction (a total beyond the
    // 32-bit field holds its largest value); nothing is written on failure.
    Status write(KeyedFile& pro) const;

    size_t size() const { return projects_.size(); }
    const Totals* find(int64_t number, int64_t category) const;

private:
    std::map<std::pair<int64_t, int64_t>, Totals> projects_;
};

// The projects zeroed by the zeroing run, handed to the calculation that
// follows it; empty when no zeroing has completed since.
std::optional<ProjectTotals>& zeroedProjectTotals();

} // namespace ven
