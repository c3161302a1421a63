// The main program of a benchmark that runs forms: one application object on the offscreen
// platform unless another one is asked for, then every benchmark of the program. A program whose
// benchmarks need the application object only in part makes it where it is needed (needQtApp).
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace qd::bench {

inline void useOffscreenUnlessAsked()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline std::unique_ptr<QApplication> &lateQtApp()
{
    static std::unique_ptr<QApplication> app;
    return app;
}

// Makes the application object when there is none yet; it lasts until runBenchmarks ends.
inline void needQtApp()
{
    if (QApplication::instance())
        return;
    useOffscreenUnlessAsked();
    static int argc = 1;
    static char name[] = "bench";
    static char *argv[] = {name, nullptr};
    lateQtApp() = std::make_unique<QApplication>(argc, argv);
}

// Every benchmark of the program, with no application object but the one they ask for.
inline int runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    lateQtApp().reset();
    return 0;
}

inline int runQtBenchmarks(int argc, char **argv)
{
    useOffscreenUnlessAsked();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace qd::bench
