// What the countdown and the analog clock show alike: the caption with the
// time and today's date, and the next alarm's line for the status bar.
#pragma once

#include <QString>

#include <cstdint>

namespace ven {

// The time as hh.mm.ss, two blanks and the date line of `today`, e.g.
// "10.00.00  Wednesday 09 December 2026, Week 49".
QString clockCaption(int32_t today, int32_t time);

// The next alarm's line while an alarm is pending, else "No Alarms!".
QString nextAlarmText();

} // namespace ven
