// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// The Python side of a wrapped QObject: the instance type every registered
// class derives from, and the metatype that lets a class answer for its
// slots and signals (`ProgressDialog.tick(d)`).
#include "conversions.h"
#include "pythonqt_p.h"
#include "sequencereading.h"

#include <structmember.h>

#include <new>

namespace {

using Wrapper = PythonQtInstanceWrapper;

PyTypeObject *wrapperType = nullptr;
PyTypeObject *classType = nullptr;

Wrapper *asWrapper(PyObject *object)
{
    return reinterpret_cast<Wrapper *>(object);
}

const char *typeName(PyObject *object)
{
    return _PyType_Name(Py_TYPE(object));
}

QByteArray address(const void *pointer)
{
    return pointer ? "0x" + QByteArray::number(quintptr(pointer), 16) : QByteArray("0x(nil)");
}

// ---- instances -------------------------------------------------------------

void wrapperDealloc(PyObject *object)
{
    Wrapper *self = asWrapper(object);
    PyTypeObject *type = Py_TYPE(object);
    PyObject_GC_UnTrack(object);
    if (self->weakReferences)
        PyObject_ClearWeakRefs(object);
    if (auto d = PythonQtPrivate::instance())
        d->forgetWrapper(self);
    self->object.~QPointer<QObject>();
    self->destroyedConnection.~Connection();
    type->tp_free(object);
    // Whatever the instance's class (a registered one, a script's subclass),
    // subtype_dealloc leaves dropping its reference to the heap base's dealloc.
    Py_DECREF(type);
}

// An object the wrapper owns dies with it, and with the object its signal
// receivers and their callables: to the collector those are the wrapper's,
// so that a callback referring to its own dialog makes a cycle it can free.
// An object that Qt or C++ owns keeps its callbacks whatever Python does.
const QObject *ownedTree(const Wrapper *self)
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    QObject *object = PythonQtPrivate::liveObject(self);
    if (!d || !object || !self->ownedByPython || object->parent()
        || d->wrappers.value(object) != self)
        return nullptr;
    return object;
}

int wrapperTraverse(PyObject *object, visitproc visit, void *arg)
{
    Py_VISIT(Py_TYPE(object));
    const QObject *owned = ownedTree(asWrapper(object));
    return owned ? PythonQtPrivate::instance()->traverseCallables(owned, visit, arg) : 0;
}

// The wrapper is going, by its last reference or as the collector frees a
// cycle it is in: what it owns is deleted now, while the Python objects its
// callbacks refer to are still whole, so its destroyed() callbacks run as usual.
void wrapperFinalize(PyObject *object)
{
    Wrapper *self = asWrapper(object);
    if (!ownedTree(self))
        return;
    PyObject *type = nullptr;
    PyObject *value = nullptr;
    PyObject *traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PythonQtPrivate::instance()->releaseOwned(self);
    PyErr_Restore(type, value, traceback);
}

// Only where the finalizer's deletion had to wait: breaks the cycle anyway.
int wrapperClear(PyObject *object)
{
    if (const QObject *owned = ownedTree(asWrapper(object)))
        PythonQtPrivate::instance()->dropCallables(owned);
    return 0;
}

// An instance without its object yet: __init__ constructs it, so that a
// Python subclass can pass its own arguments on with super().__init__().
PyObject *wrapperNew(PyTypeObject *type, PyObject *, PyObject *)
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d) {
        PyErr_SetString(PyExc_RuntimeError, "PythonQt has been cleaned up");
        return nullptr;
    }
    ClassInfo *info = d->classForType(type);
    if (!info) {
        PyErr_Format(PyExc_TypeError, "%s is not a registered class", type->tp_name);
        return nullptr;
    }
    return d->newWrapper(type, info, nullptr, false);
}

