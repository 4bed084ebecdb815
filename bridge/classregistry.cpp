// The registry of wrapped classes: their Python types, their per-class
// member tables, and the one wrapper of each live object.
#include "pythonqt_p.h"
#include "signalreceiver.h"

#include <QMetaEnum>

#include <memory>
#include <utility>

namespace {

bool isScriptVisible(const QMetaMethod &method)
{
    return method.access() == QMetaMethod::Public
           && method.methodType() != QMetaMethod::Constructor;
}

bool hasSignature(const Member &member, const QMetaMethod &method)
{
    for (const Overload &overload : member.overloads) {
        if (!overload.decorator
            && overload.owner->method(overload.index).methodSignature() == method.methodSignature())
            return true;
    }
    return false;
}

} // namespace

ClassInfo *PythonQtPrivate::classForType(PyTypeObject *type) const
{
    // A Python subclass stands for the registered class it derives from.
    PyObject *mro = type->tp_mro;
    for (Py_ssize_t i = 0; mro && i < PyTuple_GET_SIZE(mro); ++i) {
        if (ClassInfo *info = classesByType.value(
                reinterpret_cast<PyTypeObject *>(PyTuple_GET_ITEM(mro, i))))
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
    ClassInfo *base = metaObject->superClass() ? registerClass(metaObject->superClass(), package)
                                               : nullptr;
    // Kept for the life of the process: the Python type, and wrappers that
    // outlive cleanup(), refer to it.
    auto info = new ClassInfo;
    retainedClasses().append(info);
    info->metaObject = metaObject;
    info->className = metaObject->className();
    info->package = package.isEmpty() ? QByteArrayLiteral("private") : package;
    info->base = base;
    info->typeName = moduleName + '.' + info->package + '.' + info->className;
    info->members = PyDict_New();
    info->type = createType(info);
    if (!info->type) {
        PyErr_Print();
        qFatal("PythonQt: could not create the Python type of %s", metaObject->className());
    }
    classes.insert(info->className, info);
    classesByMetaObject.insert(metaObject, info);
    classesByType.insert(info->type, info);

    const int separator = info->className.lastIndexOf("::");
    const QByteArray attribute = separator < 0 ? info->className
                                               : info->className.mid(separator + 2);
    PyObject *module = packageModule(info->package);
    PyObject_SetAttrString(module, attribute.constData(), reinterpret_cast<PyObject *>(info->type));
    // Pointer types of this class may now turn into wrappers.
    forgetMembers();
    return info;
}

PyTypeObject *PythonQtPrivate::createType(ClassInfo *info)
{
    PyType_Slot slots[] = {{0, nullptr}};
    PyType_Spec typeSpec = {info->typeName.constData(), 0, 0,
                        Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE, slots};
    PyObject *base = info->base ? reinterpret_cast<PyObject *>(info->base->type)
                                : reinterpret_cast<PyObject *>(InstanceWrapper::baseType());
    PyObject *bases = PyTuple_Pack(1, base);
    PyObject *type = bases ? PyType_FromSpecWithBases(&typeSpec, bases) : nullptr;
    Py_XDECREF(bases);
    if (!type)
        return nullptr;
    // The class's own enumerations, readable from the class: Dialog.Accepted.
    const QMetaObject *mo = info->metaObject;
    for (int i = mo->enumeratorOffset(); i < mo->enumeratorCount(); ++i) {
        const QMetaEnum enumerator = mo->enumerator(i);
        for (int k = 0; k < enumerator.keyCount(); ++k) {
            PyObject *value = PyLong_FromLong(enumerator.value(k));
            PyObject_SetAttrString(type, enumerator.key(k), value);
            Py_XDECREF(value);
        }
    }
    return reinterpret_cast<PyTypeObject *>(type);
}

PyObject *PythonQtPrivate::packageModule(const QByteArray &package)
{
    if (PyObject *module = packageModules.value(package))
        return module;
    const QByteArray name = moduleName + '.' + package;
    PyObject *module = PyModule_New(name.constData());
    PyDict_SetItemString(PyImport_GetModuleDict(), name.constData(), module);
    PyObject_SetAttrString(topModule, package.constData(), module);
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

    // "isVisible" reads the property "visible" whose getter it is.
    for (const char *prefix : {"is", "has"}) {
        if (name.size() > int(qstrlen(prefix)) && name.startsWith(prefix)
            && QChar::isUpper(name.at(int(qstrlen(prefix))))) {
            QByteArray propertyName = name.mid(int(qstrlen(prefix)));
            propertyName[0] = QChar::toLower(ushort(propertyName.at(0)));
            const int index = mo->indexOfProperty(propertyName.constData());
            if (index >= 0 && mo->property(index).isReadable()
                && mo->property(index).userType() == QMetaType::Bool) {
                m->kind = Member::Builtin;
                m->builtin = InstanceWrapper::readProperty;
                m->property = mo->property(index);
                return m;
            }
        }
    }

    // "exec_" reaches "exec", as Python 2 scripts spelled it.
    if (name.size() > 1 && name.endsWith('_')) {
        const std::unique_ptr<Member> stripped(resolve(info, name.left(name.size() - 1)));
        if (stripped->kind != Member::Missing) {
            *m = *stripped;
            return m;
        }
    }

    if (BuiltinFunction function = InstanceWrapper::builtin(name)) {
        m->kind = Member::Builtin;
        m->builtin = function;
    }
    return m;
}

void PythonQtPrivate::addMethods(Member &member, ClassInfo *info, const QByteArray &name)
{
    // Most derived first, so an override hides the base's method of the same signature.
    for (const QMetaObject *mo = info->metaObject; mo; mo = mo->superClass()) {
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod method = mo->method(i);
            if (method.name() != name || !isScriptVisible(method) || hasSignature(member, method))
                continue;
            member.overloads.append(InstanceWrapper::makeOverload(method, mo, nullptr, false));
        }
    }
}

