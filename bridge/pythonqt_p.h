// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PYTHONQT_P_H
#define PYTHONQT_P_H

// How the bridge works, and who owns what.
//
// The bridge is written on CPython's C API alone, no binding library: it
// has PythonQt's own shape (PyObject pointers in the public header), every
// reference and object lifetime is handled explicitly where Qt's and
// Python's ownership meet, and no second runtime sits between the two.
//
// Classes. registerClass() makes one ClassInfo per C++ class (classregistry.cpp)
// and a Python type for it whose metatype answers class-level lookups such as
// `ProgressDialog.tick` (instancewrapper.cpp). Each registered type derives
// directly from the wrapper base type, as in PythonQt: the C++ hierarchy is
// walked for members, not mirrored in Python. ClassInfos live for the whole
// process, since Python types and stray wrappers refer to them.
//
// Members. The first lookup of a name on a class resolves it into a Member
// (property, overloaded method or signal, enum constant, built-in) and caches
// it in the class's dictionary inside a capsule that owns it; every bound
// method handed out holds that capsule too (classregistry.cpp).
//
// Calls. `d.tick()` looks up a Member, wraps it with its instance in a
// BoundMember (boundmember.cpp), and calling that dispatches over the
// overloads by argument count, strict then lenient conversion
// (methodcall.cpp, conversions.cpp). How each parameter crosses is read
// once from the method's signature (argtype.cpp); one call's converted
// arguments live in an ArgStorage each (argstorage.cpp). Built-ins such as
// connect() or delete() are plain functions (builtins.cpp).
//
// Objects. Each live QObject has at most one wrapper (`wrappers`). A wrapper
// guards its object and stops reaching it as soon as destruction starts.
// Objects constructed from Python without a parent are owned by their
// wrapper; a deletion a script asks for while a call into the object (or a
// signal delivery from it) is still running waits until the outermost one
// has returned (objectlifetime.cpp).
//
// Signals. One SignalReceiver per sender, a child of it, holds the Python
// callables and answers Qt's calls; exceptions in callbacks go through
// PythonQt::handleError() like every other error (signalreceiver.cpp).
//
// Types. The bridge's own Python types (wrapper, metatype, bound members,
// QByteArray, value classes, QMetaObject, output streams) are heap types
// made from a PyType_Spec when the first bridge starts, and kept for the
// process, as ClassInfos are: their objects outlive cleanup(), Python
// threads may still use them after it, and a later init() must know them as
// its own. Each instance holds a reference to its type, which its
// deallocation drops.

#include "PythonQt.h"
#include "argtype.h"

#include <QByteArrayList>
#include <QHash>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>
#include <QSet>
#include <QVector>

#include <functional>
#include <thread>

class SignalReceiver;
struct ClassInfo;

// "Dialog" of "Outer::Dialog": the name a nested class or enumeration has
// in Python.
inline QByteArray unqualifiedName(const QByteArray &name)
{
    const int separator = name.lastIndexOf("::");
    return separator < 0 ? name : name.mid(separator + 2);
}

struct PythonQtInstanceWrapperStruct
{
    PyObject_HEAD
    // Null before a Python subclass's __init__ has constructed the object.
    QPointer<QObject> object;
    ClassInfo *classInfo;
    PyObject *weakReferences;
    // Deletes the object with the wrapper, if it has no parent by then.
    bool ownedByPython;
    QMetaObject::Connection destroyedConnection;
};

// One callable form of a method name: a meta-method of the class, or a
// decorator slot that receives the instance as its hidden first argument.
struct Overload
{
    QByteArray name; // the method's, or the class's for a constructor
    QObject *decorator = nullptr;
    bool hiddenSelf = false; // the decorator slot's first parameter is the instance
    const QMetaObject *owner = nullptr; // declares the method
    int localIndex = -1;
    int index = -1;
    bool isSignal = false;
    ArgType result;
    QVector<ArgType> params; // as Python passes them
    QByteArray signature; // as PythonQt shows it in error messages
};

