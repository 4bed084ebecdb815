// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// The registry of wrapped classes: their Python types and their per-class
// member tables.
#include "pythonqt_p.h"

#include <QMetaEnum>
#include <QSet>

#include <memory>
#include <utility>

namespace {

bool isScriptVisible(const QMetaMethod &method)
{
    return method.access() == QMetaMethod::Public
        && method.methodType() != QMetaMethod::Constructor;
}

// A decorator slot that adds a method to the class of its first parameter;
// constructors, destructors and static methods are named for what they are.
bool isInstanceDecorator(const QMetaMethod &method, const QByteArray &pointerType)
{
    const QByteArray name = method.name();
    return isScriptVisible(method) && method.parameterCount() > 0
        && method.parameterTypes().first() == pointerType && !name.startsWith("new_")
        && !name.startsWith("delete_") && !name.startsWith("static_");
}

bool addEnumerations(PyObject *type, const QMetaObject *mo)
{
    for (int i = mo->enumeratorOffset(); i < mo->enumeratorCount(); ++i) {
        const QMetaEnum enumerator = mo->enumerator(i);
        for (int k = 0; k < enumerator.keyCount(); ++k) {
            PyObject *value = PyLong_FromLong(enumerator.value(k));
            const int added = value ? PyObject_SetAttrString(type, enumerator.key(k), value) : -1;
            Py_XDECREF(value);
            if (added < 0)
                return false;
        }
    }
    return true;
}

// The class's type, with the class's own enumerations readable from it: Dialog.Accepted.
PyTypeObject *createType(const ClassInfo &info, const QByteArray &module)
{
    PyTypeObject *type = InstanceWrapper::createType(info, module);
    if (type && !addEnumerations(reinterpret_cast<PyObject *>(type), info.metaObject))
        Py_CLEAR(type);
    return type;
}

const QMetaObject *ownerOf(const QMetaObject *mo, int methodIndex)
{
    while (mo->methodOffset() > methodIndex)
        mo = mo->superClass();
    return mo;
}

// Every method a decorator declares beyond QObject's, with the class that declares it.
template<typename Visit>
void forEachDecoratorMethod(const QVector<QObject *> &decorators, Visit visit)
{
    for (QObject *decorator : decorators) {
        const QMetaObject *mo = decorator->metaObject();
        for (int i = QObject::staticMetaObject.methodCount(); i < mo->methodCount(); ++i)
            visit(decorator, mo->method(i), ownerOf(mo, i));
    }
}

// The decorator slots that add methods to the class, then those for each of its bases.
template<typename Visit>
void forEachInstanceDecorator(const ClassInfo *info, const QVector<QObject *> &decorators,
                              Visit visit)
{
    for (const ClassInfo *c = info; c; c = c->base) {
        const QByteArray pointerType = c->className + '*';
        forEachDecoratorMethod(
            decorators,
            [&](QObject *decorator, const QMetaMethod &method, const QMetaObject *owner) {
                if (isInstanceDecorator(method, pointerType))
                    visit(decorator, method, owner);
            });
    }
}

} // namespace

ClassInfo *PythonQtPrivate::classForType(PyTypeObject *type) const
{
    // A Python subclass stands for the registered class it derives from.
    PyObject *mro = type->tp_mro;
    for (Py_ssize_t i = 0; mro && i < PyTuple_GET_SIZE(mro); ++i) {
        if (ClassInfo *info =
                classesByType.value(reinterpret_cast<PyTypeObject *>(PyTuple_GET_ITEM(mro, i))))
            return info;
    }
    return nullptr;
}

ClassInfo *PythonQtPrivate::classForObject(QObject *object)
{
    const QMetaObject *actual = object->metaObject();
    if (ClassInfo *info = classesByMetaObject.value(actual))
        return info;
    if (ClassInfo *info = classes.value(actual->className())) {
        classesByMetaObject.insert(actual, info);
        return info;
    }
    // An object of a class nobody registered gets its class registered, so
    // that its own slots are reachable too.
    return registerClass(actual, QByteArray());
}

