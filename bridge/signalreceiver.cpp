#include "signalreceiver.h"

#include "pythonqt_p.h"

#include <QMetaMethod>

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

} // namespace

SignalReceiver::SignalReceiver(QObject *sender) : QObject(sender), sender(sender) {}

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

bool SignalReceiver::connectCallable(int signalIndex, PyObject *callable)
{
    const QMetaMethod signal = sender->metaObject()->method(signalIndex);
    Connection connection;
    connection.signalIndex = signalIndex;
    for (int i = 0; i < signal.parameterCount(); ++i) {
        connection.params.append(ArgType::fromTypeName(signal.parameterTypes().at(i),
                                                       signal.parameterType(i),
                                                       sender->metaObject()));
    }
    // The object that destroyed() carries is half gone: no wrapper may be made for it.
    connection.senderDying = signal.methodSignature().startsWith("destroyed(")
                             && signal.enclosingMetaObject() == &QObject::staticMetaObject;
    const int capacity = positionalCapacity(callable);
    connection.argumentCount = capacity < 0 ? signal.parameterCount()
                                            : qMin(capacity, signal.parameterCount());
    const int id = connections.size();
    if (!QMetaObject::connect(sender, signalIndex, this, firstDynamicSlot() + id,
                              Qt::DirectConnection))
        return false;
    Py_INCREF(callable);
    connection.callable = callable;
    connections.append(connection);
    return true;
}

bool SignalReceiver::disconnectCallable(int signalIndex, PyObject *callable)
{
    bool found = false;
    for (int id = 0; id < connections.size(); ++id) {
        const Connection &connection = connections.at(id);
        if (!connection.callable || connection.signalIndex != signalIndex)
            continue;
        if (callable) {
            const int equal = PyObject_RichCompareBool(connection.callable, callable, Py_EQ);
            if (equal < 0)
                PyErr_Clear();
            if (equal <= 0)
                continue;
        }
        drop(id);
        found = true;
    }
    return found;
}

void SignalReceiver::drop(int id)
{
    Connection &connection = connections[id];
    QMetaObject::disconnect(sender, connection.signalIndex, this, firstDynamicSlot() + id);
    Py_CLEAR(connection.callable);
}

int SignalReceiver::qt_metacall(QMetaObject::Call call, int id, void **args)
{
    id = QObject::qt_metacall(call, id, args);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id < connections.size() && connections.at(id).callable)
        deliver(connections.at(id), args);
    return -1;
}

void SignalReceiver::deliver(const Connection &connection, void **args)
{
    if (!PythonQtPrivate::instance())
        return;
    PyGILState_STATE state = PyGILState_Ensure();
    // A dying sender is past being deleted again, and must not be watched.
    const BusyScope busy(connection.senderDying ? nullptr : sender, BusyScope::Delivery);
    // The callback may disconnect itself and so drop the connection's reference.
    PyObject *callable = connection.callable;
    Py_INCREF(callable);
    PyObject *arguments = PyTuple_New(connection.argumentCount);
    for (int i = 0; arguments && i < connection.argumentCount; ++i) {
        PyObject *value = nullptr;
        if (connection.senderDying) {
            value = Py_None;
            Py_INCREF(value);
        } else {
            value = Conversions::fromArg(connection.params.at(i), args[i + 1]);
        }
        if (!value) {
            Py_CLEAR(arguments);
            break;
        }
        PyTuple_SET_ITEM(arguments, i, value);
    }
    PyObject *result = arguments ? PyObject_Call(callable, arguments, nullptr) : nullptr;
    // An exception must not unwind through Qt: report it and carry on.
    if (!result)
        PyErr_PrintEx(0);
    Py_XDECREF(result);
    Py_XDECREF(arguments);
    Py_DECREF(callable);
    PyGILState_Release(state);
}
