// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "PythonQtObjectPtr.h"

#include "PythonQt.h"

PythonQtObjectPtr::PythonQtObjectPtr(PyObject *object)
    : ptr(object)
{
    Py_XINCREF(ptr);
}

PythonQtObjectPtr::PythonQtObjectPtr(const PythonQtObjectPtr &other)
    : ptr(other.ptr)
{
    Py_XINCREF(ptr);
}

PythonQtObjectPtr::PythonQtObjectPtr(PythonQtObjectPtr &&other) noexcept
    : ptr(other.ptr)
{
    other.ptr = nullptr;
}

PythonQtObjectPtr::~PythonQtObjectPtr()
{
    replace(nullptr);
}

PythonQtObjectPtr &PythonQtObjectPtr::operator=(const PythonQtObjectPtr &other)
{
    Py_XINCREF(other.ptr);
    replace(other.ptr);
    return *this;
}

PythonQtObjectPtr &PythonQtObjectPtr::operator=(PythonQtObjectPtr &&other) noexcept
{
    if (this != &other) {
        replace(other.ptr);
        other.ptr = nullptr;
    }
    return *this;
}

PythonQtObjectPtr &PythonQtObjectPtr::operator=(PyObject *object)
{
    Py_XINCREF(object);
    replace(object);
    return *this;
}

void PythonQtObjectPtr::setNewRef(PyObject *object)
{
    replace(object);
}

PyObject *PythonQtObjectPtr::takeObject()
{
    PyObject *object = ptr;
    ptr = nullptr;
    return object;
}

// Takes over a reference already counted for this holder.
void PythonQtObjectPtr::replace(PyObject *object)
{
    PyObject *old = ptr;
    ptr = object;
    // The interpreter may be gone when a static holder is destroyed at exit.
    if (old && Py_IsInitialized())
        Py_DECREF(old);
}

QVariant PythonQtObjectPtr::evalScript(const QString &script, int start)
{
    return PythonQt::self()->evalScript(ptr, script, start);
}

void PythonQtObjectPtr::evalFile(const QString &filename)
{
    PythonQt::self()->evalFile(ptr, filename);
}

void PythonQtObjectPtr::addObject(const QString &name, QObject *object)
{
    PythonQt::self()->addObject(ptr, name, object);
}

void PythonQtObjectPtr::addVariable(const QString &name, const QVariant &value)
{
    PythonQt::self()->addVariable(ptr, name, value);
}

QVariant PythonQtObjectPtr::getVariable(const QString &name)
{
    return PythonQt::self()->getVariable(ptr, name);
}

QVariant PythonQtObjectPtr::call(const QString &callable, const QVariantList &args,
                                 const QVariantMap &kwargs)
{
    return PythonQt::self()->call(ptr, callable, args, kwargs);
}

QVariant PythonQtObjectPtr::call(const QVariantList &args, const QVariantMap &kwargs)
{
    return PythonQt::self()->call(ptr, args, kwargs);
}
