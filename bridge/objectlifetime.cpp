// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// Which wrapper stands for which object, when an object counts as gone, and
// when an object a script lets go of is deleted.
#include "pythonqt_p.h"
#include "signalreceiver.h"

#include <QWidget>

#include <utility>

namespace {

// QObject keeps its destruction flags in QObjectData, which its public
// header declares; this reads them through the protected d_ptr.
struct ObjectData : QObject
{
    static const QObjectData *of(const QObject *object)
    {
        return (object->*(&ObjectData::d_ptr)).data();
    }
};

} // namespace

bool PythonQtPrivate::isBeingDestroyed(const QObject *object)
{
    // A widget's destructor deletes its children before QObject's runs: a
    // child going then takes its parent with it.
    for (const QObject *o = object; o; o = o->parent()) {
        const QObjectData *data = ObjectData::of(o);
        if (data->wasDeleted || data->isDeletingChildren)
            return true;
        // A widget's destructor emits destroyed() itself, before QObject's
        // sets wasDeleted: only this flag tells that from a script's emit().
        if (data->isWidget
            && qt_qwidget_data(static_cast<QWidget *>(const_cast<QObject *>(o)))->in_destructor)
            return true;
    }
    return false;
}

QObject *PythonQtPrivate::liveObject(const PythonQtInstanceWrapper *wrapper)
{
    QObject *object = wrapper->object.data();
    return object && !isBeingDestroyed(object) ? object : nullptr;
}

PyObject *PythonQtPrivate::wrap(QObject *object)
{
    if (!object || isBeingDestroyed(object))
        Py_RETURN_NONE;
    PythonQtInstanceWrapper *existing = wrappers.value(object);
    if (existing && existing->object.data() == object) {
        Py_INCREF(existing);
        return reinterpret_cast<PyObject *>(existing);
    }
    ClassInfo *info = classForObject(object);
    return newWrapper(info->type, info, object, false);
}

PyObject *PythonQtPrivate::newWrapper(PyTypeObject *type, ClassInfo *info, QObject *object,
                                      bool ownedByPython)
{
    PyObject *created = type->tp_alloc(type, 0);
    if (!created)
        return nullptr;
    auto wrapper = reinterpret_cast<PythonQtInstanceWrapper *>(created);
    new (&wrapper->object) QPointer<QObject>();
    new (&wrapper->destroyedConnection) QMetaObject::Connection();
    wrapper->classInfo = info;
    wrapper->weakReferences = nullptr;
    wrapper->ownedByPython = false;
    if (object)
        attach(wrapper, object, ownedByPython);
    return created;
}

void PythonQtPrivate::attach(PythonQtInstanceWrapper *wrapper, QObject *object, bool ownedByPython)
{
    wrapper->object = object;
    wrapper->ownedByPython = ownedByPython;
    // From the moment destruction starts, the wrapper reaches nothing, and a
    // later object at the same address must not meet it.
    wrapper->destroyedConnection = QObject::connect(object, &QObject::destroyed, [wrapper, object] {
        PythonQtPrivate *d = instance();
        // A script's emit() of destroyed() leaves the object as it is, as
        // in PythonQt.
        if (!isBeingDestroyed(object))
            return;
        if (d)
            d->objectDestroyed(object);
        wrapper->object.clear();
    });
    wrappers.insert(object, wrapper);
    ClassInfo *info = wrapper->classInfo;
    if (info->shell && Py_TYPE(wrapper) != info->type)
        info->shell(object, wrapper);
}

void PythonQtPrivate::objectDestroyed(QObject *object)
{
    scriptConnections.remove(object);
    if (PythonQtInstanceWrapper *wrapper = wrappers.take(object)) {
        QObject::disconnect(wrapper->destroyedConnection);
        wrapper->ownedByPython = false;
        wrapper->object.clear();
    }
}

void PythonQtPrivate::noteConstructedByScript(QObject *object)
{
    constructedByScript.insert(object);
    QObject::connect(object, &QObject::destroyed, [object] {
        PythonQtPrivate *d = instance();
        if (d && isBeingDestroyed(object))
            d->constructedByScript.remove(object);
    });
}

bool PythonQtPrivate::refuseOffGuiThread(const char *action, const QByteArray &name,
                                         const QByteArray &className)
{
    PythonQtPrivate *d = instance();
    if (!d || d->onGuiThread())
        return false;
    const QByteArray what =
        name.isEmpty() ? QByteArray(action) + " a" : QByteArray(action) + " '" + name + "' of a";
    PyErr_Format(PyExc_RuntimeError,
                 "Trying to %s %s object from a thread that is not the GUI thread: Qt objects may "
                 "only be used from the GUI thread",
                 what.constData(), className.constData());
    return true;
}

