#include "pythonqt_p.h"
#include "signalreceiver.h"

#include <QMetaMethod>
#include <QWidget>

#include <exception>
#include <new>
#include <optional>

namespace {

constexpr int MaxArguments = 10;  // moc's limit

using Wrapper = PythonQtInstanceWrapper;

PyTypeObject wrapperType = {};
PyTypeObject boundSlotType = {};
PyTypeObject boundSignalType = {};

// A method looked up on one wrapper, ready to be called.
struct BoundSlot
{
    PyObject_HEAD
    PyObject *self;
    PyObject *memberCapsule;  // keeps member alive
    const Member *member;
    vectorcallfunc vectorcall;
};

// A signal looked up on one wrapper: connect(), disconnect(), emit().
struct BoundSignal
{
    PyObject_HEAD
    PyObject *self;
    PyObject *memberCapsule;  // keeps member alive
    const Member *member;
};

// Static types live forever: they start with the reference the interpreter never drops.
void holdForever(PyTypeObject &type)
{
    Py_SET_REFCNT(reinterpret_cast<PyObject *>(&type), 1);
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

PyObject *destroyedError(const char *action, const QByteArray &name, const Wrapper *self)
{
    PyErr_Format(PyExc_ValueError, "Trying to %s '%s' on a destroyed %s object", action,
                 name.constData(), self->classInfo->className.constData());
    return nullptr;
}

PyObject *noAttributeError(const Wrapper *self, PyObject *name)
{
    PyErr_Format(PyExc_AttributeError, "%s has no attribute named '%U'",
                 self->classInfo->className.constData(), name);
    return nullptr;
}

PyObject *rejectKeywords(const QByteArray &className, const QByteArray &name)
{
    PyErr_Format(PyExc_ValueError, "%s%s%s(): keyword arguments are not supported",
                 className.constData(), name.isEmpty() ? "" : ".", name.constData());
    return nullptr;
}

QByteArray describe(const Overload &overload, const QByteArray &className,
                    const QByteArray &methodName)
{
    QByteArray text = className;
    if (!methodName.isEmpty())
        text += '.' + methodName;
    return text + overload.signature;
}

QByteArray argumentsRepr(PyObject *const *args, Py_ssize_t nargs)
{
    PyObject *tuple = PyTuple_New(nargs);
    if (!tuple)
        return QByteArray();
    for (Py_ssize_t i = 0; i < nargs; ++i) {
        Py_INCREF(args[i]);
        PyTuple_SET_ITEM(tuple, i, args[i]);
    }
    PyObject *repr = PyObject_Repr(tuple);
    Py_DECREF(tuple);
    // A 10 MB document passed the wrong way must not make a 10 MB message.
    constexpr int MaxReprLength = 300;
    QByteArray text;
    if (repr) {
        const QString full = Conversions::stringFromUnicode(repr);
        text = (full.size() > MaxReprLength ? full.left(MaxReprLength) + QStringLiteral("...") : full)
                   .toUtf8();
    }
    Py_XDECREF(repr);
    PyErr_Clear();
    return text;
}

PyObject *overloadError(const QVector<Overload> &overloads, const QByteArray &className,
                        const QByteArray &methodName, PyObject *const *args, Py_ssize_t nargs,
                        bool countMatched)
{
    const QByteArray given = argumentsRepr(args, nargs);
    QByteArray message;
    if (overloads.size() == 1) {
        message = "Called " + describe(overloads.first(), className, methodName)
                  + (countMatched ? " with wrong arguments: " : " with wrong number of arguments: ")
                  + given;
    } else {
        message = "Could not find matching overload for given arguments:\n" + given
                  + "\n The following slots are available:\n";
        for (const Overload &overload : overloads)
            message += describe(overload, className, methodName) + '\n';
    }
    PyErr_SetString(PyExc_ValueError, message.constData());
    return nullptr;
}

bool convertArguments(const Overload &overload, PyObject *const *args, Py_ssize_t nargs,
                      std::optional<ArgStorage> *storage, void **argv, int firstArg, bool strict)
{
    for (Py_ssize_t i = 0; i < nargs; ++i) {
        ArgStorage &slot = storage[i].emplace();
        if (!Conversions::toArg(args[i], overload.params.at(int(i)), slot, strict))
            return false;
        argv[firstArg + i] = slot.prepare(overload.params.at(int(i)));
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

// ---- wrapper type --------------------------------------------------------

void wrapperDealloc(PyObject *object)
{
    Wrapper *self = asWrapper(object);
    PyTypeObject *type = Py_TYPE(object);
    if (auto d = PythonQtPrivate::instance())
        d->forgetWrapper(self);
    self->object.~QPointer<QObject>();
    self->destroyedConnection.~Connection();
    type->tp_free(object);
    // Types made by PyType_FromSpec, and Python subclasses, get subtype_dealloc, which
    // calls this and then drops the instance's reference to the type itself.
    if ((type->tp_flags & Py_TPFLAGS_HEAPTYPE) && type->tp_dealloc == wrapperDealloc)
        Py_DECREF(type);
}

PyObject *wrapperConstruct(PyTypeObject *type, PyObject *args, PyObject *kwds)
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d)
        return cleanedUpError();
    ClassInfo *info = d->classForType(type);
    if (!info) {
        PyErr_Format(PyExc_TypeError, "%s is not a registered class", type->tp_name);
        return nullptr;
    }
    if (kwds && PyDict_GET_SIZE(kwds) > 0)
        return rejectKeywords(info->className, QByteArray());
    // A copy: converting arguments may run Python code that registers a class
    // and so rebuilds the table.
    const QVector<Overload> constructors = d->constructors(info);
    if (constructors.isEmpty()) {
        PyErr_Format(PyExc_ValueError, "No constructors available for %s",
                     info->className.constData());
        return nullptr;
    }
    QObject *object = nullptr;
    PyObject *done = InstanceWrapper::call(constructors, nullptr, info->className, QByteArray(),
                                           &PyTuple_GET_ITEM(args, 0), PyTuple_GET_SIZE(args),
                                           nullptr, &object);
    if (!done)
        return nullptr;
    Py_DECREF(done);
    if (!object)
        Py_RETURN_NONE;
    if (PyObject *existing = reinterpret_cast<PyObject *>(d->wrappers.value(object))) {
        Py_INCREF(existing);
        return existing;
    }
    ClassInfo *actual = d->classForObject(object);
    // A Python subclass keeps its own type; otherwise the most derived class.
    PyTypeObject *pythonType = type == info->type ? actual->type : type;
    // Constructed with a parent, the object belongs to Qt at once.
    return d->newWrapper(pythonType, actual, object, object->parent() == nullptr);
}

PyObject *newBoundSlot(PyObject *self, PyObject *memberCapsule);
PyObject *newBoundSignal(PyObject *self, PyObject *memberCapsule);

bool hasDynamicProperty(QObject *object, const QByteArray &name)
{
    return object && object->dynamicPropertyNames().contains(name);
}

PyObject *wrapperGetAttr(PyObject *object, PyObject *name)
{
    Wrapper *self = asWrapper(object);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d || !PyUnicode_Check(name))
        return PyObject_GenericGetAttr(object, name);

    // Python's own attributes, and those of a Python subclass, come first.
    const bool dunder = PyUnicode_GET_LENGTH(name) > 2 && PyUnicode_READ_CHAR(name, 0) == '_'
                        && PyUnicode_READ_CHAR(name, 1) == '_';
    if (dunder || Py_TYPE(object) != self->classInfo->type) {
        PyObject *result = PyObject_GenericGetAttr(object, name);
        if (result || !PyErr_ExceptionMatches(PyExc_AttributeError))
            return result;
        PyErr_Clear();
    }

    PyObject *capsule = d->memberCapsule(self->classInfo, name);
    if (!capsule)
        return nullptr;
    const Member *member = PythonQtPrivate::memberOf(capsule);
    QObject *target = self->object.data();
    switch (member->kind) {
    case Member::Method:
        return newBoundSlot(object, capsule);
    case Member::Signal:
        return newBoundSignal(object, capsule);
    case Member::Property:
        return InstanceWrapper::readProperty(self, *member, nullptr, 0);
    case Member::Constant:
        Py_INCREF(member->constant.object());
        return member->constant.object();
    case Member::Builtin:
        if (!hasDynamicProperty(target, member->name))
            return newBoundSlot(object, capsule);
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

int wrapperSetAttr(PyObject *object, PyObject *name, PyObject *value)
{
    Wrapper *self = asWrapper(object);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d || !PyUnicode_Check(name))
        return PyObject_GenericSetAttr(object, name, value);
    PyObject *capsule = d->memberCapsule(self->classInfo, name);
    if (!capsule)
        return -1;
    // Converting the value may run Python code that registers a class and so
    // empties the member cache.
    const PythonQtObjectPtr keepMember(capsule);
    const Member *member = PythonQtPrivate::memberOf(capsule);
    const QByteArray key = PyUnicode_AsUTF8(name);
    QObject *target = self->object.data();
    const char *className = self->classInfo->className.constData();
    if (member->kind == Member::Property) {
        if (!target) {
            PyErr_Format(PyExc_AttributeError, "Trying to set property '%s' on a destroyed %s object",
                         key.constData(), className);
            return -1;
        }
        if (!value || !member->property.isWritable()) {
            PyErr_Format(PyExc_AttributeError, "Property '%s' of %s is read-only", key.constData(),
                         className);
            return -1;
        }
        ArgStorage storage;
        if (!Conversions::toArg(value, member->propertyType, storage, true)
            && !Conversions::toArg(value, member->propertyType, storage, false)) {
            PyErr_Format(PyExc_ValueError, "Property '%s' of %s (%s) can not be set to %R",
                         key.constData(), className, member->propertyType.name.constData(), value);
            return -1;
        }
        const ArgType &type = member->propertyType;
        const QVariant converted = type.kind == ArgType::Variant || type.kind == ArgType::Other
                                       ? storage.variant
                                       : QVariant(type.typeId, storage.prepare(type));
        if (!member->property.write(target, converted)) {
            PyErr_Format(PyExc_ValueError, "Property '%s' of %s could not be written",
                         key.constData(), className);
            return -1;
        }
        return 0;
    }
    if (Py_TYPE(object) != self->classInfo->type)
        return PyObject_GenericSetAttr(object, name, value);
    if (value && hasDynamicProperty(target, key)) {
        QVariant converted;
        if (!Conversions::toVariant(value, converted)) {
            PyErr_Format(PyExc_ValueError, "%R can not be stored in property '%s'", value,
                         key.constData());
            return -1;
        }
        target->setProperty(key.constData(), converted);
        return 0;
    }
    if (member->kind == Member::Missing) {
        PyErr_Format(PyExc_AttributeError,
                     "%s has no attribute named '%s'; new attributes can not be added",
                     className, key.constData());
    } else {
        PyErr_Format(PyExc_AttributeError, "Attribute '%s' of %s can not be set", key.constData(),
                     className);
    }
    return -1;
}

int wrapperBool(PyObject *object)
{
    return !asWrapper(object)->object.isNull();
}

PyObject *wrapperRepr(PyObject *object)
{
    Wrapper *self = asWrapper(object);
    QObject *target = self->object.data();
    if (!target)
        return PyUnicode_FromFormat("<destroyed %s object>", self->classInfo->className.constData());
    return PyUnicode_FromFormat("<%s object at %p>", self->classInfo->className.constData(),
                                static_cast<void *>(target));
}

PyNumberMethods wrapperNumber = {};

// ---- bound slots and signals ----------------------------------------------

PyObject *boundSlotCall(PyObject *callable, PyObject *const *args, size_t nargsf, PyObject *kwnames)
{
    auto bound = reinterpret_cast<BoundSlot *>(callable);
    Wrapper *self = asWrapper(bound->self);
    const Member &member = *bound->member;
    if (!PythonQtPrivate::instance())
        return cleanedUpError();
    const Py_ssize_t nargs = PyVectorcall_NARGS(nargsf);
    if (kwnames && PyTuple_GET_SIZE(kwnames) > 0)
        return rejectKeywords(self->classInfo->className, member.name);
    if (member.kind == Member::Builtin)
        return member.builtin(self, member, args, nargs);
    if (self->object.isNull())
        return destroyedError("call", member.name, self);
    return InstanceWrapper::call(member.overloads, &self->object, self->classInfo->className,
                                 member.name, args, nargs, nullptr);
}

void boundSlotDealloc(PyObject *object)
{
    Py_DECREF(reinterpret_cast<BoundSlot *>(object)->self);
    Py_DECREF(reinterpret_cast<BoundSlot *>(object)->memberCapsule);
    PyObject_Free(object);
}

PyObject *boundSlotRepr(PyObject *object)
{
    auto bound = reinterpret_cast<BoundSlot *>(object);
    return PyUnicode_FromFormat("<method %s.%s>",
                                asWrapper(bound->self)->classInfo->className.constData(),
                                bound->member->name.constData());
}

PyObject *newBoundSlot(PyObject *self, PyObject *memberCapsule)
{
    auto bound = PyObject_New(BoundSlot, &boundSlotType);
    if (!bound)
        return nullptr;
    Py_INCREF(self);
    bound->self = self;
    Py_INCREF(memberCapsule);
    bound->memberCapsule = memberCapsule;
    bound->member = PythonQtPrivate::memberOf(memberCapsule);
    bound->vectorcall = boundSlotCall;
    return reinterpret_cast<PyObject *>(bound);
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

BoundSignal *asSignal(PyObject *object)
{
    return reinterpret_cast<BoundSignal *>(object);
}

PyObject *signalConnect(PyObject *object, PyObject *const *args, Py_ssize_t nargs)
{
    BoundSignal *bound = asSignal(object);
    Wrapper *self = asWrapper(bound->self);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d)
        return cleanedUpError();
    if (nargs != 1 || !PyCallable_Check(args[0])) {
        PyErr_SetString(PyExc_ValueError, "connect() takes one callable");
        return nullptr;
    }
    QObject *target = self->object.data();
    if (!target)
        return destroyedError("connect", bound->member->name, self);
    const bool ok = d->receiverFor(target)->connectCallable(fullSignal(*bound->member).index, args[0]);
    return PyBool_FromLong(ok);
}

PyObject *signalDisconnect(PyObject *object, PyObject *const *args, Py_ssize_t nargs)
{
    BoundSignal *bound = asSignal(object);
    Wrapper *self = asWrapper(bound->self);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d)
        return cleanedUpError();
    if (nargs > 1) {
        PyErr_SetString(PyExc_ValueError, "disconnect() takes at most one callable");
        return nullptr;
    }
    QObject *target = self->object.data();
    if (!target)
        return destroyedError("disconnect", bound->member->name, self);
    const bool ok = d->receiverFor(target)->disconnectCallable(fullSignal(*bound->member).index,
                                                               nargs ? args[0] : nullptr);
    return PyBool_FromLong(ok);
}

PyObject *signalEmit(PyObject *object, PyObject *const *args, Py_ssize_t nargs)
{
    BoundSignal *bound = asSignal(object);
    Wrapper *self = asWrapper(bound->self);
    if (!PythonQtPrivate::instance())
        return cleanedUpError();
    if (self->object.isNull())
        return destroyedError("call", bound->member->name, self);
    return InstanceWrapper::call(bound->member->overloads, &self->object, self->classInfo->className,
                                 bound->member->name, args, nargs, nullptr);
}

PyObject *signalCall(PyObject *object, PyObject *args, PyObject *kwds)
{
    if (kwds && PyDict_GET_SIZE(kwds) > 0) {
        BoundSignal *bound = asSignal(object);
        return rejectKeywords(asWrapper(bound->self)->classInfo->className,
                              bound->member->name);
    }
    return signalEmit(object, &PyTuple_GET_ITEM(args, 0), PyTuple_GET_SIZE(args));
}

PyMethodDef signalMethods[] = {
    {"connect", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(signalConnect)),
     METH_FASTCALL, "Calls the callable whenever the signal is emitted."},
    {"disconnect", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(signalDisconnect)),
     METH_FASTCALL, "Drops the callable's connection, or all Python connections."},
    {"emit", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(signalEmit)),
     METH_FASTCALL, "Emits the signal."},
    {nullptr, nullptr, 0, nullptr},
};

