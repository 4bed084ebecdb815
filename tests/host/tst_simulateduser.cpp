// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "answeringuser.h"

#include "progressdialog.h"
#include "veldmarkdisplay.h"
#include "veldmarkselection.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <optional>

Q_DECLARE_METATYPE(PlausibleAnswers::Aggregation)

// The simulated user with no answers file, on the real dialogs: the answers it
// makes up, as each dialog's result shows them.
class tst_SimulatedUser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void selectionTicksFirstGroupWithLibraries_data();
    void selectionTicksFirstGroupWithLibraries();
    void selectionWithoutLibrariesIsCancelled();
    void progressPicturedOnceItsMessageShows();
    void cancelsTheDialogsItIsAskedTo();
    void displayEditsTheCurrentAssay();
    void otherModalDialogsAreCancelled();
    void progressRunModallyIsCancelled();
    void progressBeingDestroyedIsLeftAlone();

private:
    void startUser(
        PlausibleAnswers::Aggregation aggregation = PlausibleAnswers::Aggregation::Compound,
        const QString &cancelIn = QString());
    static void verifyPicture(const QString &path, const QWidget &dialog);
    static std::optional<int> execUntilEnded(QDialog &dialog);

    QScopedPointer<QTemporaryDir> folder;
    QScopedPointer<AnsweringUser> user;
};

void tst_SimulatedUser::init()
{
    folder.reset(new QTemporaryDir);
    QVERIFY(folder->isValid());
}

