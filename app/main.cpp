// Program entry: prepares the process-wide services, runs the frame until
// it closes and releases the services again in reverse order.
#include "app/Procedures.h"
#include "core/EndOnSignal.h"
#include "core/EndSessionLogout.h"
#include "core/Halt.h"
#include "core/HelpWnd.h"
#include "core/Main.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Inspector.h"
#include "platform/KeyedFile.h"
#include "platform/PrivateFiles.h"
#include "platform/SettingsFile.h"
#include "platform/StartUp.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QSessionManager>

int main(int argc, char** argv)
{
    ven::initCipherLibrary();
    ven::keepNewFilesPrivate();
    QApplication app(argc, argv);
    ven::warmUpInBackground();
    app.setApplicationName("My Personal Vendrolix");
    app.setQuitOnLastWindowClosed(false);  // the frame's own close ends the program
    if (!ven::startInspector())
        qWarning("The inspector's socket could not be made.");

    // Every window's Help opens the program's own help text at its topic.
    ven::setHelpHandler([](const QString&, const QString& topic) { ven::ShowHelp(topic); });
    ven::settingsFile().setFile(QDir::current().filePath("Vendrolix.ini"));
    ven::settingsFile().readSectors();
    // The end of the user's log-on ends the program with its log-out line.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [](QSessionManager&) { ven::EndSessionLogout(); });
    // Ended from outside (kill, Ctrl+C): as orderly as the frame's close.
    ven::EndOnSignals();
    ven::InitDataFiles();
    ven::DefineProcedures();
    ven::setInspectorStart([](const QString& name, uint8_t request, const QString& parameter) {
        return ven::startProcedure(name, parameter, request);
    });

    auto frame = std::make_unique<ven::Main>();
    const QPointer<QWidget> shown = frame->window().outer();  // gone if the frame does not start
    ven::run(std::move(frame), [](uint8_t) { ven::EndEventLoop(); });
    // Numbers reserved by a copy that ended while a form was adding; no
    // window can reserve one before the frame is on the screen.
    ven::whenFirstShown(shown, [] { ven::Store::instance().removeStalePlaceholders(); });
    const int rc = app.exec();

    ven::settingsFile().writeSectors();
    ven::KillDataFiles();
    return rc;
}
