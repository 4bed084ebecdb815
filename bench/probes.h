// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PROBES_H
#define PROBES_H

#include <QString>
#include <QStringList>

// Measurements that need a fresh process: the benchmark program runs itself
// with a probe's option as its first argument, and the probe prints its one
// number.

// Whether the argument names a probe, and running the probe it names; both
// with the QApplication already made.
bool isProbe(const char *argument);
int runProbe(const char *argument);

// Runs a program and returns the number it prints last on its stdout, or a
// negative number when it fails.
double childReport(const QString &program, const QStringList &arguments);

// The ns the host's start takes, from the start probe; negative if it failed.
double startNanoseconds();
// The smallest of three fresh processes' peaks of resident memory, in KiB,
// while the display dialog reads 100,000 assays ("dialog") or while the same
// document is parsed alone ("floor").
double peakKiB(const char *what);

#endif // PROBES_H
