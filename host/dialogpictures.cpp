// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "dialogpictures.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

void DialogPictures::take(QWidget *dialog)
{
    if (folder.isEmpty())
        return;
    const QString name = QString::fromLatin1(dialog->metaObject()->className());
    QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    for (int n = 2; paths.contains(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1-%2.png").arg(name).arg(n));
    QDir().mkpath(folder);
    if (dialog->grab().save(path, "PNG"))
        paths.append(path);
    else
        qWarning("Could not save the picture %s", qPrintable(QDir::toNativeSeparators(path)));
}
