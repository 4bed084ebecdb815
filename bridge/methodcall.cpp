// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// Overload resolution: which meta-method a Python call reaches, its
// arguments converted, and the errors PythonQt gives when none fits.
#include "argstorage.h"
#include "bytearrayobject.h"
#include "conversions.h"
#include "metaobjectwrapper.h"
#include "pythonqt_p.h"
#include "valueclasses.h"

#include <QVarLengthArray>

#include <exception>
#include <memory>

namespace {

QByteArray argumentsRepr(PyObject *const *args, Py_ssize_t nargs)
{
    PyObject *tuple = PyTuple_New(nargs);
    if (!tuple) {
        PyErr_Clear();
        return QByteArray();
    }
    for (Py_ssize_t i = 0; i < nargs; ++i) {
        Py_INCREF(args[i]);
        PyTuple_SET_ITEM(tuple, i, args[i]);
    }
    const QByteArray text = MethodCall::shortRepr(tuple);
    Py_DECREF(tuple);
    return text;
}

PyObject *overloadError(const QVector<Overload> &overloads, PyObject *const *args, Py_ssize_t nargs,
                        bool countMatched)
{
    QByteArrayList signatures;
    for (const Overload &overload : overloads)
        signatures.append(overload.signature);
    return MethodCall::wrongArguments(signatures, args, nargs, countMatched);
}

// Storage for one call's converted arguments, sized to the method.
struct Arguments
{
    explicit Arguments(int count)
        : storage(new ArgStorage[size_t(count)])
        , argv(count + 2)
    { }

    std::unique_ptr<ArgStorage[]> storage;
    QVarLengthArray<void *, 12> argv;
};

// PythonQt's lenient str() and truth of an argument are for plain Python
// values: a wrapped object (a dialog, a widget, a QByteArray) is no text
// and no bool to a slot, though a property takes it so.
bool wrappedWhereTextOrBoolGoes(PyObject *value, const ArgType &type)
{
    return (type.kind == ArgType::String || type.kind == ArgType::Bool)
        && (InstanceWrapper::check(value) || ByteArrayObject::check(value)
            || ValueClasses::check(value) || MetaObjectWrapper::check(value));
}

bool convertArguments(const Overload &overload, PyObject *const *args, Py_ssize_t nargs,
                      Arguments &arguments, int firstArg, bool strict)
{
    for (Py_ssize_t i = 0; i < nargs; ++i) {
        ArgStorage &slot = arguments.storage[size_t(i)];
        const ArgType &type = overload.params.at(int(i));
        if (wrappedWhereTextOrBoolGoes(args[i], type)
            || !Conversions::toArg(args[i], type, slot, strict))
            return false;
        arguments.argv[firstArg + int(i)] = slot.prepare(type);
    }
    return true;
}

PyObject *invoke(const Overload &overload, QObject *self, void **argv, ArgStorage &result,
                 QObject **constructed)
{
    QObject *target = overload.decorator ? overload.decorator : self;
    try {
        if (overload.owner->d.static_metacall)
            overload.owner->d.static_metacall(target, QMetaObject::InvokeMetaMethod,
                                              overload.localIndex, argv);
        else
            QMetaObject::metacall(target, QMetaObject::InvokeMetaMethod, overload.index, argv);
    } catch (const std::exception &e) {
        PyErr_Format(PyExc_RuntimeError, "C++ exception: %s", e.what());
        return nullptr;
    } catch (...) {
        PyErr_SetString(PyExc_RuntimeError, "C++ exception");
        return nullptr;
    }
    if (constructed) {
        *constructed = overload.result.kind == ArgType::Object ? result.value.object : nullptr;
        Py_RETURN_NONE;
    }
    return Conversions::fromArg(overload.result, argv[0]);
}

bool isDestroyedSignal(const Overload &overload)
{
    return overload.isSignal && overload.owner == &QObject::staticMetaObject
        && overload.name == "destroyed";
}

// PythonQt shows object pointers by their class name alone.
QByteArray shownType(const QByteArray &typeName)
{
    return typeName.endsWith('*') ? typeName.left(typeName.size() - 1) : typeName;
}

} // namespace

