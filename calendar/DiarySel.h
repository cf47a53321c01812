// The diary selection: the user picks a diary category (or all) and a
// window of begin and end dates; OK runs the diary browse over that choice
// on the same thread and the selection stays open for another one.
//
// GUI thread only. Started on a thread of its own (menu, toolbar, F11).
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Writes GCategory and DiaryBeginDate .. DiaryEndTime (calendar/DiaryGlobals.h).
std::unique_ptr<WindowController> makeDiarySel(const QString& parameter = {});

} // namespace ven
