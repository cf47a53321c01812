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
    return TellLineResult(AppendTextLine(calcTapeFile(), text));
}

} // namespace ven