void boundSignalDealloc(PyObject *object)
{
    Py_DECREF(asSignal(object)->self);
    Py_DECREF(asSignal(object)->memberCapsule);
    PyObject_Free(object);
}

PyObject *boundSignalRepr(PyObject *object)
{
    BoundSignal *bound = asSignal(object);
    return PyUnicode_FromFormat("<signal %s.%s>",
                                asWrapper(bound->self)->classInfo->className.constData(),
                                bound->member->name.constData());
}

PyObject *newBoundSignal(PyObject *self, PyObject *memberCapsule)
{
    auto bound = PyObject_New(BoundSignal, &boundSignalType);
    if (!bound)
        return nullptr;
    Py_INCREF(self);
    bound->self = self;
    Py_INCREF(memberCapsule);
    bound->memberCapsule = memberCapsule;
    bound->member = PythonQtPrivate::memberOf(memberCapsule);
    return reinterpret_cast<PyObject *>(bound);
}

// ---- built-in methods ----------------------------------------------------

QObject *aliveOrRaise(Wrapper *self, const Member &member)
{
    QObject *target = self->object.data();
    if (!target)
        destroyedError("call", member.name, self);
    return target;
}

bool expectArguments(const Member &member, Py_ssize_t nargs, Py_ssize_t min, Py_ssize_t max)
{
    if (nargs >= min && nargs <= max)
        return true;
    PyErr_Format(PyExc_ValueError, "%s() takes %zd to %zd arguments, %zd given",
                 member.name.constData(), min, max, nargs);
    return false;
}

