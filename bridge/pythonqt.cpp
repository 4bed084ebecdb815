// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "PythonQt.h"

#include "boolresult.h"
#include "bytearrayobject.h"
#include "conversions.h"
#include "metaobjectwrapper.h"
#include "pythonqt_p.h"
#include "pythonqtregistry.h"
#include "valueclasses.h"

#include <structmember.h>

#include <QFile>

namespace {

PythonQt *theInstance = nullptr;

// sys.stdout and sys.stderr become objects that hand each write to a
// signal: a C type with the members of PythonQt's, and no others, so that a
// script meets here what it meets there (no writelines(), no encoding, text
// only).
struct OutputRedirect
{
    PyObject_HEAD
    // Null for one a script made itself: its writes go nowhere.
    void (*emitText)(const QString &text);
    int softspace;
    char closed;
};

void emitStdOut(const QString &text)
{
    if (PythonQt *q = PythonQt::self())
        Q_EMIT q->pythonStdOut(text);
}

void emitStdErr(const QString &text)
{
    if (PythonQt *q = PythonQt::self())
        Q_EMIT q->pythonStdErr(text);
}

// write(text): the text up to a NUL, as PythonQt reads it; further
// arguments are ignored there too.
PyObject *redirectWrite(PyObject *self, PyObject *args)
{
    if (PyTuple_GET_SIZE(args) == 0)
        Py_RETURN_NONE;
    PyObject *text = PyTuple_GET_ITEM(args, 0);
    if (!PyUnicode_Check(text)) {
        PyErr_Format(PyExc_TypeError, "argument 1 must be str, not %s",
                     _PyType_Name(Py_TYPE(text)));
        return nullptr;
    }
    const char *utf8 = PyUnicode_AsUTF8(text);
    if (!utf8)
        return nullptr;
    if (auto emitText = reinterpret_cast<OutputRedirect *>(self)->emitText)
        emitText(QString::fromUtf8(utf8));
    Py_RETURN_NONE;
}

PyObject *redirectFlush(PyObject *, PyObject *)
{
    Py_RETURN_NONE;
}

PyObject *redirectIsatty(PyObject *, PyObject *)
{
    Py_RETURN_FALSE;
}

PyMethodDef redirectMethods[] = {
    {"write", redirectWrite, METH_VARARGS, nullptr},
    {"flush", redirectFlush, METH_VARARGS, nullptr},
    {"isatty", redirectIsatty, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

PyMemberDef redirectMembers[] = {
    {"softspace", T_INT, offsetof(OutputRedirect, softspace), 0, nullptr},
    {"closed", T_BOOL, offsetof(OutputRedirect, closed), 0, nullptr},
    {nullptr, 0, 0, 0, nullptr},
};

PyType_Slot redirectSlots[] = {
    {Py_tp_methods, redirectMethods},
    {Py_tp_members, redirectMembers},
    {Py_tp_new, reinterpret_cast<void *>(PyType_GenericNew)},
    {0, nullptr},
};

PyType_Spec redirectSpec = {"builtins.PythonQtStdOutRedirect", sizeof(OutputRedirect), 0,
                            Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE, redirectSlots};

PyTypeObject *redirectType = nullptr;

// Made on the first redirect. PythonQt's streams have no __module__ of their
// own, which dir(sys.stdout) would list.
bool makeRedirectType()
{
    if (redirectType)
        return true;
    PyTypeObject *type = HeapType::create(redirectSpec);
    if (!type || PyDict_DelItemString(type->tp_dict, "__module__") != 0) {
        Py_XDECREF(type);
        return false;
    }
    PyType_Modified(type);
    redirectType = type;
    return true;
}

bool setRedirect(const char *name, void (*emitText)(const QString &))
{
    PyObject *stream = PyType_GenericAlloc(redirectType, 0);
    if (!stream)
        return false;
    reinterpret_cast<OutputRedirect *>(stream)->emitText = emitText;
    const bool done = PySys_SetObject(name, stream) == 0;
    Py_DECREF(stream);
    return done;
}

void redirectOutput()
{
    if (!makeRedirectType() || !setRedirect("stdout", emitStdOut)
        || !setRedirect("stderr", emitStdErr)) {
        PyErr_Print();
        qFatal("PythonQt: could not redirect sys.stdout and sys.stderr");
    }
}

// Past this point there is no script to tell: a stream that fails to flush,
// or a sys without its original streams, is left as it is and the error
// dropped before the next call into Python.
void restoreOutput()
{
    PyObject *sys = PyImport_AddModule("sys");
    for (const char *name : {"stdout", "stderr"}) {
        PyObject *stream = PySys_GetObject(name);
        if (stream && stream != Py_None) {
            PyObject *result = PyObject_CallMethod(stream, "flush", nullptr);
            if (!result)
                PyErr_Clear();
            Py_XDECREF(result);
        }
        const QByteArray original = QByteArray("__") + name + "__";
        PyObject *saved = sys ? PyObject_GetAttrString(sys, original.constData()) : nullptr;
        if (!saved || PySys_SetObject(name, saved) < 0)
            PyErr_Clear();
        Py_XDECREF(saved);
    }
}

PyObject *globalsOf(PyObject *object)
{
    if (object && PyModule_Check(object))
        return PyModule_GetDict(object);
    if (object && PyDict_Check(object))
        return object;
    return nullptr;
}

// The package the registered classes' modules live in; new reference, or
// null with a Python error.
// A plain module, as PythonQt's, not a package: its submodules are found in
// sys.modules, and a missing one is "not a package".
PyObject *createTopModule(const QByteArray &name)
{
    PyObject *module = PyModule_New(name.constData());
    if (module && PyDict_SetItemString(PyImport_GetModuleDict(), name.constData(), module) < 0)
        Py_CLEAR(module);
    return module;
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

PyTypeObject *HeapType::create(PyType_Spec &definition, PyTypeObject *base)
{
    PyObject *made = base
        ? PyType_FromSpecWithBases(&definition, reinterpret_cast<PyObject *>(base))
        : PyType_FromSpec(&definition);
    auto type = reinterpret_cast<PyTypeObject *>(made);
    if (!type)
        return nullptr;
    // Messages name a type by tp_name, which is the whole name it was made with.
    static constexpr char builtins[] = "builtins.";
    if (qstrncmp(type->tp_name, builtins, sizeof builtins - 1) == 0)
        type->tp_name += sizeof builtins - 1;
    // The vectorcall offset is the type's business, not an attribute for dir().
    if (PyDict_DelItemString(type->tp_dict, "__vectorcalloffset__") == 0) {
        PyType_Modified(type);
    } else if (PyErr_ExceptionMatches(PyExc_KeyError)) {
        PyErr_Clear();
    } else {
        Py_CLEAR(type);
    }
    return type;
}

void PythonQtPrivate::setupFailed(const QByteArray &what)
{
    PyErr_Print();
    qFatal("PythonQt: could not %s", what.constData());
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
        PyStatus status =
            PyConfig_SetBytesString(&config, &config.program_name, PYTHONQT_PYTHON_EXECUTABLE);
        if (!PyStatus_Exception(status))
            status = Py_InitializeFromConfig(&config);
        PyConfig_Clear(&config);
        if (PyStatus_Exception(status))
            Py_ExitStatusException(status);
        // PythonQt names no program: a script finds no Python to start there.
        PyObject *noExecutable = PyUnicode_FromString("");
        const int set = noExecutable ? PySys_SetObject("executable", noExecutable) : -1;
        Py_XDECREF(noExecutable);
        if (set < 0)
            PythonQtPrivate::setupFailed("set sys.executable");
    }
    theInstance = new PythonQt(flags, pythonQtModuleName);
}

PythonQt::PythonQt(int flags, const QByteArray &pythonQtModuleName)
    : d(new PythonQtPrivate(this))
{
    d->flags = flags;
    d->moduleName =
        pythonQtModuleName.isEmpty() ? QByteArrayLiteral("PythonQt") : pythonQtModuleName;
    if (!InstanceWrapper::ready() || !ByteArrayObject::ready() || !ValueClasses::ready()
        || !MetaObjectWrapper::ready())
        PythonQtPrivate::setupFailed("prepare its Python types");
    d->topModule = createTopModule(d->moduleName);
    if (!d->topModule)
        PythonQtPrivate::setupFailed("create the module " + d->moduleName);
    PyObject *qtCore = d->packageModule("QtCore");
    auto byteArrayType = reinterpret_cast<PyObject *>(ByteArrayObject::type());
    if (!qtCore || PyObject_SetAttrString(qtCore, "QByteArray", byteArrayType) < 0)
        PythonQtPrivate::setupFailed("add QByteArray to " + d->moduleName + ".QtCore");
    PyObject *qtGui = d->packageModule("QtGui");
    if (!qtGui)
        PythonQtPrivate::setupFailed("create the module " + d->moduleName + ".QtGui");
    if (!ValueClasses::addTo(qtCore, qtGui))
        PythonQtPrivate::setupFailed("add the value classes to " + d->moduleName);
    if (!MetaObjectWrapper::addTo(qtCore))
        PythonQtPrivate::setupFailed("add QMetaObject to " + d->moduleName + ".QtCore");
    if (!QtNamespace::install(*d))
        PythonQtPrivate::setupFailed("create the Qt namespace");
    if (!BoolResult::addTo(d->topModule))
        PythonQtPrivate::setupFailed("add BoolResult to " + d->moduleName);
    // Where PythonQt keeps it: registered classes' packages hold only their own.
    d->registerClass(&QObject::staticMetaObject, "private");
    if (flags & RedirectStdOut)
        redirectOutput();
}

PythonQt::~PythonQt()
{
    // A script may have taken the modules out of sys.modules itself.
    const auto forget = [modules = PyImport_GetModuleDict()](const QByteArray &name) {
        if (PyDict_DelItemString(modules, name.constData()) < 0)
            PyErr_Clear();
    };
    for (auto it = d->packageModules.cbegin(); it != d->packageModules.cend(); ++it) {
        forget(d->moduleName + '.' + it.key());
        Py_DECREF(it.value());
    }
    forget(d->moduleName);
    Py_XDECREF(d->topModule);
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