// A connection between two Qt objects made by a script's connect(), by the
// sender's signal it started from.
struct ScriptConnection
{
    int signal = -1;
    QMetaObject::Connection connection;
};

struct Member;
using BuiltinFunction = PyObject *(*)(PythonQtInstanceWrapper *self, const Member &member,
                                      PyObject *const *args, Py_ssize_t nargs);

struct Member
{
    enum Kind { Method, Signal, Property, Constant, Builtin, Missing };

    Kind kind = Missing;
    QByteArray name;
    QVector<Overload> overloads;
    QMetaProperty property;
    ArgType propertyType;
    PythonQtObjectPtr constant;
    BuiltinFunction builtin = nullptr;
};

struct ClassInfo
{
    const QMetaObject *metaObject = nullptr;
    QByteArray className;
    QByteArray package;
    PyTypeObject *type = nullptr;
    ClassInfo *base = nullptr;
    PythonQtQObjectCreatorFunctionCB *wrapperCreator = nullptr;
    PythonQtShellSetInstanceWrapperCB *shell = nullptr;
    // Name -> capsule owning a Member, filled on first use of each name.
    PyObject *members = nullptr;
    bool constructorsKnown = false;
    QVector<Overload> constructors;
};

class PythonQtPrivate
{
public:
    explicit PythonQtPrivate(PythonQt *q)
        : q(q)
    { }

    static PythonQtPrivate *instance();
    // Setting up the bridge's modules, types and classes fails only when
    // Python is out of memory or broken; nothing a script could use is
    // there then, so the process ends, with Python's error shown.
    [[noreturn]] static void setupFailed(const QByteArray &what);

    // ---- classes and members (classregistry.cpp)
    ClassInfo *registerClass(const QMetaObject *metaObject, const QByteArray &package);
    ClassInfo *classInfo(const QByteArray &className) const { return classes.value(className); }
    ClassInfo *classForType(PyTypeObject *type) const;
    ClassInfo *classForObject(QObject *object);
    // Borrowed reference to the capsule of the member; null with a Python error.
    PyObject *memberCapsule(ClassInfo *info, PyObject *name);
    static const Member *memberOf(PyObject *capsule);
    // Every name a script can reach on an instance of the class.
    QList<QByteArray> memberNames(ClassInfo *info);
    static QVector<ClassInfo *> &retainedClasses();
    const QVector<Overload> &constructors(ClassInfo *info);
    void forgetMembers();
    void addDecorators(QObject *decorator);
    // Borrowed reference to the module of the package; null with a Python error.
    PyObject *packageModule(const QByteArray &package);

    // ---- objects and their wrappers (objectlifetime.cpp)
    // New reference to the one wrapper of a live object.
    PyObject *wrap(QObject *object);
    PyObject *newWrapper(PyTypeObject *type, ClassInfo *info, QObject *object, bool ownedByPython);
    void attach(PythonQtInstanceWrapper *wrapper, QObject *object, bool ownedByPython);
    void forgetWrapper(PythonQtInstanceWrapper *wrapper);
    // The wrapper lets go of the object it owns, which is deleted.
    void releaseOwned(PythonQtInstanceWrapper *wrapper);
    void deleteOwned(QObject *object);
    // Lets the object's wrapper go the moment its destruction starts.
    void objectDestroyed(QObject *object);
    // A script emitted the live object's destroyed(): as in PythonQt, its
    // Python connections, all of them, have heard their last signal.
    void destroyedEmittedByScript(QObject *object);
    // Objects a script constructed; the others were made by C++, and while
    // they have a parent that parent may still use them.
    void noteConstructedByScript(QObject *object);
    bool isConstructedByScript(const QObject *object) const
    {
        return constructedByScript.contains(object);
    }
    // Python code may only reach Qt objects from the thread Qt's widgets
    // live in; elsewhere, an error naming the call and no Qt touched.
    bool onGuiThread() const { return std::this_thread::get_id() == guiThread; }
    static bool refuseOffGuiThread(const char *action, const QByteArray &name,
                                   const QByteArray &className);
    // The callables that an object a wrapper owns (and its descendants)
    // hold through their signal receivers, for the garbage collector.
    int traverseCallables(const QObject *root, visitproc visit, void *arg) const;
    void dropCallables(const QObject *root);
    // The object, unless it is gone or its destruction has started.
    static QObject *liveObject(const PythonQtInstanceWrapper *wrapper);
    static bool isBeingDestroyed(const QObject *object);
    // Deletes an object a script lets go of, or, while a call from Python or
    // a signal on its way to Python still runs on the object or a
    // descendant, once the outermost of them is over. Its wrapper lets go at once.
    void deleteFromScript(QObject *object);
    void deleteDeferred();
    void postDeferred();
    // What cleanup() must stop: Python code run from Qt signals, and wrappers
    // that would reach objects after the bridge is gone. Deletes nothing a
    // script owns: that is the host's business, as with PythonQt.
    void detachFromScripts();