namespace MethodCall {

QByteArray shortRepr(PyObject *value)
{
    PyObject *repr = PyObject_Repr(value);
    if (!repr) {
        // Nested too deeply to show, or a __repr__ that raises: its type still says something.
        PyErr_Clear();
        return QByteArray("<") + _PyType_Name(Py_TYPE(value)) + " object>";
    }
    // A 10 MB document passed the wrong way must not make a 10 MB message.
    constexpr int MaxReprLength = 300;
    const QString full = Conversions::stringFromUnicode(repr);
    Py_DECREF(repr);
    return (full.size() > MaxReprLength ? full.left(MaxReprLength) + QStringLiteral("...") : full)
        .toUtf8();
}

PyObject *wrongArguments(const QByteArrayList &signatures, PyObject *const *args, Py_ssize_t nargs,
                         bool countMatched)
{
    return wrongArguments(signatures, argumentsRepr(args, nargs), countMatched);
}

PyObject *wrongArguments(const QByteArrayList &signatures, const QByteArray &given,
                         bool countMatched)
{
    QByteArray message;
    if (signatures.size() == 1) {
        message = "Called " + signatures.first()
            + (countMatched ? " with wrong arguments: " : " with wrong number of arguments: ")
            + given;
    } else {
        message = "Could not find matching overload for given arguments:\n" + given
            + "\n The following slots are available:\n";
        for (const QByteArray &signature : signatures)
            message += signature + '\n';
    }
    PyErr_SetString(PyExc_ValueError, message.constData());
    return nullptr;
}

PyObject *rejectKeywords(const Overload &overload)
{
    return rejectKeywords(overload.signature);
}

PyObject *rejectKeywords(const QByteArray &signature)
{
    PyErr_Format(PyExc_ValueError,
                 "Called %s with keyword arguments, but called slot does not support kwargs.",
                 signature.constData());
    return nullptr;
}

PyObject *call(const QVector<Overload> &overloads, const PythonQtInstanceWrapper *self,
               PyObject *const *args, Py_ssize_t nargs, PyObject *kwnames, QObject **constructed)
{
    if (kwnames && PyTuple_GET_SIZE(kwnames) > 0)
        return rejectKeywords(overloads.first());
    bool countMatched = false;
    for (const bool strict : {true, false}) {
        for (const Overload &overload : overloads) {
            if (overload.params.size() != nargs)
                continue;
            countMatched = true;
            Arguments arguments(overload.params.size());
            const int firstArg = overload.hiddenSelf ? 2 : 1;
            if (!convertArguments(overload, args, nargs, arguments, firstArg, strict)) {
                if (PyErr_Occurred())
                    return nullptr;
                continue;
            }
            // Converting may have run Python code that deleted the object.
            QObject *target = self ? PythonQtPrivate::liveObject(self) : nullptr;
            if (self && !target)
                return InstanceWrapper::destroyedError("call", overload.name, self);
            ArgStorage result;
            arguments.argv[0] = result.prepare(overload.result);
            if (overload.hiddenSelf)
                arguments.argv[1] = &target;
            const BusyScope busy(target, BusyScope::Call);
            PyObject *returned =
                invoke(overload, target, arguments.argv.data(), result, constructed);
            if (returned && isDestroyedSignal(overload))
                PythonQtPrivate::instance()->destroyedEmittedByScript(target);
            return returned;
        }
    }
    return overloadError(overloads, args, nargs, countMatched);
}

Overload makeOverload(const QMetaMethod &method, const QMetaObject *owner, QObject *decorator,
                      bool hiddenSelf, const QByteArray &shownName)
{
    Overload overload;
    overload.name = shownName;
    overload.decorator = decorator;
    overload.hiddenSelf = hiddenSelf;
    overload.owner = owner;
    overload.index = method.methodIndex();
    overload.localIndex = method.methodIndex() - owner->methodOffset();
    overload.isSignal = method.methodType() == QMetaMethod::Signal;
    overload.result = ArgType::fromTypeName(method.typeName(), method.returnType(), owner);
    const QList<QByteArray> types = method.parameterTypes();
    const QList<QByteArray> names = method.parameterNames();
    QByteArray signature = shownName + '(';
    for (int i = hiddenSelf ? 1 : 0; i < types.size(); ++i) {
        overload.params.append(ArgType::fromTypeName(types.at(i), method.parameterType(i), owner));
        if (!signature.endsWith('('))
            signature += ", ";
        signature += shownType(types.at(i));
        if (!names.at(i).isEmpty())
            signature += ' ' + names.at(i);
    }
    signature += ") -> " + shownType(method.typeName());
    overload.signature = signature;
    return overload;
}

} // namespace MethodCall
