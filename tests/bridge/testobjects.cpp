// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "testobjects.h"

int ConversionTarget::liveCount = 0;
int TestDialog::liveCount = 0;
int TestDialog::deletedWhileRunning = 0;

ConversionTarget::ConversionTarget(QObject *parent)
    : QObject(parent)
{
    ++liveCount;
}

ConversionTarget::~ConversionTarget()
{
    --liveCount;
}

void ConversionTarget::setCount(int count)
{
    value = count;
    Q_EMIT countChanged(count);
}

TestDialog::TestDialog(QWidget *parent)
    : QDialog(parent)
{
    ++liveCount;
}

TestDialog::~TestDialog()
{
    --liveCount;
    if (running)
        ++deletedWhileRunning;
}

bool TestDialog::run()
{
    running = true;
    const bool accepted = exec() == QDialog::Accepted;
    running = false;
    return accepted;
}
