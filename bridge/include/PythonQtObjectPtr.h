// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PYTHONQTOBJECTPTR_H
#define PYTHONQTOBJECTPTR_H

#include "PythonQtSystem.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

class QObject;

// Holds one reference to a Python object and gives it back on destruction.
class PYTHONQT_EXPORT PythonQtObjectPtr
{
public:
    PythonQtObjectPtr() = default;
    PythonQtObjectPtr(PyObject *object);
    PythonQtObjectPtr(const PythonQtObjectPtr &other);
    PythonQtObjectPtr(PythonQtObjectPtr &&other) noexcept;
    ~PythonQtObjectPtr();

    PythonQtObjectPtr &operator=(const PythonQtObjectPtr &other);
    PythonQtObjectPtr &operator=(PythonQtObjectPtr &&other) noexcept;
    PythonQtObjectPtr &operator=(PyObject *object);

    bool operator==(const PythonQtObjectPtr &other) const { return ptr == other.ptr; }
    bool operator==(PyObject *object) const { return ptr == object; }
    bool operator!=(const PythonQtObjectPtr &other) const { return ptr != other.ptr; }
    bool operator!=(PyObject *object) const { return ptr != object; }

    // Takes over a new reference without adding one of its own.
    void setNewRef(PyObject *object);
    // Gives up the reference to the caller.
    PyObject *takeObject();

    PyObject *object() const { return ptr; }
    bool isNull() const { return ptr == nullptr; }
    operator PyObject *() const { return ptr; }
    PyObject *operator->() const { return ptr; }

    QVariant evalScript(const QString &script, int start = Py_file_input);
    void evalFile(const QString &filename);
    void addObject(const QString &name, QObject *object);
    void addVariable(const QString &name, const QVariant &value);
    QVariant getVariable(const QString &name);
    QVariant call(const QString &callable, const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());
    QVariant call(const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());

private:
    void replace(PyObject *object);

    PyObject *ptr = nullptr;
};

// A Python object with no Qt counterpart travels inside a QVariant as itself.
Q_DECLARE_METATYPE(PythonQtObjectPtr)

#endif // PYTHONQTOBJECTPTR_H
