// SortAlarms and the alarm renumbering it shares with the key rebuild:
// the alarms become 1..n in their old number order.
#pragma once

#include "platform/KeyedFile.h"
#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Renumbers the alarms of the open `alarms` instance in one transaction:
// each alarm keeps its diary link and gets the lowest number not above its
// own in order; one whose new number another record holds keeps its own.
// The records counted; the failure's status when nothing was changed.
// Refused (message text "An alarm form is open") while an alarm form is open.
Status RenumberAlarms(KeyedFile& alarms, int64_t* count);

std::unique_ptr<WindowController> makeSortAlarms(const QString& parameter);

} // namespace ven
