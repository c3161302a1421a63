// The main program of bench_tools: the benchmarks of every tool family, on the offscreen
// platform (some of them fill list boxes).
#include "bench/bench_qt.h"

int main(int argc, char **argv) { return qd::bench::runQtBenchmarks(argc, argv); }