int PythonQtPrivate::forEachReceiver(const QObject *root,
                                     const std::function<int(SignalReceiver *)> &visit) const
{
    if (SignalReceiver *receiver = receivers.value(const_cast<QObject *>(root))) {
        if (const int stop = visit(receiver))
            return stop;
    }
    // A parent deleting its children leaves a null where each one was.
    for (const QObject *child : root->children()) {
        if (!child)
            continue;
        if (const int stop = forEachReceiver(child, visit))
            return stop;
    }
    return 0;
}

int PythonQtPrivate::traverseCallables(const QObject *root, visitproc visit, void *arg) const
{
    return forEachReceiver(
        root, [&](SignalReceiver *receiver) { return receiver->traverseCallables(visit, arg); });
}

void PythonQtPrivate::dropCallables(const QObject *root)
{
    QVector<QPointer<SignalReceiver>> found;
    forEachReceiver(root, [&](SignalReceiver *receiver) {
        found.append(receiver);
        return 0;
    });
    // Dropping a callable may free the last reference to the wrapper, and
    // with it the whole tree.
    for (const QPointer<SignalReceiver> &receiver : qAsConst(found)) {
        if (receiver)
            receiver->dropCallables();
    }
}

void PythonQtPrivate::releaseOwned(PythonQtInstanceWrapper *wrapper)
{
    QObject *object = liveObject(wrapper);
    if (!object || !wrapper->ownedByPython || object->parent())
        return;
    objectDestroyed(object);
    deleteOwned(object);
}

void PythonQtPrivate::deleteOwned(QObject *object)
{
    // A worker thread that drops the last reference must not run the
    // widget's destructor: the GUI thread does, from its event loop.
    if (!onGuiThread())
        object->deleteLater();
    else
        deleteFromScript(object);
}

void PythonQtPrivate::forgetWrapper(PythonQtInstanceWrapper *wrapper)
{
    QObject *object = wrapper->object.data();
    QObject::disconnect(wrapper->destroyedConnection);
    if (!object)
        return;
    if (wrappers.value(object) == wrapper)
        wrappers.remove(object);
    if (wrapper->ownedByPython && !object->parent() && !isBeingDestroyed(object)) {
        wrapper->ownedByPython = false;
        deleteOwned(object);
    }
}

bool PythonQtPrivate::isBusy(const QObject *object) const
{
    for (const QPointer<QObject> &busy : busyObjects) {
        for (const QObject *o = busy.data(); o; o = o->parent()) {
            if (o == object)
                return true;
        }
    }
    return false;
}

void PythonQtPrivate::deleteFromScript(QObject *object)
{
    if (!isBusy(object)) {
        delete object;
        return;
    }
    objectDestroyed(object);
    deferredDeletions.append(object);
}

void PythonQtPrivate::deleteDeferred()
{
    const QVector<QPointer<QObject>> due = std::exchange(deferredDeletions, {});
    for (const QPointer<QObject> &object : due)
        delete object.data();
}

void PythonQtPrivate::postDeferred()
{
    const QVector<QPointer<QObject>> due = std::exchange(deferredDeletions, {});
    for (const QPointer<QObject> &object : due) {
        if (object)
            object->deleteLater();
    }
}

BusyScope::BusyScope(QObject *object, Kind kind)
    : kind(kind)
{
    if (PythonQtPrivate *d = PythonQtPrivate::instance())
        d->busyObjects.append(object);
}

BusyScope::~BusyScope()
{
    // cleanup() may have run inside the call.
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d || d->busyObjects.isEmpty())
        return;
    d->busyObjects.removeLast();
    if (!d->busyObjects.isEmpty())
        return;
    if (kind == Call)
        d->deleteDeferred();
    else
        d->postDeferred();
}

void PythonQtPrivate::destroyedEmittedByScript(QObject *object)
{
    if (SignalReceiver *receiver = receivers.value(object))
        receiver->dropCallables();
}

SignalReceiver *PythonQtPrivate::receiverFor(QObject *sender)
{
    SignalReceiver *&receiver = receivers[sender];
    if (!receiver)
        receiver = new SignalReceiver(sender);
    return receiver;
}

void PythonQtPrivate::detachFromScripts()
{
    deleteDeferred();
    const auto remaining = receivers.values();
    qDeleteAll(remaining);
    receivers.clear();
    for (PythonQtInstanceWrapper *wrapper : qAsConst(wrappers)) {
        QObject::disconnect(wrapper->destroyedConnection);
        wrapper->ownedByPython = false;
    }
    wrappers.clear();
}
