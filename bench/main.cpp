// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// Times the dialogs' hot paths against the cheapest code doing the same
// underlying work, in the same run on the same data, and prints one table
// row per path: measured, floor, ratio and goal.
//
// Every benchmark runs in several repetitions, interleaved in random order
// with the others, and each keeps its best repetition: on a shared machine
// the best time is the one least disturbed by other processes.

#include "benchdata.h"
#include "benchmarks.h"
#include "benchreport.h"
#include "platformnoisefilter.h"
#include "probes.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && isProbe(argv[1]))
        return runProbe(argv[1]);

    // The display dialog logs every resize and show, and the offscreen
    // platform warns on every window it sizes; neither is the subject here.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    installPlatformNoiseFilter();

    int repetitions = 5;
    std::vector<char *> arguments(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--repetitions=", 14) == 0) {
            repetitions = std::atoi(argv[i] + 14);
            arguments.erase(std::find(arguments.begin(), arguments.end(), argv[i]));
        }
    }
    int count = int(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 2;

    // The data is made once, before any timing starts.
    makeBenchData();
    BenchTable table(qMax(1, repetitions));
    addDisplayBenchmarks(table);
    addSelectionBenchmarks(table);
    addProgressBenchmarks(table);
    addBridgeBenchmarks(table);
    std::fprintf(stderr, "Running %d repetitions of each benchmark, interleaved", repetitions);
    BestTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();
    std::fprintf(stderr, "Best time per iteration:\n");
    times.printAll();
    // A filtered run is after particular rows; the probes take a few seconds.
    const bool measureProbes = std::none_of(argv + 1, argv + argc, [](const char *argument) {
        return std::strncmp(argument, "--benchmark_filter", 18) == 0;
    });
    if (measureProbes)
        table.measureProbes(times.results);
    table.print(times.results);
    return 0;
}
