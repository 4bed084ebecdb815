// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "answeringuser.h"
#include "platformnoisefilter.h"

#include "progressdialog.h"
#include "veldmarkdisplay.h"
#include "veldmarkselection.h"

#include <QApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// The simulated user with an answers file, on the real dialogs: each kind of
// answer as the dialog's result shows it, and each kind of misfit.
class tst_AnsweringUser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void selection_data();
    void selection();
    void display_data();
    void display();
    void progressCancelsDuringTheTickAsked_data();
    void progressCancelsDuringTheTickAsked();
    void anotherDialogsLoopIsNoTick();
    void picturesEachDialogBeforeItsButton();
    void misfitCancelsTheDialogAndFails_data();
    void misfitCancelsTheDialogAndFails();
    void dialogsAfterAFailureAreCancelled();
    void modalDialogOfAnotherClassFails();
    void reportsAnswersNotUsed();
    void progressRunModallyFails();
    void checksThousandsOfAssaysByName();
    void progressBeingDestroyedIsNoLongerTicked();

private:
    void startUser(const QByteArray &json, const QString &pictures = QString());
    bool runSelection(VeldmarkSelection &dialog);
    bool runDisplay(VeldmarkDisplay &dialog);
    bool runModal(QDialog &dialog);

    QScopedPointer<AnsweringUser> user;
    QScopedPointer<QSignalSpy> failures;
    QScopedPointer<QTemporaryDir> folder;
};

namespace {

const QVariantMap libraries{{QStringLiteral("Binding"), QStringList{"B1", "B2"}},
                            {QStringLiteral("Cells"), QStringList{"C1"}}};

const QByteArray assays = R"({
    "A": {"alias": "A [%]", "default_uncertainty": 2, "include_count": false, "include_values": false, "factor": false},
    "B": {"alias": "B [nM]", "default_uncertainty": 5, "include_count": false, "include_values": false, "factor": false},
    "C": {"selected": false, "alias": "C", "default_uncertainty": 1, "include_count": true, "include_values": true,
          "factor": true}
})";

} // namespace

void tst_AnsweringUser::initTestCase()
{
    // Quiet, as in the host: no relayout warnings, no dialog debug lines.
    installPlatformNoiseFilter();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

void tst_AnsweringUser::init()
{
    folder.reset(new QTemporaryDir);
    QVERIFY(folder->isValid());
}

void tst_AnsweringUser::cleanup()
{
    failures.reset();
    user.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_AnsweringUser::startUser(const QByteArray &json, const QString &pictures)
{
    QString error;
    const auto answers = Answers::fromJson(json, &error);
    QVERIFY2(answers, qPrintable(error));
    user.reset(new AnsweringUser(*answers, pictures));
    failures.reset(new QSignalSpy(user.data(), &AnsweringUser::failed));
    qApp->installEventFilter(user.data());
}

bool tst_AnsweringUser::runModal(QDialog &dialog)
{
    // Should the user never end the dialog, the test must not hang.
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    connect(&safetyNet, &QTimer::timeout, &dialog, &QDialog::reject);
    safetyNet.start(10000);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    return safetyNet.isActive() && accepted;
}

bool tst_AnsweringUser::runSelection(VeldmarkSelection &dialog)
{
    dialog.setAvailableItems(libraries);
    return runModal(dialog);
}

bool tst_AnsweringUser::runDisplay(VeldmarkDisplay &dialog)
{
    dialog.setDisplayData(assays);
    return runModal(dialog);
}

void tst_AnsweringUser::selection_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("mode");

    QTest::newRow("a group ticks its libraries")
        << QByteArray(R"({"dialog": "VeldmarkSelection", "tick": ["Binding"], "press": "OK"})")
        << true << QStringList{"B1", "B2"} << "compound";
    QTest::newRow("a library, per batch") << QByteArray(
        R"({"dialog": "VeldmarkSelection", "tick": ["C1"], "aggregation": "batch", "press": "OK"})")
                                          << true << QStringList{"C1"} << "batch";
    QTest::newRow("a library and a group, per compound") << QByteArray(
        R"({"dialog": "VeldmarkSelection", "tick": ["B2", "Cells"], "aggregation": "compound",
                          "press": "OK"})") << true << QStringList{"B2", "C1"}
                                                         << "compound";
    QTest::newRow("Cancel") << QByteArray(
        R"({"dialog": "VeldmarkSelection", "tick": ["B1"], "press": "Cancel"})")
                            << false << QStringList{"B1"} << "compound";
}

