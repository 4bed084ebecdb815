// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef DIALOGGUARD_H
#define DIALOGGUARD_H

#include <QDialog>
#include <QPointer>

// A dialog that a deferred call acts on later. While a dialog is being
// destroyed it is no QDialog any more, and events still run then (a
// destroyed() callback may tick another dialog), so it is held as a QObject
// and handed out only while it still is a dialog.
class DialogGuard
{
public:
    explicit DialogGuard(QDialog *dialog)
        : object(dialog)
    { }

    // Null once the dialog is gone or going.
    QDialog *dialog() const { return qobject_cast<QDialog *>(object.data()); }
    bool guards(const QObject *watched) const { return watched == object; }

private:
    QPointer<QObject> object;
};

#endif // DIALOGGUARD_H
