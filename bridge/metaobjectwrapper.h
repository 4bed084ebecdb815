// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef METAOBJECTWRAPPER_H
#define METAOBJECTWRAPPER_H

#include "PythonQtSystem.h"

struct QMetaObject;

// PythonQt.QtCore.QMetaObject: what `d.metaObject()` gives, as PythonQt has
// it. Its counts, offsets, indexOf...() and superClass() answer from the
// class's meta-object; method(i), property(i) and the other methods whose
// Qt result PythonQt cannot convert raise its ValueError. One object per
// meta-object, until a script's delete() lets it go. The meta-objects are
// the classes' static ones, so the object outlives the dialog it came from.
namespace MetaObjectWrapper {

bool ready(); // prepares the type once
bool addTo(PyObject *qtCore);
// New reference; None for a null meta-object.
PyObject *wrap(const QMetaObject *metaObject);
// A wrapped object, as PythonQt sees it: no text, no truth value, no
// QObject for a slot.
bool check(PyObject *object);

} // namespace MetaObjectWrapper

#endif // METAOBJECTWRAPPER_H
