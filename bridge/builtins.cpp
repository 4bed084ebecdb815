// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// The methods every wrapper has besides its class's own: those PythonQt
// adds to each QObject.
#include "bytearrayobject.h"
#include "conversions.h"
#include "metaobjectwrapper.h"
#include "pythonqt_p.h"
#include "sequencereading.h"
#include "signalreceiver.h"

#include <QCoreApplication>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <cctype>

namespace {

using Wrapper = PythonQtInstanceWrapper;

QObject *aliveOrRaise(Wrapper *self, const Member &member)
{
    QObject *target = PythonQtPrivate::liveObject(self);
    if (!target)
        InstanceWrapper::destroyedError("call", member.name, self);
    return target;
}

// The signatures PythonQt shows for the built-ins it declares as slots, in
// its order, for the errors of a call that fits none of them.
QByteArrayList signaturesOf(const QByteArray &name)
{
    if (name == "setParent")
        return {"setParent(QObject parent) -> void"};
    if (name == "setProperty")
        return {"setProperty(char name, QVariant value) -> bool"};
    if (name == "property")
        return {"property(char name) -> QVariant"};
    if (name == "parent")
        return {"parent() -> QObject"};
    if (name == "children")
        return {"children() -> QList<QObject*>"};
    if (name == "findChild")
        return {"findChild(PyObject type, QString name) -> QObject",
                "findChild(PyObject type) -> QObject"};
    if (name == "findChildren")
        return {"findChildren(PyObject type, QString name) -> QList<QObject*>",
                "findChildren(PyObject type) -> QList<QObject*>",
                "findChildren(PyObject type, QRegularExpression regExp) -> QList<QObject*>"};
    if (name == "connect")
        return {"connect(QByteArray signal, PyObject callable) -> bool",
                "connect(QByteArray signal, QObject receiver, QByteArray slot, Qt::ConnectionType "
                "type) -> bool",
                "connect(QByteArray signal, QObject receiver, QByteArray slot) -> bool",
                "connect(QObject sender, QByteArray signal, QByteArray slot, Qt::ConnectionType "
                "type) -> bool",
                "connect(QObject sender, QByteArray signal, QByteArray slot) -> bool",
                "static connect(QObject sender, QByteArray signal, PyObject callable) -> bool",
                "static connect(QObject sender, QByteArray signal, QObject receiver, QByteArray "
                "slot, Qt::ConnectionType type) -> bool",
                "static connect(QObject sender, QByteArray signal, QObject receiver, QByteArray "
                "slot) -> bool"};
    if (name == "metaObject")
        return {"metaObject() -> QMetaObject"};
    if (name == "tr")
        return {"tr(QString text, QString ambig, int n) -> QString"};
    if (name == "disconnect")
        return {"disconnect(QByteArray signal, PyObject callable) -> bool",
                "disconnect(QByteArray signal) -> bool",
                "disconnect(QByteArray signal, QObject receiver, QByteArray slot) -> bool",
                "static disconnect(QObject sender, QByteArray signal, PyObject callable) -> bool",
                "static disconnect(QObject sender, QByteArray signal) -> bool",
                "static disconnect(QObject sender, QByteArray signal, QObject receiver, "
                "QByteArray slot) -> bool"};
    return {};
}

PyObject *wrongArguments(const Member &member, PyObject *const *args, Py_ssize_t nargs,
                         bool countMatched)
{
    return MethodCall::wrongArguments(signaturesOf(member.name), args, nargs, countMatched);
}

bool expectArguments(const Member &member, PyObject *const *args, Py_ssize_t nargs, Py_ssize_t min,
                     Py_ssize_t max)
{
    if (nargs >= min && nargs <= max)
        return true;
    wrongArguments(member, args, nargs, false);
    return false;
}

// The built-ins PythonQt gives as Python methods of its wrapper type refuse
// extra arguments with Python's own TypeError.
bool expectNoArguments(Wrapper *self, const Member &member, Py_ssize_t nargs)
{
    if (nargs == 0)
        return true;
    PyErr_Format(PyExc_TypeError, "%s.%s() takes no arguments (%zd given)",
                 _PyType_Name(Py_TYPE(self)), member.name.constData(), nargs);
    return false;
}

// The target, alive and given an acceptable number of arguments; else null
// with a Python error.
QObject *prepareCall(Wrapper *self, const Member &member, PyObject *const *args, Py_ssize_t nargs,
                     Py_ssize_t min, Py_ssize_t max)
{
    QObject *target = aliveOrRaise(self, member);
    return target && expectArguments(member, args, nargs, min, max) ? target : nullptr;
}

bool isWrapped(PyObject *value)
{
    return InstanceWrapper::check(value) || ByteArrayObject::check(value)
        || MetaObjectWrapper::check(value);
}

// A `char *` or QString argument of a built-in, as PythonQt converts it:
// text as it is, str() of any other plain Python value, no wrapped object.
// False with a Python error where str() raises.
bool textArgument(PyObject *value, QByteArray &text)
{
    if (isWrapped(value))
        return false;
    PyObject *converted = PyObject_Str(value);
    const char *utf8 = converted ? PyUnicode_AsUTF8(converted) : nullptr;
    if (utf8)
        text = utf8;
    Py_XDECREF(converted);
    return utf8 != nullptr;
}

// A QByteArray argument (a signature, a slot): str, bytes or a QByteArray.
bool signatureArgument(PyObject *value, QByteArray &text)
{
    if (PyUnicode_Check(value)) {
        const char *utf8 = PyUnicode_AsUTF8(value);
        if (!utf8) {
            PyErr_Clear();
            return false;
        }
        text = utf8;
        return true;
    }
    if (PyBytes_Check(value)) {
        text = QByteArray(PyBytes_AS_STRING(value), int(PyBytes_GET_SIZE(value)));
        return true;
    }
    if (ByteArrayObject::check(value)) {
        text = ByteArrayObject::value(value);
        return true;
    }
    return false;
}

PyObject *builtinClassName(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    if (!expectNoArguments(self, member, nargs))
        return nullptr;
    // Known even once the object is gone; a Python subclass names itself, as in PythonQt.
    QObject *target = PythonQtPrivate::liveObject(self);
    if (Py_TYPE(self) != self->classInfo->type)
        return PyUnicode_FromString(_PyType_Name(Py_TYPE(self)));
    return PyUnicode_FromString(target ? target->metaObject()->className()
                                       : self->classInfo->className.constData());
}

bool classInherits(const QMetaObject *mo, const char *name)
{
    for (; mo; mo = mo->superClass()) {
        if (qstrcmp(mo->className(), name) == 0)
            return true;
    }
    return false;
}

PyObject *builtinInherits(Wrapper *self, const Member &, PyObject *const *args, Py_ssize_t nargs)
{
    const char *name = Builtins::inheritsArgument(args, nargs);
    if (!name)
        return nullptr;
    // Answered from the class once the object is gone, as in PythonQt.
    QObject *target = PythonQtPrivate::liveObject(self);
    return PyBool_FromLong(target ? target->inherits(name)
                                  : classInherits(self->classInfo->metaObject, name));
}

// A widget of a dialog's form, made by C++ and held by its parent, which
// goes on using it: a script may neither delete it nor take it away.
bool refuseCppChild(QObject *target, const Member &member)
{
    QObject *parent = target->parent();
    if (!parent || PythonQtPrivate::instance()->isConstructedByScript(target))
        return false;
    PyErr_Format(PyExc_ValueError,
                 "%s(): the %s '%s' was made by C++ and belongs to its parent %s, which may still "
                 "use it; delete or move the parent instead",
                 member.name.constData(), target->metaObject()->className(),
                 target->objectName().toUtf8().constData(), parent->metaObject()->className());
    return true;
}

PyObject *builtinDelete(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    if (!expectNoArguments(self, member, nargs))
        return nullptr;
    // Deleting what is gone already does nothing, as in PythonQt.
    QObject *target = PythonQtPrivate::liveObject(self);
    if (!target)
        Py_RETURN_NONE;
    if (refuseCppChild(target, member))
        return nullptr;
    self->ownedByPython = false;
    PythonQtPrivate::instance()->deleteFromScript(target);
    Py_RETURN_NONE;
}

PyObject *builtinParent(Wrapper *self, const Member &member, PyObject *const *args,
                        Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 0, 0);
    return target ? PythonQtPrivate::instance()->wrap(target->parent()) : nullptr;
}

