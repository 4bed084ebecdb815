// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "veldmarkplugin.h"
#include "veldmarkdecorators.h"

#include "progressdialog.h"
#include "veldmarkdisplay.h"
#include "veldmarkselection.h"

#include <PythonQt.h>

#include <QtGlobal>

VeldmarkPlugin::VeldmarkPlugin()
    : QObject(nullptr)
{ }

// The bridge takes the decorator object over; scripts construct the
// dialogs through its new_ slots. A host that calls this before it has
// initialised its bridge is told so, rather than crashing.
void VeldmarkPlugin::registerClasses()
{
    if (!PythonQt::self()) {
        qWarning("VeldmarkPlugin::registerClasses() was called before the Python bridge exists "
                 "(PythonQt::init()): the dialog classes are not registered");
        return;
    }
    PythonQt::self()->registerClass(&VeldmarkDisplay::staticMetaObject, "Kestrane", nullptr,
                                    nullptr);
    PythonQt::self()->registerClass(&VeldmarkSelection::staticMetaObject, "Kestrane", nullptr,
                                    nullptr);
    PythonQt::self()->registerClass(&ProgressDialog::staticMetaObject, "Kestrane", nullptr,
                                    nullptr);
    PythonQt::self()->addDecorators(new VeldmarkDecorators);
}
