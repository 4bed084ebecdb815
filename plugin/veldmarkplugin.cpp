// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "veldmarkplugin.h"
#include "veldmarkdecorators.h"

#include "progressdialog.h"
#include "veldmarkdisplay.h"
#include "veldmarkselection.h"

#include <PythonQt.h>

VeldmarkPlugin::VeldmarkPlugin()
    : QObject(nullptr)
{ }

// The bridge takes the decorator object over; scripts construct the
// dialogs through its new_ slots.
void VeldmarkPlugin::registerClasses()
{
    PythonQt::self()->registerClass(&VeldmarkDisplay::staticMetaObject, "Kestrane", nullptr,
                                    nullptr);
    PythonQt::self()->registerClass(&VeldmarkSelection::staticMetaObject, "Kestrane", nullptr,
                                    nullptr);
    PythonQt::self()->registerClass(&ProgressDialog::staticMetaObject, "Kestrane", nullptr,
                                    nullptr);
    PythonQt::self()->addDecorators(new VeldmarkDecorators);
}
