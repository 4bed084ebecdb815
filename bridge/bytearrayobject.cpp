// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "bytearrayobject.h"

#include <new>

namespace {

struct ByteArray
{
    PyObject_HEAD QByteArray bytes;
};

// As PythonQt does, the class scripts meet is a heap class named plainly over
// a static base that holds the bytes and the behaviour: messages then call it
// 'QByteArray', and it belongs to PythonQt.QtCore. Both live as long as the
// process.
PyTypeObject storageType = {};
PyTypeObject *byteArrayType = nullptr;

ByteArray *self(PyObject *object)
{
    return reinterpret_cast<ByteArray *>(object);
}

PyObject *toBytes(PyObject *object, PyObject *)
{
    const QByteArray &bytes = self(object)->bytes;
    return PyBytes_FromStringAndSize(bytes.constData(), bytes.size());
}

PyObject *size(PyObject *object, PyObject *)
{
    return PyLong_FromLong(self(object)->bytes.size());
}

PyObject *isEmpty(PyObject *object, PyObject *)
{
    return PyBool_FromLong(self(object)->bytes.isEmpty());
}

PyMethodDef methods[] = {
    {"data", toBytes, METH_NOARGS, "The bytes held."},
    {"size", size, METH_NOARGS, "The number of bytes held."},
    {"isEmpty", isEmpty, METH_NOARGS, "Whether no bytes are held."},
    {nullptr, nullptr, 0, nullptr},
};

// The heap class's own deallocation drops its reference to the class.
void dealloc(PyObject *object)
{
    self(object)->bytes.~QByteArray();
    Py_TYPE(object)->tp_free(object);
}

PyObject *newByteArray(PyTypeObject *type, PyObject *args, PyObject *kwds)
{
    static const char *keywords[] = {"data", nullptr};
    PyObject *source = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwds, "|O", const_cast<char **>(keywords), &source))
        return nullptr;
    QByteArray bytes;
    if (source) {
        if (PyUnicode_Check(source)) {
            Py_ssize_t length = 0;
            const char *utf8 = PyUnicode_AsUTF8AndSize(source, &length);
            if (!utf8)
                return nullptr;
            bytes = QByteArray(utf8, int(length));
        } else if (ByteArrayObject::check(source)) {
            bytes = ByteArrayObject::value(source);
        } else {
            Py_buffer view;
            if (PyObject_GetBuffer(source, &view, PyBUF_SIMPLE) < 0)
                return nullptr;
            bytes = QByteArray(static_cast<const char *>(view.buf), int(view.len));
            PyBuffer_Release(&view);
        }
    }
    PyObject *object = type->tp_alloc(type, 0);
    if (object)
        new (&self(object)->bytes) QByteArray(bytes);
    return object;
}

// As in PythonQt: str() shows the bytes' repr and decodes nothing; bytes()
// and len() are not offered, data() is the way to the bytes.
PyObject *str(PyObject *object)
{
    PyObject *bytes = toBytes(object, nullptr);
    if (!bytes)
        return nullptr;
    PyObject *result = PyObject_Repr(bytes);
    Py_DECREF(bytes);
    return result;
}

PyObject *repr(PyObject *object)
{
    const QByteArray &bytes = self(object)->bytes;
    PyObject *text = PyUnicode_DecodeUTF8(bytes.constData(), bytes.size(), "replace");
    if (!text)
        return nullptr;
    PyObject *result = PyUnicode_FromFormat("QByteArray (%U, at: %p)", text,
                                            static_cast<const void *>(bytes.constData()));
    Py_DECREF(text);
    return result;
}

bool bytesOf(PyObject *object, QByteArray &result)
{
    if (ByteArrayObject::check(object)) {
        result = ByteArrayObject::value(object);
        return true;
    }
    if (PyBytes_Check(object)) {
        result = QByteArray::fromRawData(PyBytes_AS_STRING(object), int(PyBytes_GET_SIZE(object)));
        return true;
    }
    if (PyByteArray_Check(object)) {
        result = QByteArray(PyByteArray_AS_STRING(object), int(PyByteArray_GET_SIZE(object)));
        return true;
    }
    return false;
}

PyObject *compare(PyObject *a, PyObject *b, int op)
{
    QByteArray left;
    QByteArray right;
    if ((op != Py_EQ && op != Py_NE) || !bytesOf(a, left) || !bytesOf(b, right))
        Py_RETURN_NOTIMPLEMENTED;
    return PyBool_FromLong((left == right) == (op == Py_EQ));
}

} // namespace

namespace ByteArrayObject {

bool ready()
{
    if (byteArrayType)
        return true;
    // Static types live forever: they start with the reference the interpreter never drops.
    Py_SET_REFCNT(reinterpret_cast<PyObject *>(&storageType), 1);
    storageType.tp_name = "PythonQt.ByteArrayStorage";
    storageType.tp_basicsize = sizeof(ByteArray);
    storageType.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE;
    storageType.tp_new = newByteArray;
    storageType.tp_dealloc = dealloc;
    storageType.tp_str = str;
    storageType.tp_repr = repr;
    storageType.tp_richcompare = compare;
    // Equal byte arrays compare equal, so a hash by address (PythonQt's)
    // would put equal values apart in sets and dicts: not hashable instead.
    storageType.tp_hash = PyObject_HashNotImplemented;
    storageType.tp_methods = methods;
    if (PyType_Ready(&storageType) != 0)
        return false;
    PyObject *type = PyObject_CallFunction(
        reinterpret_cast<PyObject *>(&PyType_Type), "s(O){sssss()}", "QByteArray", &storageType,
        "__module__", "PythonQt.QtCore", "__doc__",
        "Bytes returned from Qt; data() gives them as bytes.", "__slots__");
    byteArrayType = reinterpret_cast<PyTypeObject *>(type);
    return type != nullptr;
}

PyTypeObject *type()
{
    return byteArrayType;
}

PyObject *create(const QByteArray &bytes)
{
    PyObject *object = byteArrayType->tp_alloc(byteArrayType, 0);
    if (object)
        new (&self(object)->bytes) QByteArray(bytes);
    return object;
}

bool check(PyObject *object)
{
    return PyObject_TypeCheck(object, byteArrayType);
}

const QByteArray &value(PyObject *object)
{
    return self(object)->bytes;
}

} // namespace ByteArrayObject