PyObject *builtinSetParent(Wrapper *self, const Member &member, PyObject *const *args,
                           Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 1, 1);
    if (!target)
        return nullptr;
    QObject *parent = nullptr;
    if (!Conversions::isNullObject(args[0])) {
        if (!InstanceWrapper::check(args[0]))
            return wrongArguments(member, args, nargs, true);
        if (!(parent = PythonQtPrivate::liveObject(reinterpret_cast<Wrapper *>(args[0])))) {
            PyErr_SetString(PyExc_ValueError, "setParent() takes a live Qt object or None");
            return nullptr;
        }
    }
    if (refuseCppChild(target, member))
        return nullptr;
    // Qt would walk such a loop of parents for ever.
    for (const QObject *ancestor = parent; ancestor; ancestor = ancestor->parent()) {
        if (ancestor == target) {
            PyErr_Format(PyExc_ValueError, "setParent(): a %s can not be its own %s",
                         target->metaObject()->className(),
                         parent == target ? "parent" : "ancestor");
            return nullptr;
        }
    }
    if (target->isWidgetType()) {
        if (parent && !parent->isWidgetType()) {
            PyErr_SetString(PyExc_ValueError, "a widget's parent must be a widget");
            return nullptr;
        }
        auto *widget = static_cast<QWidget *>(target);
        // As in PythonQt, QObject's setParent(): a dialog keeps its window
        // flags, and so stays a window of its own, shown or hidden, instead
        // of being embedded in its new parent. A widget that is no window
        // takes QWidget's, so that it never ends up a parentless non-window.
        if (widget->isWindow())
            target->setParent(parent);
        else
            widget->setParent(static_cast<QWidget *>(parent));
    } else {
        target->setParent(parent);
    }
    // Without a parent the object is the script's, as in PythonQt.
    if (!parent)
        self->ownedByPython = true;
    Py_RETURN_NONE;
}

