#ifndef SIGNALRECEIVER_H
#define SIGNALRECEIVER_H

#include "conversions.h"

#include <QObject>
#include <QVector>

// Delivers one sender's signals to Python callables. A child of the sender,
// so it dies with it; each connection is a slot index of its own that
// qt_metacall() answers.
class SignalReceiver : public QObject
{
public:
    explicit SignalReceiver(QObject *sender);
    ~SignalReceiver() override;

    bool connectCallable(int signalIndex, PyObject *callable);
    // Without a callable, drops every Python connection of the signal.
    bool disconnectCallable(int signalIndex, PyObject *callable);

    int qt_metacall(QMetaObject::Call call, int id, void **args) override;

private:
    struct Connection
    {
        int signalIndex = -1;
        PyObject *callable = nullptr;  // null once disconnected
        QVector<ArgType> params;
        int argumentCount = 0;  // how many of the signal's arguments the callable takes
        bool senderDying = false;
    };

    void deliver(const Connection &connection, void **args);
    void drop(int id);

    QObject *sender;
    QVector<Connection> connections;
};

#endif // SIGNALRECEIVER_H