int wrapperInit(PyObject *object, PyObject *args, PyObject *kwds)
{
    Wrapper *self = asWrapper(object);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    // Constructed once; a second __init__ leaves the object as it is.
    if (!d || !self->object.isNull())
        return 0;
    if (PythonQtPrivate::refuseOffGuiThread("construct", QByteArray(), self->classInfo->className))
        return -1;
    // A copy: converting arguments may run Python code that registers a class
    // and so rebuilds the table.
    const QVector<Overload> constructors = d->constructors(self->classInfo);
    if (constructors.isEmpty()) {
        PyErr_Format(PyExc_ValueError, "No constructors available for %s",
                     self->classInfo->className.constData());
        return -1;
    }
    if (kwds && PyDict_GET_SIZE(kwds) > 0)
        return MethodCall::rejectKeywords(constructors.first()), -1;
    QObject *constructed = nullptr;
    PyObject *done = MethodCall::call(constructors, nullptr, &PyTuple_GET_ITEM(args, 0),
                                      PyTuple_GET_SIZE(args), nullptr, &constructed);
    if (!done)
        return -1;
    Py_DECREF(done);
    if (!constructed) {
        PyErr_Format(PyExc_ValueError, "The constructor of %s gave no object",
                     self->classInfo->className.constData());
        return -1;
    }
    // Constructed with a parent, the object belongs to Qt at once.
    d->attach(self, constructed, constructed->parent() == nullptr);
    d->noteConstructedByScript(constructed);
    return 0;
}

bool hasDynamicProperty(QObject *object, const QByteArray &name)
{
    return object && object->dynamicPropertyNames().contains(name);
}

bool isDunder(PyObject *name)
{
    return PyUnicode_GET_LENGTH(name) > 2 && PyUnicode_READ_CHAR(name, 0) == '_'
        && PyUnicode_READ_CHAR(name, 1) == '_';
}

// The names Python gives what the bridge itself does, a finalizer and no
// instance dictionary: PythonQt's classes have neither, so a script finds
// them only where a Python subclass defines them.
bool isBridgeMechanism(PyTypeObject *type, PyObject *name)
{
    if (PyUnicode_CompareWithASCIIString(name, "__del__") != 0
        && PyUnicode_CompareWithASCIIString(name, "__slots__") != 0)
        return false;
    PythonQtPrivate *d = PythonQtPrivate::instance();
    PyObject *mro = type->tp_mro;
    for (Py_ssize_t i = 0; d && mro && i < PyTuple_GET_SIZE(mro); ++i) {
        auto base = reinterpret_cast<PyTypeObject *>(PyTuple_GET_ITEM(mro, i));
        const int defines = PyDict_Contains(base->tp_dict, name);
        if (defines < 0)
            PyErr_Clear();
        if (defines == 1)
            return base == wrapperType || d->classesByType.contains(base);
    }
    return false;
}

PyObject *noAttributeError(const Wrapper *self, PyObject *name)
{
    PyErr_Format(PyExc_AttributeError, "%s has no attribute named '%U'",
                 self->classInfo->className.constData(), name);
    return nullptr;
}

PyObject *wrapperGetAttr(PyObject *object, PyObject *name)
{
    Wrapper *self = asWrapper(object);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d || !PyUnicode_Check(name))
        return PyObject_GenericGetAttr(object, name);

    if (isBridgeMechanism(Py_TYPE(object), name))
        return noAttributeError(self, name);
    // Python's own attributes, and those of a Python subclass, come first.
    if (isDunder(name) || Py_TYPE(object) != self->classInfo->type) {
        PyObject *result = PyObject_GenericGetAttr(object, name);
        if (result || !PyErr_ExceptionMatches(PyExc_AttributeError))
            return result;
        PyErr_Clear();
    }

    PyObject *capsule = d->memberCapsule(self->classInfo, name);
    if (!capsule)
        return nullptr;
    const Member *member = PythonQtPrivate::memberOf(capsule);
    QObject *target = PythonQtPrivate::liveObject(self);
    // A bound slot or signal refuses when it is called.
    if (target && member->kind != Member::Method && member->kind != Member::Signal
        && member->kind != Member::Constant
        && PythonQtPrivate::refuseOffGuiThread("read", member->name, self->classInfo->className))
        return nullptr;
    switch (member->kind) {
    case Member::Method:
    case Member::Signal:
        return BoundMember::create(object, self->classInfo, capsule);
    case Member::Property:
        return InstanceWrapper::readProperty(self, *member);
    case Member::Constant:
        Py_INCREF(member->constant.object());
        return member->constant.object();
    case Member::Builtin:
        if (!hasDynamicProperty(target, member->name))
            return BoundMember::create(object, self->classInfo, capsule);
        break;
    case Member::Missing:
        break;
    }

    const QByteArray key = PyUnicode_AsUTF8(name);
    if (hasDynamicProperty(target, key))
        return Conversions::fromVariant(target->property(key.constData()));
    if (target) {
        const QString childName = QString::fromUtf8(key);
        for (QObject *child : target->children()) {
            if (child->objectName() == childName)
                return d->wrap(child);
        }
    }
    PyObject *result = PyObject_GenericGetAttr(object, name);
    if (result || !PyErr_ExceptionMatches(PyExc_AttributeError))
        return result;
    PyErr_Clear();
    return noAttributeError(self, name);
}