void PythonQtPrivate::addDecoratorSlots(Member &member, ClassInfo *info, const QByteArray &name)
{
    for (ClassInfo *c = info; c; c = c->base) {
        const QByteArray pointerType = c->className + '*';
        for (QObject *decorator : qAsConst(decorators)) {
            const QMetaObject *mo = decorator->metaObject();
            for (int i = QObject::staticMetaObject.methodCount(); i < mo->methodCount(); ++i) {
                const QMetaMethod method = mo->method(i);
                if (method.name() != name || !isScriptVisible(method) || method.parameterCount() < 1
                    || method.parameterTypes().first() != pointerType)
                    continue;
                const QMetaObject *owner = mo;
                while (owner->methodOffset() > i)
                    owner = owner->superClass();
                member.overloads.append(InstanceWrapper::makeOverload(method, owner, decorator, true));
            }
        }
    }
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
    for (QObject *decorator : qAsConst(decorators)) {
        const QMetaObject *mo = decorator->metaObject();
        for (int i = QObject::staticMetaObject.methodCount(); i < mo->methodCount(); ++i) {
            const QMetaMethod method = mo->method(i);
            if (method.name() != slotName || !isScriptVisible(method))
                continue;
            const QMetaObject *owner = mo;
            while (owner->methodOffset() > i)
                owner = owner->superClass();
            info->constructors.append(InstanceWrapper::makeOverload(method, owner, decorator, false));
        }
    }
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

PyObject *PythonQtPrivate::wrap(QObject *object)
{
    if (!object)
        Py_RETURN_NONE;
    PythonQtInstanceWrapper *existing = wrappers.value(object);
    if (existing && existing->object.data() == object) {
        Py_INCREF(existing);
        return reinterpret_cast<PyObject *>(existing);
    }
    ClassInfo *info = classForObject(object);
    return newWrapper(info->type, info, object, false);
}

PyObject *PythonQtPrivate::newWrapper(PyTypeObject *type, ClassInfo *info, QObject *object,
                                      bool ownedByPython)
{
    PyObject *created = type->tp_alloc(type, 0);
    if (!created)
        return nullptr;
    auto wrapper = reinterpret_cast<PythonQtInstanceWrapper *>(created);
    new (&wrapper->object) QPointer<QObject>(object);
    wrapper->classInfo = info;
    wrapper->ownedByPython = ownedByPython;
    // A later object at the same address must not meet this wrapper.
    new (&wrapper->destroyedConnection) QMetaObject::Connection(
        QObject::connect(object, &QObject::destroyed, [wrapper](QObject *gone) {
            if (PythonQtPrivate *d = instance()) {
                if (d->wrappers.value(gone) == wrapper)
                    d->wrappers.remove(gone);
            }
        }));
    wrappers.insert(object, wrapper);
    if (info->shell && type != info->type)
        info->shell(object, wrapper);
    return created;
}

void PythonQtPrivate::forgetWrapper(PythonQtInstanceWrapper *wrapper)
{
    QObject *object = wrapper->object.data();
    QObject::disconnect(wrapper->destroyedConnection);
    if (!object)
        return;
    if (wrappers.value(object) == wrapper)
        wrappers.remove(object);
    if (wrapper->ownedByPython && !object->parent()) {
        wrapper->ownedByPython = false;
        deleteFromScript(object);
    }
}

bool PythonQtPrivate::isBusy(const QObject *object) const
{
    for (const QPointer<QObject> &busy : busyObjects) {
        for (const QObject *o = busy.data(); o; o = o->parent()) {
            if (o == object)
                return true;
        }
    }
    return false;
}

void PythonQtPrivate::deleteFromScript(QObject *object)
{
    if (!isBusy(object)) {
        delete object;
        return;
    }
    if (PythonQtInstanceWrapper *wrapper = wrappers.take(object)) {
        QObject::disconnect(wrapper->destroyedConnection);
        wrapper->ownedByPython = false;
        wrapper->object.clear();
    }
    // Also queued with Qt, for a delivery that no call from Python encloses.
    object->deleteLater();
    deferredDeletions.append(object);
}

void PythonQtPrivate::deleteDeferred()
{
    const QVector<QPointer<QObject>> due = std::exchange(deferredDeletions, {});
    for (const QPointer<QObject> &object : due)
        delete object.data();
}

BusyScope::BusyScope(QObject *object, Kind kind) : kind(kind)
{
    if (PythonQtPrivate *d = PythonQtPrivate::instance())
        d->busyObjects.append(object);
}

BusyScope::~BusyScope()
{
    // cleanup() may have run inside the call.
    PythonQtPrivate *d = PythonQtPrivate::instance();
    if (!d || d->busyObjects.isEmpty())
        return;
    d->busyObjects.removeLast();
    if (kind == Call && d->busyObjects.isEmpty())
        d->deleteDeferred();
}

SignalReceiver *PythonQtPrivate::receiverFor(QObject *sender)
{
    SignalReceiver *&receiver = receivers[sender];
    if (!receiver)
        receiver = new SignalReceiver(sender);
    return receiver;
}

void PythonQtPrivate::dropScriptObjects()
{
    // Script objects go while QApplication still exists: first the main
    // module's names, then whatever cycles held, then what Python still owns.
    PyObject *main = PyImport_AddModule("__main__");
    if (PyObject *globals = main ? PyModule_GetDict(main) : nullptr) {
        PyObject *keys = PyDict_Keys(globals);
        for (Py_ssize_t i = 0; keys && i < PyList_GET_SIZE(keys); ++i) {
            PyObject *key = PyList_GET_ITEM(keys, i);
            if (PyUnicode_Check(key) && PyUnicode_CompareWithASCIIString(key, "__builtins__") != 0
                && PyUnicode_CompareWithASCIIString(key, "__name__") != 0)
                PyDict_DelItem(globals, key);
        }
        Py_XDECREF(keys);
    }
    PyErr_Clear();
    PyGC_Collect();
    deleteDeferred();

    QVector<QPointer<QObject>> owned;
    for (PythonQtInstanceWrapper *wrapper : qAsConst(wrappers)) {
        if (wrapper->ownedByPython) {
            wrapper->ownedByPython = false;
            owned.append(wrapper->object);
        }
    }
    for (const QPointer<QObject> &object : qAsConst(owned)) {
        if (object && !object->parent())
            delete object.data();
    }
    // No Python code may run from Qt signals any more.
    const auto remaining = receivers.values();
    qDeleteAll(remaining);
    receivers.clear();
    for (PythonQtInstanceWrapper *wrapper : qAsConst(wrappers))
        QObject::disconnect(wrapper->destroyedConnection);
    wrappers.clear();
}
