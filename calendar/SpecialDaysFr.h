// The special-day form: one special day (VenDays) added, changed or
// deleted (a delete goes at once, without the window).
//
// GUI thread only. Called by the special-days list with the request in
// CallRequest.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Reads: SelectedDate (a new special day's date).
std::unique_ptr<WindowController> makeSpecialDaysFr(const QString& parameter = {});

} // namespace ven
