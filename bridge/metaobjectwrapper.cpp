// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "metaobjectwrapper.h"

#include "bytearrayobject.h"
#include "conversions.h"
#include "pythonqt_p.h"
#include "valueclasses.h"

#include <QHash>
#include <QMetaObject>

#include <structmember.h>

namespace {

struct MetaObject
{
    PyObject_HEAD
    const QMetaObject *metaObject;
    PyObject *dict;
    PyObject *weakrefs;
};

PyTypeObject *metaObjectType = nullptr;
// The object each meta-object is given as, so that every call hands out the
// same one. Kept for the process, as the type is: never destroyed, so that
// what it holds stays reachable at exit.
QHash<const QMetaObject *, PyObject *> &wrappers()
{
    static auto *known = new QHash<const QMetaObject *, PyObject *>;
    return *known;
}

const QMetaObject *metaObjectOf(PyObject *self)
{
    return reinterpret_cast<MetaObject *>(self)->metaObject;
}

bool isWrapped(PyObject *value)
{
    return InstanceWrapper::check(value) || ByteArrayObject::check(value)
        || ValueClasses::check(value) || MetaObjectWrapper::check(value);
}

// A `char *` argument as PythonQt converts it: the bytes of a bytes object
// up to a NUL, str() of any other plain Python value, no wrapped object.
// False with a Python error only where str() raises.
bool textArgument(PyObject *value, QByteArray &text)
{
    if (isWrapped(value))
        return false;
    if (PyBytes_Check(value)) {
        text = PyBytes_AS_STRING(value);
        return true;
    }
    PyObject *converted = PyObject_Str(value);
    const char *utf8 = converted ? PyUnicode_AsUTF8(converted) : nullptr;
    if (utf8)
        text = utf8;
    Py_XDECREF(converted);
    return utf8 != nullptr;
}

bool intArgument(PyObject *value, int &index)
{
    static const ArgType intType = ArgType::fromTypeName("int", QMetaType::Int, nullptr);
    ArgStorage storage;
    if (!Conversions::toArg(value, intType, storage, false))
        return false;
    index = storage.value.i;
    return true;
}

// What each method takes and gives; its signature is PythonQt's, for its
// errors. An Unconvertible one's Qt result (QMetaMethod, QMetaProperty, ...)
// is one PythonQt has no Python type for: it checks the arguments, then refuses.
enum class Form {
    Count,
    Index,
    Text,
    TextPair,
    ClassName,
    SuperClass,
    Unconvertible,
    UnconvertibleAtIndex
};

struct MethodEntry
{
    const char *name;
    const char *signature;
    Form form;
    int (*count)(const QMetaObject *) = nullptr;
    int (QMetaObject::*index)(const char *) const = nullptr;
    QByteArray (*text)(const char *) = nullptr;
};

const MethodEntry methodEntries[] = {
    {"checkConnectArgs", "static checkConnectArgs(char signal, char method) -> bool",
     Form::TextPair},
    {"classInfo", "classInfo(int index) -> QMetaClassInfo", Form::UnconvertibleAtIndex},
    {"classInfoCount", "classInfoCount() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->classInfoCount(); }},
    {"classInfoOffset", "classInfoOffset() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->classInfoOffset(); }},
    {"constructor", "constructor(int index) -> QMetaMethod", Form::UnconvertibleAtIndex},
    {"constructorCount", "constructorCount() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->constructorCount(); }},
    {"enumerator", "enumerator(int index) -> QMetaEnum", Form::UnconvertibleAtIndex},
    {"enumeratorCount", "enumeratorCount() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->enumeratorCount(); }},
    {"enumeratorOffset", "enumeratorOffset() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->enumeratorOffset(); }},
    {"getClassName", "getClassName() -> char", Form::ClassName},
    {"indexOfClassInfo", "indexOfClassInfo(char name) -> int", Form::Index, nullptr,
     &QMetaObject::indexOfClassInfo},
    {"indexOfConstructor", "indexOfConstructor(char constructor) -> int", Form::Index, nullptr,
     &QMetaObject::indexOfConstructor},
    {"indexOfEnumerator", "indexOfEnumerator(char name) -> int", Form::Index, nullptr,
     &QMetaObject::indexOfEnumerator},
    {"indexOfMethod", "indexOfMethod(char method) -> int", Form::Index, nullptr,
     &QMetaObject::indexOfMethod},
    {"indexOfProperty", "indexOfProperty(char name) -> int", Form::Index, nullptr,
     &QMetaObject::indexOfProperty},
    {"indexOfSignal", "indexOfSignal(char signal) -> int", Form::Index, nullptr,
     &QMetaObject::indexOfSignal},
    {"indexOfSlot", "indexOfSlot(char slot) -> int", Form::Index, nullptr,
     &QMetaObject::indexOfSlot},
    {"method", "method(int index) -> QMetaMethod", Form::UnconvertibleAtIndex},
    {"methodCount", "methodCount() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->methodCount(); }},
    {"methodOffset", "methodOffset() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->methodOffset(); }},
    {"normalizedSignature", "static normalizedSignature(char method) -> QByteArray", Form::Text,
     nullptr, nullptr, &QMetaObject::normalizedSignature},
    {"normalizedType", "static normalizedType(char type) -> QByteArray", Form::Text, nullptr,
     nullptr, &QMetaObject::normalizedType},
    {"property", "property(int index) -> QMetaProperty", Form::UnconvertibleAtIndex},
    {"propertyCount", "propertyCount() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->propertyCount(); }},
    {"propertyOffset", "propertyOffset() -> int", Form::Count,
     [](const QMetaObject *mo) { return mo->propertyOffset(); }},
    {"superClass", "superClass() -> QMetaObject", Form::SuperClass},
    {"userProperty", "userProperty() -> QMetaProperty", Form::Unconvertible},
};

Py_ssize_t parameterCount(const MethodEntry &entry)
{
    switch (entry.form) {
    case Form::Index:
    case Form::Text:
    case Form::UnconvertibleAtIndex:
        return 1;
    case Form::TextPair:
        return 2;
    default:
        return 0;
    }
}

PyObject *wrongArguments(const MethodEntry &entry, PyObject *const *args, Py_ssize_t nargs,
                         bool countMatched)
{
    return MethodCall::wrongArguments({entry.signature}, args, nargs, countMatched);
}

// Qt's checkConnectArgs() scans each text for its '(' and reads past the
// end of one that has none.
bool connectArgsMatch(const QByteArray &signal, const QByteArray &method)
{
    return signal.contains('(') && method.contains('(')
        && QMetaObject::checkConnectArgs(signal.constData(), method.constData());
}

// Qt's static ones (Text, TextPair) are static methods here, as in PythonQt:
// called from the class too, and `self` is then the type, no meta-object.
bool isStatic(const MethodEntry &entry)
{
    return entry.form == Form::Text || entry.form == Form::TextPair;
}

PyObject *call(const MethodEntry &entry, PyObject *self, PyObject *const *args, Py_ssize_t nargs)
{
    if (nargs != parameterCount(entry))
        return wrongArguments(entry, args, nargs, false);
    QByteArray texts[2];
    for (Py_ssize_t i = 0; i < nargs && entry.form != Form::UnconvertibleAtIndex; ++i) {
        if (!textArgument(args[i], texts[i]))
            return PyErr_Occurred() ? nullptr : wrongArguments(entry, args, nargs, true);
    }
    switch (entry.form) {
    case Form::Count:
        return PyLong_FromLong(entry.count(metaObjectOf(self)));
    case Form::Index:
        return PyLong_FromLong((metaObjectOf(self)->*entry.index)(texts[0].constData()));
    case Form::Text:
        return ByteArrayObject::create(entry.text(texts[0].constData()));
    case Form::TextPair:
        return PyBool_FromLong(connectArgsMatch(texts[0], texts[1]));
    case Form::ClassName:
        return PyUnicode_FromString(metaObjectOf(self)->className());
    case Form::SuperClass:
        return MetaObjectWrapper::wrap(metaObjectOf(self)->superClass());
    case Form::Unconvertible:
    case Form::UnconvertibleAtIndex:
        break;
    }
    int index = 0;
    if (entry.form == Form::UnconvertibleAtIndex && !intArgument(args[0], index))
        return PyErr_Occurred() ? nullptr : wrongArguments(entry, args, nargs, true);
    const QByteArray signature(entry.signature);
    const QByteArray result = signature.mid(signature.indexOf("-> ") + 3);
    PyErr_Format(PyExc_ValueError,
                 "Called %s, return type '%s' is ignored because it is unknown to PythonQt. "
                 "Probably you should register it using qRegisterMetaType() or add a default "
                 "constructor decorator to the class.",
                 entry.signature, result.constData());
    return nullptr;
}

template<int entryIndex> PyObject *method(PyObject *self, PyObject *const *args, Py_ssize_t nargs)
{
    return call(methodEntries[entryIndex], self, args, nargs);
}

// className(), help(), delete() and inherits() every PythonQt wrapper has.
bool expectNoArguments(const char *name, Py_ssize_t nargs)
{
    if (nargs == 0)
        return true;
    PyErr_Format(PyExc_TypeError, "QMetaObject.%s() takes no arguments (%zd given)", name, nargs);
    return false;
}

PyObject *className(PyObject *, PyObject *const *, Py_ssize_t nargs)
{
    return expectNoArguments("className", nargs) ? PyUnicode_FromString("QMetaObject") : nullptr;
}

PyObject *help(PyObject *, PyObject *const *, Py_ssize_t nargs)
{
    return expectNoArguments("help", nargs)
        ? PyUnicode_FromString("--- QMetaObject ---\nSlots:\nQString help()\nQString className()\n")
        : nullptr;
}

// The meta-object is Qt's own and stays; only the object given for it goes,
// so that the next metaObject() gives a new one.
PyObject *deleteObject(PyObject *self, PyObject *const *, Py_ssize_t nargs)
{
    if (!expectNoArguments("delete", nargs))
        return nullptr;
    const auto found = wrappers().constFind(metaObjectOf(self));
    if (found != wrappers().cend() && found.value() == self) {
        wrappers().erase(found);
        Py_DECREF(self);
    }
    Py_RETURN_NONE;
}

PyObject *inherits(PyObject *, PyObject *const *args, Py_ssize_t nargs)
{
    const char *name = Builtins::inheritsArgument(args, nargs);
    if (!name)
        return nullptr;
    // PythonQt knows QMetaObject as a class without bases.
    return PyBool_FromLong(qstrcmp(name, "QMetaObject") == 0);
}

PyCFunction fastcall(PyObject *(*function)(PyObject *, PyObject *const *, Py_ssize_t))
{
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

template<int... indexes> struct MethodTable
{
    static constexpr int size = sizeof...(indexes);
    PyMethodDef methods[size + 5] = {
        {methodEntries[indexes].name, fastcall(method<indexes>),
         METH_FASTCALL | (isStatic(methodEntries[indexes]) ? METH_STATIC : 0), nullptr}...,
        {"className", fastcall(className), METH_FASTCALL, nullptr},
        {"help", fastcall(help), METH_FASTCALL, nullptr},
        {"delete", fastcall(deleteObject), METH_FASTCALL, nullptr},
        {"inherits", fastcall(inherits), METH_FASTCALL, nullptr},
        {nullptr, nullptr, 0, nullptr},
    };
};

MethodTable<0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
            24, 25, 26>
    methodTable;
static_assert(decltype(methodTable)::size == sizeof(methodEntries) / sizeof(methodEntries[0]),
              "every method in the table");

bool isMethodName(PyObject *name)
{
    const char *text = PyUnicode_Check(name) ? PyUnicode_AsUTF8(name) : nullptr;
    if (!text) {
        PyErr_Clear();
        return false;
    }
    for (const PyMethodDef &method : methodTable.methods) {
        if (method.ml_name && qstrcmp(method.ml_name, text) == 0)
            return true;
    }
    return false;
}

PyObject *getAttribute(PyObject *self, PyObject *name)
{
    PyObject *found = PyObject_GenericGetAttr(self, name);
    if (!found && PyErr_ExceptionMatches(PyExc_AttributeError) && PyUnicode_Check(name)) {
        PyErr_Clear();
        PyErr_Format(PyExc_AttributeError, "QMetaObject has no attribute named '%U'", name);
    }
    return found;
}

// As on every object PythonQt wraps, no attribute is added or replaced.
int setAttribute(PyObject *, PyObject *name, PyObject *)
{
    if (isMethodName(name))
        PyErr_Format(PyExc_AttributeError, "Slot '%U' can not be overwritten on QMetaObject object",
                     name);
    else
        PyErr_Format(PyExc_AttributeError,
                     "'%S' does not exist on QMetaObject and creating new attributes on C++ "
                     "objects is not allowed",
                     name);
    return -1;
}

PyObject *newObject(PyTypeObject *, PyObject *, PyObject *)
{
    PyErr_SetString(PyExc_ValueError, "No constructors available for QMetaObject");
    return nullptr;
}

PyObject *repr(PyObject *self)
{
    return PyUnicode_FromFormat("QMetaObject (C++ object at: %p)", metaObjectOf(self));
}

PyObject *str(PyObject *self)
{
    return PyUnicode_FromFormat("QMetaObject (C++ Object %p)", metaObjectOf(self));
}

// Equal when they stand for the same meta-object, as PythonQt compares
// the C++ objects it wraps.
PyObject *compare(PyObject *self, PyObject *other, int op)
{
    if ((op != Py_EQ && op != Py_NE) || !PyObject_TypeCheck(other, metaObjectType))
        Py_RETURN_NOTIMPLEMENTED;
    const bool same = metaObjectOf(self) == metaObjectOf(other);
    return PyBool_FromLong(op == Py_EQ ? same : !same);
}

Py_hash_t hash(PyObject *self)
{
    return _Py_HashPointer(metaObjectOf(self));
}

int isTrue(PyObject *)
{
    return 1;
}

void dealloc(PyObject *self)
{
    PyTypeObject *type = Py_TYPE(self);
    auto *object = reinterpret_cast<MetaObject *>(self);
    if (object->weakrefs)
        PyObject_ClearWeakRefs(self);
    Py_CLEAR(object->dict);
    type->tp_free(self);
    Py_DECREF(type);
}

// A __dict__ and weak references, as PythonQt's wrappers have; setAttribute()
// keeps the dict empty.
PyMemberDef members[] = {
    {const_cast<char *>("__dictoffset__"), T_PYSSIZET, offsetof(MetaObject, dict), READONLY,
     nullptr},
    {const_cast<char *>("__weaklistoffset__"), T_PYSSIZET, offsetof(MetaObject, weakrefs), READONLY,
     nullptr},
    {const_cast<char *>("__weakref__"), T_OBJECT, offsetof(MetaObject, weakrefs), READONLY,
     nullptr},
    {nullptr, 0, 0, 0, nullptr},
};

PyGetSetDef getters[] = {
    {const_cast<char *>("__dict__"), PyObject_GenericGetDict, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyType_Slot slots[] = {
    {Py_tp_new, reinterpret_cast<void *>(newObject)},
    {Py_tp_dealloc, reinterpret_cast<void *>(dealloc)},
    {Py_tp_repr, reinterpret_cast<void *>(repr)},
    {Py_tp_str, reinterpret_cast<void *>(str)},
    {Py_tp_hash, reinterpret_cast<void *>(hash)},
    {Py_tp_richcompare, reinterpret_cast<void *>(compare)},
    {Py_tp_getattro, reinterpret_cast<void *>(getAttribute)},
    {Py_tp_setattro, reinterpret_cast<void *>(setAttribute)},
    {Py_nb_bool, reinterpret_cast<void *>(isTrue)},
    {Py_tp_methods, methodTable.methods},
    {Py_tp_members, members},
    {Py_tp_getset, getters},
    {0, nullptr},
};

// Named QMetaObject in messages, as in PythonQt; of the module PythonQt.QtCore.
PyType_Spec metaObjectSpec = {"builtins.QMetaObject", sizeof(MetaObject), 0,
                              Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE, slots};

} // namespace

namespace MetaObjectWrapper {

bool ready()
{
    if (metaObjectType)
        return true;
    PyTypeObject *type = HeapType::create(metaObjectSpec);
    PyObject *module = type ? PyUnicode_FromString("PythonQt.QtCore") : nullptr;
    const bool named = module && PyDict_SetItemString(type->tp_dict, "__module__", module) == 0;
    Py_XDECREF(module);
    if (!named) {
        Py_XDECREF(type);
        return false;
    }
    PyType_Modified(type);
    metaObjectType = type;
    return true;
}

bool addTo(PyObject *qtCore)
{
    return PyObject_SetAttrString(qtCore, "QMetaObject",
                                  reinterpret_cast<PyObject *>(metaObjectType))
        == 0;
}

PyObject *wrap(const QMetaObject *metaObject)
{
    if (!metaObject)
        Py_RETURN_NONE;
    if (PyObject *known = wrappers().value(metaObject)) {
        Py_INCREF(known);
        return known;
    }
    auto *object = PyObject_New(MetaObject, metaObjectType);
    if (!object)
        return nullptr;
    object->metaObject = metaObject;
    object->dict = nullptr;
    object->weakrefs = nullptr;
    auto *result = reinterpret_cast<PyObject *>(object);
    Py_INCREF(result);
    wrappers().insert(metaObject, result);
    return result;
}

bool check(PyObject *object)
{
    return metaObjectType && PyObject_TypeCheck(object, metaObjectType);
}

} // namespace MetaObjectWrapper
