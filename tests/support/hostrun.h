// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef HOSTRUN_H
#define HOSTRUN_H

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a child program did: whether it ended by itself, and what it printed.
struct ChildRun
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

// How a child program runs: its environment, its working folder (empty: the
// test's own) and how long it may take before it is killed.
struct ChildOptions
{
    QProcessEnvironment environment = headlessEnvironment();
    QString folder;
    int timeoutMs = 120000;

    // The test's environment with the offscreen platform, so no window shows.
    static QProcessEnvironment headlessEnvironment();
    // As on a machine without a display: no display, no platform or logging
    // rules chosen, so the program decides these by itself.
    static QProcessEnvironment withoutDisplay();
};

// Runs a program to its end and collects what it printed. One that does not
// end in time is killed, one that crashes counts as not finished; either way
// err says so.
ChildRun runProgram(const QString &program, const QStringList &arguments,
                    const ChildOptions &options = ChildOptions());

// The same for the built veldmark-script-host.
ChildRun runHost(const QStringList &arguments, const ChildOptions &options = ChildOptions());

#endif // HOSTRUN_H
