// The message-alarm window: shows the alarm's text, counts down to the
// appointment, replays the alarm's sound at shortening intervals, hops
// about the screen and closes itself at about the appointment time.
#pragma once

#include "calendar/AlarmWindows.h"

#include <memory>

namespace ven {

class AlarmWnd : public AlarmWindow {
public:
    // Shows `block` (a copy is kept): the countdown starts at its Warning.
    explicit AlarmWnd(const NextAlarmBlock& block);

    // The replay interval for a distance to the appointment (hundredths).
    static int32_t replayInterval(int32_t toGo);

protected:
    void opened() override;
    void tick(int32_t now) override;
    void closing() override;

private:
    void playSound(int16_t show);
    bool buttonsPending_ = true;
};

// Started by name: shows the next alarm as NextAlarm holds it now.
std::unique_ptr<WindowController> makeAlarmWnd(const QString& parameter);

} // namespace ven
