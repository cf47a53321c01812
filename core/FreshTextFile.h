// Writing a whole text file afresh: its lines go into a temporary file
// beside it, which then replaces the file in one rename, so a reader sees
// either the old file or the whole new one and a failed or abandoned run
// leaves the old file as it was.
#pragma once

#include "core/ActivityLog.h"

namespace ven {

// Writes `lines` (each trimmed, cut and ended by CR LF as AppendTextLines
// does) as the whole content of `file`. On failure `file` is untouched and
// the temporary file is removed.
LineResult WriteTextLinesAfresh(const QString& file, const QStringList& lines, LineCoding coding = LineCoding::Utf8);

} // namespace ven
