// The progress window of the runs over the feasts and memorial days: the
// title "Processing Records", a first line of its own, "n% Completed"
// below the bar, and for the renumbering passes the warning "Do NOT
// Close!" with the window system's close (Alt+F4) ignored.
#pragma once

#include "platform/BatchProcess.h"

namespace ven {

class FeastRun : public BatchProcess {
public:
    FeastRun(const QString& procedure, const FileDef& file, const QString& line1, bool guarded);

protected:
    bool setUp() override;
    // Only the run's own ends (Cancel, the last record, a failure) close it.
    bool closeRequested() override { return !guarded_ || RESPONSE != NoResponse; }
    // Shows the share of records done below the bar.
    void showProgress();

private:
    static const WindowDef& guardedDef();
    QString line1_;
    bool guarded_;
    int64_t total_ = 0;
    int shown_ = -1;
};

} // namespace ven
