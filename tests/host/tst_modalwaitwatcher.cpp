// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "modalwaitwatcher.h"

#include "whenmodal.h"

#include <QApplication>
#include <QDialog>
#include <QtTest>

namespace {

// A dialog someone else answers.
class AnsweredDialog : public QDialog
{
    Q_OBJECT
};

} // namespace

// Which modal windows leave a script waiting for ever when no one answers.
class tst_ModalWaitWatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void execWaits();
    void shownModalDialogThatTicksDoesNotWait();
    void answeredClassesAreLeftAlone();
};

void tst_ModalWaitWatcher::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_ModalWaitWatcher::execWaits()
{
    ModalWaitWatcher watcher;
    qApp->installEventFilter(&watcher);
    QSignalSpy waiting(&watcher, &ModalWaitWatcher::waiting);
    QDialog dialog;
    bool visibleWhenReported = false;
    connect(&watcher, &ModalWaitWatcher::waiting, &dialog, [&](QWidget *window) {
        visibleWhenReported = window == &dialog && window->isVisible();
        window->close();
    });
    WhenModal safetyNet(dialog, [] {});
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(!safetyNet.safetyNetFired());
    QCOMPARE(waiting.count(), 1);
    QVERIFY(visibleWhenReported);
}

void tst_ModalWaitWatcher::shownModalDialogThatTicksDoesNotWait()
{
    ModalWaitWatcher watcher;
    qApp->installEventFilter(&watcher);
    QSignalSpy waiting(&watcher, &ModalWaitWatcher::waiting);
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    // What a progress dialog's tick does, again and again.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QVERIFY(dialog.isVisible());
    QCOMPARE(waiting.count(), 0);
    dialog.hide();
}

void tst_ModalWaitWatcher::answeredClassesAreLeftAlone()
{
    ModalWaitWatcher watcher({QStringLiteral("AnsweredDialog")});
    qApp->installEventFilter(&watcher);
    QSignalSpy waiting(&watcher, &ModalWaitWatcher::waiting);
    AnsweredDialog answered;
    WhenModal person(answered, [&answered] { answered.accept(); });
    QCOMPARE(answered.exec(), int(QDialog::Accepted));
    QVERIFY(person.acted());
    QCOMPARE(waiting.count(), 0);

    // The classes given are matched with their subclasses, not instead of
    // every other dialog.
    QDialog other;
    connect(&watcher, &ModalWaitWatcher::waiting, &other, [](QWidget *window) { window->close(); });
    WhenModal safetyNet(other, [] {});
    QCOMPARE(other.exec(), int(QDialog::Rejected));
    QVERIFY(!safetyNet.safetyNetFired());
    QCOMPARE(waiting.count(), 1);
}

QTEST_MAIN(tst_ModalWaitWatcher)
#include "tst_modalwaitwatcher.moc"
