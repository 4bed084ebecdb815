// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef SCRIPTUSER_H
#define SCRIPTUSER_H

#include "hostoptions.h"

#include <QObject>
#include <QScopedPointer>

class AnsweringUser;
class ModalWaitWatcher;
class QWidget;

// Whoever answers the script's dialogs in this run: a person at the display,
// the simulated user, or the simulated user with an answers file. Without a
// display and without either, a modal dialog the script waits in is refused
// at once rather than left waiting for ever. Whatever stops the script this
// way makes the run fail.
class ScriptUser : public QObject
{
    Q_OBJECT

public:
    explicit ScriptUser(const HostOptions &options, QObject *parent = nullptr);
    ~ScriptUser() override;

    // Before the script: false, with the reason on stderr, when the answers
    // file cannot be used.
    bool start();
    // After the script and its objects have gone: reports answers not used
    // (unless the script was stopped, which says it all) and lists the
    // pictures; returns the run's exit status.
    int finish(int scriptStatus);

    // The exit status of a run the host stopped, or whose answers did not fit.
    static constexpr int refusedStatus = 2;

private:
    void stopScript(const QString &message);
    void refuseUnanswerable(QWidget *window);

    HostOptions options;
    QScopedPointer<AnsweringUser> answeringUser;
    QScopedPointer<ModalWaitWatcher> noOne;
    bool stopped = false;
};

#endif // SCRIPTUSER_H
