// What the benchmark programs share: a data folder of their own, filling a
// file in one batch, and the entry of a program that drives windows.
#pragma once

#include "data/Dictionary.h"
#include "platform/KeyedFile.h"
#include "platform/Procedure.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <functional>

namespace ven::bench {

// A new empty program folder, current while the benchmarks run, with the
// data files declared.
struct BenchFolder {
    QTemporaryDir dir;
    BenchFolder()
    {
        QDir::setCurrent(dir.path());
        Program_Path = dir.path();
        Store::instance().setFolder(dir.path());
        Store::instance().setFixedFolder(dir.path());
        InitDataFiles();
    }
};

// Adds `count` records to a file in one transaction, each made by `f`.
template <class Fill>
void fill(const FileDef& def, int count, Fill f)
{
    Context ctx;
    KeyedFile& file = ctx.file(def);
    file.open();
    WriteBatch batch(file);
    for (int i = 0; i < count; ++i) {
        file.rec().clear();
        f(file.rec(), i);
        file.add();
    }
    batch.commit();
}

// Offscreen unless a platform is named; the fixture, when given, is made
// once before the benchmarks run.
inline int runWindowBenchmarks(int argc, char** argv, const std::function<void()>& fixture = {})
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (fixture)
        fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace ven::bench
