#include "PythonQt.h"

#include "scripthost.h"

#include "pluginwidgets.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QPluginLoader>

#include <cstdio>

namespace {

void write(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void report(const QString &text)
{
    write(stderr, QStringLiteral("kestrane-host: %1\n").arg(text));
}

} // namespace

ScriptHost::ScriptHost(QObject *parent) : QObject(parent)
{
    PythonQt *python = PythonQt::self();
    connect(python, &PythonQt::pythonStdOut, this, [](const QString &text) { write(stdout, text); });
    connect(python, &PythonQt::pythonStdErr, this, [](const QString &text) { write(stderr, text); });
    connect(python, &PythonQt::systemExitExceptionRaised, this,
            [this](int exitCode) { systemExitCode = exitCode; });
}

int ScriptHost::loadPlugins(const QString &folder)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        report(QStringLiteral("no plug-in folder %1").arg(QDir::toNativeSeparators(folder)));
        return 0;
    }
    int registered = 0;
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
                       .arg(file.absoluteFilePath(), QString::fromLatin1(root->metaObject()->className()),
                            QString::fromLatin1(qobject_interface_iid<PluginWidgets *>())));
            continue;
        }
        widgets->registerClasses();
        ++registered;
    }
    return registered;
}

int ScriptHost::runScript(const QString &path, const QStringList &arguments)
{
    PythonQt *python = PythonQt::self();
    setArgv(path, arguments);
    PythonQtObjectPtr main = python->getMainModule();
    main.addVariable(QStringLiteral("__file__"), QFileInfo(path).absoluteFilePath());
    python->clearError();
    systemExitCode = -1;
    main.evalFile(path);
    if (systemExitCode >= 0)
        return systemExitCode;
    return python->hadError() ? 1 : 0;
}

void ScriptHost::dropScriptObjects()
{
    PyObject *globals = PyModule_GetDict(PythonQt::self()->getMainModule());
    PyObject *names = PyDict_Keys(globals);
    for (Py_ssize_t i = 0; names && i < PyList_GET_SIZE(names); ++i) {
        PyObject *name = PyList_GET_ITEM(names, i);
        const char *text = PyUnicode_Check(name) ? PyUnicode_AsUTF8(name) : nullptr;
        if (text && qstrncmp(text, "__", 2) != 0)
            PyDict_DelItem(globals, name);
    }
    Py_XDECREF(names);
    PyErr_Clear();
    PyGC_Collect();
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
