#ifndef PYTHONQT_P_H
#define PYTHONQT_P_H

#include "PythonQt.h"
#include "conversions.h"

#include <QHash>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>
#include <QVector>

class SignalReceiver;
struct ClassInfo;

struct PythonQtInstanceWrapperStruct
{
    PyObject_HEAD
    QPointer<QObject> object;
    ClassInfo *classInfo;
    // Deletes the object with the wrapper, if it has no parent by then.
    bool ownedByPython;
    QMetaObject::Connection destroyedConnection;
};

// One callable form of a method name: a meta-method of the class, or a
// decorator slot that receives the instance as its hidden first argument.
struct Overload
{
    QObject *decorator = nullptr;
    bool hiddenSelf = false;  // the decorator slot's first parameter is the instance
    const QMetaObject *owner = nullptr;  // declares the method
    int localIndex = -1;
    int index = -1;
    bool isSignal = false;
    ArgType result;
    QVector<ArgType> params;  // as Python passes them
    QByteArray signature;     // for error messages
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
    QByteArray typeName;  // the Python type's qualified name, kept alive for it
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
    explicit PythonQtPrivate(PythonQt *q) : q(q) {}

    static PythonQtPrivate *instance();

    ClassInfo *registerClass(const QMetaObject *metaObject, const QByteArray &package);
    ClassInfo *classInfo(const QByteArray &className) const { return classes.value(className); }
    ClassInfo *classForType(PyTypeObject *type) const;
    ClassInfo *classForObject(QObject *object);
    // Borrowed reference to the capsule of the member; null with a Python error.
    PyObject *memberCapsule(ClassInfo *info, PyObject *name);
    static const Member *memberOf(PyObject *capsule);
    static QVector<ClassInfo *> &retainedClasses();
    const QVector<Overload> &constructors(ClassInfo *info);
    void forgetMembers();

    void addDecorators(QObject *decorator);

    PyObject *packageModule(const QByteArray &package);

    // New reference to the one wrapper of a live object.
    PyObject *wrap(QObject *object);
    PyObject *newWrapper(PyTypeObject *type, ClassInfo *info, QObject *object, bool ownedByPython);
    void forgetWrapper(PythonQtInstanceWrapper *wrapper);

    // Deletes an object a script lets go of. While a call from Python, or a
    // signal on its way to Python, still runs on the object or a descendant,
    // its wrapper lets go at once but the deletion waits until that is over:
    // Qt's code above would otherwise go on with a deleted object.
    void deleteFromScript(QObject *object);
    void deleteDeferred();

    SignalReceiver *receiverFor(QObject *sender);
    void forgetReceiver(QObject *sender) { receivers.remove(sender); }

    void dropScriptObjects();

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
    bool hadError = false;
    // Innermost last; see BusyScope.
    QVector<QPointer<QObject>> busyObjects;
    QVector<QPointer<QObject>> deferredDeletions;

private:
    bool isBusy(const QObject *object) const;
    void runWrapperCreators(ClassInfo *info);
    Member *resolve(ClassInfo *info, const QByteArray &name);
    void addMethods(Member &member, ClassInfo *info, const QByteArray &name);
    void addDecoratorSlots(Member &member, ClassInfo *info, const QByteArray &name);
    bool addConstant(Member &member, ClassInfo *info, const QByteArray &name);
    PyTypeObject *createType(ClassInfo *info);
};

// Marks an object as busy while a call from Python runs on it (`Call`) or
// while one of its signals is delivered to Python (`Delivery`). Deletions
// that waited for it happen when the outermost call from Python returns;
// a delivery that is outermost leaves them to the event loop, as Qt's own
// emission is still running above it.
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

namespace InstanceWrapper {
bool ready();
PyTypeObject *baseType();
bool check(PyObject *object);
// Calls the first overload, by argument count, then strict, then lenient
// conversion, that takes the arguments. With `constructed`, the result is
// the new object, handed back there instead of converted.
PyObject *call(const QVector<Overload> &overloads, const QPointer<QObject> *self,
               const QByteArray &className, const QByteArray &methodName, PyObject *const *args,
               Py_ssize_t nargs, PyObject *kwnames, QObject **constructed = nullptr);
Overload makeOverload(const QMetaMethod &method, const QMetaObject *owner, QObject *decorator,
                      bool hiddenSelf);
// Finds the built-in methods every wrapper has.
BuiltinFunction builtin(const QByteArray &name);
PyObject *readProperty(PythonQtInstanceWrapper *self, const Member &member, PyObject *const *,
                       Py_ssize_t nargs);
} // namespace InstanceWrapper

#endif // PYTHONQT_P_H
