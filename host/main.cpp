#include "PythonQt.h"

#include "scripthost.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    // Without a display the host still runs scripts, its windows unseen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrane-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Loads the plug-ins, then runs a Python script with its arguments."));
    parser.addHelpOption();
    const QCommandLineOption pluginsOption(QStringLiteral("plugins"),
                                           QStringLiteral("Load the plug-ins in <dir>."),
                                           QStringLiteral("dir"),
                                           QStringLiteral(KESTRANE_DEFAULT_PLUGIN_DIR));
    parser.addOption(pluginsOption);
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

    PythonQt::init();
    int status = 0;
    {
        ScriptHost host;
        host.loadPlugins(parser.value(pluginsOption));
        status = host.runScript(script, positional);
    }
    // Script objects go while the application still exists.
    PythonQt::cleanup();
    return status;
}