    SignalReceiver *receiverFor(QObject *sender);
    void forgetReceiver(QObject *sender) { receivers.remove(sender); }

    PythonQt *q;
    int flags = 0;
    QByteArray moduleName;
    PyObject *topModule = nullptr;
    QHash<QByteArray, PyObject *> packageModules;
    QHash<QByteArray, ClassInfo *> classes;
    QHash<const QMetaObject *, ClassInfo *> classesByMetaObject;
    QHash<PyTypeObject *, ClassInfo *> classesByType;
    QVector<ClassInfo *> explicitOrder;
    QVector<QObject *> decorators;
    QHash<QObject *, PythonQtInstanceWrapper *> wrappers;
    QHash<QObject *, SignalReceiver *> receivers;
    QHash<QObject *, QVector<ScriptConnection>> scriptConnections;
    bool hadError = false;
    bool systemExitHandlerEnabled = false;
    // Innermost last; see BusyScope.
    QVector<QPointer<QObject>> busyObjects;
    int busyCalls = 0;
    QVector<QPointer<QObject>> deferredDeletions;
    QSet<const QObject *> constructedByScript;
    std::thread::id guiThread = std::this_thread::get_id();

private:
    bool isBusy(const QObject *object) const;
    // The signal receivers of root and its descendants, until visit returns non-zero.
    int forEachReceiver(const QObject *root,
                        const std::function<int(SignalReceiver *)> &visit) const;
    void runWrapperCreators(ClassInfo *info);
    Member *resolve(ClassInfo *info, const QByteArray &name);
    void addMethods(Member &member, ClassInfo *info, const QByteArray &name);
    void addDecoratorSlots(Member &member, ClassInfo *info, const QByteArray &name);
    bool addConstant(Member &member, ClassInfo *info, const QByteArray &name);
};

// Marks an object as busy while a call from Python runs on it (`Call`) or
// while one of its signals is delivered to Python (`Delivery`). Deletions
// that waited for it happen when the outermost call from Python returns;
// when only deliveries enclosed them, Qt's own emission is still running
// above, so they go to the event loop.
class BusyScope
{
public:
    enum Kind { Call, Delivery };
    BusyScope(QObject *object, Kind kind);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    Kind kind;
};

namespace HeapType {
// New reference, or null with a Python error. CPython deprecates a type
// name without a module here: "builtins.X" makes a type named X in the
// module builtins, as a static type named X was.
PyTypeObject *create(PyType_Spec &definition, PyTypeObject *base = nullptr);
} // namespace HeapType

// The Python type of wrapped objects and the metatype of registered classes.
namespace InstanceWrapper {
bool ready();
bool check(PyObject *object);
PyTypeObject *createType(const ClassInfo &info, const QByteArray &module);
PyObject *destroyedError(const char *action, const QByteArray &name,
                         const PythonQtInstanceWrapper *self);
PyObject *readProperty(PythonQtInstanceWrapper *self, const Member &member);
} // namespace InstanceWrapper

