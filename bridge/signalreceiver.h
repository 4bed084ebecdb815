// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef SIGNALRECEIVER_H
#define SIGNALRECEIVER_H

#include "PythonQtSystem.h"
#include "argtype.h"

#include <QHash>
#include <QObject>
#include <QVector>

// Delivers one sender's signals to Python callables. A child of the sender,
// so it dies with it; each connection is a slot index of its own that
// qt_metacall() answers. Indices of dropped connections are reused, so
// connecting and disconnecting over and over costs neither time nor memory.
class SignalReceiver : public QObject
{
public:
    explicit SignalReceiver(QObject *sender);
    ~SignalReceiver() override;

    bool connectCallable(int signalIndex, PyObject *callable);
    // Drops the first connection of the signal to the callable (one equal
    // to it), or without a callable every Python connection of the signal.
    // Comparing runs Python code, which may delete the sender and this.
    bool disconnectCallable(int signalIndex, PyObject *callable);
    // For the garbage collector: the callables, and dropping them all.
    int traverseCallables(visitproc visit, void *arg) const;
    void dropCallables();

    int qt_metacall(QMetaObject::Call call, int id, void **args) override;

private:
    // What a signal's arguments become in Python.
    struct SignalShape
    {
        QVector<ArgType> params;
        bool senderDying = false; // destroyed(): the sender may be half gone
    };

    struct Connection
    {
        int signalIndex = -1;
        PyObject *callable = nullptr; // null once disconnected
        int argumentCount = 0; // how many of the signal's arguments the callable takes
    };

    const SignalShape &shapeOf(int signalIndex);
    void deliver(int id, void **args);
    void drop(int id);

    QObject *sender;
    QVector<Connection> connections;
    QVector<int> freeIds;
    QHash<int, QVector<int>> idsBySignal;
    QHash<int, SignalShape> shapes;
};

#endif // SIGNALRECEIVER_H
