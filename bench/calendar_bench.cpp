// The day calendar's date step with its whole refresh (note, special days,
// anniversaries, feasts and memorials, year letters, redisplay) over 10,000
// special days, 10,000 anniversaries, 3,650 daily notes and the feasts of
// ten languages.
#include "BenchKit.h"
#include "calendar/CalendarWnd.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <random>

using namespace ven;

namespace {

const int32_t kFirst = dayNumber(2020, 1, 1);

using bench::fill;

struct Fixture : bench::BenchFolder {
    Fixture()
    {
        std::mt19937 rng(7);
        // Special days over thirty years, every kind, most with limits.
        fill(VenDays, 10000, [&](Record& r, int i) {
            r.set(DAY::DATE, kFirst - 5000 + i);
            r.set(DAY::SHOW, int(1 + i % 3));
            r.set(DAY::DAYSB, int(rng() % 4 == 0 ? 0 : rng() % 30));
            r.set(DAY::DAYSA, int(rng() % 4 == 0 ? 0 : rng() % 30));
            r.set(DAY::NAME, QStringLiteral("Day %1").arg(i));
        });
        fill(VenBirth, 10000, [](Record& r, int i) {
            r.set(BTH::DAYNO, 1 + i % 366);
            r.set(BTH::LINE, i / 366);
            r.set(BTH::NAME, QStringLiteral("Person %1").arg(i));
            r.set(BTH::DATE, dayNumber(1950, 1, 1) + i * 3);
        });
        fill(VenNote, 3650, [](Record& r, int i) {
            r.set(ANT::DATE, kFirst + i);
            r.set(ANT::NOTE, QStringLiteral("09.30 Meeting %1\r\n14.00 Call back").arg(i));
        });
        // Every church-day code (and 0) in ten languages, with readings.
        fill(VenLit, 100 * 10, [](Record& r, int i) {
            r.set(LIT::FEAST, i / 10);
            r.set(LIT::LANGUAGE, i % 10);
            r.set(LIT::NAME, QStringLiteral("Feast %1 in language %2").arg(i / 10).arg(i % 10));
            r.set(LIT::READINGS, QStringLiteral("First reading, psalm, second reading and gospel of feast %1").arg(i));
        });
        fill(VenSaint, 366 * 3, [](Record& r, int i) {
            r.set(AST::DAYNO, 1 + i / 3);
            r.set(AST::LEVEL, i % 3);
            r.set(AST::NAMES, QStringLiteral("Saint %1").arg(i));
            r.set(AST::READINGS, QStringLiteral("Readings of memorial %1").arg(i));
        });
    }
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void BM_DateStep(benchmark::State& state)
{
    static Fixture fixture;
    start([] { return makeCalendarWnd(); });
    settle();
    WindowController* w = WindowController::find(QStringLiteral("CalendarWnd"));
    if (!w) {
        state.SkipWithError("the calendar did not open");
        return;
    }
    auto* next = w->control("Next").as<QAbstractButton>();
    auto* prev = w->control("Prev").as<QAbstractButton>();
    double slowest = 0;
    int steps = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        // Back and forth, so that the steps stay among the stored days.
        ((steps / 200) % 2 ? prev : next)->click();
        w->window().repaint();
        slowest = std::max(slowest, t.nsecsElapsed() / 1e6);
        ++steps;
    }
    state.counters["slowest_step_ms"] = slowest;
    w->close(RequestCancelled);
    settle();
}
BENCHMARK(BM_DateStep)->Unit(benchmark::kMillisecond)->Iterations(400);

// The texts of one day alone, without the window.
void BM_ReadDay(benchmark::State& state)
{
    static Fixture fixture;
    Context ctx;
    CalendarFiles files{ctx.file(VenDays), ctx.file(VenBirth), ctx.file(VenLit), ctx.file(VenSaint)};
    for (KeyedFile* f : {&files.days, &files.birth, &files.lit, &files.saint})
        f->open();
    const std::vector<Record> days = readSpecialDays(files.days);
    int32_t date = kFirst;
    for (auto _ : state)
        benchmark::DoNotOptimize(readCalendarDay(files, date++, state.range(0) ? &days : nullptr));
}
BENCHMARK(BM_ReadDay)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return ven::bench::runWindowBenchmarks(argc, argv); }
