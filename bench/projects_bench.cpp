// Project totals and the diary report over a diary of 100,000 entries:
// the totals of 10,000 projects (the sums alone, and the whole calculation
// run with its progress window), and a month's project report printed to PDF.
#include "BenchKit.h"
#include "calendar/DiaryReport.h"
#include "calendar/DiaryProRp.h"
#include "calendar/ProjCalcProc.h"
#include "calendar/ProjectTotals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ReportPages.h"
#include "platform/WindowController.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <random>

using namespace ven;

namespace {

constexpr int kEntries = 100000;
constexpr int kProjects = 10000;
constexpr int kDays = 5 * 365;  // the diary's entries lie over five years up to today

struct Fixture : bench::BenchFolder {
    int32_t today = 0;
    Fixture()
    {
        today = ven::clock().today();
        Context ctx;
        KeyedFile& dry = ctx.file(VenDry);
        KeyedFile& pro = ctx.file(VenPro);
        dry.open();
        pro.open();
        std::mt19937 rng(15);
        const int64_t categories[] = {1, 3, 4};
        {
            WriteBatch batch(pro);
            for (int n = 1; n <= kProjects; ++n) {
                Record& r = pro.rec();
                r.clear();
                r.set(PRO::NUMBER, n);
                r.set(PRO::CATEGORY, categories[n % 3]);
                r.set(PRO::NAME, QStringLiteral("Project %1").arg(n));
                pro.add();
            }
            batch.commit();
        }
        WriteBatch batch(dry);
        for (int i = 1; i <= kEntries; ++i) {
            Record& r = dry.rec();
            r.clear();
            const int project = 1 + int(rng() % kProjects);
            const int32_t day = today - int32_t(rng() % kDays);
            const int32_t time = timeValue(6 + int(rng() % 12), int(rng() % 60), 0);
            r.set(DRY::NUMBER, i);
            r.set(DRY::CATID, "D");
            r.set(DRY::CATEGORY, int(i % 5 ? categories[project % 3] : 2));  // a fifth of other kinds
            r.set(DRY::PROJECT, project);
            r.set(DRY::BDATE, day);
            r.set(DRY::BTIME, time);
            r.set(DRY::EDATE, day);
            r.set(DRY::ETIME, time + timeValue(0, 15 + int(rng() % 240), 0));
            r.set(DRY::LEGEND, QStringLiteral("Entry %1 for project %2").arg(i).arg(project));
            r.set(DRY::MEMORANDUM, QStringLiteral("A few words about what was done in entry %1").arg(i));
            dry.add();
        }
        batch.commit();
        ReportDestination pdf;
        pdf.output = ReportOutput::Pdf;
        pdf.pdfFile = dir.filePath("report.pdf");
        setReportDestination(pdf);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// Runs the procedure and its event loop until it has ended; its response.
int runToEnd(std::unique_ptr<WindowController> proc)
{
    int response = 0;
    run(std::move(proc), [&response](uint8_t r) { response = r ? r : 2; });
    QElapsedTimer t;
    t.start();
    while (!response && t.elapsed() < 120000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return response;
}

// One pass over the diary in date order with the projects in memory, and
// every total written in one transaction.
void BM_ProjectTotals(benchmark::State& state)
{
    Fixture& f = fixture();
    Context ctx;
    KeyedFile& dry = ctx.file(VenDry);
    KeyedFile& pro = ctx.file(VenPro);
    dry.open();
    pro.open();
    size_t counted = 0;
    for (auto _ : state) {
        ProjectTotals totals;
        totals.loadZeroed(pro);
        const TotalsDay day = TotalsDay::of(f.today);
        counted = 0;
        dry.set(DRY::CHRONOKEY);
        while (dry.next())
            counted += totals.add(dry.rec(), day);
        if (Status st = totals.write(pro); !st)
            state.SkipWithError(qPrintable(st.text));
    }
    state.counters["entries_counted"] = double(counted);
}
BENCHMARK(BM_ProjectTotals)->Unit(benchmark::kMillisecond)->Iterations(3);

// The calculation as the program runs it: its window, its timer ticks and
// progress line, the sums and the write.
void BM_ProjCalcProc(benchmark::State& state)
{
    fixture();
    for (auto _ : state)
        if (runToEnd(makeProjCalcProc({})) != RequestCompleted)
            state.SkipWithError("the run did not end");
}
BENCHMARK(BM_ProjCalcProc)->Unit(benchmark::kMillisecond)->Iterations(3);

// The project report of the last month printed to PDF: opened, its day
// range read by key, every page laid out and the file written.
void BM_MonthReportToPdf(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString pdf = f.dir.filePath("report.pdf");
    const int32_t first = f.today - 30;
    const QString parameters = QStringLiteral("1,1,%1,%2,%3,%4").arg(first).arg(1).arg(f.today).arg(kLastTime);
    qint64 bytes = 0;
    for (auto _ : state) {
        QFile::remove(pdf);
        if (!runToEnd(makeDiaryProRp(parameters)) || !QFile::exists(pdf))
            state.SkipWithError("no report printed");
        bytes = QFileInfo(pdf).size();
    }
    state.counters["pdf_kB"] = double(bytes) / 1024;
}
BENCHMARK(BM_MonthReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) { return ven::bench::runWindowBenchmarks(argc, argv, fixture); }
