// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef BOOLRESULT_H
#define BOOLRESULT_H

#include "PythonQtSystem.h"

// PythonQt.BoolResult: what PythonQt hands a slot's bool* parameter, made
// without arguments, false until such a slot sets it. No slot the bridge
// offers takes one, so here it only ever reads false.
namespace BoolResult {
bool addTo(PyObject *module);
} // namespace BoolResult

#endif // BOOLRESULT_H
