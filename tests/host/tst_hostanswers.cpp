// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "csvrows.h"
#include "hostrun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// The built host with the Veldmark plug-in, run headless the way a script
// author tests a script: the example query driven by answers files to
// results of their choosing, every kind of misfit stopping the run, and no
// run that waits for ever.
class tst_HostAnswers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void exampleFollowsTheAnswers_data();
    void exampleFollowsTheAnswers();
    void picturesGoWhereAsked();
    void cancelDuringTheFetch();
    void misfitStopsTheRun_data();
    void misfitStopsTheRun();
    void badAnswersFileStopsBeforeTheScript();
    void scriptThatCannotBeRead_data();
    void scriptThatCannotBeRead();
    void answersFileRefusedWhole_data();
    void answersFileRefusedWhole();
    void endlessAnswersFileIsCapped();
    void modalWaitWithoutAnyoneIsRefused();
    void progressLoopWithoutAnyoneRuns();
    void progressRunModallyEnds_data();
    void progressRunModallyEnds();
    void debugLinesOnlyWhenVerbose();
    void conflictingOptions_data();
    void conflictingOptions();

private:
    ChildRun runHeadless(const QStringList &arguments);
    ChildRun runExample(const QByteArray &answers, const QStringList &options = {});
    QString writeFile(const QString &name, const QByteArray &contents);

    QTemporaryDir folder;
};

void tst_HostAnswers::initTestCase()
{
    QVERIFY(folder.isValid());
    QVERIFY(QFile::exists(QStringLiteral(SCRIPT_HOST)));
}

// As on a machine without a display.
ChildRun tst_HostAnswers::runHeadless(const QStringList &arguments)
{
    ChildOptions options;
    options.environment = ChildOptions::withoutDisplay();
    options.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
    return runHost(arguments, options);
}

QString tst_HostAnswers::writeFile(const QString &name, const QByteArray &contents)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return QString();
    return path;
}

ChildRun tst_HostAnswers::runExample(const QByteArray &answers, const QStringList &options)
{
    const QString answersFile = writeFile(QStringLiteral("answers.json"), answers);
    QDir(folder.filePath(QStringLiteral("results"))).removeRecursively();
    return runHeadless(options
                       + QStringList{"--answers", answersFile, QStringLiteral(EXAMPLE_QUERY),
                                     "--fixture", QStringLiteral(FIXTURE),
                                     folder.filePath(QStringLiteral("results"))});
}

void tst_HostAnswers::exampleFollowsTheAnswers_data()
{
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QString>("absent");
    // Per row: the row's keys, then the first assay's mean.
    QTest::addColumn<QList<QStringList>>("rows");

    // Unlike the example's own answers (the first group, per compound, one
    // assay's details edited): the second group, per batch, a renamed assay
    // with its count column.
    QTest::newRow("second group, per batch, count column")
        << QByteArray(R"([
               {"dialog": "VeldmarkSelection", "tick": ["Beta panels"], "aggregation": "batch", "press": "OK"},
               {"dialog": "ProgressDialog"},
               {"dialog": "VeldmarkDisplay", "assays": {"C binding": {"display_name": "Binding [%]",
                                                                       "include_count": true}},
                "press": "OK"}])")
        << QStringList{"Compound", "Batch", "Binding [%] arith. mean", "Binding [%] n"} << "potency"
        << QList<QStringList>{{"C1", "C1-01", "20"}, {"C3", "C3-01", "50"}, {"C3", "C3-02", "30"}};
    // A group and a library of the other group; one assay unchecked, the
    // potency averaged arithmetically though the document asks for the
    // geometric mean (C1: 505, not 100).
    QTest::newRow("group and library, one assay unchecked, arithmetic mean")
        << QByteArray(R"([
               {"dialog": "VeldmarkSelection", "tick": ["Alpha panels", "Library B1"], "press": "OK"},
               {"dialog": "ProgressDialog"},
               {"dialog": "VeldmarkDisplay", "uncheck": ["B solubility"],
                "assays": {"A potency": {"display_name": "Potency [nM]", "mean": "arithmetic"}}, "press": "OK"}])")
        << QStringList{"Compound", "Potency [nM] arith. mean"} << "solubility"
        << QList<QStringList>{{"C1", "505"}, {"C2", "4"}, {"C3", ""}};
}

