// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "PythonQt.h"

#include "scripthost.h"

#include "hostmessages.h"

#include "pluginwidgets.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QPluginLoader>
#include <QPointer>
#include <QWidget>

#include <cstdio>

namespace {

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Python's compiler takes the source as a C string and so would run only
// what stands before a NUL; python3 refuses such a file as a whole (since
// 3.11.4), and so does the host, whatever the interpreter.
bool refusedForNullBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray source = file.readAll();
    const int nul = source.indexOf('\0');
    if (nul < 0)
        return false;
    PyErr_SetString(PyExc_SyntaxError, "source code cannot contain null bytes");
    PyObject *filename = PyUnicode_DecodeFSDefault(QFile::encodeName(path).constData());
    if (filename)
        PyErr_SyntaxLocationObject(filename, source.left(nul).count('\n') + 1, 0);
    Py_XDECREF(filename);
    PythonQt::self()->handleError();
    return true;
}

} // namespace

ScriptHost::ScriptHost(QObject *parent)
    : QObject(parent)
{
    PythonQt *python = PythonQt::self();
    // Direct: Python threads' output is written at once, in the order written.
    connect(
        python, &PythonQt::pythonStdOut, this, [](const QString &text) { write(stdout, text); },
        Qt::DirectConnection);
    connect(
        python, &PythonQt::pythonStdErr, this, [](const QString &text) { write(stderr, text); },
        Qt::DirectConnection);
    // sys.exit() ends the script, not the process from inside a Qt call.
    python->setSystemExitExceptionHandlerEnabled(true);
    connect(python, &PythonQt::systemExitExceptionRaised, this, [this](int exitCode) {
        if (!systemExitCode)
            systemExitCode = exitCode & 0xff; // the status python3 gives
    });
}

ScriptHost::~ScriptHost()
{
    dropScriptObjects();
}

void ScriptHost::loadPlugins(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        report(QStringLiteral("no plug-in folder %1").arg(QDir::toNativeSeparators(folder)));
        return;
    }
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        if (!QLibrary::isLibrary(file.fileName()))
            continue;
        QPluginLoader loader(file.absoluteFilePath());
        QObject *root = loader.instance();
        if (!root) {
            report(QStringLiteral("cannot load plug-in %1: %2")
                       .arg(file.absoluteFilePath(), loader.errorString()));
            continue;
        }
        auto widgets = qobject_cast<PluginWidgets *>(root);
        if (!widgets) {
            report(QStringLiteral("plug-in %1: %2 does not implement %3")
                       .arg(file.absoluteFilePath(),
                            QString::fromLatin1(root->metaObject()->className()),
                            QString::fromLatin1(qobject_interface_iid<PluginWidgets *>())));
            continue;
        }
        widgets->registerClasses();
    }
}

int ScriptHost::runScript(const QString &path, const QStringList &arguments)
{
    PythonQt *python = PythonQt::self();
    setArgv(path, arguments);
    PythonQtObjectPtr main = python->getMainModule();
    main.addVariable(QStringLiteral("__file__"), QFileInfo(path).absoluteFilePath());
    python->clearError();
    systemExitCode.reset();
    if (refusedForNullBytes(path))
        return 1;
    main.evalFile(path);
    if (systemExitCode)
        return *systemExitCode;
    return python->hadError() ? 1 : 0;
}

bool ScriptHost::canRead(const QString &path, QString *error)
{
    QFile file(path);
    if (QFileInfo(path).isDir())
        *error = QStringLiteral("cannot run the script %1: it is a folder")
                     .arg(QDir::toNativeSeparators(path));
    else if (!file.open(QIODevice::ReadOnly))
        *error = QStringLiteral("cannot run the script %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    else
        return true;
    return false;
}

// The script's names go first, then what only cycles held; windows still
// open after that (kept by a callback that refers to its own dialog, say)
// are deleted here, so nothing is left for the application's teardown.
bool ScriptHost::dropScriptObjects()
{
    PythonQt::self()->clearError();
    PyObject *globals = PyModule_GetDict(PythonQt::self()->getMainModule());
    PyObject *keys = PyDict_Keys(globals);
    for (Py_ssize_t i = 0; keys && i < PyList_GET_SIZE(keys); ++i) {
        PyObject *key = PyList_GET_ITEM(keys, i);
        if (PyUnicode_Check(key) && PyUnicode_CompareWithASCIIString(key, "__builtins__") != 0
            && PyUnicode_CompareWithASCIIString(key, "__name__") != 0)
            PyDict_DelItem(globals, key);
    }
    Py_XDECREF(keys);
    PyErr_Clear();
    PyGC_Collect();

    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->windowType() != Qt::Desktop)
            windows.append(window);
    }
    for (const QPointer<QWidget> &window : qAsConst(windows))
        delete window.data();
    return !PythonQt::self()->hadError();
}

void ScriptHost::setArgv(const QString &path, const QStringList &arguments)
{
    PyObject *argv = PyList_New(0);
    for (const QString &argument : QStringList(path) + arguments) {
        const QByteArray utf8 = argument.toUtf8();
        PyObject *item = PyUnicode_DecodeUTF8(utf8.constData(), utf8.size(), "surrogateescape");
        if (item)
            PyList_Append(argv, item);
        Py_XDECREF(item);
    }
    PySys_SetObject("argv", argv);
    Py_DECREF(argv);
}
