// Start-up to the frame shown, against a bare Qt main window started the
// same way. "startup_bench prepare DIR" fills DIR with 100,000 diary entries
// and 10,000 alarms; "startup_bench frame DIR" and "startup_bench bare"
// print the wall-clock time in milliseconds when their window is first
// painted.
// bench/startup.sh runs them in turn.
#include "core/Main.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/StartUp.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QWindow>

#include <chrono>
#include <cstdio>

using namespace ven;

namespace {

// The wall-clock time now in milliseconds; the script subtracts the
// moment it started the process.
double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

void prepare(const QString& dir)
{
    QDir().mkpath(dir);
    Store::instance().setFolder(dir);
    Store::instance().setFixedFolder(dir);
    InitDataFiles();
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    dry.open();
    {
        WriteBatch batch(dry);
        for (int i = 0; i < 100000; ++i) {
            dry.primeRecord();
            dry.rec().set(DRY::BDATE, 80000 + i / 40);
            dry.rec().set(DRY::LEGEND, QString("Entry %1").arg(i));
            dry.insert();
        }
        batch.commit();
    }
    KeyedFile& ala = ctx.file(VenAlarm);
    ala.open();
    {
        WriteBatch batch(ala);
        const int32_t today = dayNumber(QDate::currentDate());
        for (int i = 0; i < 10000; ++i) {
            ala.primeRecord();
            ala.rec().set(ALA::DATE, today + 1 + i / 30);
            ala.rec().set(ALA::TIME, 3600001 + (i % 30) * 6000);
            ala.rec().set(ALA::MESSAGE, "M");
            ala.rec().set(ALA::DOW, "N");
            ala.rec().set(ALA::ACTION, "alarm");
            ala.insert();
        }
        batch.commit();
    }
    ctx.file(VenUsr).open();
    for (const char* k : {"FirstName", "LastName", "Street", "ZipCode", "City", "Country", "EMail"})
        writeIni(QDir(dir).filePath("VenOwner.ini"), "Owner", k, "x");
}

// Prints the time when `w` has been painted on its first exposure and its
// picture handed to the X server, then ends: the moment a person sees it.
class ReportPainted : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::Expose || !static_cast<QWindow*>(o)->isExposed())
            return false;
        o->removeEventFilter(this);
        o->event(e);  // the window paints and flushes as it would
        std::printf("%.1f\n", nowMs());
        std::fflush(stdout);
        std::_Exit(0);
    }
};

void reportWhenExposed(QWidget* w)
{
    w->winId();
    w->windowHandle()->installEventFilter(new ReportPainted);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const QString mode = argv[1];
    if (mode == "prepare") {
        QCoreApplication app(argc, argv);
        prepare(argv[2]);
        return 0;
    }
    QApplication app(argc, argv);
    if (mode == "bare") {
        QMainWindow w;
        w.setWindowTitle("bare");
        w.show();
        reportWhenExposed(&w);
        return app.exec();
    }
    warmUpInBackground();  // as the program starts
    QDir::setCurrent(argv[2]);
    writeIni(QDir(argv[2]).filePath("Vendrolix.ini"), "Main", "Vendrolix:Running", "No");
    setMessageBoxHandler([](const MessageBoxRequest& r) { return r.defaultButton; });
    InitDataFiles();
    auto frame = std::make_unique<Main>();
    Main* f = frame.get();
    run(std::move(frame), {});
    // As the program does: the sweep of stale placeholders once the frame is shown.
    whenFirstShown(f->window().outer(), [] { Store::instance().removeStalePlaceholders(); });
    reportWhenExposed(f->window().outer());
    return app.exec();
}
