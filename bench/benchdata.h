// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef BENCHDATA_H
#define BENCHDATA_H

#include <QByteArray>
#include <QChar>
#include <QCoreApplication>
#include <QTest>
#include <QVariantMap>

#include <cstdio>

// The data every benchmark works on, each made once: assay documents for the
// display dialog and libraries for the selection dialog.

// Assays named as a query names them ("VM-000042 EGFR IC50 (...)"), all
// selected or none.
const QByteArray &document10k();
const QByteArray &document100k();
const QByteArray &uncheckedDocument10k();
// Assays named as a person might key them in ("Assay 1234 IC50 (uM)").
const QByteArray &numberedDocument(int count);
const QByteArray &uncheckedNumberedDocument100k();
// 10,000 libraries in 20 groups of 500.
const QVariantMap &libraries();
// Makes all of the above, so that no timing includes it.
void makeBenchData();

// Typed into the search over numbered assays, it splits the list into
// thousands of runs.
const QChar splittingKey = QLatin1Char('7');

// Lets the window system, the views' deferred layouts and the repaints run.
inline void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

template<typename Widget> void showAndWait(Widget &widget)
{
    widget.show();
    if (!QTest::qWaitForWindowExposed(&widget))
        std::fprintf(stderr, "warning: window not exposed\n");
    settle();
}

#endif // BENCHDATA_H
