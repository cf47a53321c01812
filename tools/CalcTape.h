// The calculator tape "CalcTape.txt" in the program folder, and the one
// place its lines are written.
#pragma once

#include <QString>

namespace ven {

// Program_Path's "CalcTape.txt".
QString calcTapeFile();

// Appends one entry (it may hold CR LF for several lines) to the tape
// through the shared line writer; a failure is shown to the user and the
// caller goes on. False when it failed.
bool appendTapeLine(const QString& text);

} // namespace ven