int destroyedWrite(const Wrapper *self, const char *name)
{
    PyErr_Format(PyExc_AttributeError, "Trying to set property '%s' on a destroyed %s object", name,
                 self->classInfo->className.constData());
    return -1;
}

// How PythonQt shows a value an enumeration refuses: as its repr, but
// nothing for a sequence it cannot read by index.
QByteArray refusedValueText(const Member &member, PyObject *value)
{
    const bool unreadable = member.property.isEnumType() && SequenceReading::failsByIndex(value);
    PyErr_Clear();
    return unreadable ? QByteArray() : MethodCall::shortRepr(value);
}

int writeProperty(PyObject *object, const Member &member, PyObject *value)
{
    Wrapper *self = asWrapper(object);
    QObject *target = PythonQtPrivate::liveObject(self);
    const char *name = member.name.constData();
    if (!target)
        return destroyedWrite(self, name);
    // PythonQt leaves a property alone when a script deletes it.
    if (!value)
        return 0;
    if (!member.property.isWritable()) {
        PyErr_Format(PyExc_AttributeError, "Property '%s' of %s object is not writable", name,
                     typeName(object));
        return -1;
    }
    ArgStorage storage;
    const ArgType &type = member.propertyType;
    // As in PythonQt, an enumeration takes an int and nothing that merely
    // converts to one (a float, a bool).
    if (!Conversions::toArg(value, type, storage, true)
        && (member.property.isEnumType() || !Conversions::toArg(value, type, storage, false))) {
        PyErr_Clear();
        PyErr_Format(PyExc_AttributeError,
                     "Property '%s' of type '%s' does not accept an object of type %s (%s)", name,
                     type.name.constData(), Py_TYPE(value)->tp_name,
                     refusedValueText(member, value).constData());
        return -1;
    }
    // Converting may have run Python code (a __str__) that deleted the object.
    if (!(target = PythonQtPrivate::liveObject(self)))
        return destroyedWrite(self, name);
    const QVariant converted = type.kind == ArgType::Variant || type.kind == ArgType::Other
        ? storage.variant
        : QVariant(type.typeId, storage.prepare(type));
    if (!member.property.write(target, converted)) {
        PyErr_Format(PyExc_ValueError, "Property '%s' of %s could not be written", name,
                     self->classInfo->className.constData());
        return -1;
    }
    return 0;
}

