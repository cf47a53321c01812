// UpdateVenAlarm: the form that enters, changes and deletes one alarm by
// hand, with the rules that keep its date, time and advance within limits.
#pragma once

#include "platform/WindowController.h"

#include <cstdint>
#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeUpdateVenAlarm(const QString& parameter);

// The form's checks (times in hundredths of a second, 1 is midnight).
// The date: at most 31 December 2099, at least today.
int32_t CheckAlarmDate(int32_t date, int32_t today);
// The time: within 100..23:59:30, on today at least three minutes from now,
// then rounded to the nearest minute and 1 added.
int32_t CheckAlarmTime(int32_t date, int32_t time, int32_t today, int32_t now);
// The advance: within 100..23:59:30; made shorter in steps of 30 seconds
// while the alarm's window would open less than 30 seconds from now (a
// message alarm's ("M") 62 seconds before the advance); then cut to whole
// minutes and 1 added.
int32_t CheckWarningTime(int32_t date, int32_t time, int32_t warning, const QString& kind, int32_t today,
                         int32_t now);

// The message a message alarm saved without one gets.
extern const char* const kDefaultAlarmMessage;

} // namespace ven
