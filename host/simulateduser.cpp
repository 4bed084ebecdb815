// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "simulateduser.h"

#include "dialogguard.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

SimulatedUser::SimulatedUser(const QString &pictureFolder, Aggregation aggregation, QObject *parent)
    : QObject(parent)
    , pictureFiles(pictureFolder)
    , aggregation(aggregation)
{ }

bool SimulatedUser::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (auto *dialog = qobject_cast<QDialog *>(watched); dialog && dialog->isWindow())
            answer(dialog);
        break;
    case QEvent::LayoutRequest:
    case QEvent::UpdateRequest:
        // A ticking progress dialog relayouts and repaints at every tick.
        // Not once its destruction has begun: then it is no QDialog any more.
        if (auto *dialog = qobject_cast<QDialog *>(watched);
            dialog && progressTexts.contains(dialog))
            pictureProgressOnceMessageShows(dialog);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void SimulatedUser::answer(QDialog *dialog)
{
    if (dialog->inherits("ProgressDialog")) {
        watchProgress(dialog);
        cancelIfRun(dialog);
        return;
    }
    // Act once the show has finished and the dialog runs its event loop, as
    // a person would.
    const DialogGuard guard(dialog);
    QTimer::singleShot(0, this, [this, guard] {
        QDialog *shown = guard.dialog();
        if (!shown || !shown->isVisible())
            return;
        if (shown->inherits("VeldmarkSelection")) {
            answerSelection(shown);
        } else if (shown->inherits("VeldmarkDisplay")) {
            answerDisplay(shown);
        } else if (shown->isModal()) {
            pictureFiles.take(shown);
            shown->reject();
        }
    });
}

void SimulatedUser::answerSelection(QDialog *dialog)
{
    if (auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"))) {
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem *group = tree->topLevelItem(i);
            if (group->childCount() > 0) {
                group->setCheckState(0, Qt::Checked);
                break;
            }
        }
    }
    if (aggregation == Aggregation::Batch) {
        if (auto *batch = dialog->findChild<QRadioButton *>(QStringLiteral("rbBatch")))
            batch->click();
    }
    finish(dialog);
}

void SimulatedUser::answerDisplay(QDialog *dialog)
{
    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("lineEditDisplayName"))) {
        name->setFocus();
        name->end(false);
        typeText(name, QStringLiteral(" (edited)"));
    }
    for (const char *box : {"cbDisplayCount", "cbDisplayValues"}) {
        auto *check = dialog->findChild<QCheckBox *>(QLatin1String(box));
        if (check && !check->isChecked())
            check->click();
    }
    if (auto *geometric = dialog->findChild<QRadioButton *>(QStringLiteral("rbgeometric")))
        geometric->click();
    finish(dialog);
}

void SimulatedUser::watchProgress(QDialog *dialog)
{
    auto *label = dialog->findChild<QLabel *>(QStringLiteral("label"));
    if (!label || progressTexts.contains(dialog))
        return;
    progressTexts.insert(dialog, label->text());
    connect(dialog, &QObject::destroyed, this,
            [this](QObject *gone) { progressTexts.remove(gone); });
}

// A progress dialog is shown and ticked; one run with exec() waits for a
// Cancel that no tick will bring, so the user presses it, as a person would
// who sees the window doing nothing.
void SimulatedUser::cancelIfRun(QDialog *dialog)
{
    const int showLevel = QThread::currentThread()->loopLevel();
    const DialogGuard guard(dialog);
    QTimer::singleShot(0, this, [this, guard, showLevel] {
        QDialog *shown = guard.dialog();
        if (!shown || !shown->isVisible() || !shown->isModal()
            || QThread::currentThread()->loopLevel() <= showLevel)
            return;
        progressTexts.remove(shown);
        pictureFiles.take(shown);
        press(shown, QDialogButtonBox::Cancel);
    });
}

void SimulatedUser::pictureProgressOnceMessageShows(QDialog *dialog)
{
    // The script sets its message after show() and ticks to repaint it; the
    // form's own text, with or without dots, is not worth a picture.
    auto *label = dialog->findChild<QLabel *>(QStringLiteral("label"));
    if (!label || label->text().startsWith(progressTexts.value(dialog)))
        return;
    progressTexts.remove(dialog);
    pictureFiles.take(dialog);
    if (cancels(dialog))
        press(dialog, QDialogButtonBox::Cancel);
}

void SimulatedUser::finish(QDialog *dialog)
{
    pictureFiles.take(dialog);
    press(dialog, cancels(dialog) ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok);
}

bool SimulatedUser::cancels(const QDialog *dialog) const
{
    return !cancelIn.isEmpty() && dialog->inherits(cancelIn.toLatin1().constData());
}

void SimulatedUser::typeText(QLineEdit *edit, const QString &text)
{
    for (const QChar c : text) {
        const int key = c.toUpper().unicode();
        QKeyEvent pressEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent releaseEvent(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &pressEvent);
        QCoreApplication::sendEvent(edit, &releaseEvent);
    }
}

void SimulatedUser::press(QDialog *dialog, QDialogButtonBox::StandardButton which)
{
    auto *box = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QAbstractButton *button = box ? box->button(which) : nullptr;
    if (button && button->isEnabled() && button->isVisible())
        button->click();
    else
        dialog->reject();
}
