// Alarm scan benchmarks on a file of 10,000 alarms: the usual scan, where
// nothing has passed, and the worst case, where every alarm has passed and
// is moved on in the one transaction of the scan.
#include "core/AlarmScan.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <random>

using namespace ven;

namespace {

constexpr int kAlarms = 10000;
const int32_t kToday = dayNumber(2026, 12, 8);
const int32_t kNoon = timeValue(12, 0, 0);

// A fresh data folder with 10,000 alarms; `dateOf(i)` gives each its date.
struct AlarmFile {
    QTemporaryDir dir;
    template <class DateOf>
    AlarmFile(DateOf dateOf, const char* dow)
    {
        Store::instance().closeIdle();
        Store::instance().setFolder(dir.path());
        Store::instance().setFixedFolder(dir.path());
        InitDataFiles();
        Context ctx;
        KeyedFile& ala = ctx.file(VenAlarm);
        ala.open();
        std::mt19937 rng(1);
        WriteBatch batch(ala);
        for (int i = 1; i <= kAlarms; ++i) {
            Record& r = ala.rec();
            r.clear();
            r.set(ALA::NBR, i);
            r.set(ALA::DATE, dateOf(i, rng));
            r.set(ALA::TIME, int64_t(rng() % 288) * 30000 + 1);  // on the whole 5 minutes
            r.set(ALA::WARNING, int64_t(rng() % 31) * 6000 + 1);
            r.set(ALA::MESSAGE, i % 3 ? "M" : "A");
            r.set(ALA::DOW, dow);
            r.set(ALA::ACTION, "Alarm number " + QString::number(i));
            r.set(ALA::SOUND, "chime.wav");
            ala.add();
        }
        batch.commit();
    }
    ~AlarmFile()
    {
        KillDataFiles();
        Store::instance().setFolder({});
    }
};

// The usual scan: alarms spread over the coming year, none passed; the scan
// reads the first few days of them.
void ScanNothingPassed(benchmark::State& state)
{
    AlarmFile file([](int, std::mt19937& rng) { return kToday + 1 + int32_t(rng() % 365); }, "N");
    Context frame;
    if (state.range(0))
        frame.file(VenAlarm).open();
    for (auto _ : state) {
        ScanAlarms(frame, kToday, kNoon);
        benchmark::DoNotOptimize(NextAlarm.Nbr);
    }
}

// The worst case: 10,000 daily alarms, all passed (the day moves on by two
// between scans), each read, moved on and rewritten.
void ScanAllPassed(benchmark::State& state)
{
    AlarmFile file([](int, std::mt19937&) { return kToday; }, "0");
    Context frame;
    int32_t today = kToday;
    for (auto _ : state) {
        today += 2;
        ScanAlarms(frame, today, kNoon);
        benchmark::DoNotOptimize(NextAlarm.Nbr);
    }
    state.SetItemsProcessed(state.iterations() * kAlarms);
}

} // namespace

// Argument 1: the frame keeps the alarm file open between scans.
BENCHMARK(ScanNothingPassed)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ScanAllPassed)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
