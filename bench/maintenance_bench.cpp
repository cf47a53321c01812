// The backup and the key rebuild, run through their windows on a data set of
// 100,000 diary entries and 10,000 alarms: the time of the whole run and the
// longest the event loop was held up meanwhile (the gap between beats of a
// 1 ms timer), with the step that held it.
#include "BenchKit.h"
#include "core/BackUpWnd.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/RebuildKeysWnd.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <random>

using namespace ven;

namespace {

template <class Fill>
void fill(const FileDef& def, int count, Fill f)
{
    Context ctx;
    KeyedFile& file = ctx.file(def);
    file.open();
    WriteBatch batch(file);
    for (int i = 0; i < count; ++i) {
        file.primeRecord();
        f(file.rec(), i);
        file.insert();
    }
    batch.commit();
}

struct Fixture : bench::BenchFolder {
    QStringList boxes;
    Fixture()
    {
        Log_Activity = "N";
        writeIni(ProgramIni(), "Paths", "BackUp_Path", dir.filePath("Backup/Set"));
        setMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes << r.text;
            return r.defaultButton;
        });
        std::mt19937 rng(12);
        const int32_t first = dayNumber(2020, 1, 1);
        fill(VenDry, 100000, [&](Record& r, int i) {
            const int32_t day = first + int32_t(rng() % 3000);
            r.set(DRY::CATID, "D");
            r.set(DRY::BDATE, day);
            r.set(DRY::BTIME, int64_t(packTime(int(rng() % 8640000) + 1)));
            r.set(DRY::EDATE, day);
            r.set(DRY::LEGEND, QStringLiteral("Entry number %1 of the diary").arg(i));
        });
        fill(VenAlarm, 10000, [&](Record& r, int i) {
            r.set(ALA::NBR, int64_t(i + 1));
            r.set(ALA::DATE, first + int32_t(rng() % 3000));
            r.set(ALA::TIME, int64_t(rng() % 8640000) + 1);
            r.set(ALA::DRYNUM, int64_t(1 + rng() % 100000));
            r.set(ALA::MESSAGE, "M");
            r.set(ALA::ACTION, QStringLiteral("Alarm %1").arg(i));
        });
        // The other files exist, as in a program folder in use.
        Context ctx;
        for (const FileDef* def : dictionary().files)
            ctx.file(*def).open();
    }
};

// Runs a window from pressing `button` until it closes; reports the run's
// time and the longest stall of the event loop.
void runWindow(benchmark::State& state, const QString& procedure, const char* button,
               std::function<std::unique_ptr<WindowController>()> make)
{
    static Fixture fixture;
    double longest = 0, total = 0;
    QString heldBy;
    for (auto _ : state) {
        start(make);
        QApplication::processEvents();
        WindowController* w = WindowController::find(procedure);
        if (!w) {
            state.SkipWithError("the window did not open");
            return;
        }
        QElapsedTimer beat, run;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(1);
        // The status line names the file of the step that has just run.
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const double gap = beat.nsecsElapsed() / 1e6;
            if (gap > longest) {
                longest = gap;
                if (WindowController* open = WindowController::find(procedure))
                    heldBy = open->window().statusText(1);
            }
            beat.restart();
        });
        beat.start();
        run.start();
        probe.start();
        w->control(button).as<QAbstractButton>()->click();
        while (WindowController::find(procedure))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        probe.stop();
        total += run.nsecsElapsed() / 1e6;
    }
    state.counters["run_ms"] = total / double(state.iterations());
    state.counters["longest_stall_ms"] = longest;
    state.SetLabel(("longest in: " + heldBy).toStdString());
    if (!fixture.boxes.isEmpty())
        state.SkipWithError(qPrintable("told: " + fixture.boxes.join(" / ")));
}

void BM_BackUpData(benchmark::State& state)
{
    runWindow(state, QStringLiteral("BackUpWnd"), "Data", [] { return makeBackUpWnd({}); });
}
BENCHMARK(BM_BackUpData)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RebuildKeys(benchmark::State& state)
{
    runWindow(state, QStringLiteral("RebuildKeysWnd"), "Yes", [] { return makeRebuildKeysWnd({}); });
}
BENCHMARK(BM_RebuildKeys)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) { return ven::bench::runWindowBenchmarks(argc, argv); }