void tst_HostAnswers::exampleFollowsTheAnswers()
{
    QFETCH(QByteArray, answers);
    QFETCH(QStringList, columns);
    QFETCH(QString, absent);
    QFETCH(QList<QStringList>, rows);

    const ChildRun result = runExample(answers);
    QVERIFY2(result.finished, qPrintable(result.err));
    QVERIFY2(result.exitCode == 0, qPrintable(result.out + result.err));
    QCOMPARE(result.err, QString());

    const QList<QStringList> csv =
        readCsv(folder.filePath(QStringLiteral("results/veldmark_results.csv")));
    QCOMPARE(csv.size(), rows.size() + 1);
    const QStringList header = csv.constFirst();
    for (const QString &column : columns)
        QVERIFY2(header.contains(column), qPrintable(header.join(", ")));
    QCOMPARE(header.mid(0, 2), columns.mid(0, 2));
    QVERIFY2(!header.join(QLatin1Char(',')).contains(absent), qPrintable(header.join(", ")));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList &want = rows.at(r);
        const QStringList got = csv.at(r + 1).mid(0, want.size());
        QCOMPARE(got.mid(0, want.size() - 1), want.mid(0, want.size() - 1));
        if (want.constLast().isEmpty())
            QCOMPARE(got.constLast(), QString());
        else
            QCOMPARE(got.constLast().toDouble(), want.constLast().toDouble());
    }
}

void tst_HostAnswers::picturesGoWhereAsked()
{
    const QString pictures = folder.filePath(QStringLiteral("pictures"));
    const ChildRun result = runExample(R"([
        {"dialog": "VeldmarkSelection", "tick": ["Alpha panels"], "press": "OK"},
        {"dialog": "ProgressDialog"},
        {"dialog": "VeldmarkDisplay", "press": "OK"}])",
                                       {"--pictures", pictures});
    QVERIFY2(result.exitCode == 0, qPrintable(result.out + result.err));
    for (const char *dialog : {"VeldmarkSelection", "ProgressDialog", "VeldmarkDisplay"}) {
        const QString picture = pictures + QStringLiteral("/%1.png").arg(QLatin1String(dialog));
        QVERIFY2(result.out.contains(QStringLiteral("\n  ") + picture + QLatin1Char('\n')),
                 qPrintable(result.out));
        QVERIFY2(!QImage(picture).isNull(), qPrintable(picture));
    }
}

void tst_HostAnswers::cancelDuringTheFetch()
{
    const ChildRun result = runExample(R"([
        {"dialog": "VeldmarkSelection", "tick": ["Alpha panels", "Beta panels"], "press": "OK"},
        {"dialog": "ProgressDialog", "cancel_after_ticks": 2}])");
    QVERIFY2(result.exitCode == 0, qPrintable(result.out + result.err));
    QCOMPARE(result.out, QStringLiteral("Query cancelled while fetching results.\n"));
    QCOMPARE(result.err, QString());
}

