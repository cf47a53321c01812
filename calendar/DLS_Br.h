// The list of the stored daylight-saving changes by date, with the
// daylight-saving form for Insert, Change and Delete.
//
// GUI thread only. Started by the frame.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeDLS_Br(const QString& parameter = {});

} // namespace ven
