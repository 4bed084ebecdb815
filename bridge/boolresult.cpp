// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "boolresult.h"

#include "pythonqt_p.h"

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

// Named plainly, as PythonQt's type is; no subclasses.
PyType_Spec boolResultSpec = {"builtins.BoolResult", sizeof(BoolResultObject), 0,
                              Py_TPFLAGS_DEFAULT, boolResultSlots};

} // namespace

namespace BoolResult {

bool addTo(PyObject *module)
{
    // PythonQt's type has no __module__ of its own, which dir() would list.
    auto type = reinterpret_cast<PyObject *>(HeapType::create(boolResultSpec));
    const bool added = type
        && PyDict_DelItemString(reinterpret_cast<PyTypeObject *>(type)->tp_dict, "__module__") == 0
        && PyModule_AddObjectRef(module, "BoolResult", type) == 0;
    if (added)
        PyType_Modified(reinterpret_cast<PyTypeObject *>(type));
    Py_XDECREF(type);
    return added;
}

} // namespace BoolResult
