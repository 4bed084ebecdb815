// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "sequencereading.h"

#include "bytearrayobject.h"
#include "pythonqt_p.h"
#include "valueclasses.h"

namespace {

bool isReadByIndex(PyObject *value)
{
    return PySequence_Check(value) && !PyList_Check(value) && !PyTuple_Check(value)
        && !PyUnicode_Check(value) && !PyBytes_Check(value) && !PyByteArray_Check(value)
        && !PyDict_Check(value) && !ByteArrayObject::check(value) && !ValueClasses::check(value)
        && !InstanceWrapper::check(value);
}

// A snapshot of what the value holds, as a tuple, so that Python code run
// while reading it cannot pull items away; null for anything else.
PyObject *heldItems(PyObject *value)
{
    if (PyList_Check(value) || PyTuple_Check(value))
        return PySequence_Tuple(value);
    if (PyDict_Check(value)) {
        PyObject *values = PyDict_Values(value);
        PyObject *items = values ? PySequence_Tuple(values) : nullptr;
        Py_XDECREF(values);
        return items;
    }
    return nullptr;
}

// Reads the sequence by index and each item read within it; true with the
// error pending on the first that fails.
bool readFails(PyObject *value);

bool itemsFail(PyObject *items)
{
    for (Py_ssize_t i = 0; i < PyTuple_GET_SIZE(items); ++i) {
        if (readFails(PyTuple_GET_ITEM(items, i)))
            return true;
    }
    return false;
}

bool readFails(PyObject *value)
{
    // The value converted already, so it nests no deeper than the limit;
    // should it still meet the limit here, nothing is claimed.
    if (Py_EnterRecursiveCall(" while reading a sequence")) {
        PyErr_Clear();
        return false;
    }
    bool failed = false;
    if (isReadByIndex(value)) {
        const Py_ssize_t size = PySequence_Size(value);
        failed = size < 0;
        for (Py_ssize_t i = 0; !failed && i < size; ++i) {
            PyObject *item = PySequence_GetItem(value, i);
            failed = !item || readFails(item);
            Py_XDECREF(item);
        }
    } else if (PyObject *items = heldItems(value)) {
        failed = itemsFail(items);
        Py_DECREF(items);
    } else if (PyErr_Occurred()) {
        PyErr_Clear();
    }
    Py_LeaveRecursiveCall();
    return failed;
}

} // namespace

namespace SequenceReading {

bool failsByIndex(PyObject *value)
{
    if (!isReadByIndex(value))
        return false;
    const Py_ssize_t size = PySequence_Size(value);
    if (size < 0)
        return true;
    for (Py_ssize_t i = 0; i < size; ++i) {
        PyObject *item = PySequence_GetItem(value, i);
        if (!item)
            return true;
        Py_DECREF(item);
    }
    return false;
}

bool holdsFailingSequence(PyObject *value)
{
    return readFails(value);
}

} // namespace SequenceReading
