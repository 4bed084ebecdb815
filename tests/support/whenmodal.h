// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef WHENMODAL_H
#define WHENMODAL_H

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Acts on a dialog once it is the active modal widget, as a person does once
// it has opened; rejects it should that never happen, so no test hangs.
class WhenModal
{
public:
    WhenModal(QDialog &dialog, std::function<void()> action)
    {
        QObject::connect(&poll, &QTimer::timeout, &dialog, [this, &dialog, action] {
            if (QApplication::activeModalWidget() != &dialog)
                return;
            poll.stop();
            reached = true;
            action();
        });
        poll.start(10);
        safetyNet.setSingleShot(true);
        QObject::connect(&safetyNet, &QTimer::timeout, &dialog, [this, &dialog] {
            timedOut = true;
            dialog.reject();
        });
        safetyNet.start(10000);
    }

    // The action ran, and the safety net did not have to end the dialog.
    bool acted() const { return reached && !timedOut; }
    // The dialog never became modal, or the action left it open: the safety
    // net ended it.
    bool safetyNetFired() const { return timedOut; }

private:
    QTimer poll;
    QTimer safetyNet;
    bool reached = false;
    bool timedOut = false;
};

#endif // WHENMODAL_H
