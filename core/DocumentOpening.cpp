// A filed document opens through the shell: its chosen program starts with
// the document as its argument; without one the desktop opens it (never
// executing it).
#include "core/DocumentOpening.h"

#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/SettingsFile.h"
#include "platform/Shell.h"

namespace ven {
namespace {

// The activity-log line of an opened document, in the log of the folder
// that the settings file names for the daily notes.
void logOpening(const QString& document)
{
    if (Log_Activity.trimmed() == u"N")
        return;
    if (ActivityLogName.isEmpty())
        ActivityLogFileName();
    const QString folder = readIni(SettingsFile::programFile(), QStringLiteral("Paths"), QStringLiteral("Daily_Notes"), {});
    const LineResult written =
        AppendTextLines(joinPath(folder.trimmed(), ActivityLogName),
                        {formatTime(clock().time(), u"T04") + QStringLiteral(" Open: ") + document}, {DateLine});
    LogWritten = 1;
    TellLineResult(written);
}

} // namespace

void OpenFiledDocument(const Record& d, QObject* window)
{
    const QString folder = d.str(DOC::DOCPATH).trimmed();
    const QString document = joinPath(folder, d.str(DOC::DOCNAME).trimmed());
    const QString program = d.str(DOC::ASSOCIATEDPROGRAM).trimmed();
    ShellWindow = window;
    ShellOperation = QStringLiteral("Open");
    ShellDirectory = folder;
    ShellShowCmd = 1;
    if (!program.isEmpty()) {
        // The program chosen from the program register starts with the
        // document as its argument.
        ShellOperation = QStringLiteral("Start");
        Context ctx;
        KeyedFile& prg = ctx.file(VenPrg);
        prg.open();
        prg.rec().clear();
        prg.rec().set(PRG::NAME, program);
        ShellFile = prg.get(PRG::PRG_KEY) ? prg.rec().str(PRG::PROGPATH).trimmed() : QString();
        prg.close();
        ShellParameters = u'"' + document + u'"';
    } else {
        ShellFile = document;
        ShellParameters.clear();
    }
    ShellExecute();
    logOpening(document);
}

} // namespace ven
