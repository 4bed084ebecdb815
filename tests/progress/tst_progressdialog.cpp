// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "progressdialog.h"
#include "ui_progressdialog.h"
#include "placements.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class tst_ProgressDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void freshDialog();
    void existingObjectNameIsKept();
    void firstShowKeepsTheFormOnScreen_data();
    void firstShowKeepsTheFormOnScreen();
    void fittingOverAParentLeavesItsWidgetsAlone();
    void tick_data();
    void tick();
    void setMessageDropsDots();
    void endingTheDialog_data();
    void endingTheDialog();
    void cancelPostedBeforeTickIsHandledInsideTick();
    void showingAgainStaysCancelled();

private:
    static QLabel *label(ProgressDialog &dialog);
    static QPushButton *button(ProgressDialog &dialog, QDialogButtonBox::StandardButton which);
};

QLabel *tst_ProgressDialog::label(ProgressDialog &dialog)
{
    return dialog.findChild<QLabel *>(QStringLiteral("label"));
}

QPushButton *tst_ProgressDialog::button(ProgressDialog &dialog,
                                        QDialogButtonBox::StandardButton which)
{
    auto box = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    return box ? box->button(which) : nullptr;
}

void tst_ProgressDialog::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_ProgressDialog::freshDialog()
{
    ProgressDialog dialog;
    QVERIFY(!dialog.cancelled());
    QCOMPARE(dialog.objectName(), QStringLiteral("ProgressDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Query Progress"));
    QCOMPARE(dialog.size(), QSize(400, 65));
    QVERIFY(label(dialog));
    QCOMPARE(label(dialog)->text(), QStringLiteral("TextLabel"));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(button(dialog, QDialogButtonBox::Cancel));
    QVERIFY(button(dialog, QDialogButtonBox::Ok));
    QVERIFY(button(dialog, QDialogButtonBox::Cancel)->isVisible());
    QVERIFY(!button(dialog, QDialogButtonBox::Ok)->isVisible());
}

void tst_ProgressDialog::existingObjectNameIsKept()
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("queryProgress"));
    Ui::ProgressDialog form;
    form.setupUi(&dialog);
    QCOMPARE(dialog.objectName(), QStringLiteral("queryProgress"));
    QCOMPARE(form.label->objectName(), QStringLiteral("label"));
    QCOMPARE(form.buttonBox->objectName(), QStringLiteral("buttonBox"));
    QCOMPARE(form.verticalLayout->objectName(), QStringLiteral("verticalLayout"));
}

void tst_ProgressDialog::firstShowKeepsTheFormOnScreen_data()
{
    addPlacementRows();
}

// The form's 400 x 65 fits the offscreen platform's 800 x 600 screen: the
// size stays (grown, as always, to the height the layout needs), the place
// moves onto the screen.
void tst_ProgressDialog::firstShowKeepsTheFormOnScreen()
{
    QFETCH(bool, placed);
    QFETCH(QPoint, position);

    ProgressDialog dialog;
    if (placed)
        dialog.move(position);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QVERIFY(dialog.screen()->availableGeometry().contains(dialog.frameGeometry()));
    QCOMPARE(dialog.size(), QSize(400, 65).expandedTo(dialog.minimumSizeHint()));
}