void tst_AnsweringUser::selection()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, accepted);
    QFETCH(QStringList, selected);
    QFETCH(QString, mode);
    startUser('[' + answer + ']');

    VeldmarkSelection dialog;
    QCOMPARE(runSelection(dialog), accepted);
    QCOMPARE(dialog.selectedItems(), selected);
    QCOMPARE(dialog.aggregationMode(), mode);
    QCOMPARE(failures->count(), 0);
    QVERIFY(user->unusedAnswers().isEmpty());
}

void tst_AnsweringUser::display_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("accepted");
    // Per assay, the members to find in the dialog's document.
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("only the assays named")
        << QByteArray(
               R"({"dialog": "VeldmarkDisplay", "uncheck": "all", "check": ["B"], "press": "OK"})")
        << true
        << QByteArray(
               R"({"A": {"selected": false}, "B": {"selected": true}, "C": {"selected": false}})");
    QTest::newRow("all")
        << QByteArray(R"({"dialog": "VeldmarkDisplay", "check": "all", "press": "OK"})") << true
        << QByteArray(
               R"({"A": {"selected": true}, "B": {"selected": true}, "C": {"selected": true}})");
    QTest::newRow("unchecked by name")
        << QByteArray(R"({"dialog": "VeldmarkDisplay", "uncheck": ["A"], "press": "OK"})") << true
        << QByteArray(
               R"({"A": {"selected": false}, "B": {"selected": true}, "C": {"selected": false}})");
    QTest::newRow("details of two assays")
        << QByteArray(R"({"dialog": "VeldmarkDisplay", "assays": {
               "B": {"display_name": "Binding µ [nM]", "default_uncertainty": 0.25, "include_count": true,
                     "include_values": true, "mean": "geometric"},
               "C": {"display_name": "", "include_count": false, "mean": "arithmetic"}}, "press": "OK"})")
        << true << QByteArray(R"({"A": {"alias": "A [%]", "factor": false},
                          "B": {"alias": "Binding µ [nM]", "default_uncertainty": 0.25, "include_count": true,
                                "include_values": true, "factor": true},
                          "C": {"selected": false, "alias": "", "default_uncertainty": 1, "include_count": false,
                                "include_values": true, "factor": false}})");
    // As for a person: Cancel stores nothing of the panel shown last.
    QTest::newRow("Cancel") << QByteArray(R"({"dialog": "VeldmarkDisplay", "check": ["C"],
                          "assays": {"A": {"display_name": "renamed"}}, "press": "Cancel"})")
                            << false
                            << QByteArray(R"({"A": {"alias": "A [%]"}, "C": {"selected": true}})");
}

void tst_AnsweringUser::display()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, accepted);
    QFETCH(QByteArray, expected);
    startUser('[' + answer + ']');

    VeldmarkDisplay dialog;
    QCOMPARE(runDisplay(dialog), accepted);
    QCOMPARE(failures->count(), 0);
    const QJsonObject document = QJsonDocument::fromJson(dialog.displayData()).object();
    const QJsonObject wanted = QJsonDocument::fromJson(expected).object();
    QVERIFY(!wanted.isEmpty());
    for (auto assay = wanted.begin(); assay != wanted.end(); ++assay) {
        const QJsonObject entry = document.value(assay.key()).toObject();
        const QJsonObject members = assay.value().toObject();
        for (auto member = members.begin(); member != members.end(); ++member)
            QVERIFY2(entry.value(member.key()) == member.value(),
                     qPrintable(assay.key() + " " + member.key() + ": "
                                + QJsonDocument(entry).toJson(QJsonDocument::Compact)));
    }
}

void tst_AnsweringUser::progressCancelsDuringTheTickAsked_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("cancelledAt");

    QTest::newRow("after 5 ticks")
        << QByteArray(R"({"dialog": "ProgressDialog", "cancel_after_ticks": 5})") << "Fetching"
        << 5;
    // Past the dots' wrap at 40 characters.
    QTest::newRow("after 45 ticks")
        << QByteArray(R"({"dialog": "ProgressDialog", "cancel_after_ticks": 45})") << "Fetching"
        << 45;
    // A message of 40 characters shows no dots, yet every tick counts.
    QTest::newRow("a message without dots")
        << QByteArray(R"({"dialog": "ProgressDialog", "cancel_after_ticks": 3})")
        << "Fetching the first library of forty char" << 3;
    QTest::newRow("never") << QByteArray(R"({"dialog": "ProgressDialog"})") << "Fetching" << 0;
}

