// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "probes.h"

#include "PythonQt.h"

#include "benchdata.h"
#include "pluginwidgets.h"
#include "veldmarkdisplay.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPluginLoader>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdio>
#include <cstring>
#include <malloc.h>

namespace {

const char startOption[] = "--start-probe";
const char memoryOption[] = "--memory-probe=";

// In a fresh process, as the host starts: load the plug-in, register its
// classes, then construct each dialog once from Python. Prints the ns taken.
int startProbe()
{
    PythonQt::init();
    QElapsedTimer timer;
    timer.start();
    QPluginLoader loader(QStringLiteral(VELDMARK_PLUGIN_FILE));
    auto widgets = qobject_cast<PluginWidgets *>(loader.instance());
    if (!widgets) {
        std::fprintf(stderr, "cannot load %s: %s\n", VELDMARK_PLUGIN_FILE,
                     qPrintable(loader.errorString()));
        return 1;
    }
    widgets->registerClasses();
    PythonQtObjectPtr main = PythonQt::self()->getMainModule();
    main.evalScript(QStringLiteral(
        "from PythonQt.Kestrane import VeldmarkDisplay, VeldmarkSelection, ProgressDialog\n"
        "dialogs = [VeldmarkDisplay(), VeldmarkSelection(), ProgressDialog()]\n"));
    const qint64 elapsed = timer.nsecsElapsed();
    const bool failed = PythonQt::self()->hadError();
    main.evalScript(QStringLiteral("del dialogs\n"));
    main = PythonQtObjectPtr();
    PythonQt::cleanup();
    if (failed)
        return 1;
    std::printf("%lld\n", static_cast<long long>(elapsed));
    return 0;
}

// A field of /proc/self/status in KiB, e.g. VmRSS or VmHWM (the peak).
long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// In a fresh process: how far the resident memory's peak rises above where
// it stood once the document was made, while the dialog reads 100,000
// assays and "7" is typed and erased ("dialog"), or while the same document
// is parsed to a QVariantMap ("floor"). A window is shown and closed first,
// so that fonts and styles are loaded before measuring in both. Prints KiB.
int memoryProbe(const char *what)
{
    const QByteArray document = numberedDocument(100000);
    {
        VeldmarkDisplay warmUp;
        showAndWait(warmUp);
    }
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1) {
        std::fprintf(stderr, "cannot reset the peak resident memory\n");
        return 1;
    }
    clearRefs.close();
    const long before = statusKiB("VmRSS");
    if (std::strcmp(what, "dialog") == 0) {
        VeldmarkDisplay dialog;
        dialog.setDisplayData(document);
        showAndWait(dialog);
        auto search = dialog.findChild<QLineEdit *>(QStringLiteral("lineEditSearch"));
        search->setFocus();
        QTest::keyClick(search, splittingKey.toLatin1());
        settle();
        QTest::keyClick(search, Qt::Key_Backspace);
        settle();
    } else {
        QVariantMap map = QJsonDocument::fromJson(document).toVariant().toMap();
        benchmark::DoNotOptimize(map);
    }
    std::printf("%ld\n", statusKiB("VmHWM") - before);
    return 0;
}

} // namespace

double childReport(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed:\n%s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return -1;
    }
    const QList<QByteArray> words = process.readAllStandardOutput().simplified().split(' ');
    bool ok = false;
    const double value = words.last().toDouble(&ok);
    return ok ? value : -1;
}

double startNanoseconds()
{
    return childReport(QCoreApplication::applicationFilePath(), {QLatin1String(startOption)});
}

double peakKiB(const char *what)
{
    double least = -1;
    for (int i = 0; i < 3; ++i) {
        const double peak = childReport(QCoreApplication::applicationFilePath(),
                                        {QLatin1String(memoryOption) + QLatin1String(what)});
        if (peak < 0)
            return -1;
        least = least < 0 ? peak : qMin(least, peak);
    }
    return least;
}

bool isProbe(const char *argument)
{
    return std::strcmp(argument, startOption) == 0
        || std::strncmp(argument, memoryOption, std::strlen(memoryOption)) == 0;
}

int runProbe(const char *argument)
{
    if (std::strcmp(argument, startOption) == 0)
        return startProbe();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return memoryProbe(argument + std::strlen(memoryOption));
}
