#ifndef BYTEARRAYOBJECT_H
#define BYTEARRAYOBJECT_H

#include "PythonQtSystem.h"

#include <QByteArray>

// The Python face of a returned QByteArray: .data() gives bytes, and it
// answers bytes(), str(), len() and == like the bytes it holds.
namespace ByteArrayObject {

bool ready();  // prepares the type once
PyTypeObject *type();
PyObject *create(const QByteArray &bytes);
bool check(PyObject *object);
const QByteArray &value(PyObject *object);

} // namespace ByteArrayObject

#endif // BYTEARRAYOBJECT_H
