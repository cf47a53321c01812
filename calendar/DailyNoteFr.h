// The daily note of the day the day calendar shows (VenNote): kept, deleted
// and copied to the clipboard by the form itself.
//
// GUI thread only. Started by the day calendar on a thread of its own; one
// instance at a time (Thread:DailyNoteFr); Busy:DailyNote while it is open.
#pragma once

#include "platform/WindowController.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace ven {

// The note's clipboard text: the weekday, a blank, the date (dd-mm-yyyy),
// CR LF and the note, trimmed.
QString noteClipText(int32_t date, const QString& note);

// Reads: SelectedDate (the day whose note it edits).
std::unique_ptr<WindowController> makeDailyNoteFr(const QString& parameter = {});

} // namespace ven
