// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "PythonQt.h"

#include "hostoptions.h"
#include "platformnoisefilter.h"
#include "scripthost.h"
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

    ScriptUser user(options);
    if (!user.start())
        return ScriptUser::refusedStatus;

    PythonQt::init();
    int status = 0;
    {
        ScriptHost host;
        host.loadPlugins(options.plugins);
        status = host.runScript(options.script, options.arguments);
        // Before the host drops the script's objects: a stop request never
        // delivered must not reach Python while they go.
        status = user.finish(status);
    }
    PythonQt::cleanup();
    return status;
}
