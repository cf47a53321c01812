// Keyed-file engine benchmarks on a file of 100,000 diary entries: reading
// in key order, random gets, a batch of adds and opening every file cold,
// with the same reads through SQLite's own API for comparison.
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <random>

using namespace ven;

namespace {

constexpr int kRecords = 100000;

// The diary's declaration without encryption, so that SQLite's own API can
// read the very same database.
const FileDef& plainDiary()
{
    static const FileDef d = [] {
        FileDef f = VenDry;
        f.encrypted = false;
        return f;
    }();
    return d;
}

struct Fixture {
    QTemporaryDir dir;
    Fixture()
    {
        Store::instance().setFolder(dir.path());
        Store::instance().setFixedFolder(dir.path());
        InitDataFiles();
        Context ctx;
        KeyedFile& dry = ctx.file(plainDiary());
        dry.open();
        std::mt19937 rng(1);
        // Filled in one transaction of the bench's own: the engine's adds
        // commit one by one, which is measured separately below.
        sqlite3* db = raw();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st;
        sqlite3_prepare_v2(db, "INSERT INTO rec(NUMBER, CATID, BDATE, BTIME, EDATE, ETIME, LEGEND) VALUES(?,?,?,?,?,?,?)", -1, &st, nullptr);
        for (int i = 1; i <= kRecords; ++i) {
            int day = 81000 + int(rng() % 3000);
            sqlite3_bind_int(st, 1, i);
            sqlite3_bind_text(st, 2, "D", -1, SQLITE_STATIC);
            sqlite3_bind_int(st, 3, day);
            sqlite3_bind_int(st, 4, int(packTime(int(rng() % 8640000) + 1)));
            sqlite3_bind_int(st, 5, day);
            sqlite3_bind_int(st, 6, 0);
            std::string legend = "Entry number " + std::to_string(i);
            sqlite3_bind_text(st, 7, legend.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    sqlite3* raw()
    {
        sqlite3* db;
        sqlite3_open(Store::instance().pathOf(plainDiary()).toUtf8().constData(), &db);
        sqlite3_exec(db, "PRAGMA cache_size=-16384", nullptr, nullptr, nullptr);  // as the engine's
        // The same comparison rule as the engine's text columns.
        sqlite3_create_collation(db, "VENTEXT", SQLITE_UTF8, nullptr,
                                 [](void*, int n1, const void* a, int n2, const void* b) {
                                     int r = memcmp(a, b, size_t(std::min(n1, n2)));
                                     return r ? r : n1 - n2;
                                 });
        return db;
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void EngineReadInChronoOrder(benchmark::State& state)
{
    fixture();
    Context ctx;
    KeyedFile& dry = ctx.file(plainDiary());
    dry.open();
    for (auto _ : state) {
        int n = 0;
        dry.set(DRY::CHRONOKEY);
        while (dry.next().ok())
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void SqliteReadInChronoOrder(benchmark::State& state)
{
    sqlite3* db = fixture().raw();
    sqlite3_stmt* st;
    std::string cols = "id";
    for (const FieldDef& f : VenDry.fields)
        cols += std::string(", \"") + f.name + "\"";
    sqlite3_prepare_v2(db, ("SELECT " + cols + " FROM rec WHERE (BDATE <> 0 OR BTIME <> 0 OR EDATE <> 0 OR ETIME <> 0)"
                            " ORDER BY BDATE, BTIME, EDATE, ETIME, id").c_str(), -1, &st, nullptr);
    for (auto _ : state) {
        int n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            // Read every column, as the engine fills a whole record buffer.
            for (int c = 0; c < int(VenDry.fields.size()) + 1; ++c)
                benchmark::DoNotOptimize(sqlite3_column_type(st, c) == SQLITE_TEXT ? (void*)sqlite3_column_text(st, c)
                                                                                  : (void*)(intptr_t)sqlite3_column_int64(st, c));
            ++n;
        }
        sqlite3_reset(st);
        benchmark::DoNotOptimize(n);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void EngineRandomGets(benchmark::State& state)
{
    fixture();
    Context ctx;
    KeyedFile& dry = ctx.file(plainDiary());
    dry.open();
    std::mt19937 rng(2);
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            dry.rec().set(DRY::NUMBER, int64_t(rng() % kRecords + 1));
            benchmark::DoNotOptimize(dry.get(DRY::NUMBER_KEY).ok());
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

void SqliteRandomGets(benchmark::State& state)
{
    sqlite3* db = fixture().raw();
    sqlite3_stmt* st;
    std::string cols = "id";
    for (const FieldDef& f : VenDry.fields)
        cols += std::string(", \"") + f.name + "\"";
    sqlite3_prepare_v2(db, ("SELECT " + cols + " FROM rec WHERE NUMBER = ? AND (NUMBER <> 0) ORDER BY NUMBER, id LIMIT 1").c_str(), -1, &st, nullptr);
    std::mt19937 rng(2);
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            sqlite3_bind_int64(st, 1, int64_t(rng() % kRecords + 1));
            if (sqlite3_step(st) == SQLITE_ROW)
                for (int c = 0; c < int(VenDry.fields.size()) + 1; ++c)
                    benchmark::DoNotOptimize(sqlite3_column_type(st, c) == SQLITE_TEXT ? (void*)sqlite3_column_text(st, c)
                                                                                      : (void*)(intptr_t)sqlite3_column_int64(st, c));
            sqlite3_reset(st);
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * 10000);
}

// An empty data folder of its own with the encrypted diary open, for one
// iteration; end() closes it and goes back to the fixture's folder.
class FreshFolder {
public:
    FreshFolder() { Store::instance().setFolder(dir_.path()); }
    KeyedFile& diary()
    {
        KeyedFile& dry = ctx_.file(VenDry);
        dry.open();
        return dry;
    }
    void end()
    {
        ctx_.closeAll();
        Store::instance().closeIdle();
        Store::instance().setFolder(fixture().dir.path());
    }

private:
    QTemporaryDir dir_;
    Context ctx_;
};

// 10,000 diary entries added in one batch as a form adds them (auto-number,
// placeholder, rewrite), on the encrypted file.
void EngineAddBatch(benchmark::State& state)
{
    fixture();
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder folder;
        KeyedFile& dry = folder.diary();
        state.ResumeTiming();
        WriteBatch batch(dry);
        for (int i = 0; i < 10000; ++i) {
            dry.primeRecord();
            dry.rec().set(DRY::LEGEND, "added");
            dry.insert();
        }
        batch.commit();
        state.PauseTiming();
        folder.end();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// A pass that changes every record it reads: 10,000 entries read in
// `DRY:CHRONOKEY` order, each updated as it is read, in one batch.
void EngineUpdateEachInOrder(benchmark::State& state)
{
    fixture();
    for (auto _ : state) {
        state.PauseTiming();
        FreshFolder folder;
        KeyedFile& dry = folder.diary();
        {
            WriteBatch batch(dry);
            for (int i = 0; i < 10000; ++i) {
                dry.primeRecord();
                dry.rec().set(DRY::BDATE, 80000 + i / 40);
                dry.rec().set(DRY::LEGEND, "read and changed");
                dry.insert();
            }
            batch.commit();
        }
        state.ResumeTiming();
        WriteBatch batch(dry);
        dry.set(DRY::CHRONOKEY);
        int n = 0;
        while (dry.next().ok()) {
            dry.rec().set(DRY::CATEGORY, "C");
            dry.update();
            ++n;
        }
        batch.commit();
        benchmark::DoNotOptimize(n);
        state.PauseTiming();
        folder.end();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

void EngineOpenAllFilesCold(benchmark::State& state)
{
    QTemporaryDir dir;
    Store::instance().setFolder(dir.path());
    Store::instance().setFixedFolder(dir.path());
    {
        Context made;  // made once; the benchmark opens existing files
        for (const FileDef* f : dictionary().files)
            made.file(*f).open();
    }
    Store::instance().closeIdle();
    for (auto _ : state) {
        Context ctx;
        for (const FileDef* f : dictionary().files)
            ctx.file(*f).open();
        state.PauseTiming();
        ctx.closeAll();
        Store::instance().closeIdle();
        state.ResumeTiming();
    }
    Store::instance().setFolder(fixture().dir.path());
}

} // namespace

BENCHMARK(EngineReadInChronoOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteReadInChronoOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineRandomGets)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteRandomGets)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineAddBatch)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineUpdateEachInOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineOpenAllFilesCold)->Unit(benchmark::kMillisecond);

namespace {

// The console's report, keeping each benchmark's time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            times[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* what : {"ReadInChronoOrder", "RandomGets"}) {
        const auto e = reporter.times.find(std::string("Engine") + what);
        const auto q = reporter.times.find(std::string("Sqlite") + what);
        if (e != reporter.times.end() && q != reporter.times.end() && q->second > 0)
            std::printf("%s: engine / SQLite = %.2f\n", what, e->second / q->second);
    }
    benchmark::Shutdown();
    return 0;
}
