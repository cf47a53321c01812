// The zeroing run over the projects in number order.
#include "calendar/ProjZeroProc.h"

#include "calendar/ProjectTotals.h"
#include "calendar/ProjectTotalsRun.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

class ProjZeroProc : public ProjectTotalsRun {
public:
    ProjZeroProc() : ProjectTotalsRun(QStringLiteral("ProjZeroProc"), VenPro, "Zeroing old totals ...")
    {
        setKey(PRO::NUMBER_KEY);
    }

protected:
    bool setUp() override
    {
        zeroedProjectTotals().reset();
        return ProjectTotalsRun::setUp();
    }

    bool takeRecord(Record& r) override
    {
        // A project numbered 0 or below keeps its totals: no entry books to it.
        if (r.num(PRO::NUMBER) > 0)
            zeroed_.addProject(r.num(PRO::NUMBER), r.num(PRO::CATEGORY));
        showProgress();
        return true;
    }

    void runEnded() override
    {
        zeroedProjectTotals() = std::move(zeroed_);
        close(RequestCompleted);
    }

    void tearDown() override
    {
        // The calculation follows only a completed zeroing, and clears the flag itself.
        if (RESPONSE != RequestCompleted)
            Busy["ProjectTotals"] = 0;
        ProjectTotalsRun::tearDown();
    }

private:
    ProjectTotals zeroed_;
};

} // namespace

std::unique_ptr<WindowController> makeProjZeroProc(const QString&)
{
    return std::make_unique<ProjZeroProc>();
}

} // namespace ven
