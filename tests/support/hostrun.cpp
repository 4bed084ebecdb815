// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "hostrun.h"

#include <QProcess>

QProcessEnvironment ChildOptions::headlessEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

QProcessEnvironment ChildOptions::withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name :
         {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
          QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("QT_LOGGING_RULES")})
        environment.remove(name);
    return environment;
}

ChildRun runProgram(const QString &program, const QStringList &arguments,
                    const ChildOptions &options)
{
    QProcess process;
    process.setProcessEnvironment(options.environment);
    if (!options.folder.isEmpty())
        process.setWorkingDirectory(options.folder);
    process.start(program, arguments);
    ChildRun run;
    run.finished =
        process.waitForFinished(options.timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (run.finished) {
        run.exitCode = process.exitCode();
    } else {
        run.err = QStringLiteral("%1 did not finish: %2\n").arg(program, process.errorString());
        process.kill();
        process.waitForFinished();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err += QString::fromUtf8(process.readAllStandardError());
    return run;
}

ChildRun runHost(const QStringList &arguments, const ChildOptions &options)
{
    return runProgram(QStringLiteral(SCRIPT_HOST), arguments, options);
}
