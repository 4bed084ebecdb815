// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef DIALOGPICTURES_H
#define DIALOGPICTURES_H

#include <QString>
#include <QStringList>

class QWidget;

// Pictures of dialogs as the simulated user saw them, saved as PNG files
// named after the dialog's class: VeldmarkDisplay.png, VeldmarkDisplay-2.png.
// Without a folder nothing is saved.
class DialogPictures
{
public:
    explicit DialogPictures(const QString &folder = QString())
        : folder(folder)
    { }

    void take(QWidget *dialog);
    // The pictures saved so far, in the order they were taken.
    QStringList saved() const { return paths; }

private:
    QString folder;
    QStringList paths;
};

#endif // DIALOGPICTURES_H