PyObject *builtinClassName(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 0, 0))
        return nullptr;
    return PyUnicode_FromString(target->metaObject()->className());
}

PyObject *builtinInherits(Wrapper *self, const Member &member, PyObject *const *args, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 1, 1))
        return nullptr;
    const char *name = PyUnicode_Check(args[0]) ? PyUnicode_AsUTF8(args[0]) : nullptr;
    if (!name) {
        PyErr_SetString(PyExc_ValueError, "inherits() takes a class name");
        return nullptr;
    }
    return PyBool_FromLong(target->inherits(name));
}

PyObject *builtinDelete(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 0, 0))
        return nullptr;
    self->ownedByPython = false;
    PythonQtPrivate::instance()->deleteFromScript(target);
    Py_RETURN_NONE;
}

PyObject *builtinParent(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 0, 0))
        return nullptr;
    return PythonQtPrivate::instance()->wrap(target->parent());
}

PyObject *builtinSetParent(Wrapper *self, const Member &member, PyObject *const *args,
                           Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 1, 1))
        return nullptr;
    QObject *parent = nullptr;
    if (args[0] != Py_None) {
        if (!InstanceWrapper::check(args[0]) || !(parent = asWrapper(args[0])->object.data())) {
            PyErr_SetString(PyExc_ValueError, "setParent() takes a live Qt object or None");
            return nullptr;
        }
    }
    if (target->isWidgetType()) {
        if (parent && !parent->isWidgetType()) {
            PyErr_SetString(PyExc_ValueError, "a widget's parent must be a widget");
            return nullptr;
        }
        static_cast<QWidget *>(target)->setParent(static_cast<QWidget *>(parent));
    } else {
        target->setParent(parent);
    }
    Py_RETURN_NONE;
}

