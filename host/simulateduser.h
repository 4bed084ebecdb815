// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef SIMULATEDUSER_H
#define SIMULATEDUSER_H

#include "dialogpictures.h"

#include <QDialogButtonBox>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QDialog;
class QLineEdit;
class QWidget;

// Stands in for a person on headless runs: answers every dialog a script
// shows with a plausible choice, and saves a picture of each dialog as the
// person would see it just before pressing its button.
//
// VeldmarkSelection: ticks the first library group (and Batch when asked),
// then OK. ProgressDialog: only watched; pictured once its message is set;
// run with exec(), pictured and cancelled.
// VeldmarkDisplay: edits the current assay (display name, count and values
// boxes, geometric mean), then OK. Any other modal dialog is cancelled so a
// headless run cannot hang on it. Asked to, the user presses Cancel instead
// in the dialogs of one class, after the picture.
class SimulatedUser : public QObject
{
    Q_OBJECT

public:
    enum class Aggregation { Compound, Batch };

    SimulatedUser(const QString &pictureFolder, Aggregation aggregation, QObject *parent = nullptr);

    // The class name of the dialogs to cancel, e.g. "ProgressDialog".
    void setCancelIn(const QString &className) { cancelIn = className; }

    // The pictures saved so far, in the order the dialogs were shown.
    QStringList pictures() const { return pictureFiles.saved(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void answer(QDialog *dialog);
    void answerSelection(QDialog *dialog);
    void answerDisplay(QDialog *dialog);
    void watchProgress(QDialog *dialog);
    void cancelIfRun(QDialog *dialog);
    void pictureProgressOnceMessageShows(QDialog *dialog);
    static void typeText(QLineEdit *edit, const QString &text);
    void finish(QDialog *dialog);
    bool cancels(const QDialog *dialog) const;
    static void press(QDialog *dialog, QDialogButtonBox::StandardButton which);

    DialogPictures pictureFiles;
    Aggregation aggregation = Aggregation::Compound;
    QString cancelIn;
    // Progress dialogs not yet pictured, with the text their label had when
    // they were shown.
    QHash<QObject *, QString> progressTexts;
};

#endif // SIMULATEDUSER_H
