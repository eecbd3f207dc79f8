// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
//
// Runs the slow-storage benchmarks inside an event loop of their own, which the stall meter
// watches.
#include <QCoreApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