void tst_AnsweringUser::progressCancelsDuringTheTickAsked()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, message);
    QFETCH(int, cancelledAt);
    startUser('[' + answer + ']');

    ProgressDialog dialog;
    dialog.show();
    dialog.setMessage(message);
    int ticks = 0;
    while (ticks < 60 && !dialog.cancelled()) {
        dialog.tick();
        ++ticks;
    }
    QCOMPARE(dialog.cancelled() ? ticks : 0, cancelledAt);
    QCOMPARE(dialog.isVisible(), cancelledAt == 0);
    QCOMPARE(failures->count(), 0);
    QVERIFY(user->unusedAnswers().isEmpty());
    dialog.hide();
}

void tst_AnsweringUser::anotherDialogsLoopIsNoTick()
{
    startUser(R"([{"dialog": "ProgressDialog", "cancel_after_ticks": 2},
                  {"dialog": "VeldmarkSelection", "tick": ["B1"], "press": "OK"}])");
    ProgressDialog progress;
    progress.show();
    progress.setMessage(QStringLiteral("Fetching"));
    progress.tick();
    // The selection's modal loop wakes the event dispatcher many times.
    VeldmarkSelection selection;
    QVERIFY(runSelection(selection));
    QVERIFY(!progress.cancelled());
    progress.tick();
    QVERIFY(progress.cancelled());
    QCOMPARE(failures->count(), 0);
}

void tst_AnsweringUser::picturesEachDialogBeforeItsButton()
{
    const QString pictures = folder->filePath(QStringLiteral("pictures"));
    startUser(R"([{"dialog": "VeldmarkSelection", "tick": ["B1"], "press": "OK"},
                  {"dialog": "ProgressDialog", "cancel_after_ticks": 3},
                  {"dialog": "VeldmarkDisplay", "press": "Cancel"},
                  {"dialog": "VeldmarkSelection", "tick": ["C1"], "press": "OK"}])",
              pictures);
    VeldmarkSelection selection;
    QVERIFY(runSelection(selection));
    ProgressDialog progress;
    progress.show();
    progress.setMessage(QStringLiteral("Fetching"));
    for (int i = 0; i < 3; ++i)
        progress.tick();
    QVERIFY(progress.cancelled());
    VeldmarkDisplay display;
    QVERIFY(!runDisplay(display));
    VeldmarkSelection again;
    QVERIFY(runSelection(again));

    QCOMPARE(
        user->pictures(),
        (QStringList{pictures + "/VeldmarkSelection.png", pictures + "/ProgressDialog.png",
                     pictures + "/VeldmarkDisplay.png", pictures + "/VeldmarkSelection-2.png"}));
    const QImage picture(user->pictures().constFirst());
    QCOMPARE(picture.size(), selection.size() * selection.devicePixelRatioF());
}

