// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "benchreport.h"

#include <QVector>

#include <cstdio>

QString timeText(double seconds)
{
    if (seconds < 0)
        return QStringLiteral("not run");
    if (seconds < 1e-6)
        return QStringLiteral("%1 ns").arg(seconds * 1e9, 0, 'f', 0);
    if (seconds < 1e-3)
        return QStringLiteral("%1 us").arg(seconds * 1e6, 0, 'f', 1);
    return QStringLiteral("%1 ms").arg(seconds * 1e3, 0, 'f', 1);
}

void BestTimes::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0)
            continue;
        const QString name = QString::fromStdString(run.run_name.function_name);
        const double seconds = run.real_accumulated_time / double(run.iterations);
        if (!results.values.contains(name) || seconds < results.values[name])
            results.values[name] = seconds;
        std::fprintf(stderr, ".");
    }
}

void BestTimes::Finalize()
{
    std::fprintf(stderr, "\n");
}

void BestTimes::printAll() const
{
    QStringList names = results.values.keys();
    names.sort();
    for (const QString &name : names)
        std::fprintf(stderr, "  %-18s %s\n", qPrintable(name),
                     qPrintable(timeText(results.values[name])));
}

Row ratioRow(const QString &name, double measured, double floor, double limit,
             const QString &floorText)
{
    const bool valid = measured > 0 && floor > 0;
    const double ratio = valid ? measured / floor : -1;
    return {name,
            timeText(measured),
            floorText.isEmpty() ? timeText(floor) : floorText,
            valid ? QStringLiteral("%1").arg(ratio, 0, 'f', 2) : QStringLiteral("-"),
            QStringLiteral("<= %1x").arg(limit, 0, 'f', 1),
            valid && ratio <= limit};
}

Row memoryRow(const QString &name, double measuredKiB, double floorKiB, double limit)
{
    const auto text = [](double kib) {
        return kib < 0 ? QStringLiteral("not run")
                       : QStringLiteral("%1 MB").arg(kib * 1024 / 1e6, 0, 'f', 1);
    };
    Row row = ratioRow(name, measuredKiB, floorKiB, limit);
    row.measured = text(measuredKiB);
    row.floor = text(floorKiB);
    return row;
}

Row absoluteRow(const QString &name, double measured, double limit)
{
    return {name,
            timeText(measured),
            QStringLiteral("-"),
            QStringLiteral("-"),
            QStringLiteral("< %1").arg(timeText(limit)),
            measured > 0 && measured < limit};
}

benchmark::internal::Benchmark *BenchTable::benchmark(const char *name,
                                                      void (*function)(benchmark::State &),
                                                      int iterations)
{
    auto registered = benchmark::RegisterBenchmark(name, function)->Repetitions(repetitions);
    return iterations > 0 ? registered->Iterations(iterations) : registered->MinTime(0.05);
}

void BenchTable::probe(const char *name, std::function<double()> measure)
{
    probes.append({QLatin1String(name), std::move(measure)});
}

void BenchTable::row(std::function<Row(const Results &)> row)
{
    rows.append(std::move(row));
}

void BenchTable::ratio(const char *name, const char *measured, const char *floor, double limit)
{
    row([=](const Results &t) {
        return ratioRow(QLatin1String(name), t[measured], t[floor], limit);
    });
}

void BenchTable::absolute(const char *name, const char *measured, double limit)
{
    row([=](const Results &t) { return absoluteRow(QLatin1String(name), t[measured], limit); });
}

void BenchTable::note(const QString &text)
{
    notes.append(text);
}

void BenchTable::measureProbes(Results &results) const
{
    for (const auto &probe : probes)
        results.values.insert(probe.first, probe.second());
}

void BenchTable::print(const Results &results) const
{
    QList<Row> printed;
    for (const auto &row : rows)
        printed.append(row(results));

    const QStringList header = {QStringLiteral("row"),   QStringLiteral("measured"),
                                QStringLiteral("floor"), QStringLiteral("ratio"),
                                QStringLiteral("goal"),  QStringLiteral("met")};
    QVector<int> widths;
    for (const QString &title : header)
        widths.append(title.size());
    auto cells = [](const Row &row) {
        return QStringList{row.name,  row.measured,
                           row.floor, row.ratio,
                           row.goal,  row.met ? QStringLiteral("met") : QStringLiteral("MISSED")};
    };
    for (const Row &row : printed) {
        const QStringList c = cells(row);
        for (int i = 0; i < c.size(); ++i)
            widths[i] = qMax(widths[i], c[i].size());
    }
    auto line = [&](const QStringList &c) {
        QString text = QStringLiteral("|");
        for (int i = 0; i < c.size(); ++i)
            text += QLatin1Char(' ') + c[i].leftJustified(widths[i]) + QStringLiteral(" |");
        std::printf("%s\n", text.toUtf8().constData());
    };
    line(header);
    QStringList rule;
    for (int w : widths)
        rule.append(QString(w, QLatin1Char('-')));
    std::printf("%s\n",
                (QLatin1Char('|') + QStringLiteral("-%1-|").arg(rule.join(QStringLiteral("-|-"))))
                    .toUtf8()
                    .constData());
    for (const Row &row : printed)
        line(cells(row));
    for (const QString &text : notes)
        std::printf("\n%s", text.toUtf8().constData());
}
