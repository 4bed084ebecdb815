// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "signalreceiver.h"

#include "conversions.h"
#include "pythonqt_p.h"

#include <QMetaMethod>
#include <QPointer>

#include <utility>

namespace {

// How many positional arguments a Python callable takes; -1 for any.
int positionalCapacity(PyObject *callable)
{
    PyObject *function = callable;
    int bound = 0;
    if (PyMethod_Check(callable)) {
        function = PyMethod_GET_FUNCTION(callable);
        bound = 1;
    }
    if (!PyFunction_Check(function))
        return -1;
    const auto code = reinterpret_cast<PyCodeObject *>(PyFunction_GET_CODE(function));
    if (code->co_flags & CO_VARARGS)
        return -1;
    return qMax(0, code->co_argcount - bound);
}

int firstDynamicSlot()
{
    return QObject::staticMetaObject.methodCount();
}

// Printing a traceback runs Python code (sys.stderr's write): at the
// recursion limit it needs room beyond it, or only "lost sys.stderr" shows.
void reportError(PythonQtPrivate *d)
{
    constexpr int PrintingRoom = 50;
    const int limit = Py_GetRecursionLimit();
    Py_SetRecursionLimit(limit + PrintingRoom);
    d->q->handleError();
    Py_SetRecursionLimit(limit);
}

} // namespace

SignalReceiver::SignalReceiver(QObject *sender)
    : QObject(sender)
    , sender(sender)
{ }

SignalReceiver::~SignalReceiver()
{
    if (auto d = PythonQtPrivate::instance())
        d->forgetReceiver(sender);
    if (!Py_IsInitialized())
        return;
    PyGILState_STATE state = PyGILState_Ensure();
    for (Connection &connection : connections)
        Py_CLEAR(connection.callable);
    PyGILState_Release(state);
}

const SignalReceiver::SignalShape &SignalReceiver::shapeOf(int signalIndex)
{
    auto known = shapes.constFind(signalIndex);
    if (known != shapes.cend())
        return *known;
    const QMetaMethod signal = sender->metaObject()->method(signalIndex);
    SignalShape shape;
    const QList<QByteArray> types = signal.parameterTypes();
    for (int i = 0; i < signal.parameterCount(); ++i)
        shape.params.append(
            ArgType::fromTypeName(types.at(i), signal.parameterType(i), sender->metaObject()));
    shape.senderDying = signal.methodSignature().startsWith("destroyed(")
        && signal.enclosingMetaObject() == &QObject::staticMetaObject;
    return *shapes.insert(signalIndex, shape);
}

bool SignalReceiver::connectCallable(int signalIndex, PyObject *callable)
{
    const int parameterCount = shapeOf(signalIndex).params.size();
    const int id = freeIds.isEmpty() ? connections.size() : freeIds.last();
    if (!QMetaObject::connect(sender, signalIndex, this, firstDynamicSlot() + id,
                              Qt::DirectConnection))
        return false;
    if (id == connections.size())
        connections.append(Connection());
    else
        freeIds.removeLast();
    Connection &connection = connections[id];
    connection.signalIndex = signalIndex;
    const int capacity = positionalCapacity(callable);
    connection.argumentCount = capacity < 0 ? parameterCount : qMin(capacity, parameterCount);
    Py_INCREF(callable);
    connection.callable = callable;
    idsBySignal[signalIndex].append(id);
    return true;
}

bool SignalReceiver::disconnectCallable(int signalIndex, PyObject *callable)
{
    bool found = false;
    // A copy: comparing runs Python code, and drop() edits the list.
    const QVector<int> ids = idsBySignal.value(signalIndex);
    const QPointer<SignalReceiver> alive(this);
    for (const int id : ids) {
        if (!alive)
            break;
        PyObject *connected = connections.at(id).callable;
        if (!connected)
            continue;
        if (callable) {
            // __eq__ may disconnect it, or delete the sender and this.
            Py_INCREF(connected);
            int equal = PyObject_RichCompareBool(connected, callable, Py_EQ);
            if (equal < 0)
                PyErr_Clear();
            if (!alive || connections.at(id).callable != connected)
                equal = 0;
            Py_DECREF(connected);
            if (equal <= 0)
                continue;
        }
        // One connection for each disconnect, as in PythonQt: a callable
        // connected twice still hears the signal once.
        drop(id);
        found = true;
        if (callable)
            break;
    }
    return found;
}