// Methods and signals looked up on a wrapper, or unbound on a class.
namespace BoundMember {
bool ready();
// `self` null: looked up on the class; the first argument is the instance.
PyObject *create(PyObject *self, ClassInfo *info, PyObject *memberCapsule);
} // namespace BoundMember

// Overload resolution and the call of a meta-method.
namespace MethodCall {
// Calls the first overload, by argument count, then strict, then lenient
// conversion, that takes the arguments. With `constructed`, the result is
// the new object, handed back there instead of converted.
PyObject *call(const QVector<Overload> &overloads, const PythonQtInstanceWrapper *self,
               PyObject *const *args, Py_ssize_t nargs, PyObject *kwnames,
               QObject **constructed = nullptr);
PyObject *rejectKeywords(const Overload &overload);
PyObject *rejectKeywords(const QByteArray &signature);
// PythonQt's ValueError for arguments that fit none of the signatures
// ("Called ... with wrong arguments", "Could not find matching overload").
PyObject *wrongArguments(const QByteArrayList &signatures, PyObject *const *args, Py_ssize_t nargs,
                         bool countMatched);
// The same, the arguments shown as `given`.
PyObject *wrongArguments(const QByteArrayList &signatures, const QByteArray &given,
                         bool countMatched);
// repr() of a value for an error message, cut short as argument lists are.
QByteArray shortRepr(PyObject *value);
Overload makeOverload(const QMetaMethod &method, const QMetaObject *owner, QObject *decorator,
                      bool hiddenSelf, const QByteArray &shownName);

// call()'s order and errors over the tables of QByteArray's methods and the
// value classes' (a `signature` and `params` each). `tryCall(overload,
// strict, taken)` converts the arguments for the overload and, where they
// fit (`taken`), calls it: its result, or null with a Python error, as when
// a conversion raised.
template<typename Overloads, typename TryCall>
PyObject *callFirstFitting(const Overloads &overloads, PyObject *const *args, Py_ssize_t nargs,
                           PyObject *kwargs, TryCall tryCall)
{
    if (kwargs && PyDict_GET_SIZE(kwargs) > 0)
        return rejectKeywords(overloads.first().signature);
    bool countMatched = false;
    for (const bool strict : {true, false}) {
        for (const auto &overload : overloads) {
            if (overload.params.size() != nargs)
                continue;
            countMatched = true;
            bool taken = false;
            PyObject *result = tryCall(overload, strict, taken);
            if (taken)
                return result;
        }
    }
    QByteArrayList signatures;
    for (const auto &overload : overloads)
        signatures.append(overload.signature);
    return wrongArguments(signatures, args, nargs, countMatched);
}
} // namespace MethodCall

// Qt's namespace with its enums, and SIGNAL(), SLOT(), qVersion(), in
// PythonQt.QtCore and PythonQt.Qt; and in PythonQt.Qt, the classes of
// PythonQt.QtCore and PythonQt.QtGui, so install() comes after them.
namespace QtNamespace {
bool install(PythonQtPrivate &bridge);
} // namespace QtNamespace

// The methods every wrapper has: className(), delete(), connect(), ...
namespace Builtins {
BuiltinFunction find(const QByteArray &name);
// PythonQt's own methods of every wrapper, not slots of its QObject decorator.
bool isWrapperMethod(const QByteArray &name);
QList<QByteArray> names();
// className(), inherits(), help(), delete() as methods of the wrapper type.
bool addPlainMethods(PyTypeObject *wrapperType);
// What an unbound built-in names in its errors, as PythonQt does.
QByteArray firstSignature(const QByteArray &name);
// The class name inherits() is given, checked as PythonQt checks it; null
// with a Python error. Points into the argument.
const char *inheritsArgument(PyObject *const *args, Py_ssize_t nargs);
} // namespace Builtins

#endif // PYTHONQT_P_H