int wrapperSetAttr(PyObject *object, PyObject *name, PyObject *value)
{
    Wrapper *self = asWrapper(object);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d || !PyUnicode_Check(name) || isDunder(name))
        return PyObject_GenericSetAttr(object, name, value);
    PyObject *capsule = d->memberCapsule(self->classInfo, name);
    if (!capsule)
        return -1;
    if (PythonQtPrivate::liveObject(self)
        && PythonQtPrivate::refuseOffGuiThread("set", PythonQtPrivate::memberOf(capsule)->name,
                                               self->classInfo->className))
        return -1;
    // Converting the value may run Python code that registers a class and so
    // empties the member cache.
    const PythonQtObjectPtr keepMember(capsule);
    const Member *member = PythonQtPrivate::memberOf(capsule);
    if (member->kind == Member::Property)
        return writeProperty(object, *member, value);
    if (Py_TYPE(object) != self->classInfo->type)
        return PyObject_GenericSetAttr(object, name, value);
    const QByteArray key = PyUnicode_AsUTF8(name);
    QObject *target = PythonQtPrivate::liveObject(self);
    if (value && hasDynamicProperty(target, key)) {
        QVariant converted;
        if (!Conversions::toVariant(value, converted)) {
            PyErr_Format(PyExc_ValueError, "%s can not be stored in property '%s'",
                         MethodCall::shortRepr(value).constData(), key.constData());
            return -1;
        }
        // Converting may have run Python code (an __iter__) that deleted the object.
        if (!(target = PythonQtPrivate::liveObject(self)))
            return destroyedWrite(self, key.constData());
        target->setProperty(key.constData(), converted);
        return 0;
    }
    if (member->kind == Member::Missing) {
        PyErr_Format(PyExc_AttributeError,
                     "'%s' does not exist on %s and creating new attributes on C++ objects is "
                     "not allowed",
                     key.constData(), typeName(object));
    } else {
        PyErr_Format(PyExc_AttributeError, "Slot '%s' can not be overwritten on %s object",
                     key.constData(), typeName(object));
    }
    return -1;
}

int wrapperBool(PyObject *object)
{
    return PythonQtPrivate::liveObject(asWrapper(object)) != nullptr;
}

PyObject *wrapperRepr(PyObject *object)
{
    Wrapper *self = asWrapper(object);
    const QByteArray text = QByteArray(typeName(object)) + " (" + self->classInfo->className
        + " at: " + address(PythonQtPrivate::liveObject(self)) + ')';
    return PyUnicode_FromString(text.constData());
}

PyObject *wrapperStr(PyObject *object)
{
    const QByteArray text = QByteArray(typeName(object)) + " (QObject "
        + address(PythonQtPrivate::liveObject(asWrapper(object))) + ')';
    return PyUnicode_FromString(text.constData());
}

// Python's own names (from `base`'s __dir__) and what a script can reach
// on an instance of the class: properties, slots, signals and the built-ins.
PyObject *withMemberNames(PyTypeObject *base, PyObject *object, ClassInfo *info)
{
    PyObject *names =
        PyObject_CallMethod(reinterpret_cast<PyObject *>(base), "__dir__", "O", object);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!names || !d || !info)
        return names;
    if (!PyList_Check(names)) {
        PyObject *list = PySequence_List(names);
        Py_DECREF(names);
        if (!(names = list))
            return nullptr;
    }
    PyTypeObject *type =
        PyType_Check(object) ? reinterpret_cast<PyTypeObject *>(object) : Py_TYPE(object);
    for (Py_ssize_t i = PyList_GET_SIZE(names) - 1; i >= 0; --i) {
        PyObject *name = PyList_GET_ITEM(names, i);
        if (PyUnicode_Check(name) && isBridgeMechanism(type, name)
            && PySequence_DelItem(names, i) < 0) {
            Py_DECREF(names);
            return nullptr;
        }
    }
    for (const QByteArray &name : d->memberNames(info)) {
        PyObject *text = PyUnicode_FromString(name.constData());
        // Each name once, as Python's own (the wrapper type's methods, the
        // properties of vars()) may hold it already.
        const int known = text ? PySequence_Contains(names, text) : -1;
        if (known < 0 || (!known && PyList_Append(names, text) < 0)) {
            Py_XDECREF(text);
            Py_DECREF(names);
            return nullptr;
        }
        Py_DECREF(text);
    }
    return names;
}

PyObject *wrapperDir(PyObject *object, PyObject *)
{
    return withMemberNames(&PyBaseObject_Type, object, asWrapper(object)->classInfo);
}

