// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PYTHONSESSION_H
#define PYTHONSESSION_H

#include <PythonQt.h>

#include <QObject>
#include <QStringList>
#include <QVariant>

// The bridge driven the way a query script is: through code evaluated in the
// main module.
class PythonSession : public QObject
{
    Q_OBJECT

public:
    // Starts the bridge with nothing registered, for tests that register
    // their own classes.
    void startBridge();
    // Starts the bridge, loads the plug-in through Qt's plug-in loader and
    // registers its classes; false, with the reason in `failure`, if that fails.
    bool start(const QString &pluginPath);
    void stop();

    // Runs statements; false if they raised (the traceback goes to errors).
    bool run(const QString &code);
    QVariant value(const QString &expression);
    void addVariable(const QString &name, const QVariant &value);
    void addObject(const QString &name, QObject *object);
    // What every test's cleanup() checks: the script's objects dropped, no
    // window left open and nothing written to stderr; false, with what was
    // wrong in `failure`, otherwise. Starts the next test with no output.
    bool endTest();

    QString failure;
    // What Python wrote to stdout and stderr, in order, from any thread.
    QStringList output;
    QStringList errors;

private:
    // Drops every script object, so Python-owned dialogs are deleted.
    bool clearGlobals();

    PythonQtObjectPtr main;
};

#endif // PYTHONSESSION_H