PyObject *wrapAll(const QObjectList &objects)
{
    QObjectList shown;
    for (QObject *object : objects) {
        if (!dynamic_cast<SignalReceiver *>(object))
            shown.append(object);
    }
    PyObject *tuple = PyTuple_New(shown.size());
    for (int i = 0; tuple && i < shown.size(); ++i) {
        PyObject *wrapped = PythonQtPrivate::instance()->wrap(shown.at(i));
        if (!wrapped) {
            Py_CLEAR(tuple);
            break;
        }
        PyTuple_SET_ITEM(tuple, i, wrapped);
    }
    return tuple;
}

PyObject *builtinChildren(Wrapper *self, const Member &member, PyObject *const *args,
                          Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 0, 0);
    return target ? wrapAll(target->children()) : nullptr;
}

// findChild(type, name='') and findChildren(type, name=''): descendants of
// a class, given as a registered class, an instance of one (whose class it
// is, as in PythonQt, alive or not) or by its name as text, by object name
// when one is given. As in PythonQt, a type that is none of these finds nothing.
bool childCriteria(const Member &member, PyObject *const *args, Py_ssize_t nargs,
                   QByteArray &className, QString &name)
{
    if (nargs == 2) {
        QByteArray text;
        if (!textArgument(args[1], text)) {
            if (!PyErr_Occurred())
                wrongArguments(member, args, nargs, true);
            return false;
        }
        name = QString::fromUtf8(text);
    }
    ClassInfo *info = PyType_Check(args[0])
        ? PythonQtPrivate::instance()->classForType(reinterpret_cast<PyTypeObject *>(args[0]))
        : nullptr;
    if (!info && InstanceWrapper::check(args[0]))
        info = reinterpret_cast<Wrapper *>(args[0])->classInfo;
    if (info)
        className = info->className;
    else if (PyUnicode_Check(args[0]))
        signatureArgument(args[0], className);
    return true;
}

