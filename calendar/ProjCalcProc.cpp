// The calculation run over the diary in chronological order.
#include "calendar/ProjCalcProc.h"

#include "calendar/ProjectTotals.h"
#include "calendar/ProjectTotalsRun.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"

namespace ven {
namespace {

class ProjCalcProc : public ProjectTotalsRun {
public:
    ProjCalcProc() : ProjectTotalsRun(QStringLiteral("ProjCalcProc"), VenDry, "Calculating Project Totals ...")
    {
        setKey(DRY::CHRONOKEY);
    }

protected:
    bool setUp() override
    {
        // Today is read once, so that a run over midnight judges every entry alike.
        day_ = TotalsDay::of(clock().today());
        if (!openFile(VenPro)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        if (auto& zeroed = zeroedProjectTotals()) {
            totals_ = std::move(*zeroed);
            zeroed.reset();
        } else if (Status st = totals_.loadZeroed(file(VenPro)); !st) {
            errors().show(st);
            RESPONSE = RequestCancelled;
            return false;
        }
        if (!ProjectTotalsRun::setUp())
            return false;
        // Over an empty diary every total is 0; the run then says there is nothing to process.
        if (primary().records() == 0)
            write();
        return true;
    }

    bool takeRecord(Record& r) override
    {
        totals_.add(r, day_);
        showProgress();
        return true;
    }

    void runEnded() override { close(write() ? RequestCompleted : RequestCancelled); }

    void tearDown() override
    {
        Busy["ProjectTotals"] = 0;
        ProjectTotalsRun::tearDown();
    }

private:
    bool write()
    {
        if (Status st = totals_.write(file(VenPro)); !st) {
            errors().show(st);
            return false;
        }
        return true;
    }

    TotalsDay day_;
    ProjectTotals totals_;
};

} // namespace

std::unique_ptr<WindowController> makeProjCalcProc(const QString&)
{
    return std::make_unique<ProjCalcProc>();
}

} // namespace ven
