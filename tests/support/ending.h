// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ENDING_H
#define ENDING_H

#include <QDialog>
#include <QDialogButtonBox>
#include <QMetaType>
#include <QPushButton>
#include <QtTest>

// The ways a person ends a dialog's run.
enum class Ending { Ok, Cancel, Escape, Close };
Q_DECLARE_METATYPE(Ending)

// The rows of a table over every ending, with whether the run is accepted.
inline void addEndingRows()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("OK") << Ending::Ok << true;
    QTest::newRow("Cancel") << Ending::Cancel << false;
    QTest::newRow("Escape") << Ending::Escape << false;
    QTest::newRow("window closed") << Ending::Close << false;
}

// Clicks OK or Cancel in the dialog's "buttonBox", presses Escape, or closes
// the window.
inline void endDialog(QDialog &dialog, Ending ending)
{
    auto buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    switch (ending) {
    case Ending::Ok:
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        break;
    case Ending::Cancel:
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        break;
    case Ending::Escape:
        QTest::keyClick(&dialog, Qt::Key_Escape);
        break;
    case Ending::Close:
        dialog.close();
        break;
    }
}

#endif // ENDING_H