QObjectList findDescendants(QObject *target, const QByteArray &className, const QString &name,
                            bool firstOnly)
{
    QObjectList found;
    if (className.isEmpty())
        return found;
    for (QObject *child : target->findChildren<QObject *>(name)) {
        if (child->inherits(className.constData()) && !dynamic_cast<SignalReceiver *>(child)) {
            found.append(child);
            if (firstOnly)
                break;
        }
    }
    return found;
}

PyObject *builtinFindChild(Wrapper *self, const Member &member, PyObject *const *args,
                           Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 1, 2);
    QByteArray className;
    QString name;
    if (!target || !childCriteria(member, args, nargs, className, name))
        return nullptr;
    // Converting the name may have run Python code that deleted the object.
    if (!(target = aliveOrRaise(self, member)))
        return nullptr;
    const QObjectList found = findDescendants(target, className, name, true);
    return PythonQtPrivate::instance()->wrap(found.value(0));
}

PyObject *builtinFindChildren(Wrapper *self, const Member &member, PyObject *const *args,
                              Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 1, 2);
    QByteArray className;
    QString name;
    if (!target || !childCriteria(member, args, nargs, className, name))
        return nullptr;
    if (!(target = aliveOrRaise(self, member)))
        return nullptr;
    return wrapAll(findDescendants(target, className, name, false));
}

PyObject *builtinProperty(Wrapper *self, const Member &member, PyObject *const *args,
                          Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 1, 1);
    if (!target)
        return nullptr;
    QByteArray name;
    if (!textArgument(args[0], name))
        return PyErr_Occurred() ? nullptr : wrongArguments(member, args, nargs, true);
    // str() of the name may have run Python code that deleted the object.
    if (!(target = aliveOrRaise(self, member)))
        return nullptr;
    return Conversions::fromVariant(target->property(name.constData()));
}

// The class's meta-object, which outlives the object: Qt's static one.
PyObject *builtinMetaObject(Wrapper *self, const Member &member, PyObject *const *args,
                            Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 0, 0);
    return target ? MetaObjectWrapper::wrap(target->metaObject()) : nullptr;
}

// PythonQt fails part-way on a sequence it cannot read by index, and
// Python reports the error it leaves behind as the call's; ours raises the
// same, caused by the same error, and changes nothing.
PyObject *failedPartWay(Wrapper *self, const Member &member)
{
    return _PyErr_FormatFromCause(
        PyExc_SystemError,
        "<qt slot %s of %s instance at %p> returned a result with an exception set",
        member.name.constData(), _PyType_Name(Py_TYPE(self)), static_cast<void *>(self));
}

PyObject *builtinSetProperty(Wrapper *self, const Member &member, PyObject *const *args,
                             Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 2, 2);
    if (!target)
        return nullptr;
    QByteArray name;
    if (!textArgument(args[0], name))
        return PyErr_Occurred() ? nullptr : wrongArguments(member, args, nargs, true);
    QVariant value;
    if (!Conversions::toVariant(args[1], value)) {
        PyErr_Format(PyExc_ValueError, "%s can not be stored in property '%s'",
                     MethodCall::shortRepr(args[1]).constData(), name.constData());
        return nullptr;
    }
    if (SequenceReading::holdsFailingSequence(args[1]))
        return failedPartWay(self, member);
    // Converting may have run Python code (a __str__, an __iter__) that deleted the object.
    if (!(target = aliveOrRaise(self, member)))
        return nullptr;
    // False for a new dynamic property, as QObject::setProperty() says.
    return PyBool_FromLong(target->setProperty(name.constData(), value));
}

PyObject *builtinTr(Wrapper *self, const Member &member, PyObject *const *args, Py_ssize_t nargs)
{
    QObject *target = aliveOrRaise(self, member);
    if (!target)
        return nullptr;
    const char *text = nargs == 1 && PyUnicode_Check(args[0]) ? PyUnicode_AsUTF8(args[0]) : nullptr;
    if (!text) {
        if (!PyErr_Occurred())
            PyErr_SetString(PyExc_ValueError, "tr() takes one str");
        return nullptr;
    }
    return Conversions::fromString(
        QCoreApplication::translate(target->metaObject()->className(), text));
}

