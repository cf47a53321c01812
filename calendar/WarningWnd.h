// The command-alarm window: shows the command and counts down to its time,
// sounding the alert every 15 seconds; unless cancelled it then runs the
// command (or shows a text file in the built-in viewer for "VIEW"), logs it,
// and moves the alarm on to its next occurrence or deletes it.
#pragma once

#include "calendar/AlarmWindows.h"

#include <memory>

namespace ven {

class WarningWnd : public AlarmWindow {
public:
    // Shows `block` (a copy is kept): the countdown is its Warning - 6000,
    // the advance plus two seconds.
    explicit WarningWnd(const NextAlarmBlock& block);

protected:
    void opened() override;
    void tick(int32_t now) override;
    void closing() override;

private:
    void playWarningSound();
    bool commandDue(int32_t now) const;
    void runCommand();
    // Moves this occurrence of the alarm on by its repeat code, or deletes
    // it. An alarm that was moved or changed since the window opened (its
    // firing moment is another) is left as it is.
    void moveAlarmOn();
};

// Started by name: shows the next alarm as NextAlarm holds it now.
std::unique_ptr<WindowController> makeWarningWnd(const QString& parameter);

} // namespace ven