void tst_AnsweringUser::misfitCancelsTheDialogAndFails_data()
{
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("missingWidget");
    QTest::addColumn<QString>("message");

    QTest::newRow("no such library")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "tick": ["B1", "B3"], "press": "OK"}])")
        << "selection"
        << ""
        << R"(answer 1 (VeldmarkSelection), field "tick": the dialog has no group or library "B3"; it lists "Binding", "B1", "B2", "Cells", "C1")";
    QTest::newRow("no such assay to check")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "check": ["A", "D"], "press": "OK"}])")
        << "display"
        << ""
        << R"(answer 1 (VeldmarkDisplay), field "check": the dialog lists no assay "D"; it lists "A", "B", "C")";
    QTest::newRow("no such assay to uncheck")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "uncheck": ["a"], "press": "OK"}])")
        << "display"
        << ""
        << R"(answer 1 (VeldmarkDisplay), field "uncheck": the dialog lists no assay "a"; it lists "A", "B", "C")";
    QTest::newRow("no such assay's details")
        << QByteArray(
               R"([{"dialog": "VeldmarkDisplay", "assays": {"B ": {"mean": "geometric"}}, "press": "OK"}])")
        << "display"
        << ""
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "B ": the dialog lists no assay "B "; it lists "A", "B", "C")";
    QTest::newRow("OK while no library is ticked")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "press": "OK"}])") << "selection"
        << ""
        << R"(answer 1 (VeldmarkSelection): cannot press OK, it is disabled)";
    QTest::newRow("uncertainty the field refuses")
        << QByteArray(
               R"([{"dialog": "VeldmarkDisplay", "assays": {"B": {"default_uncertainty": "-1"}}, "press": "OK"}])")
        << "display"
        << ""
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "B" / "default_uncertainty": typed "-1", but the field shows "1")";
    QTest::newRow("a radio button the dialog lacks")
        << QByteArray(
               R"([{"dialog": "VeldmarkSelection", "tick": ["B1"], "aggregation": "batch", "press": "OK"}])")
        << "selection"
        << "rbBatch"
        << R"(answer 1 (VeldmarkSelection): the dialog has no QAbstractButton "rbBatch")";
    QTest::newRow("a check box the dialog lacks")
        << QByteArray(
               R"([{"dialog": "VeldmarkDisplay", "assays": {"A": {"include_count": true}}, "press": "OK"}])")
        << "display"
        << "cbDisplayCount"
        << R"(answer 1 (VeldmarkDisplay): the dialog has no QAbstractButton "cbDisplayCount")";
    QTest::newRow("a field the dialog lacks")
        << QByteArray(
               R"([{"dialog": "VeldmarkDisplay", "assays": {"A": {"display_name": "x"}}, "press": "OK"}])")
        << "display"
        << "lineEditDisplayName"
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "A" / "display_name": the dialog has no QLineEdit "lineEditDisplayName")";
    QTest::newRow("answer for another dialog")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "press": "OK"}])") << "selection"
        << ""
        << R"(answer 1 is for a VeldmarkDisplay, but dialog 1 is a VeldmarkSelection)";
    QTest::newRow("progress where a choice was expected")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "tick": ["B1"], "press": "OK"}])")
        << "progress"
        << ""
        << R"(answer 1 is for a VeldmarkSelection, but dialog 1 is a ProgressDialog)";
    QTest::newRow("no answer left")
        << QByteArray("[]") << "selection"
        << ""
        << R"(dialog 1 (VeldmarkSelection) opened, but there is no answer left for it)";
}

void tst_AnsweringUser::misfitCancelsTheDialogAndFails()
{
    QFETCH(QByteArray, answers);
    QFETCH(QString, dialog);
    QFETCH(QString, missingWidget);
    QFETCH(QString, message);
    startUser(answers);

    QScopedPointer<QDialog> opened;
    if (dialog == QLatin1String("progress")) {
        auto *progress = new ProgressDialog;
        opened.reset(progress);
        progress->show();
        // The next pass of the event loop closes it, as Cancel would.
        progress->tick();
        QVERIFY(progress->cancelled());
    } else {
        if (dialog == QLatin1String("display"))
            opened.reset(new VeldmarkDisplay);
        else
            opened.reset(new VeldmarkSelection);
        if (!missingWidget.isEmpty()) {
            QWidget *widget = opened->findChild<QWidget *>(missingWidget);
            QVERIFY(widget);
            widget->setObjectName(QStringLiteral("renamed"));
        }
        if (auto *display = qobject_cast<VeldmarkDisplay *>(opened.data()))
            QVERIFY(!runDisplay(*display));
        else
            QVERIFY(!runSelection(*static_cast<VeldmarkSelection *>(opened.data())));
    }
    QCOMPARE(failures->count(), 1);
    QCOMPARE(failures->constFirst().constFirst().toString(), message);
}

void tst_AnsweringUser::dialogsAfterAFailureAreCancelled()
{
    startUser(R"([{"dialog": "VeldmarkSelection", "tick": ["X"], "press": "OK"},
                  {"dialog": "VeldmarkSelection", "tick": ["B1"], "press": "OK"}])");
    VeldmarkSelection first;
    QVERIFY(!runSelection(first));
    VeldmarkSelection second;
    QVERIFY(!runSelection(second));
    QCOMPARE(failures->count(), 2);
    QCOMPARE(failures->at(1).constFirst().toString(),
             QStringLiteral("dialog 2 (VeldmarkSelection) opened after the script was stopped"));
}

void tst_AnsweringUser::modalDialogOfAnotherClassFails()
{
    startUser("[]");
    QDialog other;
    other.setWindowTitle(QStringLiteral("Overwrite?"));
    QVERIFY(!runModal(other));
    QCOMPARE(failures->count(), 1);
    QCOMPARE(
        failures->constFirst().constFirst().toString(),
        QStringLiteral(
            R"(the script waits in a modal QDialog ("Overwrite?"), which an answers file cannot answer)"));

    // Shown without a modal wait, such a dialog is none of the user's business.
    startUser("[]");
    QDialog shown;
    shown.show();
    QCoreApplication::processEvents();
    QVERIFY(shown.isVisible());
    QCOMPARE(failures->count(), 0);
}

