// The entry of a benchmark program that drives windows: offscreen unless a
// platform is named, an application, an optional fixture made once before
// the benchmarks run, and Google Benchmark's run.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include <functional>

namespace ven::bench {

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