// A signal by signature ("finished(int)", optionally after a digit, as
// moc's "2"), the way PythonQt finds the signals Python callables hear;
// PythonQt takes no bare names. -1 for a signal the object lacks.
int signalIndex(QObject *target, QByteArray text)
{
    if (!text.isEmpty() && isdigit(uchar(text.at(0))))
        text.remove(0, 1);
    if (!text.contains('('))
        return -1;
    return target->metaObject()->indexOfSignal(
        QMetaObject::normalizedSignature(text.constData()).constData());
}

PyObject *noSuchSignal(const char *action, QObject *target, const QByteArray &signature)
{
    qWarning("PythonQt: QObject::%s() signal '%s' does not exist on %s", action,
             signature.constData(), target->metaObject()->className());
    Py_RETURN_FALSE;
}

// PythonQt's warning for an empty signature; connect() to a callable
// names disconnect() there too.
PyObject *emptySignal(const char *action)
{
    qWarning("PythonQt: QObject::%s() signal is empty.", action);
    Py_RETURN_FALSE;
}

// The receiver and its method, in moc's form ("1slot()" or "2signal()"), of
// a connection between two Qt objects; false when the arguments are no
// receiver and slot.
bool qtReceiver(PyObject *const *args, QObject *&receiver, QByteArray &method)
{
    receiver = InstanceWrapper::check(args[1])
        ? PythonQtPrivate::liveObject(reinterpret_cast<Wrapper *>(args[1]))
        : nullptr;
    if (!receiver || !signatureArgument(args[2], method))
        return false;
    if (!method.startsWith('1') && !method.startsWith('2'))
        method.prepend('1');
    return true;
}

// The signature as PythonQt hands it to Qt's own connect and disconnect:
// moc's "2" before it unless it starts with a digit, otherwise as written,
// for Qt to find, refuse and warn about as it does.
QByteArray qtSignalCode(const QByteArray &signature)
{
    return isdigit(uchar(signature.at(0))) ? signature : '2' + signature;
}

// The signal Qt's connect and disconnect take the code for (a clone with
// fewer arguments stands for its original, as in Qt), or -1.
int qtSignalIndex(QObject *target, const QByteArray &code)
{
    // Qt reads the code from the first character's two lowest bits, after
    // normalizing, as moc's SIGNAL() writes '2'.
    const QByteArray normalized = QMetaObject::normalizedSignature(code.constData());
    if (normalized.isEmpty() || ((normalized.at(0) - '0') & 0x3) != 2)
        return -1;
    const QMetaObject *mo = target->metaObject();
    int index = mo->indexOfSignal(normalized.constData() + 1);
    while (index > 0 && (mo->method(index).attributes() & QMetaMethod::Cloned))
        --index;
    return index;
}

// What connect() and disconnect() are given, checked as PythonQt's
// overloads would take it: a signature first; after it a callable, or a
// receiver and its slot.
struct SignalArguments
{
    QByteArray signature;
    QObject *receiver = nullptr;
    QByteArray method;
};

bool signalArguments(const Member &member, PyObject *const *args, Py_ssize_t nargs,
                     SignalArguments &given)
{
    if (!signatureArgument(args[0], given.signature)
        || (nargs == 3 && !qtReceiver(args, given.receiver, given.method))) {
        wrongArguments(member, args, nargs, true);
        return false;
    }
    return true;
}

// A connection between two Qt objects a script made, which disconnect()
// with the signature alone takes away again.
PyObject *connectQt(QObject *target, const SignalArguments &given)
{
    const QByteArray code = qtSignalCode(given.signature);
    // Qt's own connect compares the arguments of both ends, and refuses,
    // with its warning, what would crash when the signal fires.
    const QMetaObject::Connection connection =
        QObject::connect(target, code.constData(), given.receiver, given.method.constData());
    if (!connection)
        Py_RETURN_FALSE;
    auto &made = PythonQtPrivate::instance()->scriptConnections[target];
    made.erase(std::remove_if(made.begin(), made.end(),
                              [](const ScriptConnection &old) { return !old.connection; }),
               made.end());
    made.append({qtSignalIndex(target, code), connection});
    Py_RETURN_TRUE;
}