void tst_HostAnswers::misfitStopsTheRun_data()
{
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("stopped");

    const QByteArray selection =
        R"({"dialog": "VeldmarkSelection", "tick": ["Alpha panels"], "press": "OK"})";
    const QByteArray progress = R"({"dialog": "ProgressDialog"})";
    const QByteArray display = R"({"dialog": "VeldmarkDisplay", "press": "OK"})";

    // The example's own answers are for the service's sample data.
    QTest::newRow("a group the fixture lacks")
        << QByteArray(
               R"([{"dialog": "VeldmarkSelection", "tick": ["ADME panels"], "press": "OK"}, )"
               + progress + ", " + display + "]")
        << R"(answer 1 (VeldmarkSelection), field "tick": the dialog has no group or library "ADME panels"; it lists "Alpha panels", "Library A1", "Beta panels", "Library B1")"
        << true;
    QTest::newRow("an assay the query did not find")
        << "[" + selection + ", " + progress
            + R"(, {"dialog": "VeldmarkDisplay", "check": ["C binding"], "press": "OK"}])"
        << R"(answer 3 (VeldmarkDisplay), field "check": the dialog lists no assay "C binding"; it lists "A potency", "B solubility")"
        << true;
    QTest::newRow("answers in the wrong order")
        << "[" + selection + ", " + display + ", " + progress + "]"
        << "answer 2 is for a VeldmarkDisplay, but dialog 2 is a ProgressDialog" << true;
    QTest::newRow("an answer missing")
        << "[" + selection + ", " + progress + "]"
        << "dialog 3 (VeldmarkDisplay) opened, but there is no answer left for it" << true;
    QTest::newRow("an answer too many")
        << "[" + selection + ", " + progress + ", " + display + ", " + selection + "]"
        << "answer 4 (VeldmarkSelection) was not used: the script opened 3 dialogs" << false;
    QTest::newRow("the first answer misfits, the others are left")
        << "[" + display + ", " + progress + ", " + display + "]"
        << "answer 1 is for a VeldmarkDisplay, but dialog 1 is a VeldmarkSelection" << true;
    QTest::newRow("a Cancel that never came")
        << "[" + selection + R"(, {"dialog": "ProgressDialog", "cancel_after_ticks": 1000}, )"
            + display + "]"
        << "answer 2 (ProgressDialog): Cancel after 1000 ticks was never pressed: the dialog was "
           "ticked 5 times"
        << false;
}

void tst_HostAnswers::misfitStopsTheRun()
{
    QFETCH(QByteArray, answers);
    QFETCH(QString, message);
    QFETCH(bool, stopped);

    const ChildRun result = runExample(answers);
    QVERIFY2(result.finished, qPrintable(result.err));
    QCOMPARE(result.exitCode, 2);
    const QString answersFile = folder.filePath(QStringLiteral("answers.json"));
    QVERIFY2(result.err.startsWith(
                 QStringLiteral("veldmark-script-host: %1: %2\n").arg(answersFile, message)),
             qPrintable(result.err));
    // Only that: what follows a misfit (answers left, dialogs cancelled
    // after it) says nothing of the script.
    QVERIFY2(result.err.count(QStringLiteral("veldmark-script-host: ")) == 1,
             qPrintable(result.err));
    if (stopped) {
        // Stopped where it stood: it neither went on as if cancelled nor wrote results.
        QVERIFY2(
            result.err.contains(QStringLiteral("KeyboardInterrupt: the host stopped the script")),
            qPrintable(result.err));
        QCOMPARE(result.out, QString());
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("results/veldmark_results.csv"))));
    } else {
        QVERIFY(result.out.contains(QStringLiteral("CSV written to")));
    }
}

void tst_HostAnswers::badAnswersFileStopsBeforeTheScript()
{
    const QString script = writeFile(QStringLiteral("started.py"), "print('started')\n");
    const QString answers =
        writeFile(QStringLiteral("bad.json"), R"([{"dialog": "VeldmarkSelection", "tick": "A"}])");
    const ChildRun result = runHeadless({"--answers", answers, script});
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QCOMPARE(
        result.err,
        QStringLiteral(
            R"(veldmark-script-host: %1: answer 1 (VeldmarkSelection), field "tick": expected an array of names, found "A")"
            "\n")
            .arg(answers));

    const ChildRun missing =
        runHeadless({"--answers", folder.filePath(QStringLiteral("missing.json")), script});
    QCOMPARE(missing.exitCode, 2);
    QCOMPARE(missing.out, QString());
    QVERIFY2(missing.err.startsWith(
                 QStringLiteral("veldmark-script-host: %1: ").arg(folder.filePath("missing.json"))),
             qPrintable(missing.err));
}

void tst_HostAnswers::scriptThatCannotBeRead_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such file") << "nope.py"
                                  << "cannot run the script nope.py: No such file or directory";
    QTest::newRow("a folder") << "."
                              << "cannot run the script .: it is a folder";
}

