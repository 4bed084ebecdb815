// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "csvrows.h"

#include <QFile>

QList<QStringList> readCsv(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<QStringList> rows;
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        QStringList cells(QString{});
        bool quoted = false;
        for (int i = 0; i < line.size(); ++i) {
            const QChar c = line.at(i);
            if (c == QLatin1Char('"') && quoted && i + 1 < line.size()
                && line.at(i + 1) == QLatin1Char('"')) {
                cells.last() += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = !quoted;
            } else if (c == QLatin1Char(',') && !quoted) {
                cells.append(QString());
            } else {
                cells.last() += c;
            }
        }
        rows.append(cells);
    }
    return rows;
}
