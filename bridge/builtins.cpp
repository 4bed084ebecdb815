// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// The methods every wrapper has besides its class's own: those PythonQt
// adds to each QObject.
#include "pythonqt_p.h"
#include "signalreceiver.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

using Wrapper = PythonQtInstanceWrapper;

QObject *aliveOrRaise(Wrapper *self, const Member &member)
{
    QObject *target = PythonQtPrivate::liveObject(self);
    if (!target)
        InstanceWrapper::destroyedError("call", member.name, self);
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

// The target, alive and given an acceptable number of arguments; else null
// with a Python error.
QObject *prepareCall(Wrapper *self, const Member &member, Py_ssize_t nargs, Py_ssize_t min,
                     Py_ssize_t max)
{
    QObject *target = aliveOrRaise(self, member);
    return target && expectArguments(member, nargs, min, max) ? target : nullptr;
}

const char *textArgument(const Member &member, PyObject *value)
{
    const char *text = PyUnicode_Check(value) ? PyUnicode_AsUTF8(value) : nullptr;
    if (!text && !PyErr_Occurred())
        PyErr_Format(PyExc_ValueError, "%s() takes a str", member.name.constData());
    return text;
}

PyObject *builtinClassName(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    if (!expectArguments(member, nargs, 0, 0))
        return nullptr;
    // Known even once the object is gone; a Python subclass names itself, as in PythonQt.
    QObject *target = PythonQtPrivate::liveObject(self);
    if (Py_TYPE(self) != self->classInfo->type)
        return PyUnicode_FromString(_PyType_Name(Py_TYPE(self)));
    return PyUnicode_FromString(target ? target->metaObject()->className()
                                       : self->classInfo->className.constData());
}

PyObject *builtinInherits(Wrapper *self, const Member &member, PyObject *const *args,
                          Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 1, 1);
    const char *name = target ? textArgument(member, args[0]) : nullptr;
    return name ? PyBool_FromLong(target->inherits(name)) : nullptr;
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
    if (!expectArguments(member, nargs, 0, 0))
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

PyObject *builtinParent(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 0, 0);
    return target ? PythonQtPrivate::instance()->wrap(target->parent()) : nullptr;
}

PyObject *builtinSetParent(Wrapper *self, const Member &member, PyObject *const *args,
                           Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 1, 1);
    if (!target)
        return nullptr;
    QObject *parent = nullptr;
    if (args[0] != Py_None) {
        if (!InstanceWrapper::check(args[0])
            || !(parent = PythonQtPrivate::liveObject(reinterpret_cast<Wrapper *>(args[0])))) {
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
        static_cast<QWidget *>(target)->setParent(static_cast<QWidget *>(parent));
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

PyObject *builtinChildren(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 0, 0);
    return target ? wrapAll(target->children()) : nullptr;
}

// findChild(Class, name='') and findChildren(Class, name=''): descendants of
// a registered class, by object name when one is given.
bool childCriteria(const Member &member, PyObject *const *args, Py_ssize_t nargs,
                   QByteArray &className, QString &name)
{
    ClassInfo *info = PyType_Check(args[0])
        ? PythonQtPrivate::instance()->classForType(reinterpret_cast<PyTypeObject *>(args[0]))
        : nullptr;
    if (!info) {
        PyErr_Format(PyExc_ValueError, "%s() takes a registered class first",
                     member.name.constData());
        return false;
    }
    className = info->className;
    return nargs < 2 || Conversions::toString(args[1], name, true)
        || (PyErr_Format(PyExc_ValueError, "%s() takes a str name", member.name.constData()),
            false);
}

QObjectList findDescendants(QObject *target, const QByteArray &className, const QString &name,
                            bool firstOnly)
{
    QObjectList found;
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
    QObject *target = prepareCall(self, member, nargs, 1, 2);
    QByteArray className;
    QString name;
    if (!target || !childCriteria(member, args, nargs, className, name))
        return nullptr;
    const QObjectList found = findDescendants(target, className, name, true);
    return PythonQtPrivate::instance()->wrap(found.value(0));
}

PyObject *builtinFindChildren(Wrapper *self, const Member &member, PyObject *const *args,
                              Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 1, 2);
    QByteArray className;
    QString name;
    if (!target || !childCriteria(member, args, nargs, className, name))
        return nullptr;
    PyObject *tuple = wrapAll(findDescendants(target, className, name, false));
    PyObject *list = tuple ? PySequence_List(tuple) : nullptr;
    Py_XDECREF(tuple);
    return list;
}

PyObject *builtinProperty(Wrapper *self, const Member &member, PyObject *const *args,
                          Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 1, 1);
    const char *name = target ? textArgument(member, args[0]) : nullptr;
    return name ? Conversions::fromVariant(target->property(name)) : nullptr;
}

PyObject *builtinSetProperty(Wrapper *self, const Member &member, PyObject *const *args,
                             Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 2, 2);
    const char *name = target ? textArgument(member, args[0]) : nullptr;
    if (!name)
        return nullptr;
    QVariant value;
    if (!Conversions::toVariant(args[1], value)) {
        PyErr_Format(PyExc_ValueError, "%s can not be stored in property '%s'",
                     MethodCall::shortRepr(args[1]).constData(), name);
        return nullptr;
    }
    // Converting may have run Python code (an __iter__) that deleted the object.
    if (!(target = aliveOrRaise(self, member)))
        return nullptr;
    // False for a new dynamic property, as QObject::setProperty() says.
    return PyBool_FromLong(target->setProperty(name, value));
}