void tst_HostAnswers::scriptThatCannotBeRead()
{
    QFETCH(QString, script);
    QFETCH(QString, message);
    // With answers too: one line, none about answers the script never had
    // the chance to use.
    const QString answers =
        writeFile(QStringLiteral("answers.json"),
                  R"([{"dialog": "ProgressDialog"}, {"dialog": "ProgressDialog"}])");
    for (const QStringList &options : {QStringList(), QStringList{"--answers", answers}}) {
        ChildOptions childOptions;
        childOptions.environment = ChildOptions::withoutDisplay();
        childOptions.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
        childOptions.folder = folder.path();
        const ChildRun result = runHost(options + QStringList(script), childOptions);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.err, QStringLiteral("veldmark-script-host: %1\n").arg(message));
    }
}

void tst_HostAnswers::answersFileRefusedWhole_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::newRow("larger than the limit")
        << QByteArray(4 * 1024 * 1024 + 1, ' ') << "larger than 4 MiB, which no answers file needs";
    QTest::newRow("a key given twice")
        << QByteArray(
               R"([{"dialog": "VeldmarkSelection", "tick": ["Alpha panels"], "aggregation": "batch",
                           "press": "OK", "aggregation": "compound"}])")
        << R"(answer 1 (VeldmarkSelection), field "aggregation": given twice; each key goes once in an object)";
    // The message goes on past the NUL, and the terminal sees no escape.
    QTest::newRow("a NUL and an escape in a class name")
        << QByteArray(R"([{"dialog": "Veldmark\u0000Display\u001b]0;title\u0007"}])")
        << R"(answer 1, field "dialog": expected "VeldmarkSelection", "ProgressDialog" or "VeldmarkDisplay", found "Veldmark\u0000Display\u001b]0;title\u0007")";
}

void tst_HostAnswers::answersFileRefusedWhole()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    const QString answers = writeFile(QStringLiteral("refused.json"), contents);
    const QString script = writeFile(QStringLiteral("started.py"), "print('started')\n");
    const ChildRun result = runHeadless({"--answers", answers, script});
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err, QStringLiteral("veldmark-script-host: %1: %2\n").arg(answers, message));
}

void tst_HostAnswers::endlessAnswersFileIsCapped()
{
    const QString script = writeFile(QStringLiteral("started.py"), "print('started')\n");
    const ChildRun result = runHeadless({"--answers", "/dev/zero", script});
    QVERIFY2(result.finished, qPrintable(result.err));
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QCOMPARE(
        result.err,
        QStringLiteral(
            "veldmark-script-host: /dev/zero: larger than 4 MiB, which no answers file needs\n"));
}

void tst_HostAnswers::modalWaitWithoutAnyoneIsRefused()
{
    const ChildRun result =
        runHeadless({QStringLiteral(EXAMPLE_QUERY), "--fixture", QStringLiteral(FIXTURE),
                     folder.filePath(QStringLiteral("results"))});
    QVERIFY2(result.finished, "the host waited for ever");
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QVERIFY2(
        result.err.startsWith(QStringLiteral("veldmark-script-host: the script waits in the modal "
                                             "dialog VeldmarkSelection (\"Select Veldmark "
                                             "Libraries\"), but without a display no one can "
                                             "answer it; give the answers with --answers FILE")),
        qPrintable(result.err));
}

void tst_HostAnswers::progressLoopWithoutAnyoneRuns()
{
    const QString script = writeFile(QStringLiteral("progress.py"), R"(
from PythonQt.Kestrane import ProgressDialog
progress = ProgressDialog()
progress.show()
progress.setMessage('Fetching')
for i in range(200):
    progress.tick()
print('cancelled' if progress.cancelled() else 'done')
progress.accept()
)");
    const ChildRun result = runHeadless({script});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QStringLiteral("done\n"));
    QCOMPARE(result.err, QString());
}

void tst_HostAnswers::progressRunModallyEnds_data()
{
    QTest::addColumn<bool>("answers");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("answers file refuses it")
        << true << 2 << ""
        << R"(: the script waits in a modal ProgressDialog ("Query Progress"), which an answers file cannot answer)";
    QTest::newRow("plausible user presses Cancel")
        << false << 0 << "exec 0 cancelled True\n\nPictures of the dialogs:\n"
        << "";
}

