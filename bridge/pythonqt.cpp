// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "PythonQt.h"

#include "bytearrayobject.h"
#include "pythonqt_p.h"
#include "pythonqtregistry.h"

#include <pybind11/embed.h>

#include <QFile>

namespace py = pybind11;

namespace {

PythonQt *theInstance = nullptr;

// sys.stdout and sys.stderr become objects that hand each write to a signal.
void redirectOutput()
{
    py::dict scope;
    py::exec(R"(
class OutputRedirect:
    encoding = 'utf-8'
    errors = 'strict'

    def __init__(self, emit):
        self._emit = emit

    def write(self, text):
        self._emit(str(text))
        return len(text)

    def writelines(self, lines):
        for line in lines:
            self.write(line)

    def flush(self):
        pass

    def isatty(self):
        return False

    def writable(self):
        return True
)",
             scope);
    py::object redirect = scope["OutputRedirect"];
    py::module_ sys = py::module_::import("sys");
    sys.attr("stdout") = redirect(py::cpp_function([](py::str text) {
        if (PythonQt *q = PythonQt::self())
            Q_EMIT q->pythonStdOut(Conversions::stringFromUnicode(text.ptr()));
    }));
    sys.attr("stderr") = redirect(py::cpp_function([](py::str text) {
        if (PythonQt *q = PythonQt::self())
            Q_EMIT q->pythonStdErr(Conversions::stringFromUnicode(text.ptr()));
    }));
}

void restoreOutput()
{
    PyObject *sys = PyImport_AddModule("sys");
    for (const char *name : {"stdout", "stderr"}) {
        PyObject *stream = PySys_GetObject(name);
        if (stream && stream != Py_None) {
            PyObject *result = PyObject_CallMethod(stream, "flush", nullptr);
            Py_XDECREF(result);
        }
        const QByteArray original = QByteArray("__") + name + "__";
        if (PyObject *saved = PyObject_GetAttrString(sys, original.constData())) {
            PySys_SetObject(name, saved);
            Py_DECREF(saved);
        }
    }
    PyErr_Clear();
}

PyObject *globalsOf(PyObject *object)
{
    if (object && PyModule_Check(object))
        return PyModule_GetDict(object);
    if (object && PyDict_Check(object))
        return object;
    return nullptr;
}

int exitCodeOf(PyObject *systemExit)
{
    PyObject *code = PyObject_GetAttrString(systemExit, "code");
    int exitCode = 1;
    if (!code || code == Py_None) {
        exitCode = 0;
    } else if (PyLong_Check(code)) {
        exitCode = int(PyLong_AsLong(code));
    } else {
        // sys.exit("message") prints the message and fails, as python3 does.
        PyObject *text = PyObject_Str(code);
        PyObject *err = PySys_GetObject("stderr");
        if (text && err && err != Py_None) {
            PyObject *result = PyObject_CallMethod(err, "write", "O", text);
            Py_XDECREF(result);
            result = PyObject_CallMethod(err, "write", "s", "\n");
            Py_XDECREF(result);
        }
        Py_XDECREF(text);
    }
    Py_XDECREF(code);
    PyErr_Clear();
    return exitCode;
}

} // namespace

PythonQtPrivate *PythonQtPrivate::instance()
{
    return theInstance ? theInstance->d : nullptr;
}

void PythonQt::init(int flags, const QByteArray &pythonQtModuleName)
{
    if (theInstance)
        return;
    if (!(flags & PythonAlreadyInitialized) && !Py_IsInitialized()) {
        PyConfig config;
        PyConfig_InitPythonConfig(&config);
        config.site_import = !(flags & IgnoreSiteModule);
        config.parse_argv = 0;
        // Finds the standard library that belongs to the linked libpython,
        // whatever python3 comes first on PATH.
        PyConfig_SetBytesString(&config, &config.program_name, PYTHONQT_PYTHON_EXECUTABLE);
        const PyStatus status = Py_InitializeFromConfig(&config);
        PyConfig_Clear(&config);
        if (PyStatus_Exception(status))
            Py_ExitStatusException(status);
    }
    theInstance = new PythonQt(flags, pythonQtModuleName);
}