void tst_AnsweringUser::reportsAnswersNotUsed()
{
    startUser(R"([{"dialog": "VeldmarkSelection", "tick": ["B1"], "press": "OK"},
                  {"dialog": "ProgressDialog", "cancel_after_ticks": 50},
                  {"dialog": "VeldmarkDisplay", "press": "OK"},
                  {"dialog": "ProgressDialog"}])");
    VeldmarkSelection selection;
    QVERIFY(runSelection(selection));
    QCOMPARE(user->unusedAnswers(),
             (QStringList{"answer 2 (ProgressDialog) was not used: the script opened 1 dialog",
                          "answer 3 (VeldmarkDisplay) was not used: the script opened 1 dialog",
                          "answer 4 (ProgressDialog) was not used: the script opened 1 dialog"}));

    ProgressDialog progress;
    progress.show();
    for (int i = 0; i < 3; ++i)
        progress.tick();
    progress.accept();
    QCOMPARE(user->unusedAnswers(),
             (QStringList{"answer 2 (ProgressDialog): Cancel after 50 ticks was never pressed: the "
                          "dialog was ticked 3 times",
                          "answer 3 (VeldmarkDisplay) was not used: the script opened 2 dialogs",
                          "answer 4 (ProgressDialog) was not used: the script opened 2 dialogs"}));
    QCOMPARE(failures->count(), 0);
}

void tst_AnsweringUser::progressRunModallyFails()
{
    // Its answer presses Cancel during a tick, and nothing ticks a dialog
    // that exec() runs.
    startUser(R"([{"dialog": "ProgressDialog", "cancel_after_ticks": 1}])");
    ProgressDialog dialog;
    QVERIFY(!runModal(dialog));
    QVERIFY(dialog.cancelled());
    QCOMPARE(failures->count(), 1);
    QCOMPARE(
        failures->constFirst().constFirst().toString(),
        QStringLiteral(
            R"(the script waits in a modal ProgressDialog ("Query Progress"), which an answers file cannot answer)"));
}

void tst_AnsweringUser::checksThousandsOfAssaysByName()
{
    // Every other one of 2,000 assays, named in reverse order.
    const int count = 2000;
    QJsonObject document;
    QSet<QString> wanted;
    QStringList checked;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("assay %1").arg(i);
        document.insert(name, QJsonObject{{"alias", name}});
        if (i % 2 == 1) {
            wanted.insert(name);
            checked.prepend(QLatin1Char('"') + name + QLatin1Char('"'));
        }
    }
    startUser(QStringLiteral(R"([{"dialog": "VeldmarkDisplay", "uncheck": "all", "check": [%1],
                                  "press": "OK"}])")
                  .arg(checked.join(QLatin1Char(',')))
                  .toUtf8());
    VeldmarkDisplay dialog;
    dialog.setDisplayData(QJsonDocument(document).toJson());
    QVERIFY(runModal(dialog));
    QCOMPARE(failures->count(), 0);
    const QJsonObject result = QJsonDocument::fromJson(dialog.displayData()).object();
    QCOMPARE(result.size(), count);
    for (auto it = result.begin(); it != result.end(); ++it)
        QVERIFY2(it.value().toObject().value("selected").toBool() == wanted.contains(it.key()),
                 qPrintable(it.key()));
}

void tst_AnsweringUser::progressBeingDestroyedIsNoLongerTicked()
{
    startUser(R"([{"dialog": "ProgressDialog", "cancel_after_ticks": 1000},
                  {"dialog": "ProgressDialog", "cancel_after_ticks": 1000}])");
    auto *first = new ProgressDialog;
    first->show();
    first->tick();
    ProgressDialog second;
    second.show();
    // While the first is half destroyed, no ProgressDialog any more, its
    // destroyed() ticks the second.
    connect(first, &QObject::destroyed, &second, [&second] {
        second.tick();
        second.tick();
    });
    delete first;
    QCOMPARE(user->unusedAnswers(),
             (QStringList{"answer 1 (ProgressDialog): Cancel after 1000 ticks was never pressed: "
                          "the dialog was ticked 1 time",
                          "answer 2 (ProgressDialog): Cancel after 1000 ticks was never pressed: "
                          "the dialog was ticked 2 times"}));
    QCOMPARE(failures->count(), 0);
    second.hide();
}

QTEST_MAIN(tst_AnsweringUser)
#include "tst_answeringuser.moc"