PyObject *builtinChildren(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 0, 0))
        return nullptr;
    PyObject *list = PyList_New(0);
    for (QObject *child : target->children()) {
        if (dynamic_cast<SignalReceiver *>(child))
            continue;
        PyObject *wrapped = PythonQtPrivate::instance()->wrap(child);
        if (!wrapped || PyList_Append(list, wrapped) < 0) {
            Py_XDECREF(wrapped);
            Py_DECREF(list);
            return nullptr;
        }
        Py_DECREF(wrapped);
    }
    return list;
}

// Finds a signal by signature ("finished(int)", optionally with moc's "2"
// prefix) or by bare name (its fullest form).
int signalIndex(QObject *target, PyObject *signature)
{
    if (!PyUnicode_Check(signature))
        return -1;
    QByteArray text = PyUnicode_AsUTF8(signature);
    if (text.startsWith('2'))
        text.remove(0, 1);
    const QMetaObject *mo = target->metaObject();
    if (text.contains('('))
        return mo->indexOfSignal(QMetaObject::normalizedSignature(text.constData()).constData());
    int best = -1;
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod method = mo->method(i);
        if (method.methodType() == QMetaMethod::Signal && method.name() == text
            && (best < 0 || method.parameterCount() > mo->method(best).parameterCount()))
            best = i;
    }
    return best;
}

