#ifndef HOSTRUN_H
#define HOSTRUN_H

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs the built host headless, as the README's main job does without a
// display, and collects what it printed.
struct HostRun
{
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

inline HostRun runHost(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess host;
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(SCRIPT_HOST), arguments);
    HostRun run;
    run.finished = host.waitForFinished(120000) && host.exitStatus() == QProcess::NormalExit;
    if (!run.finished)
        host.kill();
    run.exitCode = host.exitCode();
    run.out = QString::fromUtf8(host.readAllStandardOutput());
    run.err = QString::fromUtf8(host.readAllStandardError());
    return run;
}

#endif // HOSTRUN_H
