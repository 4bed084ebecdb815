// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PYTHONQT_H
#define PYTHONQT_H

#include "PythonQtSystem.h"
#include "PythonQtObjectPtr.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariant>

struct PythonQtInstanceWrapperStruct;
// The Python object that stands for one wrapped QObject.
typedef struct PythonQtInstanceWrapperStruct PythonQtInstanceWrapper;

// Lazily creates an object whose slots decorate a registered class.
typedef QObject *PythonQtQObjectCreatorFunctionCB();
// Tells a C++ shell object which Python instance stands for it.
typedef void PythonQtShellSetInstanceWrapperCB(void *object, PythonQtInstanceWrapper *wrapper);

template<class T> QObject *PythonQtCreateObject()
{
    return new T();
}

class PythonQtPrivate;

// The embedded Python interpreter and the bridge between Python and Qt's
// meta-object system. One instance per process, created by init().
class PYTHONQT_EXPORT PythonQt : public QObject
{
    Q_OBJECT

public:
    enum InitFlags {
        RedirectStdOut = 1,
        IgnoreSiteModule = 2,
        ExternalHelp = 4,
        PythonAlreadyInitialized = 8
    };

    static void init(int flags = IgnoreSiteModule | RedirectStdOut,
                     const QByteArray &pythonQtModuleName = QByteArray());
    static void cleanup();
    static PythonQt *self();

    void registerClass(const QMetaObject *metaobject, const char *package = nullptr,
                       PythonQtQObjectCreatorFunctionCB *wrapperCreator = nullptr,
                       PythonQtShellSetInstanceWrapperCB *shell = nullptr);
    void addDecorators(QObject *o);

    PythonQtObjectPtr getMainModule();
    PythonQtObjectPtr importModule(const QString &name);
    void addSysPath(const QString &path);

    QVariant evalScript(PyObject *object, const QString &script, int start = Py_file_input);
    QVariant evalScript(const QString &script, PyObject *globals, PyObject *locals, int start);
    void evalFile(PyObject *object, const QString &filename);

    void addObject(PyObject *object, const QString &name, QObject *qObject);
    void addVariable(PyObject *object, const QString &name, const QVariant &v);
    QVariant getVariable(PyObject *object, const QString &name);
    QVariant call(PyObject *object, const QString &callable,
                  const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());
    QVariant call(PyObject *callable, const QVariantList &args = QVariantList(),
                  const QVariantMap &kwargs = QVariantMap());

    // Prints and clears a pending Python exception; true if there was one.
    bool handleError(bool printStack = true);
    bool hadError() const;
    void clearError();
    // With the handler enabled, SystemExit emits systemExitExceptionRaised()
    // instead of ending the process the way python3 would.
    void setSystemExitExceptionHandlerEnabled(bool value);
    bool systemExitExceptionHandlerEnabled() const;

Q_SIGNALS:
    void pythonStdOut(const QString &str);
    void pythonStdErr(const QString &str);
    // A script raised SystemExit while the handler is enabled.
    void systemExitExceptionRaised(int exitCode);

private:
    PythonQt(int flags, const QByteArray &pythonQtModuleName);
    ~PythonQt() override;

    PythonQtPrivate *d = nullptr;
    friend class PythonQtPrivate;
};

#endif // PYTHONQT_H
