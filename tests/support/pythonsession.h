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
    // function(argument) evaluated in the main module, the argument a string.
    QVariant call(const QString &function, const QString &argument);
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

// What a test program that drives the plug-in's dialogs from Python opens and
// closes with: one session for the whole program, the plug-in loaded and its
// classes registered, and endTest()'s checks after every test function. Each
// program's init() runs its own prelude.
class PluginSessionTest : public QObject
{
    Q_OBJECT

protected:
    PythonSession python;

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
};

#endif // PYTHONSESSION_H
