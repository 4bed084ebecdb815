// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "hostrun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// Runs veldmark-script-host on small scripts, with the test plug-in folder.
class tst_Host : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void runsScriptWithArguments();
    void reportsPluginsThatFailAndGoesOn();
    void exceptionPrintsTracebackAndFails();
    void systemExitGivesTheStatus();
    void systemExitInACallbackEndsWithItsStatus();
    void callbackExceptionFailsTheScript();
    void outputFromAThreadInOrder();
    void scriptObjectsGoBeforeTheApplication();
    void offscreenWithoutDisplay();
    void modalWaitWithoutDisplayIsRefused();
    void debugMessagesOnlyWhenVerbose();
    void scriptWithANullByteIsRefused();
    void ctrlCInAModalDialogEndsTheRun();
    void failureWhileTheObjectsGoFailsTheRun_data();
    void failureWhileTheObjectsGoFailsTheRun();
    void startsUnderEveryWarningFilter_data();
    void startsUnderEveryWarningFilter();

private:
    // Runs the script with the test plug-in folder; options go before it,
    // arguments after it.
    ChildRun runScript(const QString &script, const QStringList &arguments = {},
                       const QProcessEnvironment &environment = ChildOptions::headlessEnvironment(),
                       const QStringList &options = {});

    QTemporaryDir scripts;
    int scriptCount = 0;
};

ChildRun tst_Host::runScript(const QString &script, const QStringList &arguments,
                             const QProcessEnvironment &environment, const QStringList &options)
{
    const QString path = scripts.filePath(QStringLiteral("script%1.py").arg(++scriptCount));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) < 0)
        return {};
    file.close();

    ChildOptions childOptions;
    childOptions.environment = environment;
    return runHost(
        options + QStringList{QStringLiteral("--plugins"), QStringLiteral(PROBE_PLUGIN_DIR), path}
            + arguments,
        childOptions);
}

void tst_Host::initTestCase()
{
    QVERIFY(scripts.isValid());
    QVERIFY(QFile::exists(QStringLiteral(SCRIPT_HOST)));
}

