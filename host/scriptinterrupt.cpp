// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include <Python.h>

#include "scriptinterrupt.h"

namespace {

bool interruptWanted = false;

int raiseInterrupt(void *)
{
    if (!interruptWanted)
        return 0;
    interruptWanted = false;
    PyErr_SetString(PyExc_KeyboardInterrupt, "the host stopped the script");
    return -1;
}

} // namespace

void interruptScript()
{
    if (interruptWanted || !Py_IsInitialized())
        return;
    interruptWanted = true;
    Py_AddPendingCall(raiseInterrupt, nullptr);
}

void withdrawScriptInterrupt()
{
    interruptWanted = false;
}
