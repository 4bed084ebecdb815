// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include <Python.h>

#include "modalinterrupt.h"

#include <QApplication>
#include <QDialog>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// signal.set_wakeup_fd(fd); the previous descriptor, or -1.
int setWakeup(int fd)
{
    PyObject *module = PyImport_ImportModule("signal");
    PyObject *previous = module ? PyObject_CallMethod(module, "set_wakeup_fd", "i", fd) : nullptr;
    const int result = previous ? int(PyLong_AsLong(previous)) : -1;
    Py_XDECREF(previous);
    Py_XDECREF(module);
    PyErr_Clear();
    return result;
}

} // namespace

ModalInterrupt::ModalInterrupt(QObject *parent)
    : QObject(parent)
{
    if (pipe2(wakeup, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    previousWakeup = setWakeup(wakeup[1]);
    notifier = new QSocketNotifier(wakeup[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ModalInterrupt::signalled);
}

ModalInterrupt::~ModalInterrupt()
{
    if (!notifier)
        return;
    setWakeup(previousWakeup);
    delete notifier;
    close(wakeup[0]);
    close(wakeup[1]);
}

void ModalInterrupt::signalled()
{
    bool interrupted = false;
    unsigned char numbers[64];
    for (ssize_t count; (count = read(wakeup[0], numbers, sizeof numbers)) > 0;) {
        for (ssize_t i = 0; i < count; ++i)
            interrupted = interrupted || numbers[i] == SIGINT;
    }
    // The script itself runs outside any event loop, and its ticks process
    // events without one: there Python raises the interrupt by itself.
    if (!interrupted || QThread::currentThread()->loopLevel() == 0)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    const QSignalBlocker quiet(modal);
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->done(QDialog::Rejected);
    else
        modal->hide();
}
