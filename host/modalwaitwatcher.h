// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef MODALWAITWATCHER_H
#define MODALWAITWATCHER_H

#include <QObject>
#include <QStringList>

class QWidget;

// Notices a script that waits in the event loop of a modal window, as
// QDialog::exec() does. A modal window that is only shown, like a progress
// dialog the script ticks, is no wait. Windows of the classes it is told to
// leave alone are answered by someone else.
class ModalWaitWatcher : public QObject
{
    Q_OBJECT

public:
    explicit ModalWaitWatcher(const QStringList &answeredClasses = {}, QObject *parent = nullptr);

Q_SIGNALS:
    // The script waits for `window`; it is still open.
    void waiting(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool answeredElsewhere(const QWidget *window) const;

    QStringList answeredClasses;
};

#endif // MODALWAITWATCHER_H