int SignalReceiver::traverseCallables(visitproc visit, void *arg) const
{
    for (const Connection &connection : connections)
        Py_VISIT(connection.callable);
    return 0;
}

void SignalReceiver::dropCallables()
{
    QVector<PyObject *> released;
    for (int id = 0; id < connections.size(); ++id) {
        Connection &connection = connections[id];
        if (!connection.callable)
            continue;
        QMetaObject::disconnect(sender, connection.signalIndex, this, firstDynamicSlot() + id);
        released.append(std::exchange(connection.callable, nullptr));
        freeIds.append(id);
    }
    idsBySignal.clear();
    // The last of them may hold the wrapper whose object owns this receiver.
    for (PyObject *callable : qAsConst(released))
        Py_DECREF(callable);
}

void SignalReceiver::drop(int id)
{
    Connection &connection = connections[id];
    if (!connection.callable)
        return;
    QMetaObject::disconnect(sender, connection.signalIndex, this, firstDynamicSlot() + id);
    QVector<int> &ids = idsBySignal[connection.signalIndex];
    ids.removeOne(id);
    if (ids.isEmpty())
        idsBySignal.remove(connection.signalIndex);
    PyObject *callable = std::exchange(connection.callable, nullptr);
    freeIds.append(id);
    Py_DECREF(callable);
}

int SignalReceiver::qt_metacall(QMetaObject::Call call, int id, void **args)
{
    id = QObject::qt_metacall(call, id, args);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id < connections.size() && connections.at(id).callable)
        deliver(id, args);
    return -1;
}

void SignalReceiver::deliver(int id, void **args)
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d)
        return;
    PyGILState_STATE state = PyGILState_Ensure();
    // The callback may connect or disconnect and so move or drop this
    // connection: what it needs is taken first.
    const Connection connection = connections.at(id);
    const SignalShape &shape = shapeOf(connection.signalIndex);
    // destroyed() emitted by a script leaves its sender alive: only Qt's
    // own, from the destructor, says that the sender is going.
    const bool senderDying = shape.senderDying && PythonQtPrivate::isBeingDestroyed(sender);
    // A dying sender is past being deleted again, and must not be watched.
    const BusyScope busy(senderDying ? nullptr : sender, BusyScope::Delivery);
    if (senderDying)
        d->objectDestroyed(sender);
    PyObject *callable = connection.callable;
    Py_INCREF(callable);
    PyObject *arguments = PyTuple_New(connection.argumentCount);
    for (int i = 0; arguments && i < connection.argumentCount; ++i) {
        // The object half destroyed is no longer anything a script may use.
        PyObject *value = nullptr;
        if (senderDying) {
            value = Py_None;
            Py_INCREF(value);
        } else {
            value = Conversions::fromArg(shape.params.at(i), args[i + 1]);
        }
        if (!value) {
            Py_CLEAR(arguments);
            break;
        }
        PyTuple_SET_ITEM(arguments, i, value);
    }
    PyObject *result = nullptr;
    // A signal connected to a slot or signal of its own sender passes no
    // Python frame on its way round: counting here ends that recursion.
    if (arguments && Py_EnterRecursiveCall(" while delivering a Qt signal to Python") == 0) {
        result = PyObject_Call(callable, arguments, nullptr);
        Py_LeaveRecursiveCall();
    }
    // An exception must not unwind through Qt: report it as every error is.
    if (!result)
        reportError(d);
    Py_XDECREF(result);
    Py_XDECREF(arguments);
    Py_DECREF(callable);
    PyGILState_Release(state);
}
