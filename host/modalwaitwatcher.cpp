// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "modalwaitwatcher.h"

#include <QEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

ModalWaitWatcher::ModalWaitWatcher(const QStringList &answeredClasses, QObject *parent)
    : QObject(parent)
    , answeredClasses(answeredClasses)
{ }

bool ModalWaitWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    auto *window = static_cast<QWidget *>(watched);
    if (!window->isWindow() || !window->isModal() || answeredElsewhere(window))
        return QObject::eventFilter(watched, event);

    // exec() shows the window, then runs an event loop of its own: the check
    // runs in that loop. Ticks only process events at the shower's level.
    const int showLevel = QThread::currentThread()->loopLevel();
    QPointer<QWidget> shown(window);
    QTimer::singleShot(0, this, [this, shown, showLevel] {
        if (shown && shown->isVisible() && QThread::currentThread()->loopLevel() > showLevel)
            Q_EMIT waiting(shown);
    });
    return QObject::eventFilter(watched, event);
}

bool ModalWaitWatcher::answeredElsewhere(const QWidget *window) const
{
    for (const QString &name : answeredClasses) {
        if (window->inherits(name.toLatin1().constData()))
            return true;
    }
    return false;
}
