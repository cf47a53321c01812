// The daylight-saving form: one change of the clock (Ven_DLS) added,
// changed or deleted; a stored change also gets its special day and a line
// in the day's note, and the frame is asked to read the table again.
//
// GUI thread only. Called by the daylight-saving list with the request in
// CallRequest.
#pragma once

#include "platform/WindowController.h"

#include <QString>
#include <memory>

namespace ven {

// The special day's name of a change: "DLS Time" for a move forward ("+"),
// "STD Time" for a move back.
QString dlsDayName(const QString& plusMinus);

// Writes: DlsChanged := 1 and DlsMissing := 0 when a change is stored.
std::unique_ptr<WindowController> makeDLS_Fr(const QString& parameter = {});

} // namespace ven
