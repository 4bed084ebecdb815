// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ANSWERINGUSER_H
#define ANSWERINGUSER_H

#include "answers.h"
#include "dialogpictures.h"
#include "modalwaitwatcher.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QStringList>

class QDialog;
class QLineEdit;
class QListView;
class QModelIndex;

// Stands in for a person who answers each dialog a script opens as an
// answers file says, in order, through the dialog's widgets: ticks and
// checks, clicks, typing, OK or Cancel. With a picture folder it saves a
// picture of each dialog just before its button is pressed (a progress
// dialog once its first message shows).
//
// An answer that does not fit (another dialog class, a name or widget the
// dialog does not have, a disabled button, a field that refuses the text),
// a dialog with no answer left, or a modal wait in a dialog no answer can
// be given to is a failure: the dialog is cancelled and failed() asks for
// the script to be stopped. Dialogs opened after that are cancelled too.
class AnsweringUser : public QObject
{
    Q_OBJECT

public:
    explicit AnsweringUser(const QList<DialogAnswer> &answers,
                           const QString &pictureFolder = QString(), QObject *parent = nullptr);

    QStringList pictures() const { return pictureFiles.saved(); }
    // After the script: one message per answer it never used, or used only
    // in part (a Cancel after ticks that never came).
    QStringList unusedAnswers() const;

Q_SIGNALS:
    void failed(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct WatchedProgress
    {
        // A QObject: while a dialog is being destroyed it is no QDialog any
        // more, and a destroyed() callback may tick another dialog then.
        QPointer<QObject> object;
        QDialog *dialog() const;
        DialogAnswer answer;
        QString formText;
        // Ticks process events at the level the script showed the dialog.
        int loopLevel = 0;
        int ticks = 0;
        bool pictured = false;
        bool cancelled = false;
    };

    void opened(QDialog *dialog);
    void answerSelection(QDialog *dialog, const DialogAnswer &answer);
    void answerDisplay(QDialog *dialog, const DialogAnswer &answer);
    bool setAssayChecks(QDialog *dialog, QListView *list, const DialogAnswer &answer);
    bool answerPanel(QDialog *dialog, QListView *list, const AssayPanelAnswer &panel,
                     const DialogAnswer &answer);
    bool replaceText(QDialog *dialog, const char *field, const QString &text, const QString &where);
    bool setChecked(QDialog *dialog, const char *button, bool checked, const DialogAnswer &answer);
    QModelIndex findAssay(QDialog *dialog, QListView *list, const QString &name,
                          const QString &where);
    void press(QDialog *dialog, const DialogAnswer &answer);

    void watchProgress(QDialog *dialog, const DialogAnswer &answer);
    void pictureProgressOnceMessageShows(WatchedProgress &watched);
    void countTick();

    template<class Widget>
    Widget *widget(QDialog *dialog, const char *name, const DialogAnswer &answer);
    void fail(QDialog *dialog, const QString &message);
    void refuseOtherDialog(QWidget *window);

    QList<DialogAnswer> answers;
    int nextAnswer = 0;
    int openedDialogs = 0;
    bool stopped = false;
    DialogPictures pictureFiles;
    QList<WatchedProgress> progressDialogs;
    // The rows of the display dialog's list by assay name, the first of
    // equal names; see findAssay().
    QHash<QString, QPersistentModelIndex> assayRows;
    ModalWaitWatcher otherDialogs;
};

#endif // ANSWERINGUSER_H