// disconnect() with the signature alone: PythonQt hands it to Qt, which
// warns about a signal it cannot find, and takes away every connection of
// a signal it finds. Ours takes away those a script made with connect(),
// and leaves the object's own, which it and the bridge go on relying on.
bool disconnectQt(QObject *target, const QByteArray &signature)
{
    const QByteArray code = qtSignalCode(signature);
    const int index = qtSignalIndex(target, code);
    if (index < 0)
        return QObject::disconnect(target, code.constData(), nullptr, nullptr);
    PythonQtPrivate *d = PythonQtPrivate::instance();
    const auto made = d->scriptConnections.value(target);
    bool found = false;
    for (const ScriptConnection &connection : made) {
        if (connection.signal == index)
            found = QObject::disconnect(connection.connection) || found;
    }
    return found;
}

PyObject *builtinConnect(Wrapper *self, const Member &member, PyObject *const *args,
                         Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 2, 3);
    SignalArguments given;
    if (!target || !signalArguments(member, args, nargs, given))
        return nullptr;
    if (given.signature.isEmpty())
        return emptySignal(nargs == 2 ? "disconnect" : "connect");
    if (nargs == 3)
        return connectQt(target, given);
    const int index = signalIndex(target, given.signature);
    if (index < 0)
        return noSuchSignal("connect", target, given.signature);
    // Anything is taken, as in PythonQt: what cannot be called fails
    // when the signal fires, reported like every callback's error.
    return PyBool_FromLong(
        PythonQtPrivate::instance()->receiverFor(target)->connectCallable(index, args[1]));
}

PyObject *builtinDisconnect(Wrapper *self, const Member &member, PyObject *const *args,
                            Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, args, nargs, 1, 3);
    SignalArguments given;
    if (!target || !signalArguments(member, args, nargs, given))
        return nullptr;
    if (given.signature.isEmpty())
        return emptySignal("disconnect");
    if (nargs == 3) {
        const QByteArray code = qtSignalCode(given.signature);
        return PyBool_FromLong(QObject::disconnect(target, code.constData(), given.receiver,
                                                   given.method.constData()));
    }
    const bool qtFound = nargs == 1 && disconnectQt(target, given.signature);
    const int index = signalIndex(target, given.signature);
    if (index < 0) {
        // A signal Qt knows by another spelling, but the callables' not.
        if (qtFound)
            Py_RETURN_TRUE;
        return noSuchSignal("disconnect", target, given.signature);
    }
    const bool found = PythonQtPrivate::instance()->receiverFor(target)->disconnectCallable(
        index, nargs == 2 ? args[1] : nullptr);
    // Comparing callables runs their __eq__, which may have deleted the object.
    return aliveOrRaise(self, member) ? PyBool_FromLong(found || qtFound) : nullptr;
}

// PythonQt's help text: the class's properties with their types, its
// constructors, slots and signals, inherited ones included, in the
// meta-object's order.
QByteArray helpText(ClassInfo *info)
{
    const QMetaObject *mo = info->metaObject;
    QByteArray text = "--- " + info->className + " ---\nProperties:\n";
    for (int i = 0; i < mo->propertyCount(); ++i)
        text += QByteArray(mo->property(i).name()) + " (" + mo->property(i).typeName() + " )\n";
    text += "Constructors:\n";
    for (const Overload &constructor : PythonQtPrivate::instance()->constructors(info))
        text += constructor.signature + '\n';
    text += "Slots:\nQString help()\nQString className()\n";
    QByteArray signals;
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod method = mo->method(i);
        if (method.methodType() == QMetaMethod::Signal)
            signals += method.methodSignature() + '\n';
        else if (method.access() == QMetaMethod::Public
                 && method.methodType() != QMetaMethod::Constructor)
            text += MethodCall::makeOverload(method, mo, nullptr, false, method.name()).signature
                + '\n';
    }
    return text + "Signals:\n" + signals;
}

