// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ANSWERINGUSER_H
#define ANSWERINGUSER_H

#include "answers.h"
#include "dialogguard.h"
#include "dialogpictures.h"
#include "modalwaitwatcher.h"
#include "plausibleanswers.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QLineEdit;
class QListView;
class QModelIndex;

// Stands in for a person who answers each dialog a script opens through
// the dialog's widgets: ticks and checks, clicks, typing, OK or Cancel. With
// a picture folder it saves a picture of each dialog just before its button
// is pressed (a progress dialog once its first message shows).
//
// The answers come from an answers file, in order. An answer that does not
// fit (another dialog class, a name or widget the dialog does not have, a
// disabled button, a field that refuses the text), a dialog with no answer
// left, or a modal wait in a dialog no answer can be given to is a failure:
// the dialog is cancelled and failed() asks for the script to be stopped.
// Dialogs opened after that are cancelled too.
//
// Or the user makes up plausible answers for every dialog as it shows, and
// fails at nothing: a dialog its answer does not fit (OK disabled with
// nothing to tick) is cancelled, so is any other modal dialog, after its
// picture, and so is a progress dialog run with exec(), which no tick ends.
class AnsweringUser : public QObject
{
    Q_OBJECT

public:
    explicit AnsweringUser(const QList<DialogAnswer> &answers,
                           const QString &pictureFolder = QString(), QObject *parent = nullptr);
    AnsweringUser(const PlausibleAnswers &plausible, const QString &pictureFolder,
                  QObject *parent = nullptr);

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
        DialogGuard guard;
        DialogAnswer answer;
        QString formText;
        // Ticks process events at the level the script showed the dialog.
        int loopLevel = 0;
        int ticks = 0;
        bool pictured = false;
        bool cancelled = false;
    };

    AnsweringUser(const QString &pictureFolder, QObject *parent);

    void opened(QDialog *dialog);
    void openedPlausibly(QDialog *dialog);
    void answerOnceShown(QDialog *dialog, const std::optional<DialogAnswer> &given);
    void answerSelection(QDialog *dialog, const DialogAnswer &answer);
    void answerDisplay(QDialog *dialog, const DialogAnswer &answer);
    bool setAssayChecks(QDialog *dialog, QListView *list, const DialogAnswer &answer);
    bool answerPanel(QDialog *dialog, QListView *list, const AssayPanelAnswer &panel,
                     const DialogAnswer &answer);
    QLineEdit *field(QDialog *dialog, const char *name, const QString &where);
    bool replaceText(QDialog *dialog, const char *name, const QString &text, const QString &where);
    bool setChecked(QDialog *dialog, const char *button, bool checked, const DialogAnswer &answer);
    QModelIndex findAssay(QDialog *dialog, QListView *list, const QString &name,
                          const QString &where);
    void press(QDialog *dialog, const DialogAnswer &answer);

    void watchProgress(QDialog *dialog, const DialogAnswer &answer);
    bool watchedUnpictured(const QDialog *dialog) const;
    void cancelIfRun(QDialog *dialog);
    bool pictureProgressOnceMessageShows(WatchedProgress &watched);
    void countTick();

    template<class Widget>
    Widget *widget(QDialog *dialog, const char *name, const DialogAnswer &answer);
    void fail(QDialog *dialog, const QString &message);
    void refuseOtherDialog(QWidget *window);

    QList<DialogAnswer> answers;
    // Without an answers file, the answers made up as the dialogs show.
    std::optional<PlausibleAnswers> plausible;
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