PythonQt::PythonQt(int flags, const QByteArray &pythonQtModuleName)
    : d(new PythonQtPrivate(this))
{
    d->flags = flags;
    d->moduleName =
        pythonQtModuleName.isEmpty() ? QByteArrayLiteral("PythonQt") : pythonQtModuleName;
    if (!InstanceWrapper::ready() || !ByteArrayObject::ready()) {
        PyErr_Print();
        qFatal("PythonQt: could not prepare its Python types");
    }
    d->topModule = PyModule_New(d->moduleName.constData());
    PyObject *path = PyList_New(0);
    PyObject_SetAttrString(d->topModule, "__path__", path);
    Py_DECREF(path);
    PyDict_SetItemString(PyImport_GetModuleDict(), d->moduleName.constData(), d->topModule);
    PyObject_SetAttrString(d->packageModule("QtCore"), "QByteArray",
                           reinterpret_cast<PyObject *>(ByteArrayObject::type()));
    // Where PythonQt keeps it: registered classes' packages hold only their own.
    d->registerClass(&QObject::staticMetaObject, "private");
    if (flags & RedirectStdOut)
        redirectOutput();
}

PythonQt::~PythonQt()
{
    PyObject *modules = PyImport_GetModuleDict();
    for (auto it = d->packageModules.cbegin(); it != d->packageModules.cend(); ++it) {
        const QByteArray name = d->moduleName + '.' + it.key();
        PyDict_DelItemString(modules, name.constData());
        Py_DECREF(it.value());
    }
    PyDict_DelItemString(modules, d->moduleName.constData());
    Py_XDECREF(d->topModule);
    PyErr_Clear();
    delete d;
}

void PythonQt::cleanup()
{
    if (!theInstance)
        return;
    theInstance->d->detachFromScripts();
    if (theInstance->d->flags & RedirectStdOut)
        restoreOutput();
    PythonQt *q = theInstance;
    theInstance = nullptr;
    delete q;
}

PythonQt *PythonQt::self()
{
    return theInstance;
}

void PythonQt::registerClass(const QMetaObject *metaobject, const char *package,
                             PythonQtQObjectCreatorFunctionCB *wrapperCreator,
                             PythonQtShellSetInstanceWrapperCB *shell)
{
    if (!metaobject)
        return;
    ClassInfo *info = d->registerClass(metaobject, package);
    if (!d->explicitOrder.contains(info))
        d->explicitOrder.append(info);
    if (wrapperCreator)
        info->wrapperCreator = wrapperCreator;
    if (shell)
        info->shell = shell;
}

void PythonQt::addDecorators(QObject *o)
{
    d->addDecorators(o);
}

PythonQtObjectPtr PythonQt::getMainModule()
{
    return PythonQtObjectPtr(PyImport_AddModule("__main__"));
}

PythonQtObjectPtr PythonQt::importModule(const QString &name)
{
    PythonQtObjectPtr module;
    module.setNewRef(PyImport_ImportModule(name.toUtf8().constData()));
    if (module.isNull())
        handleError();
    return module;
}

void PythonQt::addSysPath(const QString &path)
{
    PyObject *sysPath = PySys_GetObject("path");
    PyObject *entry = Conversions::fromString(path);
    if (sysPath && entry)
        PyList_Insert(sysPath, 0, entry);
    Py_XDECREF(entry);
    handleError();
}

QVariant PythonQt::evalScript(PyObject *object, const QString &script, int start)
{
    PyObject *globals = globalsOf(object);
    if (!globals) {
        PyErr_SetString(PyExc_TypeError, "evalScript() needs a module or a dict");
        handleError();
        return QVariant();
    }
    return evalScript(script, globals, globals, start);
}

QVariant PythonQt::evalScript(const QString &script, PyObject *globals, PyObject *locals, int start)
{
    QVariant result;
    PyObject *value = PyRun_String(script.toUtf8().constData(), start, globals, locals);
    if (!value) {
        handleError();
        return result;
    }
    if (start != Py_file_input && !Conversions::toVariant(value, result))
        result = QVariant();
    Py_DECREF(value);
    return result;
}

void PythonQt::evalFile(PyObject *object, const QString &filename)
{
    PyObject *globals = globalsOf(object);
    QFile file(filename);
    if (!globals || !file.open(QIODevice::ReadOnly)) {
        PyErr_Format(PyExc_OSError, "Cannot run %s: %s", filename.toUtf8().constData(),
                     globals ? file.errorString().toUtf8().constData() : "no module or dict given");
        handleError();
        return;
    }
    const QByteArray source = file.readAll();
    PyObject *code =
        Py_CompileString(source.constData(), filename.toUtf8().constData(), Py_file_input);
    PyObject *value = code ? PyEval_EvalCode(code, globals, globals) : nullptr;
    if (!value)
        handleError();
    Py_XDECREF(value);
    Py_XDECREF(code);
}

