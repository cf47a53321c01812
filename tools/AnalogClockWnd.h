// AnalogClockWnd: a dial with hour, minute and second hands over a wheel of
// 60 spokes, the time and date in its caption and the next alarm in its
// status bar. It stands in for the iconized frame: closed by the user it
// asks the frame to come back.
#pragma once

#include "platform/WindowController.h"

#include <array>
#include <cstdint>
#include <memory>

namespace ven {

// A line's far end from the dial's centre, in dialog units (signed).
struct HandEnd {
    int w = 0, h = 0;
    bool operator==(const HandEnd&) const = default;
};

// Where the hands and spokes stand at a time of day: the angles in degrees,
// clockwise from three o'clock (270 points to twelve), and the lines' ends.
struct ClockGeometry {
    int hourAngle = 0, minuteAngle = 0, secondAngle = 0;
    HandEnd hour, minute, second;
    std::array<int, 60> spokeAngles{};
    std::array<HandEnd, 60> spokes{};
};

inline constexpr int kHourHand = 56, kMinuteHand = 68, kSecondHand = 72, kSpoke = 74;

ClockGeometry clockGeometry(int32_t time);
// A line of length `length` at `degrees`, rounded half away from zero.
HandEnd handEnd(int degrees, int length);

std::unique_ptr<WindowController> makeAnalogClockWnd(const QString& parameter);

} // namespace ven