PyObject *builtinConnect(Wrapper *self, const Member &member, PyObject *const *args, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 2, 3))
        return nullptr;
    const int index = signalIndex(target, args[0]);
    if (index < 0) {
        if (PyErr_WarnFormat(PyExc_RuntimeWarning, 1, "%s has no signal %R",
                             self->classInfo->className.constData(), args[0]) < 0)
            return nullptr;
        Py_RETURN_FALSE;
    }
    if (nargs == 2) {
        if (!PyCallable_Check(args[1])) {
            PyErr_SetString(PyExc_ValueError, "connect() takes a signal and a callable");
            return nullptr;
        }
        return PyBool_FromLong(
            PythonQtPrivate::instance()->receiverFor(target)->connectCallable(index, args[1]));
    }
    QObject *receiver = InstanceWrapper::check(args[1]) ? asWrapper(args[1])->object.data() : nullptr;
    if (!receiver || !PyUnicode_Check(args[2])) {
        PyErr_SetString(PyExc_ValueError, "connect() takes a signal, a live Qt object and a slot");
        return nullptr;
    }
    QByteArray slot = PyUnicode_AsUTF8(args[2]);
    if (slot.startsWith('1'))
        slot.remove(0, 1);
    const int slotIndex = receiver->metaObject()->indexOfMethod(
        QMetaObject::normalizedSignature(slot.constData()).constData());
    return PyBool_FromLong(slotIndex >= 0
                           && QMetaObject::connect(target, index, receiver, slotIndex));
}