void tst_HostAnswers::progressRunModallyEnds()
{
    QFETCH(bool, answers);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const QString script = writeFile(QStringLiteral("modalprogress.py"), R"(
from PythonQt.Kestrane import ProgressDialog
progress = ProgressDialog()
print('exec', progress.exec(), 'cancelled', progress.cancelled())
)");
    const QString answersFile =
        writeFile(QStringLiteral("progress.json"),
                  R"([{"dialog": "ProgressDialog", "cancel_after_ticks": 1}])");
    const QStringList user = answers ? QStringList{"--answers", answersFile}
                                     : QStringList{"--simulated-user", folder.filePath("pictures")};
    const ChildRun result = runHeadless(user + QStringList(script));
    QVERIFY2(result.finished, "the host waited for ever");
    QCOMPARE(result.exitCode, status);
    if (out.isEmpty())
        QCOMPARE(result.out, QString());
    else
        QVERIFY2(result.out.startsWith(out), qPrintable(result.out));
    if (answers)
        QVERIFY2(
            result.err.startsWith(QStringLiteral("veldmark-script-host: ") + answersFile + err),
            qPrintable(result.err));
    else
        QCOMPARE(result.err, err);
}

void tst_HostAnswers::debugLinesOnlyWhenVerbose()
{
    const QByteArray answers = R"([
        {"dialog": "VeldmarkSelection", "tick": ["Alpha panels"], "press": "OK"},
        {"dialog": "ProgressDialog"},
        {"dialog": "VeldmarkDisplay", "press": "OK"}])";
    const ChildRun quiet = runExample(answers);
    QCOMPARE(quiet.exitCode, 0);
    QCOMPARE(quiet.err, QString());
    QVERIFY(!quiet.out.contains(QStringLiteral("Showing:")));

    const ChildRun verbose = runExample(answers, {"--verbose"});
    QCOMPARE(verbose.exitCode, 0);
    QCOMPARE(verbose.out, quiet.out);
    QVERIFY2(verbose.err.contains(QRegularExpression(QStringLiteral("^Showing:  \\d+ ,  \\d+ $"),
                                                     QRegularExpression::MultilineOption)),
             qPrintable(verbose.err));
}

void tst_HostAnswers::conflictingOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("two users") << QStringList{"--answers", "a.json", "--simulated-user", "pictures"}
                               << "veldmark-script-host: --answers and --simulated-user each bring "
                                  "a user; give one of them\n";
    QTest::newRow("pictures without answers")
        << QStringList{"--pictures", "pictures"}
        << "veldmark-script-host: --pictures goes with --answers (--simulated-user takes its own "
           "folder)\n";
    const QString batchAlone = QStringLiteral(
        "veldmark-script-host: --simulated-batch goes with --simulated-user (with --answers, the "
        "selection's answer gives the aggregation)\n");
    const QString cancelAlone = QStringLiteral(
        "veldmark-script-host: --simulated-cancel goes with --simulated-user (with --answers, each "
        "answer says which button to press)\n");
    QTest::newRow("batch with answers")
        << QStringList{"--answers", "a.json", "--simulated-batch"} << batchAlone;
    QTest::newRow("cancel with answers")
        << QStringList{"--simulated-cancel", "ProgressDialog", "--answers", "a.json"}
        << cancelAlone;
    QTest::newRow("batch without a user") << QStringList{"--simulated-batch"} << batchAlone;
    const QString classes = QStringLiteral(
        "veldmark-script-host: --simulated-cancel takes VeldmarkSelection, ProgressDialog or "
        "VeldmarkDisplay, not \"%1\"\n");
    QTest::newRow("cancel in a class in lower case")
        << QStringList{"--simulated-user", "pictures", "--simulated-cancel", "progressdialog"}
        << classes.arg("progressdialog");
    QTest::newRow("cancel in part of a class name")
        << QStringList{"--simulated-user", "pictures", "--simulated-cancel", "Progress"}
        << classes.arg("Progress");
    QTest::newRow("cancel in a base class")
        << QStringList{"--simulated-user", "pictures", "--simulated-cancel", "QDialog"}
        << classes.arg("QDialog");
}

void tst_HostAnswers::conflictingOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    const ChildRun result = runHeadless(options + QStringList{QStringLiteral(EXAMPLE_QUERY)});
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err, message);
}

QTEST_GUILESS_MAIN(tst_HostAnswers)
#include "tst_hostanswers.moc"
