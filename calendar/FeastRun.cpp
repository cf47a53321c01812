// The progress window of the feast and memorial runs.
#include "calendar/FeastRun.h"

#include <algorithm>

namespace ven {

const WindowDef& FeastRun::guardedDef()
{
    static const WindowDef def = [] {
        WindowDef d = progressWindowDef();
        d.h += 12;
        d.controls.push_back({.name = "Warning", .kind = Kind::String, .text = "Do NOT Close!", .x = 44, .y = d.h - 11,
                              .w = 60, .h = 10, .font = {.bold = true}, .color = 0xC00000});
        return d;
    }();
    return def;
}

FeastRun::FeastRun(const QString& procedure, const FileDef& file, const QString& line1, bool guarded)
    : BatchProcess(procedure, file, guarded ? guardedDef() : progressWindowDef())
    , line1_(line1)
    , guarded_(guarded)
{
}

bool FeastRun::setUp()
{
    window().setTitle(QStringLiteral("Processing Records"));
    if (!BatchProcess::setUp())
        return false;
    total_ = primary().records();
    showProgress();
    return true;
}

void FeastRun::showProgress()
{
    const int pct = total_ > 0 ? int(std::min<int64_t>(100, recordsDone() * 100 / total_)) : 0;
    if (pct != shown_) {
        shown_ = pct;
        setProgressText(line1_, QStringLiteral("%1% Completed").arg(pct));
    }
}

} // namespace ven