void PythonQt::addObject(PyObject *object, const QString &name, QObject *qObject)
{
    PyObject *wrapped = d->wrap(qObject);
    if (wrapped && PyModule_Check(object))
        PyModule_AddObjectRef(object, name.toUtf8().constData(), wrapped);
    else if (wrapped && PyDict_Check(object))
        PyDict_SetItemString(object, name.toUtf8().constData(), wrapped);
    Py_XDECREF(wrapped);
    handleError();
}

void PythonQt::addVariable(PyObject *object, const QString &name, const QVariant &v)
{
    PyObject *globals = globalsOf(object);
    PyObject *value = Conversions::fromVariant(v);
    if (globals && value)
        PyDict_SetItemString(globals, name.toUtf8().constData(), value);
    Py_XDECREF(value);
    handleError();
}

QVariant PythonQt::getVariable(PyObject *object, const QString &name)
{
    PyObject *globals = globalsOf(object);
    PyObject *value = globals ? PyDict_GetItemString(globals, name.toUtf8().constData()) : nullptr;
    QVariant result;
    if (value && !Conversions::toVariant(value, result))
        result = QVariant();
    return result;
}

QVariant PythonQt::call(PyObject *object, const QString &callable, const QVariantList &args,
                        const QVariantMap &kwargs)
{
    PyObject *globals = globalsOf(object);
    PyObject *function =
        globals ? PyDict_GetItemString(globals, callable.toUtf8().constData()) : nullptr;
    if (!function) {
        PyErr_Format(PyExc_NameError, "name '%s' is not defined", callable.toUtf8().constData());
        handleError();
        return QVariant();
    }
    return call(function, args, kwargs);
}

QVariant PythonQt::call(PyObject *callable, const QVariantList &args, const QVariantMap &kwargs)
{
    QVariant result;
    PyObject *arguments = PyTuple_New(args.size());
    for (int i = 0; arguments && i < args.size(); ++i)
        PyTuple_SET_ITEM(arguments, i, Conversions::fromVariant(args.at(i)));
    PyObject *keywords = kwargs.isEmpty() ? nullptr : Conversions::fromVariant(kwargs);
    PyObject *value = arguments ? PyObject_Call(callable, arguments, keywords) : nullptr;
    if (value) {
        if (!Conversions::toVariant(value, result))
            result = QVariant();
        Py_DECREF(value);
    } else {
        handleError();
    }
    Py_XDECREF(arguments);
    Py_XDECREF(keywords);
    return result;
}

bool PythonQt::handleError(bool printStack)
{
    if (!PyErr_Occurred())
        return false;
    if (PyErr_ExceptionMatches(PyExc_SystemExit)) {
        PyObject *type = nullptr;
        PyObject *value = nullptr;
        PyObject *traceback = nullptr;
        PyErr_Fetch(&type, &value, &traceback);
        PyErr_NormalizeException(&type, &value, &traceback);
        if (!d->systemExitHandlerEnabled) {
            // As python3 does: the process ends here.
            PyErr_Restore(type, value, traceback);
            PyErr_PrintEx(0);
            d->hadError = true;
            return true;
        }
        const int exitCode = value ? exitCodeOf(value) : 0;
        Py_XDECREF(type);
        Py_XDECREF(value);
        Py_XDECREF(traceback);
        Q_EMIT systemExitExceptionRaised(exitCode);
        return true;
    }
    if (printStack)
        PyErr_PrintEx(0); // keeps no sys.last_traceback alive
    else
        PyErr_Clear();
    d->hadError = true;
    return true;
}

void PythonQt::setSystemExitExceptionHandlerEnabled(bool value)
{
    d->systemExitHandlerEnabled = value;
}

bool PythonQt::systemExitExceptionHandlerEnabled() const
{
    return d->systemExitHandlerEnabled;
}

bool PythonQt::hadError() const
{
    return d->hadError;
}

void PythonQt::clearError()
{
    d->hadError = false;
}

namespace PythonQtRegistry {

QVector<RegisteredClass> registeredClasses()
{
    QVector<RegisteredClass> result;
    if (PythonQtPrivate *d = PythonQtPrivate::instance()) {
        for (const ClassInfo *info : qAsConst(d->explicitOrder))
            result.append({info->className, info->package});
    }
    return result;
}

QByteArray packageOf(const char *className)
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    const ClassInfo *info = d ? d->classInfo(className) : nullptr;
    return info ? info->package : QByteArray();
}

int decoratorCount()
{
    PythonQtPrivate *d = PythonQtPrivate::instance();
    return d ? d->decorators.size() : 0;
}

} // namespace PythonQtRegistry