// vars(d): the class's properties by name, then the dynamic ones, read
// now; a deleted object has none.
PyObject *wrapperDict(PyObject *object, void *)
{
    Wrapper *self = asWrapper(object);
    QObject *target = PythonQtPrivate::liveObject(self);
    PyObject *dict = PyDict_New();
    if (!dict || !PythonQtPrivate::instance() || !target)
        return dict;
    const QMetaObject *mo = self->classInfo->metaObject;
    QByteArrayList names;
    for (int i = 0; i < mo->propertyCount(); ++i)
        names.append(mo->property(i).name());
    names += target->dynamicPropertyNames();
    for (const QByteArray &name : qAsConst(names)) {
        // Reading a property may run a script's code that deletes the object.
        if (!PythonQtPrivate::liveObject(self))
            break;
        PyObject *value = PyObject_GetAttrString(object, name.constData());
        const bool stored = value && PyDict_SetItemString(dict, name.constData(), value) == 0;
        Py_XDECREF(value);
        if (!stored) {
            Py_DECREF(dict);
            return nullptr;
        }
    }
    return dict;
}

int refuseDict(PyObject *object, PyObject *, void *)
{
    PyErr_Format(PyExc_AttributeError,
                 "'__dict__' does not exist on %s and creating new attributes on C++ objects is "
                 "not allowed",
                 typeName(object));
    return -1;
}

