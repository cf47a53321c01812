// Small data sets written through the engine before the program starts.
#pragma once

#include "E2eKit.h"

#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

namespace ven::e2e {

// Inserts one record of `def`, filled by `fill` over the primed buffer.
inline void putRecord(Context& ctx, const FileDef& def, const std::function<void(Record&)>& fill)
{
    KeyedFile& f = ctx.file(def);
    if (!f.isOpen())
        ASSERT_TRUE(f.open().ok()) << "cannot open " << def.label;
    f.primeRecord();
    fill(f.rec());
    const Status st = f.insert();
    EXPECT_TRUE(st.ok()) << def.label << ": " << st.text.toStdString();
}

// A few names, diary entries of the day and an idea: enough that lists
// show rows and forms have records to open.
inline void seedSmallDataSet(E2eKit& kit)
{
    kit.seed([] {
        Context ctx;
        const int32_t today = dayNumber(2026, 12, 10);
        const struct { const char *first, *last, *city; } names[] = {
            {"Ada", "Lovelace", "London"}, {"Charles", "Babbage", "Teignmouth"}, {"Grace", "Hopper", "New York"}};
        for (const auto& n : names)
            putRecord(ctx, VenNam, [&](Record& r) {
                r.set(NAM::FIRSTNAME, n.first);
                r.set(NAM::LASTNAME, n.last);
                r.set(NAM::CITY, n.city);
            });
        const struct { int hour; const char* legend; } entries[] = {{9, "Call the dentist"}, {14, "Project meeting about the new ledger"}};
        for (const auto& e : entries)
            putRecord(ctx, VenDry, [&](Record& r) {
                r.set(DRY::BDATE, today);
                r.set(DRY::EDATE, today);
                r.set(DRY::BTIME, e.hour * 360000 + 1);
                r.set(DRY::ETIME, (e.hour + 1) * 360000 + 1);
                r.set(DRY::LEGEND, e.legend);
                r.set(DRY::CATID, "T");
            });
        putRecord(ctx, VenIdea, [&](Record& r) {
            r.set(IDE::NAME, "A calendar that prints itself");
            r.set(IDE::DATE, today);
        });
        // The calculator's five exchange-rate keys.
        const struct { const char* name; double rate; } rates[] = {
            {"Euro", 1.0}, {"Dollar", 1.08}, {"Pound", 0.86}, {"Yen", 161.2}, {"Krone", 7.46}};
        for (int k = 1; k <= 5; ++k)
            putRecord(ctx, VenCalc, [&](Record& r) {
                r.set(CAL::CM, "E");
                r.set(CAL::MEMNUM, k);
                r.set(CAL::MEMORYNAME, rates[k - 1].name);
                r.set(CAL::MEMORYVALUE, rates[k - 1].rate);
            });
        ctx.closeAll();
    });
}

} // namespace ven::e2e