ClassInfo *PythonQtPrivate::registerClass(const QMetaObject *metaObject, const QByteArray &package)
{
    if (ClassInfo *existing = classes.value(metaObject->className())) {
        classesByMetaObject.insert(metaObject, existing);
        return existing;
    }
    ClassInfo *base =
        metaObject->superClass() ? registerClass(metaObject->superClass(), package) : nullptr;
    // Kept for the life of the process: the Python type, and wrappers that
    // outlive cleanup(), refer to it.
    auto info = new ClassInfo;
    retainedClasses().append(info);
    info->metaObject = metaObject;
    info->className = metaObject->className();
    info->package = package.isEmpty() ? QByteArrayLiteral("private") : package;
    info->base = base;
    info->members = PyDict_New();
    info->type = info->members ? createType(*info, moduleName + '.' + info->package) : nullptr;
    if (!info->type)
        setupFailed("create the Python type of " + info->className);
    classes.insert(info->className, info);
    classesByMetaObject.insert(metaObject, info);
    classesByType.insert(info->type, info);

    PyObject *module = packageModule(info->package);
    const QByteArray attribute = unqualifiedName(info->className);
    auto type = reinterpret_cast<PyObject *>(info->type);
    if (!module || PyObject_SetAttrString(module, attribute.constData(), type) < 0)
        setupFailed("add " + info->className + " to " + moduleName + '.' + info->package);
    // Pointer types of this class may now turn into wrappers.
    forgetMembers();
    return info;
}

PyObject *PythonQtPrivate::packageModule(const QByteArray &package)
{
    if (PyObject *module = packageModules.value(package))
        return module;
    const QByteArray name = moduleName + '.' + package;
    PyObject *module = PyModule_New(name.constData());
    if (!module || PyDict_SetItemString(PyImport_GetModuleDict(), name.constData(), module) < 0
        || PyObject_SetAttrString(topModule, package.constData(), module) < 0) {
        Py_XDECREF(module);
        return nullptr;
    }
    packageModules.insert(package, module);
    return module;
}

// Never destroyed, not even at exit: a wrapper's last use may come later.
QVector<ClassInfo *> &PythonQtPrivate::retainedClasses()
{
    static auto all = new QVector<ClassInfo *>;
    return *all;
}

void PythonQtPrivate::forgetMembers()
{
    // Bound methods handed out keep their own members alive.
    for (ClassInfo *info : qAsConst(classes)) {
        PyDict_Clear(info->members);
        info->constructorsKnown = false;
    }
}

namespace {

void deleteMember(PyObject *capsule)
{
    delete static_cast<Member *>(PyCapsule_GetPointer(capsule, nullptr));
}

} // namespace

// The capsule owns the member: the class's cache holds it, and so does every
// bound method or signal handed out, so a member lives exactly as long as
// something can still reach it.
PyObject *PythonQtPrivate::memberCapsule(ClassInfo *info, PyObject *name)
{
    if (PyObject *cached = PyDict_GetItemWithError(info->members, name))
        return cached;
    if (PyErr_Occurred())
        return nullptr;
    const char *key = PyUnicode_AsUTF8(name);
    if (!key)
        return nullptr;
    Member *found = resolve(info, key);
    PyObject *capsule = PyCapsule_New(found, nullptr, deleteMember);
    if (!capsule) {
        delete found;
        return nullptr;
    }
    const int stored = PyDict_SetItem(info->members, name, capsule);
    Py_DECREF(capsule);
    return stored < 0 ? nullptr : capsule;
}

const Member *PythonQtPrivate::memberOf(PyObject *capsule)
{
    return static_cast<const Member *>(PyCapsule_GetPointer(capsule, nullptr));
}

void PythonQtPrivate::runWrapperCreators(ClassInfo *info)
{
    for (ClassInfo *c = info; c; c = c->base) {
        if (PythonQtQObjectCreatorFunctionCB *creator = c->wrapperCreator) {
            c->wrapperCreator = nullptr;
            addDecorators(creator());
        }
    }
}

