// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef BENCHREPORT_H
#define BENCHREPORT_H

#include <benchmark/benchmark.h>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// What a run measured, by name: each benchmark's best time per iteration in
// seconds and each probe's value; -1 for what did not run.
struct Results
{
    double operator[](const char *name) const { return values.value(QLatin1String(name), -1); }

    QHash<QString, double> values;
};

// One line of the table: what was measured, against what, and whether it
// met its goal.
struct Row
{
    QString name;
    QString measured;
    QString floor;
    QString ratio;
    QString goal;
    bool met;
};

QString timeText(double seconds);
// Met when measured is at most limit times floor; floorText, if given, is
// shown instead of the floor's time.
Row ratioRow(const QString &name, double measured, double floor, double limit,
             const QString &floorText = QString());
// The same for peaks of resident memory in KiB.
Row memoryRow(const QString &name, double measuredKiB, double floorKiB, double limit);
// Met when measured takes less than limit seconds.
Row absoluteRow(const QString &name, double measured, double limit);

// Keeps the best time per iteration of every benchmark.
class BestTimes : public benchmark::BenchmarkReporter
{
public:
    bool ReportContext(const Context &) override { return true; }
    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

    void printAll() const;

    Results results;
};

// The table's rows in the order they are printed, each with the goal that
// judges it, and the benchmarks and probes that measure them. Each dialog's
// file adds its own, so that a goal is written once, beside its benchmark.
class BenchTable
{
public:
    explicit BenchTable(int repetitions)
        : repetitions(repetitions)
    { }

    // Slow paths run a fixed number of iterations per repetition, quick ones
    // for at least 50 ms.
    benchmark::internal::Benchmark *benchmark(const char *name,
                                              void (*function)(benchmark::State &),
                                              int iterations = 0);
    // Measured after the benchmarks, in fresh processes, unless the run is
    // filtered to particular benchmarks.
    void probe(const char *name, std::function<double()> measure);

    void row(std::function<Row(const Results &)> row);
    void ratio(const char *name, const char *measured, const char *floor, double limit);
    void absolute(const char *name, const char *measured, double limit);
    // Printed below the table.
    void note(const QString &text);

    void measureProbes(Results &results) const;
    void print(const Results &results) const;

private:
    int repetitions;
    QList<QPair<QString, std::function<double()>>> probes;
    QList<std::function<Row(const Results &)>> rows;
    QStringList notes;
};

#endif // BENCHREPORT_H
