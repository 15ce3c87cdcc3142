#pragma once
// main() of the benchmarks that open windows: offscreen unless told otherwise, and in a
// temporary directory of their own, where the prediction window reads and writes its settings.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#define N3_WIDGET_BENCHMARK_MAIN()                                                                                     \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                                   \
        QApplication app(argc, argv);                                                                                  \
        QTemporaryDir dir;                                                                                             \
        const QString previous = QDir::currentPath();                                                                  \
        QDir::setCurrent(dir.path());                                                                                  \
        benchmark::Initialize(&argc, argv);                                                                            \
        benchmark::RunSpecifiedBenchmarks();                                                                           \
        benchmark::Shutdown();                                                                                         \
        QDir::setCurrent(previous);                                                                                    \
        return 0;                                                                                                      \
    }
