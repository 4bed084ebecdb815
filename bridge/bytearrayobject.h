// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef BYTEARRAYOBJECT_H
#define BYTEARRAYOBJECT_H

#include "PythonQtSystem.h"

#include <QByteArray>

// PythonQt.QtCore.QByteArray, the Python face of a returned QByteArray, as
// in PythonQt: its constructors, operators and the methods scripts use, with
// PythonQt's conversions and overloads; .data() gives bytes. bytes(), len()
// and hash() are not offered.
namespace ByteArrayObject {

bool ready(); // prepares the type once
PyTypeObject *type();
PyObject *create(const QByteArray &bytes);
bool check(PyObject *object);
const QByteArray &value(PyObject *object);

} // namespace ByteArrayObject

#endif // BYTEARRAYOBJECT_H
