// What the two project-totals runs share: their progress window with its
// designed title, the "Processing Records" title at the start, the
// "n% Completed" line, and the Busy:ProjectTotals flag.
#pragma once

#include "platform/BatchProcess.h"

namespace ven {

class ProjectTotalsRun : public BatchProcess {
public:
    ProjectTotalsRun(const QString& procedure, const FileDef& file, const char* title);

protected:
    bool setUp() override;
    void windowEvent(Event e) override;
    // Shows the share of records done below the bar.
    void showProgress();

private:
    static const WindowDef& def(const char* title);
    int64_t total_ = 0;
    int shown_ = -1;
};

} // namespace ven
