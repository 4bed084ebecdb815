// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef MODALINTERRUPT_H
#define MODALINTERRUPT_H

#include <QObject>

class QSocketNotifier;

// Python turns Ctrl-C into a KeyboardInterrupt at the script's next
// statement, and none comes while the script waits in a modal dialog. This
// ends the innermost modal dialog then, without its finished() and
// rejected() signals so that no callback runs first: exec() returns, and
// the KeyboardInterrupt is raised where the script opened the dialog, as it
// would be anywhere else in the script.
class ModalInterrupt : public QObject
{
    Q_OBJECT

public:
    // Needs the interpreter initialised, on the GUI thread.
    explicit ModalInterrupt(QObject *parent = nullptr);
    ~ModalInterrupt() override;

private:
    void signalled();

    // Python's signal handler writes the number of each signal it catches
    // to the write end.
    int wakeup[2] = {-1, -1};
    int previousWakeup = -1;
    QSocketNotifier *notifier = nullptr;
};

#endif // MODALINTERRUPT_H
