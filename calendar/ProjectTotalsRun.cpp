// The progress window and busy flag of the project-totals runs.
#include "calendar/ProjectTotalsRun.h"

#include "platform/Procedure.h"

#include <algorithm>
#include <map>

namespace ven {

ProjectTotalsRun::ProjectTotalsRun(const QString& procedure, const FileDef& file, const char* title)
    : BatchProcess(procedure, file, def(title))
{
}

const WindowDef& ProjectTotalsRun::def(const char* title)
{
    static std::map<QString, WindowDef> defs;
    auto [it, added] = defs.try_emplace(QString::fromUtf8(title), progressWindowDef());
    if (added)
        it->second.title = title;
    return it->second;
}

bool ProjectTotalsRun::setUp()
{
    window().setTitle(QStringLiteral("Processing Records"));
    if (!BatchProcess::setUp())
        return false;
    total_ = primary().records();
    showProgress();
    return true;
}

void ProjectTotalsRun::windowEvent(Event e)
{
    if (e == Event::OpenWindow)
        Busy["ProjectTotals"] = 1;
    BatchProcess::windowEvent(e);
}

void ProjectTotalsRun::showProgress()
{
    const int pct = total_ > 0 ? int(std::min<int64_t>(100, recordsDone() * 100 / total_)) : 0;
    if (pct != shown_) {
        shown_ = pct;
        setProgressText(QString(), QStringLiteral("%1% Completed").arg(pct));
    }
}

} // namespace ven
