// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PLACEMENTS_H
#define PLACEMENTS_H

#include <QPoint>
#include <QtTest>

// The rows of a table over where a script leaves a dialog before its first
// show: where Qt puts it, or off the screen on either side.
inline void addPlacementRows()
{
    QTest::addColumn<bool>("placed");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("placed by Qt") << false << QPoint();
    QTest::newRow("placed below and right of the screen") << true << QPoint(5000, 4000);
    QTest::newRow("placed above and left of the screen") << true << QPoint(-3000, -2000);
}

#endif // PLACEMENTS_H
