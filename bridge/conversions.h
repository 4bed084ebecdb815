// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef CONVERSIONS_H
#define CONVERSIONS_H

#include "PythonQtSystem.h"
#include "argstorage.h"

#include <QString>
#include <QVariant>

namespace Conversions {

// Converts a Python value for a Qt parameter. Strict accepts only the
// natural Python type; lenient also what can be converted without doubt.
// Leaves a Python error set only where PythonQt lets the script see it
// (str() or items() of the argument raising); the call then ends with it.
bool toArg(PyObject *value, const ArgType &type, ArgStorage &storage, bool strict);
// New reference to the Python value of a Qt value of the given type.
PyObject *fromArg(const ArgType &type, const void *data);

bool toVariant(PyObject *value, QVariant &result);
PyObject *fromVariant(const QVariant &value);

bool toString(PyObject *value, QString &result, bool strict);
PyObject *fromString(const QString &value);
QString stringFromUnicode(PyObject *unicode);
// None, or a plain int 0 as PythonQt takes it: a null object pointer.
bool isNullObject(PyObject *value);

} // namespace Conversions

#endif // CONVERSIONS_H