PyObject *builtinDisconnect(Wrapper *self, const Member &member, PyObject *const *args,
                            Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 1, 2))
        return nullptr;
    const int index = signalIndex(target, args[0]);
    if (index < 0)
        Py_RETURN_FALSE;
    return PyBool_FromLong(PythonQtPrivate::instance()->receiverFor(target)->disconnectCallable(
        index, nargs == 2 ? args[1] : nullptr));
}

PyObject *builtinHelp(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target || !expectArguments(member, nargs, 0, 0))
        return nullptr;
    const QMetaObject *mo = target->metaObject();
    QByteArray text = QByteArray(mo->className()) + "\nProperties:\n";
    for (int i = 0; i < mo->propertyCount(); ++i)
        text += QByteArray("  ") + mo->property(i).name() + '\n';
    text += "Methods:\n";
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod method = mo->method(i);
        if (method.access() == QMetaMethod::Public)
            text += "  " + method.methodSignature() + '\n';
    }
    PyObject *out = PySys_GetObject("stdout");  // borrowed
    if (out && out != Py_None) {
        PyObject *result = PyObject_CallMethod(out, "write", "s", text.constData());
        if (!result)
            return nullptr;
        Py_DECREF(result);
    }
    Py_RETURN_NONE;
}

struct BuiltinEntry
{
    const char *name;
    BuiltinFunction function;
};

const BuiltinEntry builtins[] = {
    {"className", builtinClassName},
    {"inherits", builtinInherits},
    {"help", builtinHelp},
    {"delete", builtinDelete},
    {"connect", builtinConnect},
    {"disconnect", builtinDisconnect},
    {"parent", builtinParent},
    {"setParent", builtinSetParent},
    {"children", builtinChildren},
};

} // namespace

