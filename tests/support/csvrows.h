// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef CSVROWS_H
#define CSVROWS_H

#include <QList>
#include <QStringList>

// The rows of a CSV file as the example query writes it: quotes only around
// cells that hold a comma or a quote. Empty if the file cannot be read.
QList<QStringList> readCsv(const QString &path);

#endif // CSVROWS_H