void tst_Host::runsScriptWithArguments()
{
    const ChildRun result = runScript(
        QStringLiteral(R"(
import sys
from PythonQt.Probe import HostProbe
probe = HostProbe()
print(sys.argv[1:], probe.greet('script'))
)"),
        {QStringLiteral("first"), QStringLiteral("--plugins"), QStringLiteral("two words")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("['first', '--plugins', 'two words'] hello script\n"));
}

void tst_Host::reportsPluginsThatFailAndGoesOn()
{
    const ChildRun result = runScript(QStringLiteral("from PythonQt.Probe import HostProbe\n"));
    QCOMPARE(result.exitCode, 0);
    const QString folder = QDir(QStringLiteral(PROBE_PLUGIN_DIR)).absolutePath();
    QVERIFY2(result.err.contains(
                 QStringLiteral("veldmark-script-host: cannot load plug-in %1/libbroken.so: ")
                     .arg(folder)),
             qPrintable(result.err));
    QVERIFY2(result.err.contains(
                 QStringLiteral("veldmark-script-host: plug-in %1/libnotwidgetsplugin.so: "
                                "NotWidgetsPlugin does not implement "
                                "Kestrane-Pyton-Qt-Widgets/1.0")
                     .arg(folder)),
             qPrintable(result.err));
    QVERIFY(!result.err.contains(QStringLiteral("libprobeplugin.so")));
}

void tst_Host::exceptionPrintsTracebackAndFails()
{
    const ChildRun result = runScript(QStringLiteral(R"(
def check(value):
    raise ValueError('bad value %d' % value)
print('before')
check(3)
print('after')
)"));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QStringLiteral("before\n"));
    QVERIFY2(result.err.contains(QStringLiteral("Traceback (most recent call last):")),
             qPrintable(result.err));
    QVERIFY(result.err.contains(QStringLiteral("in check")));
    QVERIFY(result.err.contains(QStringLiteral("ValueError: bad value 3")));
}

void tst_Host::systemExitGivesTheStatus()
{
    QCOMPARE(runScript(QStringLiteral("import sys\nsys.exit(4)\n")).exitCode, 4);
    QCOMPARE(runScript(QStringLiteral("import sys\nsys.exit()\n")).exitCode, 0);
    const ChildRun message = runScript(QStringLiteral("import sys\nsys.exit('giving up')\n"));
    QCOMPARE(message.exitCode, 1);
    QVERIFY(message.err.contains(QStringLiteral("giving up")));
    // The statuses python3 gives.
    QCOMPARE(runScript(QStringLiteral("import sys\nsys.exit(-1)\n")).exitCode, 255);
    QCOMPARE(runScript(QStringLiteral("import sys\nsys.exit(300)\n")).exitCode, 44);
    QCOMPARE(runScript(QStringLiteral("import sys\nsys.exit(None)\n")).exitCode, 0);
}

void tst_Host::systemExitInACallbackEndsWithItsStatus()
{
    // The callback's SystemExit reaches the host, not the process's end from
    // inside Qt; the script goes on, and the first status is the one given.
    const ChildRun result = runScript(QStringLiteral(R"(
import sys
from PythonQt.Probe import HostProbe
probe = HostProbe()
probe.finished.connect(lambda code: sys.exit(code))
probe.done(6)
print('after the callback')
sys.exit(2)
)"));
    QCOMPARE(result.exitCode, 6);
    QCOMPARE(result.out, QStringLiteral("after the callback\n"));
}

void tst_Host::callbackExceptionFailsTheScript()
{
    const ChildRun result = runScript(QStringLiteral(R"(
from PythonQt.Probe import HostProbe
probe = HostProbe()
def failing(code):
    raise KeyError('in callback')
probe.finished.connect(failing)
probe.done(1)
print('after the callback')
)"));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QStringLiteral("after the callback\n"));
    QVERIFY2(result.err.contains(QStringLiteral("KeyError: 'in callback'")),
             qPrintable(result.err));
}

void tst_Host::outputFromAThreadInOrder()
{
    const ChildRun result = runScript(QStringLiteral(R"(
import threading
def work():
    for i in range(3):
        print('worker', i)
    raise RuntimeError('worker failed')
worker = threading.Thread(target=work)
worker.start()
worker.join()
print('main')
)"));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("worker 0\nworker 1\nworker 2\nmain\n"));
    QVERIFY2(result.err.contains(QStringLiteral("RuntimeError: worker failed")),
             qPrintable(result.err));
}

void tst_Host::scriptObjectsGoBeforeTheApplication()
{
    // A shown dialog, one held in a cycle, one its own callback keeps, and a
    // signal callback: all must be gone, in order, while QApplication still exists.
    const ChildRun result = runScript(QStringLiteral(R"(
from PythonQt.Probe import HostProbe
shown = HostProbe()
shown.show()
shown.finished.connect(lambda code: print('finished', code))
class Holder:
    pass
holder = Holder()
holder.cycle = holder
holder.probe = HostProbe()
selfish = HostProbe()
selfish.finished.connect(lambda code: selfish.setWindowTitle('done'))
)"));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err.count(QStringLiteral("HostProbe destroyed before the application")), 3);
    QVERIFY2(!result.err.contains(QStringLiteral("after the application")), qPrintable(result.err));
}

void tst_Host::offscreenWithoutDisplay()
{
    const ChildRun result = runScript(
        QStringLiteral("from PythonQt.Probe import HostProbe\nprint(HostProbe().platformName())\n"),
        {}, ChildOptions::withoutDisplay());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("offscreen\n"));
}

void tst_Host::modalWaitWithoutDisplayIsRefused()
{
    // Any modal dialog, not only the plug-in's: no one could end exec().
    const ChildRun result = runScript(QStringLiteral(R"(
from PythonQt.Probe import HostProbe
probe = HostProbe()
probe.setWindowTitle('Probe')
try:
    print('exec', probe.exec())
finally:
    print('cleaned up')
print('went on')
)"),
                                      {}, ChildOptions::withoutDisplay());
    QVERIFY2(result.exitCode == 2, qPrintable(result.err));
    QCOMPARE(result.out, QStringLiteral("cleaned up\n"));
    QVERIFY2(result.err.contains(QStringLiteral(
                 "\nveldmark-script-host: the script waits in the modal dialog HostProbe "
                 "(\"Probe\"), but without a "
                 "display no one can answer it; give the answers with --answers FILE")),
             qPrintable(result.err));
}

void tst_Host::debugMessagesOnlyWhenVerbose()
{
    const QString script =
        QStringLiteral("from PythonQt.Probe import HostProbe\nHostProbe().log('probe')\n");
    const ChildRun quiet = runScript(script, {}, ChildOptions::withoutDisplay());
    QCOMPARE(quiet.exitCode, 0);
    QVERIFY2(quiet.err.contains(QStringLiteral("warning: probe\n")), qPrintable(quiet.err));
    QVERIFY(quiet.err.contains(QStringLiteral("critical: probe\n")));
    QVERIFY2(!quiet.err.contains(QStringLiteral("debug: probe")), qPrintable(quiet.err));

    const ChildRun verbose =
        runScript(script, {}, ChildOptions::withoutDisplay(), {QStringLiteral("--verbose")});
    QCOMPARE(verbose.exitCode, 0);
    QVERIFY2(
        verbose.err.contains(QStringLiteral("debug: probe\nwarning: probe\ncritical: probe\n")),
        qPrintable(verbose.err));
}

void tst_Host::scriptWithANullByteIsRefused()
{
    // Not cut at the NUL and run up to it: refused whole, as python3 does.
    const ChildRun result = runScript(QStringLiteral("print('before')\nx = 1\0\nprint('after')\n"));
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QString());
    const QString path = scripts.filePath(QStringLiteral("script%1.py").arg(scriptCount));
    QVERIFY2(result.err.contains(QStringLiteral("  File \"%1\", line 2\n").arg(path)),
             qPrintable(result.err));
    QVERIFY2(result.err.endsWith(
                 QStringLiteral("\nSyntaxError: source code cannot contain null bytes\n")),
             qPrintable(result.err));
}

void tst_Host::ctrlCInAModalDialogEndsTheRun()
{
    // A dialog that stays open when the host closes it, so the script waits
    // in it until Ctrl-C: that ends the wait, and the run, as it would
    // anywhere else in the script.
    const QString path = scripts.filePath(QStringLiteral("ctrlc.py"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"(
from PythonQt.Probe import HostProbe
probe = HostProbe()
probe.setWindowTitle('Probe')
probe.setClosable(False)
probe.finished.connect(lambda code: print('finished', code))
try:
    print('exec', probe.exec())
finally:
    print('visible', probe.visible)
)");
    file.close();

    // An ignored SIGINT is ignored in the child too, and Python then leaves it so.
    struct sigaction current = {};
    if (sigaction(SIGINT, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
        std::signal(SIGINT, SIG_DFL);
    QProcess host;
    host.setProcessEnvironment(ChildOptions::withoutDisplay());
    host.start(QStringLiteral(SCRIPT_HOST),
               {QStringLiteral("--plugins"), QStringLiteral(PROBE_PLUGIN_DIR), path});
    QVERIFY(host.waitForStarted());
    host.setReadChannel(QProcess::StandardError);
    const QByteArray waiting = "the script waits in the modal dialog HostProbe (\"Probe\")";
    QByteArray err;
    while (!err.contains(waiting) && host.waitForReadyRead(30000))
        err += host.readAllStandardError();
    QVERIFY2(err.contains(waiting), err.constData());
    QVERIFY(!host.waitForFinished(0));

    ::kill(pid_t(host.processId()), SIGINT);
    const bool finished = host.waitForFinished(30000);
    if (!finished) {
        host.kill();
        host.waitForFinished();
    }
    QVERIFY2(finished, "Ctrl-C did not end the modal wait");
    err += host.readAllStandardError();
    const QString out = QString::fromUtf8(host.readAllStandardOutput());
    QVERIFY2(err.contains("\nKeyboardInterrupt\n"), err.constData());
    // The wait was refused already, so the run fails as refused.
    QCOMPARE(host.exitCode(), 2);
    // No callback ran before the interrupt, and the dialog is closed.
    QVERIFY2(!out.contains(QStringLiteral("finished")), qPrintable(out));
    QVERIFY2(!out.contains(QStringLiteral("visible True")), qPrintable(out));
}

void tst_Host::failureWhileTheObjectsGoFailsTheRun_data()
{
    QTest::addColumn<QString>("callback");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    // The same statuses as during the script.
    QTest::newRow("an exception") << "raise ValueError('while going')" << 1
                                  << "ValueError: while going\n";
    QTest::newRow("a modal wait no one can answer")
        << "print('exec', cls().exec())" << 2
        << "veldmark-script-host: the script waits in the modal dialog HostProbe (\"\"), but "
           "without a display no one can answer it";
}

void tst_Host::failureWhileTheObjectsGoFailsTheRun()
{
    QFETCH(QString, callback);
    QFETCH(int, status);
    QFETCH(QString, message);
    // The script's names are gone by then; the class is held by the closure.
    const ChildRun result = runScript(QStringLiteral(R"(
from PythonQt.Probe import HostProbe
def watch(cls):
    probe = cls()
    def going():
        print('going')
        %1
    probe.destroyed.connect(going)
    return probe
probe = watch(HostProbe)
)")
                                          .arg(callback),
                                      {}, ChildOptions::withoutDisplay());
    QCOMPARE(result.out, QStringLiteral("going\n"));
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(result.exitCode, status);
}

void tst_Host::startsUnderEveryWarningFilter_data()
{
    QTest::addColumn<QString>("filter");

    QTest::newRow("every warning shown") << "default";
    QTest::newRow("warnings as errors") << "error";
}

// The bridge's types are made as Python starts: none of them may warn, or a
// script run with warnings as errors never starts.
void tst_Host::startsUnderEveryWarningFilter()
{
    QFETCH(QString, filter);
    QProcessEnvironment environment = ChildOptions::headlessEnvironment();
    environment.insert(QStringLiteral("PYTHONWARNINGS"), filter);
    const ChildRun result = runScript(QStringLiteral(R"(
import PythonQt
from PythonQt.QtCore import QSize
print(PythonQt.BoolResult(), QSize(2, 3).width())
)"),
                                      {}, environment);
    QVERIFY2(!result.err.contains(QStringLiteral("Warning")), qPrintable(result.err));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("BoolResult(False) 2\n"));
}

QTEST_GUILESS_MAIN(tst_Host)

#include "tst_host.moc"
