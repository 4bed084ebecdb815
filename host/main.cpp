// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "PythonQt.h"

#include "hostmessages.h"
#include "hostoptions.h"
#include "modalinterrupt.h"
#include "platformnoisefilter.h"
#include "scripthost.h"
#include "scriptinterrupt.h"
#include "scriptuser.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace {

QString defaultPluginFolder()
{
    const QString here = QCoreApplication::applicationDirPath();
    if (QFileInfo(here) == QFileInfo(QStringLiteral(HOST_BUILD_DIR)))
        return QStringLiteral(HOST_DEFAULT_PLUGIN_DIR);
    return QDir::cleanPath(QDir(here).filePath(QStringLiteral(HOST_INSTALLED_PLUGIN_DIR)));
}

} // namespace

int main(int argc, char *argv[])
{
    // Without a display the host still runs scripts, its windows unseen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    installPlatformNoiseFilter();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veldmark-script-host"));
    const HostOptions options = HostOptions::parse(app, defaultPluginFolder());
    // The output is the script's; debug lines (the dialogs write some) only
    // when asked for. QT_LOGGING_RULES still overrides this.
    if (!options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    // As python3 does with a script it cannot open: one line, status 2.
    if (QString error; !ScriptHost::canRead(options.script, &error)) {
        report(error);
        return 2;
    }

    ScriptUser user(options);
    if (!user.start())
        return ScriptUser::refusedStatus;

    PythonQt::init();
    int status = 0;
    {
        ModalInterrupt ctrlC;
        ScriptHost host;
        host.loadPlugins(options.plugins);
        status = host.runScript(options.script, options.arguments);
        // Before the host drops the script's objects: a stop request never
        // delivered must not reach Python while they go.
        withdrawScriptInterrupt();
        // Callbacks run while the objects go (destroyed(), say); what fails
        // there fails the run as it would during the script.
        if (!host.dropScriptObjects() && status == 0)
            status = 1;
        status = user.finish(status);
    }
    PythonQt::cleanup();
    return status;
}
