// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "screenfit.h"

#include <QApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// A dialog opens over its parent's window.
QScreen *screenFor(const QWidget *window)
{
    if (const QWidget *parent = window->parentWidget())
        return parent->window()->screen();
    return window->screen();
}

QMargins marginsBetween(const QRect &outer, const QRect &inner)
{
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

// Before its first show a window knows its frame only if the platform can say
// beforehand; otherwise the frame of a window already on the screen stands in
// for it, the one it opens over first.
QMargins expectedFrame(const QWidget *window)
{
    if (const QWindow *handle = window->windowHandle()) {
        const QMargins own = handle->frameMargins();
        if (!own.isNull())
            return own;
    }

    QWidgetList shown = QApplication::topLevelWidgets();
    if (const QWidget *parent = window->parentWidget())
        shown.prepend(parent->window());
    for (const QWidget *other : qAsConst(shown)) {
        if (other != window && other->isVisible() && other->frameGeometry() != other->geometry())
            return marginsBetween(other->frameGeometry(), other->geometry());
    }
    return {};
}

// Where a span starting at start ends up inside the area: as far in as it
// must, and at the area's start when it is longer than the area.
int onto(int start, int length, int areaStart, int areaLength)
{
    return qMax(areaStart, qMin(start, areaStart + areaLength - length));
}

} // namespace

void fitIntoScreen(QWidget *window)
{
    const QScreen *screen = screenFor(window);
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins frame = expectedFrame(window);

    window->ensurePolished();
    const QSize room = available.size().shrunkBy(frame);
    window->resize(window->size().boundedTo(room).expandedTo(window->minimumSizeHint()));

    if (!window->testAttribute(Qt::WA_Moved))
        return;
    // pos() is where the frame starts.
    const QSize outer = window->size().grownBy(frame);
    const QPoint placed = window->pos();
    const QPoint kept(onto(placed.x(), outer.width(), available.x(), available.width()),
                      onto(placed.y(), outer.height(), available.y(), available.height()));
    if (kept != placed)
        window->move(kept);
}
