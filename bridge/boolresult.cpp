// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "boolresult.h"

namespace {

struct BoolResultObject
{
    PyObject_HEAD
    bool value;
};

bool valueOf(PyObject *object)
{
    return reinterpret_cast<BoolResultObject *>(object)->value;
}

// Keywords are let through, as PythonQt does.
int boolResultInit(PyObject *, PyObject *args, PyObject *)
{
    if (PyTuple_GET_SIZE(args) == 0)
        return 0;
    PyErr_SetString(PyExc_ValueError, "No arguments supported for BoolResult!");
    return -1;
}

PyObject *boolResultRepr(PyObject *object)
{
    return PyUnicode_FromString(valueOf(object) ? "BoolResult(True)" : "BoolResult(False)");
}

int boolResultBool(PyObject *object)
{
    return valueOf(object);
}

PyType_Slot boolResultSlots[] = {
    {Py_tp_doc, const_cast<char *>("Result object that is useful for bool* arguments")},
    {Py_tp_new, reinterpret_cast<void *>(PyType_GenericNew)},
    {Py_tp_init, reinterpret_cast<void *>(boolResultInit)},
    {Py_tp_repr, reinterpret_cast<void *>(boolResultRepr)},
    {Py_nb_bool, reinterpret_cast<void *>(boolResultBool)},
    {0, nullptr},
};

// No module in the name, as PythonQt's type has none; no subclasses.
PyType_Spec boolResultSpec = {"BoolResult", sizeof(BoolResultObject), 0, Py_TPFLAGS_DEFAULT,
                              boolResultSlots};

} // namespace

namespace BoolResult {

bool addTo(PyObject *module)
{
    PyObject *type = PyType_FromSpec(&boolResultSpec);
    const bool added = type && PyModule_AddObjectRef(module, "BoolResult", type) == 0;
    Py_XDECREF(type);
    return added;
}

} // namespace BoolResult
