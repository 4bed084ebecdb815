// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef HOSTOPTIONS_H
#define HOSTOPTIONS_H

#include <QString>
#include <QStringList>

class QCoreApplication;

// The host's command line.
struct HostOptions
{
    QString plugins;
    QString script;
    QStringList arguments;

    QString answers;
    QString pictures;
    QString simulatedUser;
    bool simulatedBatch = false;
    QString simulatedCancel;

    bool verbose = false;

    // Exits with the usage on stderr when the command line is wrong.
    static HostOptions parse(const QCoreApplication &app, const QString &defaultPlugins);
};

#endif // HOSTOPTIONS_H
