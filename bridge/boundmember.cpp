// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// A method or signal looked up on a wrapper (bound) or on its class
// (unbound: the instance comes as the first argument). Slots and signals
// share one layout and one call path; a signal's type adds connect(),
// disconnect() and emit().
#include "pythonqt_p.h"
#include "signalreceiver.h"

#include <structmember.h>

#include <QtGlobal>

namespace {

using Wrapper = PythonQtInstanceWrapper;

struct Bound
{
    PyObject_HEAD
    PyObject *self; // the wrapper, or null when looked up on the class
    ClassInfo *classInfo;
    PyObject *memberCapsule; // keeps member alive
    const Member *member;
    vectorcallfunc vectorcall;
};

PyTypeObject *slotType = nullptr;
PyTypeObject *signalType = nullptr;

Bound *asBound(PyObject *object)
{
    return reinterpret_cast<Bound *>(object);
}

Wrapper *asWrapper(PyObject *object)
{
    return reinterpret_cast<Wrapper *>(object);
}

PyObject *cleanedUpError()
{
    PyErr_SetString(PyExc_RuntimeError, "PythonQt has been cleaned up");
    return nullptr;
}

bool isInstanceOf(PyObject *object, const ClassInfo *info)
{
    if (!InstanceWrapper::check(object))
        return false;
    for (const ClassInfo *c = asWrapper(object)->classInfo; c; c = c->base) {
        if (c == info)
            return true;
    }
    return false;
}

// The instance a call works on: the bound one, or the first argument of an
// unbound call, which is then taken off the arguments.
Wrapper *instanceFor(Bound *bound, PyObject *const *&args, Py_ssize_t &nargs)
{
    if (bound->self)
        return asWrapper(bound->self);
    if (nargs > 0 && isInstanceOf(args[0], bound->classInfo)) {
        ++args;
        --nargs;
        return asWrapper(args[-1]);
    }
    const Member &member = *bound->member;
    const QByteArray description = (member.kind == Member::Signal ? "signal " : "slot ")
        + (member.kind == Member::Builtin ? Builtins::firstSignature(member.name)
                                          : member.overloads.first().signature);
    if (nargs == 0) {
        PyErr_Format(PyExc_ValueError, "%s requires %s instance as first argument.",
                     description.constData(), bound->classInfo->className.constData());
    } else {
        PyErr_Format(PyExc_ValueError, "%s requires %s instance as first argument, got %s",
                     description.constData(), bound->classInfo->className.constData(),
                     _PyType_Name(Py_TYPE(args[0])));
    }
    return nullptr;
}

PyObject *invokeMember(Bound *bound, Wrapper *self, PyObject *const *args, Py_ssize_t nargs,
                       PyObject *kwnames)
{
    const Member &member = *bound->member;
    const bool keywords = kwnames && PyTuple_GET_SIZE(kwnames) > 0;
    if (member.kind == Member::Builtin) {
        if (keywords) {
            PyErr_Format(PyExc_TypeError, "%s() takes no keyword arguments",
                         member.name.constData());
            return nullptr;
        }
        return member.builtin(self, member, args, nargs);
    }
    if (keywords)
        return MethodCall::rejectKeywords(member.overloads.first());
    if (!PythonQtPrivate::liveObject(self))
        return InstanceWrapper::destroyedError("call", member.name, self);
    return MethodCall::call(member.overloads, self, args, nargs, nullptr);
}

PyObject *boundCall(PyObject *callable, PyObject *const *args, size_t nargsf, PyObject *kwnames)
{
    if (!PythonQtPrivate::instance())
        return cleanedUpError();
    Bound *bound = asBound(callable);
    Py_ssize_t nargs = PyVectorcall_NARGS(nargsf);
    Wrapper *self = instanceFor(bound, args, nargs);
    if (!self)
        return nullptr;
    if (PythonQtPrivate::liveObject(self)
        && PythonQtPrivate::refuseOffGuiThread("call", bound->member->name,
                                               self->classInfo->className))
        return nullptr;
    return invokeMember(bound, self, args, nargs, kwnames);
}

// The full form of a signal when moc added clones without defaulted arguments.
const Overload &fullSignal(const Member &member)
{
    const Overload *best = &member.overloads.first();
    for (const Overload &overload : member.overloads) {
        if (overload.params.size() > best->params.size())
            best = &overload;
    }
    return *best;
}

int fullSignalIndex(const Member &member)
{
    return fullSignal(member).index;
}

// The live sender of a bound signal, or null with a Python error.
QObject *senderOf(PyObject *object, const char *action)
{
    Bound *bound = asBound(object);
    if (!PythonQtPrivate::instance())
        return cleanedUpError(), nullptr;
    if (!bound->self) {
        PyErr_Format(PyExc_ValueError, "%s() needs a signal of an instance, not of the class %s",
                     action, bound->classInfo->className.constData());
        return nullptr;
    }
    QObject *sender = PythonQtPrivate::liveObject(asWrapper(bound->self));
    if (!sender)
        InstanceWrapper::destroyedError(action, bound->member->name, asWrapper(bound->self));
    else if (PythonQtPrivate::refuseOffGuiThread(action, bound->member->name,
                                                 bound->classInfo->className))
        return nullptr;
    return sender;
}

PyObject *signalConnect(PyObject *object, PyObject *const *args, Py_ssize_t nargs)
{
    QObject *sender = senderOf(object, "connect");
    if (!sender)
        return nullptr;
    // Anything is taken, as in PythonQt: what cannot be called fails when
    // the signal fires, reported like every callback's error.
    if (nargs != 1) {
        PyErr_SetString(PyExc_ValueError, "Called connect with wrong number of arguments");
        return nullptr;
    }
    const int index = fullSignalIndex(*asBound(object)->member);
    return PyBool_FromLong(
        PythonQtPrivate::instance()->receiverFor(sender)->connectCallable(index, args[0]));
}

PyObject *signalDisconnect(PyObject *object, PyObject *const *args, Py_ssize_t nargs)
{
    QObject *sender = senderOf(object, "disconnect");
    if (!sender)
        return nullptr;
    if (nargs > 1) {
        PyErr_SetString(PyExc_ValueError, "Called disconnect with wrong number of arguments");
        return nullptr;
    }
    const int index = fullSignalIndex(*asBound(object)->member);
    const bool found = PythonQtPrivate::instance()->receiverFor(sender)->disconnectCallable(
        index, nargs ? args[0] : nullptr);
    // Comparing callables runs their __eq__, which may have deleted the sender.
    return senderOf(object, "disconnect") ? PyBool_FromLong(found) : nullptr;
}

PyObject *signalEmit(PyObject *object, PyObject *const *args, Py_ssize_t nargs)
{
    return boundCall(object, args, size_t(nargs), nullptr);
}

// The method's description, one entry per overload, as PythonQt gives it:
// parameterNames(), parameterTypes() (tuples of str) and typeName() ('' for void).
enum class Description { Names, Types, Result };

PyObject *texts(const QList<QByteArray> &list, int first)
{
    PyObject *tuple = PyTuple_New(qMax(0, list.size() - first));
    for (int i = first; tuple && i < list.size(); ++i) {
        PyObject *text = PyUnicode_FromString(list.at(i).constData());
        if (!text) {
            Py_CLEAR(tuple);
            break;
        }
        PyTuple_SET_ITEM(tuple, i - first, text);
    }
    return tuple;
}

PyObject *describeOverload(const Overload &overload, Description what)
{
    const QMetaMethod method = overload.owner->method(overload.index);
    const int first = overload.hiddenSelf ? 1 : 0;
    switch (what) {
    case Description::Names:
        return texts(method.parameterNames(), first);
    case Description::Types:
        return texts(method.parameterTypes(), first);
    case Description::Result:
        return PyUnicode_FromString(qstrcmp(method.typeName(), "void") == 0 ? ""
                                                                            : method.typeName());
    }
    Py_RETURN_NONE;
}

PyObject *describe(PyObject *object, Description what)
{
    const QVector<Overload> &overloads = asBound(object)->member->overloads;
    PyObject *tuple = PyTuple_New(overloads.size());
    for (int i = 0; tuple && i < overloads.size(); ++i) {
        PyObject *entry = describeOverload(overloads.at(i), what);
        if (!entry) {
            Py_CLEAR(tuple);
            break;
        }
        PyTuple_SET_ITEM(tuple, i, entry);
    }
    return tuple;
}

PyObject *parameterNames(PyObject *object, PyObject *)
{
    return describe(object, Description::Names);
}

PyObject *parameterTypes(PyObject *object, PyObject *)
{
    return describe(object, Description::Types);
}

PyObject *typeName(PyObject *object, PyObject *)
{
    return describe(object, Description::Result);
}

PyMethodDef slotMethods[] = {
    {"parameterNames", parameterNames, METH_NOARGS, "The parameter names of each overload."},
    {"parameterTypes", parameterTypes, METH_NOARGS, "The parameter types of each overload."},
    {"typeName", typeName, METH_NOARGS, "The result type of each overload; '' for none."},
    {nullptr, nullptr, 0, nullptr},
};

PyMethodDef signalMethods[] = {
    {"parameterNames", parameterNames, METH_NOARGS, "The parameter names of each overload."},
    {"parameterTypes", parameterTypes, METH_NOARGS, "The parameter types of each overload."},
    {"typeName", typeName, METH_NOARGS, "The result type of each overload; '' for none."},
    {"connect", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(signalConnect)),
     METH_FASTCALL, "Calls the callable whenever the signal is emitted."},
    {"disconnect", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(signalDisconnect)),
     METH_FASTCALL, "Drops the callable's connection, or all Python connections."},
    {"emit", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(signalEmit)), METH_FASTCALL,
     "Emits the signal."},
    {nullptr, nullptr, 0, nullptr},
};