PyGetSetDef wrapperGetSets[] = {
    {"__dict__", wrapperDict, refuseDict, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyMethodDef wrapperMethods[] = {
    {"__dir__", wrapperDir, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

// ---- classes ---------------------------------------------------------------

// `ProgressDialog.tick` is the slot unbound; properties read as None, as in PythonQt.
PyObject *classGetAttr(PyObject *type, PyObject *name)
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (d && PyUnicode_Check(name)
        && isBridgeMechanism(reinterpret_cast<PyTypeObject *>(type), name)) {
        const ClassInfo *info = d->classForType(reinterpret_cast<PyTypeObject *>(type));
        PyErr_Format(PyExc_AttributeError, "%s has no attribute named '%U'",
                     info ? info->className.constData() : "QObject", name);
        return nullptr;
    }
    PyObject *result = PyType_Type.tp_getattro(type, name);
    if (result || !d || !PyUnicode_Check(name) || isDunder(name)
        || !PyErr_ExceptionMatches(PyExc_AttributeError))
        return result;
    ClassInfo *info = d->classForType(reinterpret_cast<PyTypeObject *>(type));
    if (!info)
        return nullptr;
    PyErr_Clear();
    PyObject *capsule = d->memberCapsule(info, name);
    const Member *member = capsule ? PythonQtPrivate::memberOf(capsule) : nullptr;
    if (!member)
        return nullptr;
    switch (member->kind) {
    case Member::Method:
    case Member::Signal:
        return BoundMember::create(nullptr, info, capsule);
    case Member::Property:
        Py_RETURN_NONE;
    case Member::Builtin:
        return BoundMember::create(nullptr, info, capsule);
    default:
        PyErr_Format(PyExc_AttributeError, "%s has no attribute named '%U'",
                     info->className.constData(), name);
        return nullptr;
    }
}

PyObject *classDir(PyObject *type, PyObject *)
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    ClassInfo *info = d ? d->classForType(reinterpret_cast<PyTypeObject *>(type)) : nullptr;
    return withMemberNames(&PyType_Type, type, info);
}

PyMethodDef classMethods[] = {
    {"__dir__", classDir, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

// A class holds a reference to its metatype, which the collector must see.
int classTraverse(PyObject *type, visitproc visit, void *arg)
{
    Py_VISIT(Py_TYPE(type));
    return PyType_Type.tp_traverse(type, visit, arg);
}

int classClear(PyObject *type)
{
    return PyType_Type.tp_clear(type);
}

PyMemberDef wrapperMembers[] = {
    {"__weaklistoffset__", T_PYSSIZET, offsetof(Wrapper, weakReferences), READONLY, nullptr},
    {nullptr, 0, 0, 0, nullptr},
};

PyType_Slot wrapperSlots[] = {
    {Py_tp_doc, const_cast<char *>("A Qt object seen from Python.")},
    {Py_tp_traverse, reinterpret_cast<void *>(wrapperTraverse)},
    {Py_tp_clear, reinterpret_cast<void *>(wrapperClear)},
    {Py_tp_finalize, reinterpret_cast<void *>(wrapperFinalize)},
    {Py_tp_new, reinterpret_cast<void *>(wrapperNew)},
    {Py_tp_init, reinterpret_cast<void *>(wrapperInit)},
    {Py_tp_dealloc, reinterpret_cast<void *>(wrapperDealloc)},
    {Py_tp_getattro, reinterpret_cast<void *>(wrapperGetAttr)},
    {Py_tp_setattro, reinterpret_cast<void *>(wrapperSetAttr)},
    {Py_nb_bool, reinterpret_cast<void *>(wrapperBool)},
    {Py_tp_repr, reinterpret_cast<void *>(wrapperRepr)},
    {Py_tp_str, reinterpret_cast<void *>(wrapperStr)},
    {Py_tp_methods, wrapperMethods},
    {Py_tp_getset, wrapperGetSets},
    {Py_tp_members, wrapperMembers},
    {0, nullptr},
};

PyType_Spec wrapperSpec = {"PythonQt.PythonQtInstanceWrapper", sizeof(Wrapper), 0,
                           Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE | Py_TPFLAGS_HAVE_GC
                               | Py_TPFLAGS_IMMUTABLETYPE,
                           wrapperSlots};

PyType_Slot classSlots[] = {
    {Py_tp_doc, const_cast<char *>("The class of a registered Qt class.")},
    {Py_tp_traverse, reinterpret_cast<void *>(classTraverse)},
    {Py_tp_clear, reinterpret_cast<void *>(classClear)},
    {Py_tp_getattro, reinterpret_cast<void *>(classGetAttr)},
    {Py_tp_methods, classMethods},
    {0, nullptr},
};

// A subclass of type: its size is type's.
PyType_Spec classSpec = {"PythonQt.PythonQtClassWrapper", 0, 0,
                         Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE | Py_TPFLAGS_HAVE_GC
                             | Py_TPFLAGS_IMMUTABLETYPE,
                         classSlots};

} // namespace

namespace InstanceWrapper {

bool ready()
{
    if (wrapperType)
        return true;
    wrapperType = HeapType::create(wrapperSpec);
    if (!wrapperType || !Builtins::addPlainMethods(wrapperType)) {
        Py_CLEAR(wrapperType);
        return false;
    }
    classType = HeapType::create(classSpec, &PyType_Type);
    if (!classType) {
        Py_CLEAR(wrapperType);
        return false;
    }
    return BoundMember::ready();
}

bool check(PyObject *object)
{
    return PyObject_TypeCheck(object, wrapperType);
}

// Made the way a class statement makes a class, so that the metatype is ours.
PyTypeObject *createType(const ClassInfo &info, const QByteArray &module)
{
    const QByteArray name = unqualifiedName(info.className);
    PyObject *type = PyObject_CallFunction(
        reinterpret_cast<PyObject *>(classType), "s(O){sssss()}", name.constData(), wrapperType,
        "__module__", module.constData(), "__qualname__", name.constData(), "__slots__");
    return reinterpret_cast<PyTypeObject *>(type);
}

PyObject *destroyedError(const char *action, const QByteArray &name, const Wrapper *self)
{
    PyErr_Format(PyExc_ValueError, "Trying to %s '%s' on a destroyed %s object", action,
                 name.constData(), self->classInfo->className.constData());
    return nullptr;
}

PyObject *readProperty(Wrapper *self, const Member &member)
{
    QObject *target = PythonQtPrivate::liveObject(self);
    if (!target) {
        PyErr_Format(PyExc_ValueError, "Trying to read property '%s' from a destroyed %s object",
                     member.name.constData(), self->classInfo->className.constData());
        return nullptr;
    }
    return Conversions::fromVariant(member.property.read(target));
}

} // namespace InstanceWrapper
