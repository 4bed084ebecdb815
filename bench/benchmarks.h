// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef BENCHMARKS_H
#define BENCHMARKS_H

class BenchTable;

// Each file's benchmarks, probes and the rows that judge them; the table
// prints the rows in the order they are added.
void addDisplayBenchmarks(BenchTable &table);
void addSelectionBenchmarks(BenchTable &table);
void addProgressBenchmarks(BenchTable &table);
void addBridgeBenchmarks(BenchTable &table);

#endif // BENCHMARKS_H
