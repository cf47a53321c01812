// Opening a document by its chosen program, the built-in viewer or the
// desktop, and the activity-log line of the opening.
#include "core/OpenDocument.h"

#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Shell.h"

#include <QFileInfo>

namespace ven {
namespace {

bool isScheme(const QString& path)
{
    const QString p = path.trimmed();
    return p.compare(u"http://", Qt::CaseInsensitive) == 0 || p.compare(u"https://", Qt::CaseInsensitive) == 0;
}

// The program path of a register program, read through an instance of its
// own; empty (and told as `report` says) when the program cannot be read.
QString programPath(const QString& name, ProgramReadReport report, bool* found)
{
    *found = false;
    Context ctx;
    KeyedFile& prg = ctx.file(VenPrg);
    if (Status st = prg.open(); !st) {
        messageBox(report == ProgramReadReport::WithOpen ? "Share: " + st.errorText
                                                         : "The program register could not be opened: " + st.errorText);
        return {};
    }
    prg.rec().clear();
    prg.rec().set(PRG::NAME, name);
    const Status st = prg.get(PRG::PRG_KEY);
    QString path;
    if (st) {
        *found = true;
        path = prg.rec().str(PRG::PROGPATH).trimmed();
    } else if (report == ProgramReadReport::Plain) {
        messageBox("The program \"" + name + "\" is not in the program register; the document is handed to the desktop.");
    } else {
        const QString why = st.errorText.isEmpty() ? QStringLiteral("Record not found") : st.errorText;
        messageBox("Get: \"" + name + "\" - " + why);
    }
    prg.close();
    return path;
}

} // namespace

QString documentReference(const Record& doc)
{
    return joinPath(doc.str(DOC::DOCPATH).trimmed(), doc.str(DOC::DOCNAME).trimmed());
}

bool isWebDocument(const Record& doc)
{
    return isScheme(doc.str(DOC::DOCPATH));
}

void OpenDocument(const Record& doc, QObject* window, ProgramReadReport report)
{
    const QString document = documentReference(doc);
    const QString folder = isWebDocument(doc) ? QString() : doc.str(DOC::DOCPATH).trimmed();
    const QString program = doc.str(DOC::ASSOCIATEDPROGRAM).trimmed();
    ShellWindow = window;
    ShellShowCmd = 1;
    if (program.compare(u"VIEW", Qt::CaseInsensitive) == 0) {
        ShellFile = document;
        ShellDirectory = folder;
        startProcedure(QStringLiteral("ViewerWnd"));
    } else {
        bool found = false;
        const QString path = program.isEmpty() ? QString() : programPath(program, report, &found);
        if (found) {
            // The document is the program's one argument, whatever its name
            // holds; the program starts in the document's folder when there is one.
            ShellOperation = QStringLiteral("Start");
            ShellFile = path;
            ShellParameters = quoteArgument(document);
            ShellDirectory = QFileInfo(folder).isDir() ? folder : QString();
        } else {
            ShellOperation = QStringLiteral("Open");
            ShellFile = document;
            ShellParameters.clear();
            ShellDirectory = folder;
        }
        if (ShellExecute() <= 32)
            return;  // refused or failed (and told): nothing was opened
    }
    const LineResult logged = ActivityLogLine("Open: " + document);
    for (const QString& m : logged.messages)
        messageBox(m);
}

} // namespace ven
