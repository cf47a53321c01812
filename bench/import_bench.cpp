// The reminder program's import files for a year: the feasts of ten
// languages (every church-year day code in each) and the memorial days of
// ten levels (every day number in each), read from their files and written
// afresh as twenty files.
#include "calendar/FeastDays.h"
#include "calendar/MakeLitImportPr.h"
#include "data/Dictionary.h"
#include "platform/Procedure.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <map>

using namespace ven;

namespace {

constexpr int kYear = 2024;  // a leap year: day number 366 is written too

struct ImportFolder {
    QTemporaryDir dir;
    ImportFolder()
    {
        Store::instance().closeIdle();
        Store::instance().setFolder(dir.path());
        Program_Path = dir.path();
        InitDataFiles();
        Context ctx;
        KeyedFile& lit = ctx.file(VenLit);
        lit.open();
        {
            WriteBatch batch(lit);
            for (int language = 0; language < kSets; ++language)
                for (int code = 1; code < 256; ++code) {
                    lit.rec().clear();
                    lit.rec().set(LIT::FEAST, code);
                    lit.rec().set(LIT::LANGUAGE, language);
                    lit.rec().set(LIT::NAME, QStringLiteral("Feast %1 in language %2").arg(code).arg(language));
                    lit.add();
                }
            batch.commit();
        }
        KeyedFile& ast = ctx.file(VenSaint);
        ast.open();
        WriteBatch batch(ast);
        for (int day = 1; day <= 366; ++day)
            for (int level = 0; level < kSets; ++level) {
                ast.rec().clear();
                ast.rec().set(AST::DAYNO, day);
                ast.rec().set(AST::LEVEL, level);
                ast.rec().set(AST::NAMES, QStringLiteral("Saints of day %1, level %2").arg(day).arg(level));
                ast.add();
            }
        batch.commit();
    }
};

void FeastFiles(benchmark::State& state)
{
    ImportFolder folder;
    Context ctx;
    KeyedFile& lit = ctx.file(VenLit);
    lit.open();
    for (auto _ : state) {
        Status read;
        benchmark::DoNotOptimize(writeFeastImportFiles(lit, kYear, read));
    }
}

// As the memorial run does it, without its window: the records in key
// order, each level's lines, then the files.
void MemorialFiles(benchmark::State& state)
{
    ImportFolder folder;
    Context ctx;
    KeyedFile& ast = ctx.file(VenSaint);
    ast.open();
    for (auto _ : state) {
        std::map<int, QStringList> lines;
        ast.set(AST::SAINTS_KEY);
        while (ast.next())
            if (const auto date = memorialDate(kYear, ast.rec().num(AST::DAYNO)))
                lines[int(ast.rec().num(AST::LEVEL))] << importLine(*date, ast.rec().str(AST::NAMES));
        for (const auto& [level, l] : lines)
            benchmark::DoNotOptimize(writeImportFile(memorialImportFile(kYear, level), l));
    }
}

} // namespace

BENCHMARK(FeastFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(MemorialFiles)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
