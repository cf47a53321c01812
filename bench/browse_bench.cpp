// Browse list benchmarks on a diary file of 100,000 entries: opening a
// browse and showing its first page, one page step, the jump to the end and
// a walk page by page from the first entry to the last.
#include "BenchKit.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "platform/DateTime.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <random>

using namespace ven;

namespace {

constexpr int kRecords = 100000;

const WindowDef& diaryLikeDef()
{
    static const WindowDef def{
        .title = "Diary",
        .w = 358,
        .h = 217,
        .controls = {
            {.name = "List", .kind = Kind::List, .x = 4, .y = 20, .w = 350, .h = 170},
            {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 198, .w = 40, .h = 14},
            {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 48, .y = 198, .w = 40, .h = 14},
            {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 92, .y = 198, .w = 40, .h = 14},
            {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 300, .y = 198, .w = 40, .h = 14, .closes = RequestCancelled},
        }};
    return def;
}

// A browse with the diary list's columns, the computed ones included.
class DiaryLike : public WindowController {
public:
    DiaryLike() : WindowController("BenchBr", diaryLikeDef(), ProcedureTraits{}) {}
    BrowseList* browse = nullptr;

protected:
    bool setUp() override
    {
        static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        std::vector<BrowseColumn> cols = {
            BrowseColumn::computed("Beg", 14, "s3", [](const Record& r) { return QString(kDays[std::max(0, weekday(int32_t(r.num(DRY::BDATE))))]); }),
            BrowseColumn::ofField(DRY::BDATE, "in", 24, "D06.B"),
            BrowseColumn::ofField(DRY::BTIME, "Time", 20, "T01.B"),
            BrowseColumn::ofField(DRY::EDATE, "End", 24, "D06.B"),
            BrowseColumn::ofField(DRY::ETIME, "Time", 20, "T01.B"),
            BrowseColumn::computed("Dur", 20, "T1.B", [](const Record& r) {
                return QVariant(qlonglong((r.num(DRY::EDATE) - r.num(DRY::BDATE)) * 8640000 + r.num(DRY::ETIME) - r.num(DRY::BTIME) + 5999));
            }),
            BrowseColumn::ofField(DRY::LEGEND, "Legend", 120, "s255"),
            BrowseColumn::ofField(DRY::C, "C", 10, "n2B"),
            BrowseColumn::ofField(DRY::T, "T", 12, "n03B"),
            BrowseColumn::ofField(DRY::CATEGORY, "Cat", 10, "n1B"),
            BrowseColumn::ofField(DRY::NUMBER, "Number", 24, "n06b"),
            BrowseColumn::ofField(DRY::MEMORANDUM, "Memorandum", 120, "s255"),
        };
        auto b = std::make_unique<BrowseList>(*this, VenDry, std::move(cols));
        b->addOrder(DRY::CHRONOKEY);
        browse = b.get();
        addPart(std::move(b));
        return true;
    }
};

struct Fixture {
    QTemporaryDir dir;
    Fixture()
    {
        QDir::setCurrent(dir.path());  // placements go to the temporary folder's settings file
        Store::instance().setFolder(dir.path());
        Store::instance().setFixedFolder(dir.path());
        InitDataFiles();
        Context ctx;
        KeyedFile& dry = ctx.file(VenDry);
        dry.open();
        std::mt19937 rng(1);
        WriteBatch batch(dry);
        for (int i = 1; i <= kRecords; ++i) {
            Record& r = dry.rec();
            r.clear();
            const int32_t day = dayNumber(2020, 1, 1) + int32_t(rng() % 2000);
            const int32_t time = 1 + int32_t(rng() % 8000000);
            r.set(DRY::NUMBER, i);
            r.set(DRY::CATID, "D");
            r.set(DRY::BDATE, day);
            r.set(DRY::BTIME, time);
            r.set(DRY::EDATE, day);
            r.set(DRY::ETIME, std::min<int32_t>(kLastTime, time + 360000));
            r.set(DRY::CATEGORY, int(rng() % 5));
            r.set(DRY::LEGEND, QStringLiteral("Entry %1 about something to remember").arg(i));
            r.set(DRY::MEMORANDUM, QStringLiteral("A memorandum of a few words for entry %1").arg(i));
            dry.add();
        }
        batch.commit();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void settle()
{
    QApplication::processEvents();
}

DiaryLike* open()
{
    auto w = std::make_unique<DiaryLike>();
    DiaryLike* p = w.get();
    run(std::move(w));
    p->browse->view()->viewport()->repaint();  // the first page shown
    return p;
}

void closeWindow(DiaryLike* w)
{
    w->close(RequestCancelled);
    for (int i = 0; i < 5; ++i)
        settle();
}

void key(QWidget* w, int k)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    w->repaint();
}

bool atLastRecord(BrowseList& b)
{
    return b.model().atEnd() && b.view()->currentIndex().row() == b.model().rowCount() - 1;
}

void BM_OpenFirstPage(benchmark::State& state)
{
    fixture();
    for (auto _ : state) {
        DiaryLike* w = open();
        state.PauseTiming();
        benchmark::DoNotOptimize(w->browse->model().rowCount());
        closeWindow(w);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenFirstPage)->Unit(benchmark::kMillisecond);

void BM_PageDown(benchmark::State& state)
{
    fixture();
    DiaryLike* w = open();
    QTableView* v = w->browse->view();
    v->setFocus();
    for (auto _ : state) {
        key(v, Qt::Key_PageDown);
        if (atLastRecord(*w->browse)) {
            state.PauseTiming();
            key(v, Qt::Key_Home);
            state.ResumeTiming();
        }
    }
    closeWindow(w);
}
BENCHMARK(BM_PageDown)->Unit(benchmark::kMillisecond);

void BM_EndKey(benchmark::State& state)
{
    fixture();
    DiaryLike* w = open();
    QTableView* v = w->browse->view();
    for (auto _ : state) {
        key(v, Qt::Key_End);
        state.PauseTiming();
        key(v, Qt::Key_Home);
        state.ResumeTiming();
    }
    closeWindow(w);
}
BENCHMARK(BM_EndKey)->Unit(benchmark::kMillisecond);

// Every page from the first entry to the last: the mean and the slowest step.
void BM_WalkToTheEnd(benchmark::State& state)
{
    fixture();
    DiaryLike* w = open();
    QTableView* v = w->browse->view();
    double slowest = 0, total = 0;
    int steps = 0;
    for (auto _ : state) {
        key(v, Qt::Key_Home);
        while (!atLastRecord(*w->browse)) {
            QElapsedTimer t;
            t.start();
            key(v, Qt::Key_PageDown);
            const double ms = t.nsecsElapsed() / 1e6;
            slowest = std::max(slowest, ms);
            total += ms;
            ++steps;
        }
    }
    state.counters["steps"] = steps / double(state.iterations());
    state.counters["mean_step_ms"] = total / std::max(1, steps);
    state.counters["slowest_step_ms"] = slowest;
    closeWindow(w);
}
BENCHMARK(BM_WalkToTheEnd)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) { return ven::bench::runWindowBenchmarks(argc, argv); }