// Fitting looks at the dialog's own window before it is shown; asking Qt for
// a native window id there would make every widget of the parent native too.
void tst_ProgressDialog::fittingOverAParentLeavesItsWidgetsAlone()
{
    QWidget parent;
    auto *button = new QPushButton(QStringLiteral("Query"), &parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    auto *dialog = new ProgressDialog(&parent);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QVERIFY(parent.screen()->availableGeometry().contains(dialog->frameGeometry()));
    QVERIFY(!button->testAttribute(Qt::WA_NativeWindow));
    QVERIFY(!button->internalWinId());
}

void tst_ProgressDialog::tick_data()
{
    QTest::addColumn<bool>("setMessage");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("expected");

    const QString nine = QStringLiteral("Fetching:");
    const QString dots31(31, QLatin1Char('.'));
    QTest::newRow("nine characters, one tick") << true << nine << 1 << nine + QStringLiteral(".");
    QTest::newRow("nine characters, grown to forty") << true << nine << 31 << nine + dots31;
    QTest::newRow("nine characters, wrapped to message") << true << nine << 32 << nine;
    QTest::newRow("nine characters, dots again after wrap")
        << true << nine << 33 << nine + QStringLiteral(".");

    const QString textLabel = QStringLiteral("TextLabel");
    QTest::newRow("no message, grown to forty") << false << QString() << 31 << textLabel + dots31;
    QTest::newRow("no message, wrapped to empty") << false << QString() << 32 << QString();
    QTest::newRow("no message, one dot after wrap")
        << false << QString() << 33 << QStringLiteral(".");
    QTest::newRow("no message, two dots after wrap")
        << false << QString() << 34 << QStringLiteral("..");

    const QString len39(39, QLatin1Char('x'));
    const QString len40(40, QLatin1Char('y'));
    const QString len41(41, QLatin1Char('z'));
    QTest::newRow("39 characters gain a dot") << true << len39 << 1 << len39 + QStringLiteral(".");
    QTest::newRow("39 characters drop the dot") << true << len39 << 2 << len39;
    QTest::newRow("40 characters never change") << true << len40 << 3 << len40;
    QTest::newRow("41 characters never change") << true << len41 << 3 << len41;
    // Length counts UTF-16 code units: a character outside the BMP counts twice.
    const QString surrogates = QStringLiteral("\U0001F9EA").repeated(19);
    QTest::newRow("38 code units gain a dot")
        << true << surrogates << 2 << surrogates + QStringLiteral("..");
    QTest::newRow("38 code units wrap on third tick") << true << surrogates << 3 << surrogates;
    QTest::newRow("empty message grows dots") << true << QString() << 3 << QStringLiteral("...");
}

void tst_ProgressDialog::tick()
{
    QFETCH(bool, setMessage);
    QFETCH(QString, message);
    QFETCH(int, ticks);
    QFETCH(QString, expected);

    ProgressDialog dialog;
    if (setMessage)
        dialog.setMessage(message);
    for (int i = 0; i < ticks; ++i)
        dialog.tick();
    QCOMPARE(label(dialog)->text(), expected);
    QVERIFY(!dialog.cancelled());
}

void tst_ProgressDialog::setMessageDropsDots()
{
    ProgressDialog dialog;
    dialog.setMessage(QStringLiteral("Library 1"));
    dialog.tick();
    dialog.tick();
    QCOMPARE(label(dialog)->text(), QStringLiteral("Library 1.."));

    dialog.setMessage(QStringLiteral("Library 2"));
    QCOMPARE(label(dialog)->text(), QStringLiteral("Library 2"));
    dialog.tick();
    QCOMPARE(label(dialog)->text(), QStringLiteral("Library 2."));
}

enum class Ending { CancelClick, Escape, Close, RejectSlot, RejectByName, Hide, Accept };
Q_DECLARE_METATYPE(Ending)

void tst_ProgressDialog::endingTheDialog_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("cancelled");

    QTest::newRow("Cancel clicked") << Ending::CancelClick << true;
    QTest::newRow("Escape pressed") << Ending::Escape << true;
    QTest::newRow("window closed") << Ending::Close << true;
    QTest::newRow("reject() called") << Ending::RejectSlot << true;
    QTest::newRow("reject invoked through the meta-object") << Ending::RejectByName << true;
    QTest::newRow("hidden") << Ending::Hide << false;
    QTest::newRow("accepted") << Ending::Accept << false;
}

void tst_ProgressDialog::endingTheDialog()
{
    QFETCH(Ending, ending);
    QFETCH(bool, cancelled);

    ProgressDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy rejected(&dialog, &QDialog::rejected);

    switch (ending) {
    case Ending::CancelClick:
        QTest::mouseClick(button(dialog, QDialogButtonBox::Cancel), Qt::LeftButton);
        break;
    case Ending::Escape:
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    case Ending::Close:
        QVERIFY(dialog.close());
        break;
    case Ending::RejectSlot:
        dialog.reject();
        break;
    case Ending::RejectByName:
        QVERIFY(QMetaObject::invokeMethod(&dialog, "reject"));
        break;
    case Ending::Hide:
        dialog.hide();
        break;
    case Ending::Accept:
        dialog.accept();
        break;
    }

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.cancelled(), cancelled);
    QCOMPARE(rejected.count(), cancelled ? 1 : 0);
}

void tst_ProgressDialog::cancelPostedBeforeTickIsHandledInsideTick()
{
    ProgressDialog dialog;
    dialog.setMessage(QStringLiteral("Fetching"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QPushButton *cancel = button(dialog, QDialogButtonBox::Cancel);
    const QPoint centre = cancel->rect().center();
    const QPoint global = cancel->mapToGlobal(centre);
    QCoreApplication::postEvent(cancel,
                                new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(cancel,
                                new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QVERIFY(!dialog.cancelled());

    dialog.tick();

    QVERIFY(dialog.cancelled());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(label(dialog)->text(), QStringLiteral("Fetching."));
}

void tst_ProgressDialog::showingAgainStaysCancelled()
{
    ProgressDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.reject();
    QVERIFY(dialog.cancelled());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.cancelled());
    dialog.accept();
    QVERIFY(dialog.cancelled());
}

QTEST_MAIN(tst_ProgressDialog)
#include "tst_progressdialog.moc"