Member *PythonQtPrivate::resolve(ClassInfo *info, const QByteArray &name)
{
    runWrapperCreators(info);
    auto m = new Member;
    m->name = name;
    const QMetaObject *mo = info->metaObject;

    const int propertyIndex = mo->indexOfProperty(name.constData());
    if (propertyIndex >= 0 && mo->property(propertyIndex).isReadable()) {
        m->kind = Member::Property;
        m->property = mo->property(propertyIndex);
        m->propertyType = ArgType::fromTypeName(m->property.typeName(), m->property.userType(), mo);
        return m;
    }

    addDecoratorSlots(*m, info, name);
    addMethods(*m, info, name);
    if (!m->overloads.isEmpty()) {
        bool allSignals = true;
        for (const Overload &overload : qAsConst(m->overloads))
            allSignals = allSignals && overload.isSignal;
        m->kind = allSignals ? Member::Signal : Member::Method;
        return m;
    }

    if (addConstant(*m, info, name))
        return m;

    // "exec_" reaches "exec", as Python 2 scripts spelled it.
    if (name.size() > 1 && name.endsWith('_')) {
        const std::unique_ptr<Member> stripped(resolve(info, name.left(name.size() - 1)));
        if (stripped->kind != Member::Missing) {
            *m = *stripped;
            return m;
        }
    }

    if (BuiltinFunction function = Builtins::find(name)) {
        m->kind = Member::Builtin;
        m->builtin = function;
    }
    return m;
}

void PythonQtPrivate::addMethods(Member &member, ClassInfo *info, const QByteArray &name)
{
    // Most derived first, so a call reaches an override before the base's method of the same
    // signature; both stay, as PythonQt lists both where no overload takes the arguments.
    for (const QMetaObject *mo = info->metaObject; mo; mo = mo->superClass()) {
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod method = mo->method(i);
            if (method.name() != name || !isScriptVisible(method))
                continue;
            member.overloads.append(MethodCall::makeOverload(method, mo, nullptr, false, name));
        }
    }
}

void PythonQtPrivate::addDecoratorSlots(Member &member, ClassInfo *info, const QByteArray &name)
{
    forEachInstanceDecorator(
        info, decorators,
        [&](QObject *decorator, const QMetaMethod &method, const QMetaObject *owner) {
            if (method.name() == name)
                member.overloads.append(
                    MethodCall::makeOverload(method, owner, decorator, true, name));
        });
}

bool PythonQtPrivate::addConstant(Member &member, ClassInfo *info, const QByteArray &name)
{
    for (const QMetaObject *mo = info->metaObject; mo; mo = mo->superClass()) {
        for (int i = mo->enumeratorOffset(); i < mo->enumeratorCount(); ++i) {
            bool ok = false;
            const int value = mo->enumerator(i).keyToValue(name.constData(), &ok);
            if (ok) {
                member.kind = Member::Constant;
                member.constant.setNewRef(PyLong_FromLong(value));
                return true;
            }
        }
    }
    return false;
}

const QVector<Overload> &PythonQtPrivate::constructors(ClassInfo *info)
{
    if (info->constructorsKnown)
        return info->constructors;
    runWrapperCreators(info);
    info->constructors.clear();
    const QByteArray slotName = "new_" + QByteArray(info->className).replace("::", "__");
    forEachDecoratorMethod(
        decorators, [&](QObject *decorator, const QMetaMethod &method, const QMetaObject *owner) {
            if (method.name() == slotName && isScriptVisible(method))
                info->constructors.append(
                    MethodCall::makeOverload(method, owner, decorator, false, info->className));
        });
    info->constructorsKnown = true;
    return info->constructors;
}

void PythonQtPrivate::addDecorators(QObject *decorator)
{
    if (!decorator)
        return;
    decorator->setParent(q);
    decorators.append(decorator);
    // Whoever deletes a decorator anyway must not leave its slots callable.
    QObject::connect(decorator, &QObject::destroyed, q, [this](QObject *gone) {
        decorators.removeAll(gone);
        forgetMembers();
    });
    forgetMembers();
}

QList<QByteArray> PythonQtPrivate::memberNames(ClassInfo *info)
{
    runWrapperCreators(info);
    QSet<QByteArray> names;
    for (const QMetaObject *mo = info->metaObject; mo; mo = mo->superClass()) {
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            names.insert(mo->property(i).name());
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            if (isScriptVisible(mo->method(i)))
                names.insert(mo->method(i).name());
        }
    }
    forEachInstanceDecorator(info, decorators,
                             [&](QObject *, const QMetaMethod &method, const QMetaObject *) {
                                 names.insert(method.name());
                             });
    for (const QByteArray &name : Builtins::names())
        names.insert(name);
    return names.values();
}