PyObject *builtinTr(Wrapper *self, const Member &member, PyObject *const *args, Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 1, 1);
    const char *text = target ? textArgument(member, args[0]) : nullptr;
    return text ? Conversions::fromString(
               QCoreApplication::translate(target->metaObject()->className(), text))
                : nullptr;
}

// A signal by signature ("finished(int)", optionally with moc's "2" prefix);
// PythonQt takes no bare names.
int signalIndex(QObject *target, PyObject *signature)
{
    if (!PyUnicode_Check(signature))
        return -1;
    QByteArray text = PyUnicode_AsUTF8(signature);
    if (text.startsWith('2'))
        text.remove(0, 1);
    if (!text.contains('('))
        return -1;
    return target->metaObject()->indexOfSignal(
        QMetaObject::normalizedSignature(text.constData()).constData());
}

PyObject *noSuchSignal(const char *action, QObject *target, PyObject *signature)
{
    PyObject *text = PyObject_Str(signature);
    qWarning("PythonQt: QObject::%s() signal '%s' does not exist on %s", action,
             text ? PyUnicode_AsUTF8(text) : "?", target->metaObject()->className());
    Py_XDECREF(text);
    PyErr_Clear();
    Py_RETURN_FALSE;
}

// The receiver and its method, in moc's form ("1slot()" or "2signal()"), of
// a connection between two Qt objects.
bool qtReceiver(PyObject *const *args, QObject *&receiver, QByteArray &method)
{
    receiver = InstanceWrapper::check(args[1])
        ? PythonQtPrivate::liveObject(reinterpret_cast<Wrapper *>(args[1]))
        : nullptr;
    if (!receiver || !PyUnicode_Check(args[2])) {
        PyErr_SetString(PyExc_ValueError, "takes a signal, a live Qt object and a slot");
        return false;
    }
    method = PyUnicode_AsUTF8(args[2]);
    if (!method.startsWith('1') && !method.startsWith('2'))
        method.prepend('1');
    return true;
}

QByteArray signalCode(QObject *target, int index)
{
    return '2' + target->metaObject()->method(index).methodSignature();
}

PyObject *builtinConnect(Wrapper *self, const Member &member, PyObject *const *args,
                         Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 2, 3);
    if (!target)
        return nullptr;
    const int index = signalIndex(target, args[0]);
    if (index < 0)
        return noSuchSignal("connect", target, args[0]);
    if (nargs == 2) {
        // Anything is taken, as in PythonQt: what cannot be called fails
        // when the signal fires, reported like every callback's error.
        return PyBool_FromLong(
            PythonQtPrivate::instance()->receiverFor(target)->connectCallable(index, args[1]));
    }
    QObject *receiver = nullptr;
    QByteArray method;
    if (!qtReceiver(args, receiver, method))
        return nullptr;
    // Qt's own connect compares the arguments of both ends, and refuses,
    // with its warning, what would crash when the signal fires.
    return PyBool_FromLong(bool(QObject::connect(target, signalCode(target, index).constData(),
                                                 receiver, method.constData())));
}

PyObject *builtinDisconnect(Wrapper *self, const Member &member, PyObject *const *args,
                            Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 1, 3);
    if (!target)
        return nullptr;
    const int index = signalIndex(target, args[0]);
    if (index < 0)
        return noSuchSignal("disconnect", target, args[0]);
    if (nargs == 3) {
        QObject *receiver = nullptr;
        QByteArray method;
        if (!qtReceiver(args, receiver, method))
            return nullptr;
        return PyBool_FromLong(QObject::disconnect(target, signalCode(target, index).constData(),
                                                   receiver, method.constData()));
    }
    const bool found = PythonQtPrivate::instance()->receiverFor(target)->disconnectCallable(
        index, nargs == 2 ? args[1] : nullptr);
    // Comparing callables runs their __eq__, which may have deleted the object.
    return aliveOrRaise(self, member) ? PyBool_FromLong(found) : nullptr;
}

PyObject *builtinHelp(Wrapper *self, const Member &member, PyObject *const *, Py_ssize_t nargs)
{
    QObject *target = prepareCall(self, member, nargs, 0, 0);
    if (!target)
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
    PyObject *out = PySys_GetObject("stdout"); // borrowed
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
    {"findChild", builtinFindChild},
    {"findChildren", builtinFindChildren},
    {"property", builtinProperty},
    {"setProperty", builtinSetProperty},
    {"tr", builtinTr},
};

} // namespace

namespace Builtins {

BuiltinFunction find(const QByteArray &name)
{
    for (const BuiltinEntry &entry : builtins) {
        if (name == entry.name)
            return entry.function;
    }
    return nullptr;
}

QList<QByteArray> names()
{
    QList<QByteArray> result;
    for (const BuiltinEntry &entry : builtins)
        result.append(entry.name);
    return result;
}

} // namespace Builtins
