// The calculator tape's file and its line writer.
#include "tools/CalcTape.h"

#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "platform/ErrorReporter.h"
#include "platform/Procedure.h"

namespace ven {

QString calcTapeFile() { return joinPath(Program_Path, QStringLiteral("CalcTape.txt")); }

bool appendTapeLine(const QString& text)
{
    // The shared global names the file only for this one line, so other
    // writers' lines never reach the tape and the tape's never reach theirs.
    TextFileName = calcTapeFile();
    const LineResult r = AppendTextLine(text);
    TextFileName.clear();
    for (const QString& m : r.messages)
        messageBox(m);
    return r.ok();
}

} // namespace ven
