// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "bytearrayobject.h"

#include <new>

namespace {

struct ByteArray
{
    PyObject_HEAD QByteArray bytes;
};

// A heap type named plainly, so that messages call it 'QByteArray' as PythonQt's do;
// created once and kept for the life of the process.
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

void dealloc(PyObject *object)
{
    PyTypeObject *type = Py_TYPE(object);
    self(object)->bytes.~QByteArray();
    type->tp_free(object);
    Py_DECREF(type);
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

// By identity, as PythonQt's wrapped value objects hash.
Py_hash_t hash(PyObject *object)
{
    return _Py_HashPointer(object);
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
    PyType_Slot slots[] = {
        {Py_tp_doc, const_cast<char *>("Bytes returned from Qt; data() gives them as bytes.")},
        {Py_tp_new, reinterpret_cast<void *>(newByteArray)},
        {Py_tp_dealloc, reinterpret_cast<void *>(dealloc)},
        {Py_tp_str, reinterpret_cast<void *>(str)},
        {Py_tp_repr, reinterpret_cast<void *>(repr)},
        {Py_tp_richcompare, reinterpret_cast<void *>(compare)},
        {Py_tp_hash, reinterpret_cast<void *>(hash)},
        {Py_tp_methods, methods},
        {0, nullptr},
    };
    PyType_Spec spec = {"QByteArray", sizeof(ByteArray), 0, Py_TPFLAGS_DEFAULT, slots};
    PyObject *type = PyType_FromSpec(&spec);
    PyObject *module = PyUnicode_FromString("PythonQt.QtCore");
    const bool named = type && module && PyObject_SetAttrString(type, "__module__", module) == 0;
    Py_XDECREF(module);
    if (!named)
        return false;
    byteArrayType = reinterpret_cast<PyTypeObject *>(type);
    return true;
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
