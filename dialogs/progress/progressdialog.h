// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PROGRESSDIALOG_H
#define PROGRESSDIALOG_H

#include <QDialog>
#include <QString>

namespace Ui {
class ProgressDialog;
}

// A one-line progress window with Cancel that a query script shows while it
// works: it sets a message, ticks once per step and polls cancelled().
class ProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget *parent = nullptr);
    ~ProgressDialog() override;

    // Fits the window into its screen's available area the first time it is shown.
    void setVisible(bool visible) override;

public Q_SLOTS:
    // Scripts call these by name and signature, in this meta-object order: leave them as they are.
    void reject() override;
    bool cancelled(); // not const: the published signature
    void setMessage(QString message); // by value, and "message" shows in scripts' error messages
    void tick();

private:
    Ui::ProgressDialog *ui;
    bool wasCancelled = false;
    QString lastMessage;
    bool fittedToScreen = false;
};

#endif // PROGRESSDIALOG_H
