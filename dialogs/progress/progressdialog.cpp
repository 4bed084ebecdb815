// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "progressdialog.h"
#include "ui_progressdialog.h"

#include "screenfit.h"

#include <QCoreApplication>
#include <QPushButton>

namespace {
// Beyond this many characters the dots start again from the bare message.
constexpr int maxTickedLength = 40;
} // namespace

ProgressDialog::ProgressDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ProgressDialog)
{
    ui->setupUi(this);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setVisible(false);
}

ProgressDialog::~ProgressDialog()
{
    delete ui;
}

void ProgressDialog::setVisible(bool visible)
{
    if (visible && !fittedToScreen) {
        create();
        fitIntoScreen(this);
        fittedToScreen = true;
    }
    QDialog::setVisible(visible);
}

// Every way of rejecting (Cancel, Escape, closing the window, a script's
// call) ends up here, so this is the one place that marks the query cancelled.
void ProgressDialog::reject()
{
    QDialog::reject();
    wasCancelled = true;
}

bool ProgressDialog::cancelled()
{
    return wasCancelled;
}

void ProgressDialog::setMessage(QString message)
{
    ui->label->setText(message);
    lastMessage = message;
}

// The label text is the whole animation state; processing events lets the
// window repaint and a Cancel click reach reject() while the script loops.
void ProgressDialog::tick()
{
    QString text = ui->label->text() + QLatin1Char('.');
    if (text.size() > maxTickedLength)
        text = lastMessage;
    ui->label->setText(text);
    QCoreApplication::processEvents();
}