// A slot is named as in the script ("tick"), a signal by its signature
// ("finished(int)"), as PythonQt names them.
PyObject *boundName(PyObject *object, void *)
{
    const Member &member = *asBound(object)->member;
    if (member.kind != Member::Signal)
        return PyUnicode_FromString(member.name.constData());
    const Overload &full = fullSignal(member);
    return PyUnicode_FromString(full.owner->method(full.index).methodSignature().constData());
}

// The instance, or the class of a member looked up on the class.
PyObject *boundSelf(PyObject *object, void *)
{
    Bound *bound = asBound(object);
    PyObject *self =
        bound->self ? bound->self : reinterpret_cast<PyObject *>(bound->classInfo->type);
    Py_INCREF(self);
    return self;
}

int readOnly(PyObject *object, PyObject *, void *closure)
{
    PyErr_Format(PyExc_AttributeError, "attribute '%s' of '%s' objects is not writable",
                 static_cast<const char *>(closure), _PyType_Name(Py_TYPE(object)));
    return -1;
}

PyGetSetDef boundGetSets[] = {
    {"__name__", boundName, readOnly, nullptr, const_cast<char *>("__name__")},
    {"__self__", boundSelf, readOnly, nullptr, const_cast<char *>("__self__")},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

int boundTraverse(PyObject *object, visitproc visit, void *arg)
{
    Py_VISIT(Py_TYPE(object));
    Py_VISIT(asBound(object)->self);
    Py_VISIT(asBound(object)->memberCapsule);
    return 0;
}

int boundClear(PyObject *object)
{
    Py_CLEAR(asBound(object)->self);
    return 0;
}

void boundDealloc(PyObject *object)
{
    PyTypeObject *type = Py_TYPE(object);
    PyObject_GC_UnTrack(object);
    Py_CLEAR(asBound(object)->self);
    Py_CLEAR(asBound(object)->memberCapsule);
    PyObject_GC_Del(object);
    Py_DECREF(type);
}

PyObject *boundRepr(PyObject *object)
{
    Bound *bound = asBound(object);
    const char *className = bound->classInfo->className.constData();
    const char *name = bound->member->name.constData();
    if (bound->member->kind == Member::Builtin && Builtins::isWrapperMethod(bound->member->name))
        return PyUnicode_FromFormat("<built-in method %s of %s object at %p>", name, className,
                                    static_cast<void *>(bound->self));
    const char *kind = Py_TYPE(object) == signalType ? "signal" : "slot";
    if (!bound->self)
        return PyUnicode_FromFormat("<unbound qt %s %s of %s type>", kind, name, className);
    // A Python subclass's instance by its own class's name, as in PythonQt.
    return PyUnicode_FromFormat("<qt %s %s of %s instance at %p>", kind, name,
                                _PyType_Name(Py_TYPE(bound->self)),
                                static_cast<void *>(bound->self));
}

PyObject *boundCompare(PyObject *a, PyObject *b, int op)
{
    if ((op != Py_EQ && op != Py_NE) || Py_TYPE(a) != Py_TYPE(b))
        Py_RETURN_NOTIMPLEMENTED;
    const bool equal = asBound(a)->self == asBound(b)->self
        && asBound(a)->classInfo == asBound(b)->classInfo
        && asBound(a)->member->name == asBound(b)->member->name;
    return PyBool_FromLong(equal == (op == Py_EQ));
}

Py_hash_t boundHash(PyObject *object)
{
    Bound *bound = asBound(object);
    const Py_hash_t hash = Py_hash_t(qHash(bound->member->name, uint(quintptr(bound->self))));
    return hash == -1 ? -2 : hash;
}

// `ProgressDialog.tick.__get__(d)` binds, as a function of a class does.
PyObject *boundDescriptorGet(PyObject *object, PyObject *instance, PyObject *)
{
    Bound *bound = asBound(object);
    if (bound->self || !instance || instance == Py_None
        || !isInstanceOf(instance, bound->classInfo)) {
        Py_INCREF(object);
        return object;
    }
    return BoundMember::create(instance, bound->classInfo, bound->memberCapsule);
}

PyMemberDef boundMembers[] = {
    {"__vectorcalloffset__", T_PYSSIZET, offsetof(Bound, vectorcall), READONLY, nullptr},
    {nullptr, 0, 0, 0, nullptr},
};

// Slots and signals share all but their doc and methods, set for each.
PyType_Slot boundSlots[] = {
    {Py_tp_doc, nullptr},
    {Py_tp_methods, nullptr},
    {Py_tp_call, reinterpret_cast<void *>(PyVectorcall_Call)},
    {Py_tp_traverse, reinterpret_cast<void *>(boundTraverse)},
    {Py_tp_clear, reinterpret_cast<void *>(boundClear)},
    {Py_tp_dealloc, reinterpret_cast<void *>(boundDealloc)},
    {Py_tp_repr, reinterpret_cast<void *>(boundRepr)},
    {Py_tp_richcompare, reinterpret_cast<void *>(boundCompare)},
    {Py_tp_hash, reinterpret_cast<void *>(boundHash)},
    {Py_tp_descr_get, reinterpret_cast<void *>(boundDescriptorGet)},
    {Py_tp_getset, boundGetSets},
    {Py_tp_members, boundMembers},
    {0, nullptr},
};

// Made only by the bridge: Python cannot call either type.
PyTypeObject *createType(const char *name, const char *doc, PyMethodDef *methods)
{
    boundSlots[0].pfunc = const_cast<char *>(doc);
    boundSlots[1].pfunc = methods;
    PyType_Spec definition = {name, sizeof(Bound), 0,
                              Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_VECTORCALL | Py_TPFLAGS_HAVE_GC
                                  | Py_TPFLAGS_IMMUTABLETYPE | Py_TPFLAGS_DISALLOW_INSTANTIATION,
                              boundSlots};
    return HeapType::create(definition);
}

} // namespace

namespace BoundMember {

bool ready()
{
    if (slotType)
        return true;
    // The names PythonQt gives them: scripts see them in type() and in repr() of emit.
    slotType = createType("builtins.builtin_qt_slot", "A slot of a Qt object.", slotMethods);
    signalType =
        slotType ? createType("QtCore.Signal", "A signal of a Qt object.", signalMethods) : nullptr;
    if (!signalType)
        Py_CLEAR(slotType);
    return signalType != nullptr;
}

PyObject *create(PyObject *self, ClassInfo *info, PyObject *memberCapsule)
{
    const Member *member = PythonQtPrivate::memberOf(memberCapsule);
    Bound *bound = PyObject_GC_New(Bound, member->kind == Member::Signal ? signalType : slotType);
    if (!bound)
        return nullptr;
    Py_XINCREF(self);
    bound->self = self;
    bound->classInfo = info;
    Py_INCREF(memberCapsule);
    bound->memberCapsule = memberCapsule;
    bound->member = member;
    bound->vectorcall = boundCall;
    PyObject_GC_Track(bound);
    return reinterpret_cast<PyObject *>(bound);
}

} // namespace BoundMember