PyObject *builtinHelp(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    // The class's text: PythonQt gives it for a deleted object too.
    if (!expectNoArguments(self, member, nargs))
        return nullptr;
    return PyUnicode_FromString(helpText(self->classInfo).constData());
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
    {"findChild", builtinFindChild},
    {"findChildren", builtinFindChildren},
    {"property", builtinProperty},
    {"setProperty", builtinSetProperty},
    {"tr", builtinTr},
    {"metaObject", builtinMetaObject},
};

// className(), inherits(), help() and delete() are PythonQt's own methods
// of its wrapper type, the other built-ins slots of its QObject decorator:
// read from a class they are the type's method descriptors, which Python
// itself checks the instance of.
template<const char *name>
PyObject *plainMethod(PyObject *self, PyObject *const *args, Py_ssize_t nargs)
{
    Wrapper *wrapper = reinterpret_cast<Wrapper *>(self);
    Member member;
    member.kind = Member::Builtin;
    member.name = name;
    member.builtin = Builtins::find(member.name);
    if (!PythonQtPrivate::instance()) {
        PyErr_SetString(PyExc_RuntimeError, "PythonQt has been cleaned up");
        return nullptr;
    }
    if (PythonQtPrivate::liveObject(wrapper)
        && PythonQtPrivate::refuseOffGuiThread("call", member.name, wrapper->classInfo->className))
        return nullptr;
    return member.builtin(wrapper, member, args, nargs);
}

constexpr char classNameName[] = "className";
constexpr char inheritsName[] = "inherits";
constexpr char helpName[] = "help";
constexpr char deleteName[] = "delete";

PyMethodDef plainMethods[] = {
    {classNameName,
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(plainMethod<classNameName>)),
     METH_FASTCALL, nullptr},
    {inheritsName,
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(plainMethod<inheritsName>)),
     METH_FASTCALL, nullptr},
    {helpName, reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(plainMethod<helpName>)),
     METH_FASTCALL, nullptr},
    {deleteName,
     reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(plainMethod<deleteName>)),
     METH_FASTCALL, nullptr},
};

} // namespace

namespace Builtins {

const char *inheritsArgument(PyObject *const *args, Py_ssize_t nargs)
{
    if (nargs != 1) {
        PyErr_Format(PyExc_TypeError,
                     "PythonQtInstanceWrapper.inherits() takes exactly 1 argument (%zd given)",
                     nargs);
        return nullptr;
    }
    // Python's own checks of a text argument, as PythonQt's: None named as such, no NUL.
    if (!PyUnicode_Check(args[0])) {
        PyErr_Format(PyExc_TypeError,
                     "PythonQtInstanceWrapper.inherits() argument 1 must be str, not %s",
                     args[0] == Py_None ? "None" : _PyType_Name(Py_TYPE(args[0])));
        return nullptr;
    }
    Py_ssize_t size = 0;
    const char *name = PyUnicode_AsUTF8AndSize(args[0], &size);
    if (name && Py_ssize_t(qstrlen(name)) != size) {
        PyErr_SetString(PyExc_ValueError, "embedded null character");
        return nullptr;
    }
    return name;
}

bool addPlainMethods(PyTypeObject *wrapperType)
{
    for (PyMethodDef &method : plainMethods) {
        PyObject *descriptor = PyDescr_NewMethod(wrapperType, &method);
        const bool added = descriptor
            && PyDict_SetItemString(wrapperType->tp_dict, method.ml_name, descriptor) == 0;
        Py_XDECREF(descriptor);
        if (!added)
            return false;
    }
    PyType_Modified(wrapperType);
    return true;
}

QByteArray firstSignature(const QByteArray &name)
{
    return signaturesOf(name).value(0, name + "()");
}

BuiltinFunction find(const QByteArray &name)
{
    for (const BuiltinEntry &entry : builtins) {
        if (name == entry.name)
            return entry.function;
    }
    return nullptr;
}

bool isWrapperMethod(const QByteArray &name)
{
    return std::any_of(std::begin(plainMethods), std::end(plainMethods),
                       [&name](const PyMethodDef &method) { return name == method.ml_name; });
}

QList<QByteArray> names()
{
    QList<QByteArray> result;
    for (const BuiltinEntry &entry : builtins)
        result.append(entry.name);
    return result;
}

} // namespace Builtins
