// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef VALUECLASSES_H
#define VALUECLASSES_H

#include "PythonQtSystem.h"

#include <QVariant>

// The Python face of the Qt value types that properties hold (QSize, QRect,
// QFont, ...), as PythonQt.QtCore and PythonQt.QtGui have them: each object
// holds its value in a QVariant, and each class is a table of constructors
// and methods. A type without a class here stays what it was.
namespace ValueClasses {

bool ready(); // prepares the types once
// Puts each class into its module, PythonQt.QtCore or PythonQt.QtGui.
bool addTo(PyObject *qtCore, PyObject *qtGui);
bool offers(int typeId);
bool check(PyObject *object, int typeId = QMetaType::UnknownType);
const QVariant &value(PyObject *object);
// New reference; null with a Python error, or null without one where no
// class holds values of that type.
PyObject *create(const QVariant &value);

} // namespace ValueClasses

#endif // VALUECLASSES_H
