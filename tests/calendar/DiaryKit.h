// A fixture for the diary browse's and reports' tests: dates in December
// 2026, times of day, and diary entries added to VenDry numbered on from the
// file's count.
#pragma once

#include "WindowKit.h"

#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <vector>

namespace ven::test {

inline int32_t dec(int day) { return dayNumber(2026, 12, day); }
inline int32_t at(int h, int m, int s = 0) { return timeValue(h, m, s); }

struct Entry {
    uint8_t category;
    int32_t bdate, btime, edate, etime;
    QString legend;
    QString memo = {};
    int32_t caller = 0, client = 0;
    QString channel = {}, tape = {};
};

// Adds the entries numbered on from the file's count.
inline void addEntries(const std::vector<Entry>& entries)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenDry);
    ASSERT_TRUE(f.open());
    int64_t n = f.records() + 1;
    for (const Entry& e : entries) {
        Record& r = f.rec();
        r.clear();
        r.set(DRY::NUMBER, n++);
        r.set(DRY::CATID, "D");
        r.set(DRY::CATEGORY, int(e.category));
        r.set(DRY::BDATE, e.bdate);
        r.set(DRY::BTIME, e.btime);
        r.set(DRY::EDATE, e.edate);
        r.set(DRY::ETIME, e.etime);
        r.set(DRY::LEGEND, e.legend);
        r.set(DRY::MEMORANDUM, e.memo);
        r.set(DRY::CALLER, e.caller);
        r.set(DRY::CLIENT, e.client);
        r.set(DRY::C, e.channel);
        r.set(DRY::T, e.tape);
        ASSERT_TRUE(f.add());
    }
}

} // namespace ven::test
