// The diary browse: the diary entries of one category (or all) whose begin
// lies inside a window of dates and times, chronologically or
// alphabetically, with the diary form for Insert, Copy, Change and Delete,
// the fax cover page, the clipboard text of an extra event and the
// category's report.
//
// GUI thread only. Called on its caller's thread (the diary selection's).
#pragma once

#include "calendar/DiaryPeriod.h"
#include "platform/WindowController.h"

#include <memory>

namespace ven {

// The browse over `period` (repaired as its set-up says).
std::unique_ptr<WindowController> makeDiaryBr(const DiaryPeriod& period);
// The same from its parameter text: category, begin date, begin time, end
// date, end time as decimal texts joined by commas (periodParameters()).
std::unique_ptr<WindowController> makeDiaryBr(const QString& parameter);

} // namespace ven
