// The line that the diary form and the daylight-saving form append to a
// day's daily note (VenNote): the time as "hh.mm", a blank, the text, CR LF.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>
#include <cstdint>

namespace ven {

// The line itself: "09.30 Budget" followed by CR LF.
QString dailyNoteLine(int32_t time, const QString& text);

// Appends the line to the note of `day` through the caller's instance of
// VenNote (its buffer is used). A day without a note gets a new record
// holding the line alone; otherwise the note loses its trailing blanks and
// gets CR LF and the line, and what goes beyond the note's 1024 characters
// is cut off. requires: `notes` is open. Returns the engine's status; a
// failed read other than "not found" is returned without writing.
Status AppendDailyNoteLine(KeyedFile& notes, int32_t day, int32_t time, const QString& text);

} // namespace ven
