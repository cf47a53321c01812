// AlarmsBr: every alarm by date and time, copied, changed and deleted
// through UpdateVenAlarm; "Next Alarm" asks the frame to rescan at once.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeAlarmsBr(const QString& parameter);

// The list's abbreviation of a repeat code ("Dly", "Sun".."Sat", "M-F", "S-S", else "No").
QString RepeatAbbreviation(const QString& code);

} // namespace ven
