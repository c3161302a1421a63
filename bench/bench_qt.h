// The main program of a benchmark that runs forms: one application object on the offscreen
// platform unless another one is asked for, then every benchmark of the program.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

namespace qd::bench {

inline int runQtBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace qd::bench
