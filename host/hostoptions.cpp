// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "hostoptions.h"

#include "answers.h"
#include "hostmessages.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void usageError(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(message));
    std::exit(2);
}

} // namespace

HostOptions HostOptions::parse(const QCoreApplication &app, const QString &defaultPlugins)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Loads the plug-ins, then runs a Python script with its arguments."));
    parser.addHelpOption();
    const QCommandLineOption pluginsOption(QStringLiteral("plugins"),
                                           QStringLiteral("Load the plug-ins in <dir>."),
                                           QStringLiteral("dir"), defaultPlugins);
    const QCommandLineOption answersOption(
        QStringLiteral("answers"),
        QStringLiteral("Let a simulated user answer the dialogs as <file> says (JSON, see "
                       "docs/scripting.md)."),
        QStringLiteral("file"));
    const QCommandLineOption picturesOption(
        QStringLiteral("pictures"),
        QStringLiteral("With --answers, save a picture of each dialog in <dir>."),
        QStringLiteral("dir"));
    const QCommandLineOption userOption(
        QStringLiteral("simulated-user"),
        QStringLiteral(
            "Let a simulated user answer the dialogs with plausible choices, saving a picture "
            "of each in <dir>."),
        QStringLiteral("dir"));
    const QCommandLineOption batchOption(
        QStringLiteral("simulated-batch"),
        QStringLiteral("With --simulated-user, choose results per batch, not per compound."));
    const QCommandLineOption cancelOption(
        QStringLiteral("simulated-cancel"),
        QStringLiteral("With --simulated-user, press Cancel in the dialogs of <class>: "
                       "VeldmarkSelection, ProgressDialog or VeldmarkDisplay."),
        QStringLiteral("class"));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"),
        QStringLiteral("Show Qt's debug messages, the dialogs' own among them."));
    parser.addOptions({pluginsOption, answersOption, picturesOption, userOption, batchOption,
                       cancelOption, verboseOption});
    parser.addPositionalArgument(QStringLiteral("script"),
                                 QStringLiteral("The Python script to run."));
    parser.addPositionalArgument(QStringLiteral("args"),
                                 QStringLiteral("The script's sys.argv[1:]."),
                                 QStringLiteral("[args...]"));
    // Everything after the script belongs to the script.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);

    HostOptions options;
    options.arguments = parser.positionalArguments();
    if (options.arguments.isEmpty())
        parser.showHelp(2);
    options.script = options.arguments.takeFirst();
    options.plugins = parser.value(pluginsOption);
    options.answers = parser.value(answersOption);
    options.pictures = parser.value(picturesOption);
    options.simulatedUser = parser.value(userOption);
    options.simulatedBatch = parser.isSet(batchOption);
    options.simulatedCancel = parser.value(cancelOption);
    options.verbose = parser.isSet(verboseOption);
    if (parser.isSet(answersOption) && parser.isSet(userOption))
        usageError(
            QStringLiteral("--answers and --simulated-user each bring a user; give one of them"));
    if (parser.isSet(picturesOption) && !parser.isSet(answersOption))
        usageError(QStringLiteral(
            "--pictures goes with --answers (--simulated-user takes its own folder)"));
    // An answers file says for itself how each dialog is answered.
    if (parser.isSet(batchOption) && !parser.isSet(userOption))
        usageError(QStringLiteral("--simulated-batch goes with --simulated-user (with --answers, "
                                  "the selection's answer gives the aggregation)"));
    if (parser.isSet(cancelOption) && !parser.isSet(userOption))
        usageError(QStringLiteral("--simulated-cancel goes with --simulated-user (with --answers, "
                                  "each answer says which button to press)"));
    if (parser.isSet(cancelOption) && !Answers::dialogClasses().contains(options.simulatedCancel)) {
        const QStringList &classes = Answers::dialogClasses();
        usageError(QStringLiteral("--simulated-cancel takes %1 or %2, not %3")
                       .arg(classes.mid(0, classes.size() - 1).join(QStringLiteral(", ")),
                            classes.constLast(), quoted(options.simulatedCancel)));
    }
    return options;
}
