// Setting the computer's clock: the real setter (clock_settime) and a
// replaceable handler, so that tests never move the machine's clock.
#pragma once
#include <QDateTime>
#include <QString>
#include <functional>

namespace ven {

// Sets the computer's clock to the local moment `moment`. On failure (most
// often: no privilege to set the time) returns false and, when `error` is
// given, puts the system's reason there.
bool setLocalTime(const QDateTime& moment, QString* error = nullptr);

using LocalTimeSetter = std::function<bool(const QDateTime& moment, QString* error)>;
// Puts `handler` in place of the real setter; an empty handler restores it.
// Swap it only while no other code is setting the time (test set-up and
// tear-down).
void setLocalTimeHandler(LocalTimeSetter handler);

} // namespace ven
