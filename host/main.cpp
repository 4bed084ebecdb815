#include "PythonQt.h"

#include "platformnoisefilter.h"
#include "scripthost.h"
#include "simulateduser.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QScopedPointer>

#include <cstdio>

namespace {

QString defaultPluginFolder()
{
    const QString here = QCoreApplication::applicationDirPath();
    if (QFileInfo(here) == QFileInfo(QStringLiteral(KESTRANE_BUILD_DIR)))
        return QStringLiteral(KESTRANE_DEFAULT_PLUGIN_DIR);
    return QDir::cleanPath(QDir(here).filePath(QStringLiteral(KESTRANE_INSTALLED_PLUGIN_DIR)));
}

void listPictures(const QStringList &pictures)
{
    if (pictures.isEmpty()) {
        std::printf("\nNo dialog was shown, so there are no pictures.\n");
        std::fflush(stdout);
        return;
    }
    std::printf("\nPictures of the dialogs:\n");
    for (const QString &path : pictures)
        std::printf("  %s\n", QDir::toNativeSeparators(path).toUtf8().constData());
    std::fflush(stdout);
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
    QCoreApplication::setApplicationName(QStringLiteral("kestrane-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Loads the plug-ins, then runs a Python script with its arguments."));
    parser.addHelpOption();
    const QCommandLineOption pluginsOption(QStringLiteral("plugins"),
                                           QStringLiteral("Load the plug-ins in <dir>."),
                                           QStringLiteral("dir"), defaultPluginFolder());
    parser.addOption(pluginsOption);
    const QCommandLineOption userOption(
        QStringLiteral("simulated-user"),
        QStringLiteral("Let a simulated user answer the dialogs, saving a picture of each in <dir>."),
        QStringLiteral("dir"));
    parser.addOption(userOption);
    const QCommandLineOption batchOption(
        QStringLiteral("simulated-batch"),
        QStringLiteral("The simulated user chooses results per batch, not per compound."));
    parser.addOption(batchOption);
    const QCommandLineOption cancelOption(
        QStringLiteral("simulated-cancel"),
        QStringLiteral("The simulated user presses Cancel in the dialogs of <class>."),
        QStringLiteral("class"));
    parser.addOption(cancelOption);
    parser.addPositionalArgument(QStringLiteral("script"), QStringLiteral("The Python script to run."));
    parser.addPositionalArgument(QStringLiteral("args"), QStringLiteral("The script's sys.argv[1:]."),
                                 QStringLiteral("[args...]"));
    // Everything after the script belongs to the script.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        parser.showHelp(2);
    const QString script = positional.takeFirst();

    QScopedPointer<SimulatedUser> user;
    if (parser.isSet(userOption)) {
        user.reset(new SimulatedUser(parser.value(userOption), parser.isSet(batchOption)
                                                                  ? SimulatedUser::Aggregation::Batch
                                                                  : SimulatedUser::Aggregation::Compound));
        user->setCancelIn(parser.value(cancelOption));
        app.installEventFilter(user.data());
    }

    PythonQt::init();
    int status = 0;
    {
        ScriptHost host;
        host.loadPlugins(parser.value(pluginsOption));
        status = host.runScript(script, positional);
        host.dropScriptObjects();
    }
    PythonQt::cleanup();
    if (user)
        listPictures(user->pictures());
    return status;
}
