// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "veldmarkdecorators.h"

#include "progressdialog.h"
#include "veldmarkdisplay.h"
#include "veldmarkselection.h"

VeldmarkDecorators::VeldmarkDecorators()
    : QObject(nullptr)
{ }

VeldmarkDisplay *VeldmarkDecorators::new_VeldmarkDisplay(QWidget *parent)
{
    return new VeldmarkDisplay(parent);
}

VeldmarkSelection *VeldmarkDecorators::new_VeldmarkSelection(QWidget *parent)
{
    return new VeldmarkSelection(parent);
}

ProgressDialog *VeldmarkDecorators::new_ProgressDialog(QWidget *parent)
{
    return new ProgressDialog(parent);
}