namespace InstanceWrapper {

bool ready()
{
    if (wrapperType.tp_flags & Py_TPFLAGS_READY)
        return true;
    holdForever(wrapperType);
    holdForever(boundSlotType);
    holdForever(boundSignalType);
    wrapperNumber.nb_bool = wrapperBool;
    wrapperType.tp_name = "PythonQt.PythonQtInstanceWrapper";
    wrapperType.tp_basicsize = sizeof(Wrapper);
    wrapperType.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE;
    wrapperType.tp_doc = "A Qt object seen from Python.";
    wrapperType.tp_new = wrapperConstruct;
    wrapperType.tp_dealloc = wrapperDealloc;
    wrapperType.tp_getattro = wrapperGetAttr;
    wrapperType.tp_setattro = wrapperSetAttr;
    wrapperType.tp_as_number = &wrapperNumber;
    wrapperType.tp_repr = wrapperRepr;

    boundSlotType.tp_name = "PythonQt.PythonQtSlotFunction";
    boundSlotType.tp_basicsize = sizeof(BoundSlot);
    boundSlotType.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_VECTORCALL;
    boundSlotType.tp_vectorcall_offset = offsetof(BoundSlot, vectorcall);
    boundSlotType.tp_call = PyVectorcall_Call;
    boundSlotType.tp_dealloc = boundSlotDealloc;
    boundSlotType.tp_repr = boundSlotRepr;

    boundSignalType.tp_name = "PythonQt.PythonQtSignalFunction";
    boundSignalType.tp_basicsize = sizeof(BoundSignal);
    boundSignalType.tp_flags = Py_TPFLAGS_DEFAULT;
    boundSignalType.tp_call = signalCall;
    boundSignalType.tp_dealloc = boundSignalDealloc;
    boundSignalType.tp_repr = boundSignalRepr;
    boundSignalType.tp_methods = signalMethods;

    return PyType_Ready(&wrapperType) == 0 && PyType_Ready(&boundSlotType) == 0
           && PyType_Ready(&boundSignalType) == 0;
}

PyTypeObject *baseType()
{
    return &wrapperType;
}

bool check(PyObject *object)
{
    return PyObject_TypeCheck(object, &wrapperType);
}

PyObject *call(const QVector<Overload> &overloads, const QPointer<QObject> *self,
               const QByteArray &className,
               const QByteArray &methodName, PyObject *const *args, Py_ssize_t nargs,
               PyObject *kwnames, QObject **constructed)
{
    if (kwnames && PyTuple_GET_SIZE(kwnames) > 0)
        return rejectKeywords(className, methodName);
    bool countMatched = false;
    for (const bool strict : {true, false}) {
        for (const Overload &overload : overloads) {
            if (overload.params.size() != nargs)
                continue;
            countMatched = true;
            std::optional<ArgStorage> storage[MaxArguments];
            void *argv[MaxArguments + 2] = {};
            const int firstArg = overload.hiddenSelf ? 2 : 1;
            if (!convertArguments(overload, args, nargs, storage, argv, firstArg, strict))
                continue;
            // Converting may have run Python code that deleted the object.
            QObject *target = self ? self->data() : nullptr;
            if (self && !target) {
                PyErr_Format(PyExc_ValueError, "Trying to call '%s' on a destroyed %s object",
                             methodName.constData(), className.constData());
                return nullptr;
            }
            ArgStorage result;
            argv[0] = result.prepare(overload.result);
            if (overload.hiddenSelf)
                argv[1] = &target;
            const BusyScope busy(target, BusyScope::Call);
            return invoke(overload, target, argv, result, constructed);
        }
    }
    return overloadError(overloads, className, methodName, args, nargs, countMatched);
}

Overload makeOverload(const QMetaMethod &method, const QMetaObject *owner, QObject *decorator,
                      bool hiddenSelf)
{
    Overload overload;
    overload.decorator = decorator;
    overload.hiddenSelf = hiddenSelf;
    overload.owner = owner;
    overload.index = method.methodIndex();
    overload.localIndex = method.methodIndex() - owner->methodOffset();
    overload.isSignal = method.methodType() == QMetaMethod::Signal;
    overload.result = ArgType::fromTypeName(method.typeName(), method.returnType(), owner);
    const QList<QByteArray> types = method.parameterTypes();
    const QList<QByteArray> names = method.parameterNames();
    QByteArray signature = "(";
    for (int i = hiddenSelf ? 1 : 0; i < types.size(); ++i) {
        overload.params.append(ArgType::fromTypeName(types.at(i), method.parameterType(i), owner));
        if (signature.size() > 1)
            signature += ", ";
        signature += types.at(i);
        if (!names.at(i).isEmpty())
            signature += ' ' + names.at(i);
    }
    signature += ')';
    if (overload.result.kind != ArgType::Void)
        signature += " -> " + overload.result.name;
    overload.signature = signature;
    return overload;
}

BuiltinFunction builtin(const QByteArray &name)
{
    for (const BuiltinEntry &entry : builtins) {
        if (name == entry.name)
            return entry.function;
    }
    return nullptr;
}

PyObject *readProperty(PythonQtInstanceWrapper *self, const Member &member, PyObject *const *,
                       Py_ssize_t nargs)
{
    QObject *target = self->object.data();
    if (!target)
        return destroyedError("read property", member.name, self);
    if (nargs != 0) {
        PyErr_Format(PyExc_ValueError, "%s() takes no arguments", member.name.constData());
        return nullptr;
    }
    return Conversions::fromVariant(member.property.read(target));
}

} // namespace InstanceWrapper
