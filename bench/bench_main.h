#pragma once
// main() of the benchmarks that need no display.

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#define N3_BENCHMARK_MAIN()                                                                                            \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QCoreApplication app(argc, argv);                                                                              \
        benchmark::Initialize(&argc, argv);                                                                            \
        benchmark::RunSpecifiedBenchmarks();                                                                           \
        benchmark::Shutdown();                                                                                         \
        return 0;                                                                                                      \
    }