void tst_SimulatedUser::cleanup()
{
    user.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_SimulatedUser::startUser(PlausibleAnswers::Aggregation aggregation,
                                  const QString &cancelIn)
{
    user.reset(new AnsweringUser(PlausibleAnswers(aggregation, cancelIn),
                                 folder->filePath(QStringLiteral("pictures"))));
    qApp->installEventFilter(user.data());
}

void tst_SimulatedUser::verifyPicture(const QString &path, const QWidget &dialog)
{
    QImage picture(path);
    QVERIFY2(!picture.isNull(), qPrintable(path));
    QCOMPARE(picture.size(), dialog.size() * dialog.devicePixelRatioF());
}

// What exec() returns, or nothing should the user never end the dialog.
std::optional<int> tst_SimulatedUser::execUntilEnded(QDialog &dialog)
{
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    connect(&safetyNet, &QTimer::timeout, &dialog, &QDialog::accept);
    safetyNet.start(5000);
    const int result = dialog.exec();
    if (!safetyNet.isActive())
        return std::nullopt;
    return result;
}

void tst_SimulatedUser::selectionTicksFirstGroupWithLibraries_data()
{
    QTest::addColumn<PlausibleAnswers::Aggregation>("aggregation");
    QTest::addColumn<QString>("mode");
    QTest::newRow("per compound") << PlausibleAnswers::Aggregation::Compound << "compound";
    QTest::newRow("per batch") << PlausibleAnswers::Aggregation::Batch << "batch";
}

void tst_SimulatedUser::selectionTicksFirstGroupWithLibraries()
{
    QFETCH(PlausibleAnswers::Aggregation, aggregation);
    QFETCH(QString, mode);
    startUser(aggregation);

    VeldmarkSelection dialog;
    // "ADME" sorts first but has nothing to tick.
    dialog.setAvailableItems({{QStringLiteral("ADME"), QStringList()},
                              {QStringLiteral("Binding"), QStringList{"B1", "B2"}},
                              {QStringLiteral("Cells"), QStringList{"C1"}}});
    QVERIFY(dialog.run());
    QCOMPARE(dialog.selectedItems(), (QStringList{"B1", "B2"}));
    QCOMPARE(dialog.aggregationMode(), mode);
    QCOMPARE(user->pictures(), QStringList{folder->filePath("pictures/VeldmarkSelection.png")});
    verifyPicture(user->pictures().constFirst(), dialog);
}

void tst_SimulatedUser::selectionWithoutLibrariesIsCancelled()
{
    startUser();
    VeldmarkSelection dialog;
    dialog.setAvailableItems({{QStringLiteral("Empty"), QStringList()}});
    QVERIFY(!dialog.run());
    QCOMPARE(user->pictures().size(), 1);

    // A cancelled dialog stops nothing: the next one is answered.
    VeldmarkSelection next;
    next.setAvailableItems({{QStringLiteral("Binding"), QStringList{"B1"}}});
    QVERIFY(next.run());
    QCOMPARE(next.selectedItems(), QStringList{"B1"});
    QCOMPARE(user->pictures().size(), 2);
}

void tst_SimulatedUser::progressPicturedOnceItsMessageShows()
{
    startUser();
    ProgressDialog dialog;
    dialog.show();
    dialog.tick(); // dots on the form's own text are not worth a picture
    dialog.tick();
    QVERIFY(user->pictures().isEmpty());

    // A script's loop gives the user no other pass of the event loop than
    // its ticks.
    dialog.setMessage(QStringLiteral("Fetching Solubility"));
    dialog.tick();
    QCOMPARE(user->pictures().size(), 1);
    for (int i = 0; i < 5; ++i)
        dialog.tick();
    QCOMPARE(user->pictures().size(), 1);
    QVERIFY(!dialog.cancelled());
    verifyPicture(user->pictures().constFirst(), dialog);

    // Shown again, it is pictured again once its message changes; shown
    // twice before that, once.
    dialog.hide();
    dialog.show();
    dialog.hide();
    dialog.show();
    dialog.tick();
    QCOMPARE(user->pictures().size(), 1);
    dialog.setMessage(QStringLiteral("Fetching Binding"));
    dialog.tick();
    QCOMPARE(user->pictures(),
             (QStringList{folder->filePath("pictures/ProgressDialog.png"),
                          folder->filePath("pictures/ProgressDialog-2.png")}));
    dialog.hide();
}

void tst_SimulatedUser::cancelsTheDialogsItIsAskedTo()
{
    startUser(PlausibleAnswers::Aggregation::Compound, QStringLiteral("ProgressDialog"));
    ProgressDialog progress;
    progress.show();
    progress.setMessage(QStringLiteral("Fetching Solubility"));
    progress.tick();
    QVERIFY(progress.cancelled());
    QVERIFY(!progress.isVisible());

    // Other dialogs are answered as usual.
    VeldmarkSelection selection;
    selection.setAvailableItems({{QStringLiteral("Binding"), QStringList{"B1"}}});
    QVERIFY(selection.run());
    QCOMPARE(user->pictures().size(), 2);
}

void tst_SimulatedUser::displayEditsTheCurrentAssay()
{
    startUser();
    VeldmarkDisplay dialog;
    dialog.setDisplayData(
        R"({"B assay": {"alias": "B [nM]"}, "A assay": {"alias": "A [%]", "factor": false}})");
    QVERIFY(dialog.run());

    const QJsonObject result = QJsonDocument::fromJson(dialog.displayData()).object();
    const QJsonObject edited = result.value("A assay").toObject();
    QCOMPARE(edited.value("alias").toString(), QStringLiteral("A [%] (edited)"));
    QCOMPARE(edited.value("include_count").toBool(), true);
    QCOMPARE(edited.value("include_values").toBool(), true);
    QCOMPARE(edited.value("factor").toBool(), true);
    QCOMPARE(edited.value("selected").toBool(), true);
    // The other assay is left as it came.
    QCOMPARE(result.value("B assay").toObject(),
             (QJsonObject{{"alias", "B [nM]"}, {"selected", true}}));
    QCOMPARE(user->pictures(), QStringList{folder->filePath("pictures/VeldmarkDisplay.png")});
    verifyPicture(user->pictures().constFirst(), dialog);
}

void tst_SimulatedUser::otherModalDialogsAreCancelled()
{
    startUser();
    QDialog dialog;
    QCOMPARE(execUntilEnded(dialog), std::optional<int>(QDialog::Rejected));
    QCOMPARE(user->pictures(), QStringList{folder->filePath("pictures/QDialog.png")});
}

void tst_SimulatedUser::progressRunModallyIsCancelled()
{
    // Nothing ticks a progress dialog that exec() runs: without a Cancel it
    // would wait for ever.
    startUser();
    ProgressDialog dialog;
    QCOMPARE(execUntilEnded(dialog), std::optional<int>(QDialog::Rejected));
    QVERIFY(dialog.cancelled());
    QCOMPARE(user->pictures(), QStringList{folder->filePath("pictures/ProgressDialog.png")});

    // Shown and ticked, as scripts do, it is not cancelled.
    ProgressDialog shown;
    shown.show();
    shown.tick();
    QVERIFY(!shown.cancelled());
    shown.hide();
}

void tst_SimulatedUser::progressBeingDestroyedIsLeftAlone()
{
    // The first dialog's destroyed() ticks the second while the first is
    // half destroyed, no ProgressDialog any more.
    startUser();
    auto *first = new ProgressDialog;
    first->show();
    ProgressDialog second;
    second.show();
    connect(first, &QObject::destroyed, &second, [&second] {
        second.setMessage(QStringLiteral("Fetching Solubility"));
        second.tick();
    });
    delete first;
    QCOMPARE(user->pictures(), QStringList{folder->filePath("pictures/ProgressDialog.png")});
    verifyPicture(user->pictures().constFirst(), second);
    second.hide();
}

QTEST_MAIN(tst_SimulatedUser)
#include "tst_simulateduser.moc"
