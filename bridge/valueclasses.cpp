// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "valueclasses.h"

#include "conversions.h"
#include "pythonqt_p.h"

#include <QCursor>
#include <QDebug>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QSizePolicy>

#include <functional>
#include <new>

namespace {

// One callable form of a constructor or method: its parameters' meta-types
// and what it does to the value (a constructor's value starts invalid).
struct Signature
{
    QByteArray signature; // as PythonQt shows it in error messages
    QVector<int> params;
    std::function<QVariant(QVariant &self, const QVariantList &args)> run;
};

struct Method
{
    QByteArray name;
    QVector<Signature> overloads;
};

struct ValueClass
{
    const char *name;
    bool inQtGui;
    int typeId;
    // The text inside PythonQt's "QSize (400, 65, at: 0x...)"; without
    // one, repr() and str() are both what qDebug() prints.
    std::function<QString(const QVariant &)> text;
    std::function<QString(const QVariant &)> debugText;
    std::function<bool(const QVariant &)> truth;
    bool comparable; // by value; else, as QIcon in PythonQt, by identity
    QVector<Signature> constructors;
    QVector<Method> methods;
    PyTypeObject *type = nullptr;
};

template<typename T> QString debugText(const QVariant &value)
{
    QString text;
    QDebug(&text) << value.value<T>();
    return text;
}

template<typename T> T &as(QVariant &value)
{
    return *static_cast<T *>(value.data());
}

template<typename T> T arg(const QVariantList &args, int i)
{
    return args.at(i).value<T>();
}

const int Int = QMetaType::Int;
const int Bool = QMetaType::Bool;
const int Size = QMetaType::QSize;
const int Point = QMetaType::QPoint;
const int Rect = QMetaType::QRect;

QString pair(int a, int b)
{
    return QStringLiteral("%1, %2").arg(a).arg(b);
}

// A method that reads the value and takes no arguments.
template<typename T, typename R>
Method getter(const char *name, const char *type, R (T::*read)() const)
{
    return {name,
            {{QByteArray(name) + "() -> " + type, {}, [read](QVariant &self, const QVariantList &) {
                  return QVariant::fromValue((as<T>(self).*read)());
              }}}};
}

template<typename T> Method setter(const char *name, const char *param, void (T::*write)(int))
{
    return {name,
            {{QByteArray(name) + "(int " + param + ") -> void",
              {Int},
              [write](QVariant &self, const QVariantList &args) {
                  (as<T>(self).*write)(arg<int>(args, 0));
                  return QVariant();
              }}}};
}

QVector<ValueClass> makeClasses()
{
    QVector<ValueClass> classes;

    classes.append({"QSize",
                    false,
                    Size,
                    [](const QVariant &v) {
                        const QSize s = v.toSize();
                        return pair(s.width(), s.height());
                    },
                    nullptr,
                    [](const QVariant &v) { return !v.toSize().isEmpty(); },
                    true,
                    {{"QSize() -> QSize",
                      {},
                      [](QVariant &, const QVariantList &) { return QVariant(QSize()); }},
                     {"QSize(QSize other) -> QSize",
                      {Size},
                      [](QVariant &, const QVariantList &a) { return a.at(0); }},
                     {"QSize(int w, int h) -> QSize",
                      {Int, Int},
                      [](QVariant &, const QVariantList &a) {
                          return QVariant(QSize(arg<int>(a, 0), arg<int>(a, 1)));
                      }}},
                    {getter("width", "int", &QSize::width),
                     getter("height", "int", &QSize::height),
                     getter("isEmpty", "bool", &QSize::isEmpty),
                     getter("isNull", "bool", &QSize::isNull),
                     getter("isValid", "bool", &QSize::isValid),
                     getter("transposed", "QSize", &QSize::transposed),
                     setter("setWidth", "w", &QSize::setWidth),
                     setter("setHeight", "h", &QSize::setHeight),
                     {"boundedTo",
                      {{"boundedTo(QSize arg__1) -> QSize",
                        {Size},
                        [](QVariant &self, const QVariantList &a) {
                            return QVariant(as<QSize>(self).boundedTo(arg<QSize>(a, 0)));
                        }}}},
                     {"expandedTo",
                      {{"expandedTo(QSize arg__1) -> QSize",
                        {Size},
                        [](QVariant &self, const QVariantList &a) {
                            return QVariant(as<QSize>(self).expandedTo(arg<QSize>(a, 0)));
                        }}}}}});

    classes.append({"QPoint",
                    false,
                    Point,
                    [](const QVariant &v) {
                        const QPoint p = v.toPoint();
                        return pair(p.x(), p.y());
                    },
                    nullptr,
                    [](const QVariant &v) { return !v.toPoint().isNull(); },
                    true,
                    {{"QPoint() -> QPoint",
                      {},
                      [](QVariant &, const QVariantList &) { return QVariant(QPoint()); }},
                     {"QPoint(QPoint other) -> QPoint",
                      {Point},
                      [](QVariant &, const QVariantList &a) { return a.at(0); }},
                     {"QPoint(int xpos, int ypos) -> QPoint",
                      {Int, Int},
                      [](QVariant &, const QVariantList &a) {
                          return QVariant(QPoint(arg<int>(a, 0), arg<int>(a, 1)));
                      }}},
                    {getter("x", "int", &QPoint::x), getter("y", "int", &QPoint::y),
                     getter("isNull", "bool", &QPoint::isNull),
                     getter("manhattanLength", "int", &QPoint::manhattanLength),
                     getter("transposed", "QPoint", &QPoint::transposed),
                     setter("setX", "x", &QPoint::setX), setter("setY", "y", &QPoint::setY)}});

    classes.append(
        {"QRect",
         false,
         Rect,
         [](const QVariant &v) {
             const QRect r = v.toRect();
             return pair(r.x(), r.y()) + QStringLiteral(", ") + pair(r.width(), r.height());
         },
         nullptr,
         [](const QVariant &v) { return !v.toRect().isEmpty(); },
         true,
         {{"QRect() -> QRect",
           {},
           [](QVariant &, const QVariantList &) { return QVariant(QRect()); }},
          {"QRect(QRect other) -> QRect",
           {Rect},
           [](QVariant &, const QVariantList &a) { return a.at(0); }},
          {"QRect(int left, int top, int width, int height) -> QRect",
           {Int, Int, Int, Int},
           [](QVariant &, const QVariantList &a) {
               return QVariant(
                   QRect(arg<int>(a, 0), arg<int>(a, 1), arg<int>(a, 2), arg<int>(a, 3)));
           }},
          {"QRect(QPoint topleft, QSize size) -> QRect",
           {Point, Size},
           [](QVariant &, const QVariantList &a) {
               return QVariant(QRect(arg<QPoint>(a, 0), arg<QSize>(a, 1)));
           }},
          {"QRect(QPoint topleft, QPoint bottomright) -> QRect",
           {Point, Point},
           [](QVariant &, const QVariantList &a) {
               return QVariant(QRect(arg<QPoint>(a, 0), arg<QPoint>(a, 1)));
           }}},
         {getter("x", "int", &QRect::x),
          getter("y", "int", &QRect::y),
          getter("width", "int", &QRect::width),
          getter("height", "int", &QRect::height),
          getter("left", "int", &QRect::left),
          getter("top", "int", &QRect::top),
          getter("right", "int", &QRect::right),
          getter("bottom", "int", &QRect::bottom),
          getter("size", "QSize", &QRect::size),
          getter("topLeft", "QPoint", &QRect::topLeft),
          getter("topRight", "QPoint", &QRect::topRight),
          getter("bottomLeft", "QPoint", &QRect::bottomLeft),
          getter("bottomRight", "QPoint", &QRect::bottomRight),
          getter("center", "QPoint", &QRect::center),
          getter("isEmpty", "bool", &QRect::isEmpty),
          getter("isNull", "bool", &QRect::isNull),
          getter("isValid", "bool", &QRect::isValid),
          getter("normalized", "QRect", &QRect::normalized),
          {"contains",
           {{"contains(QPoint p, bool proper) -> bool",
             {Point, Bool},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QPoint>(a, 0), arg<bool>(a, 1)));
             }},
            {"contains(QPoint p) -> bool",
             {Point},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QPoint>(a, 0)));
             }},
            {"contains(QRect r, bool proper) -> bool",
             {Rect, Bool},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QRect>(a, 0), arg<bool>(a, 1)));
             }},
            {"contains(QRect r) -> bool",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QRect>(a, 0)));
             }},
            {"contains(int x, int y) -> bool",
             {Int, Int},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<int>(a, 0), arg<int>(a, 1)));
             }},
            {"contains(int x, int y, bool proper) -> bool",
             {Int, Int, Bool},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(
                     as<QRect>(self).contains(arg<int>(a, 0), arg<int>(a, 1), arg<bool>(a, 2)));
             }}}},
          {"intersects",
           {{"intersects(QRect r) -> bool",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).intersects(arg<QRect>(a, 0)));
             }}}},
          {"intersected",
           {{"intersected(QRect other) -> QRect",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).intersected(arg<QRect>(a, 0)));
             }}}},
          {"united",
           {{"united(QRect other) -> QRect",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).united(arg<QRect>(a, 0)));
             }}}},
          {"adjusted",
           {{"adjusted(int x1, int y1, int x2, int y2) -> QRect",
             {Int, Int, Int, Int},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).adjusted(arg<int>(a, 0), arg<int>(a, 1),
                                                          arg<int>(a, 2), arg<int>(a, 3)));
             }}}}}});

    classes.append({"QFont",
                    true,
                    QMetaType::QFont,
                    [](const QVariant &v) { return v.value<QFont>().toString(); },
                    nullptr,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {getter("family", "QString", &QFont::family),
                     getter("pointSize", "int", &QFont::pointSize),
                     getter("pixelSize", "int", &QFont::pixelSize),
                     getter("bold", "bool", &QFont::bold), getter("italic", "bool", &QFont::italic),
                     getter("toString", "QString", &QFont::toString)}});

    // Opaque: what they print and how they compare, no methods yet.
    classes.append({"QPalette",
                    true,
                    QMetaType::QPalette,
                    nullptr,
                    debugText<QPalette>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QSizePolicy",
                    true,
                    QMetaType::QSizePolicy,
                    nullptr,
                    debugText<QSizePolicy>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QCursor",
                    true,
                    QMetaType::QCursor,
                    nullptr,
                    debugText<QCursor>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QIcon",
                    true,
                    QMetaType::QIcon,
                    nullptr,
                    debugText<QIcon>,
                    [](const QVariant &v) { return !v.value<QIcon>().isNull(); },
                    false,
                    {},
                    {}});
    classes.append({"QLocale",
                    false,
                    QMetaType::QLocale,
                    nullptr,
                    debugText<QLocale>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QRegion",
                    true,
                    QMetaType::QRegion,
                    nullptr,
                    debugText<QRegion>,
                    [](const QVariant &v) { return !v.value<QRegion>().isEmpty(); },
                    true,
                    {},
                    {}});
    return classes;
}

// Lives as long as the process, as the Python types do.
QVector<ValueClass> &classes()
{
    static auto all = new QVector<ValueClass>(makeClasses());
    return *all;
}

ValueClass *classOf(int typeId)
{
    for (ValueClass &c : classes()) {
        if (c.typeId == typeId)
            return &c;
    }
    return nullptr;
}

struct Value
{
    PyObject_HEAD
    QVariant value;
};

Value *asValue(PyObject *object)
{
    return reinterpret_cast<Value *>(object);
}

// As with QByteArray: each class a type named plainly over one base that
// holds the value.
PyTypeObject *storageType = nullptr;

ValueClass *classOf(PyObject *object)
{
    return classOf(asValue(object)->value.userType());
}

PyObject *newValue(ValueClass &c, const QVariant &value)
{
    PyObject *object = c.type->tp_alloc(c.type, 0);
    if (object)
        new (&asValue(object)->value) QVariant(value);
    return object;
}

// A Python argument for a parameter of the given meta-type, as PythonQt
// converts it: a value only from an object of its own class; ints and
// bools strictly, then leniently, as for slots.
bool convert(PyObject *value, int typeId, bool strict, QVariant &result)
{
    if (classOf(typeId)) {
        if (!ValueClasses::check(value, typeId))
            return false;
        result = ValueClasses::value(value);
        return true;
    }
    const ArgType type = ArgType::fromTypeName(QMetaType::typeName(typeId), typeId, nullptr);
    ArgStorage storage;
    if (!Conversions::toArg(value, type, storage, strict)) {
        PyErr_Clear();
        return false;
    }
    result = QVariant(typeId, storage.prepare(type));
    return true;
}

PyObject *dispatch(const QVector<Signature> &overloads, QVariant *self, PyObject *const *args,
                   Py_ssize_t nargs, PyObject *kwargs)
{
    return MethodCall::callFirstFitting(
        overloads, args, nargs, kwargs,
        [=](const Signature &overload, bool strict, bool &taken) -> PyObject * {
            QVariantList converted;
            for (Py_ssize_t i = 0; i < nargs; ++i) {
                QVariant v;
                if (!convert(args[i], overload.params.at(int(i)), strict, v))
                    return nullptr;
                converted.append(v);
            }
            taken = true;
            QVariant scratch;
            const QVariant result = overload.run(self ? *self : scratch, converted);
            if (!result.isValid())
                Py_RETURN_NONE;
            if (PyObject *object = ValueClasses::create(result))
                return object;
            return PyErr_Occurred() ? nullptr : Conversions::fromVariant(result);
        });
}

PyObject *valueNew(PyTypeObject *type, PyObject *args, PyObject *kwargs)
{
    ValueClass *c = nullptr;
    for (ValueClass &candidate : classes()) {
        if (PyType_IsSubtype(type, candidate.type))
            c = &candidate;
    }
    if (!c || c->constructors.isEmpty()) {
        PyErr_Format(PyExc_TypeError, "%s cannot be constructed from Python here", type->tp_name);
        return nullptr;
    }
    PyObject *made = dispatch(c->constructors, nullptr, &PyTuple_GET_ITEM(args, 0),
                              PyTuple_GET_SIZE(args), kwargs);
    if (!made || Py_TYPE(made) == type)
        return made;
    // A Python subclass: the value moves into an object of that class.
    PyObject *object = type->tp_alloc(type, 0);
    if (object)
        new (&asValue(object)->value) QVariant(ValueClasses::value(made));
    Py_DECREF(made);
    return object;
}

void valueDealloc(PyObject *object)
{
    PyTypeObject *type = Py_TYPE(object);
    asValue(object)->value.~QVariant();
    type->tp_free(object);
    Py_DECREF(type);
}

PyObject *valueStr(PyObject *object)
{
    const ValueClass *c = classOf(object);
    return Conversions::fromString(c->text ? c->text(asValue(object)->value)
                                           : c->debugText(asValue(object)->value));
}

PyObject *valueRepr(PyObject *object)
{
    const ValueClass *c = classOf(object);
    if (!c->text)
        return valueStr(object);
    // A script's subclass shows its own name.
    const QByteArray text = c->text(asValue(object)->value).toUtf8();
    return PyUnicode_FromFormat("%s (%s, at: %p)", Py_TYPE(object)->tp_name, text.constData(),
                                static_cast<void *>(object));
}

// As on wrapped objects, no attribute of a script's own; a script's
// subclass has room for them.
int valueSetAttr(PyObject *object, PyObject *name, PyObject *value)
{
    const ValueClass *c = classOf(object);
    if (Py_TYPE(object) != c->type)
        return PyObject_GenericSetAttr(object, name, value);
    PyErr_Format(PyExc_AttributeError,
                 "'%U' does not exist on %s and creating new attributes on C++ objects is not "
                 "allowed",
                 name, c->name);
    return -1;
}

int valueBool(PyObject *object)
{
    return classOf(object)->truth(asValue(object)->value);
}

// By identity, as PythonQt's wrapped values hash.
Py_hash_t valueHash(PyObject *object)
{
    return _Py_HashPointer(object);
}

PyObject *valueCompare(PyObject *a, PyObject *b, int op)
{
    if ((op != Py_EQ && op != Py_NE) || !ValueClasses::check(a) || !ValueClasses::check(b))
        Py_RETURN_NOTIMPLEMENTED;
    const QVariant &left = asValue(a)->value;
    const QVariant &right = asValue(b)->value;
    const bool equal =
        left.userType() == right.userType() && (classOf(a)->comparable ? left == right : a == b);
    return PyBool_FromLong(equal == (op == Py_EQ));
}

// A method of a value class, unbound on the class, bound on an instance;
// shown as PythonQt shows its slots.
struct MethodObject
{
    PyObject_HEAD
    const ValueClass *valueClass;
    const Method *method;
    PyObject *self;
};

PyTypeObject *methodType = nullptr;

MethodObject *asMethod(PyObject *object)
{
    return reinterpret_cast<MethodObject *>(object);
}

PyObject *newMethod(const ValueClass *c, const Method *method, PyObject *self)
{
    MethodObject *m = PyObject_GC_New(MethodObject, methodType);
    if (!m)
        return nullptr;
    m->valueClass = c;
    m->method = method;
    Py_XINCREF(self);
    m->self = self;
    PyObject_GC_Track(m);
    return reinterpret_cast<PyObject *>(m);
}

// A bound method kept in an attribute of a script's subclass instance
// (`v.w = v.width`) makes a cycle for the garbage collector to break.
int methodTraverse(PyObject *object, visitproc visit, void *arg)
{
    Py_VISIT(Py_TYPE(object));
    Py_VISIT(asMethod(object)->self);
    return 0;
}

int methodClear(PyObject *object)
{
    Py_CLEAR(asMethod(object)->self);
    return 0;
}

void methodDealloc(PyObject *object)
{
    PyTypeObject *type = Py_TYPE(object);
    PyObject_GC_UnTrack(object);
    Py_CLEAR(asMethod(object)->self);
    PyObject_GC_Del(object);
    Py_DECREF(type);
}

PyObject *methodRepr(PyObject *object)
{
    const MethodObject *m = asMethod(object);
    if (!m->self)
        return PyUnicode_FromFormat("<unbound qt slot %s of %s type>", m->method->name.constData(),
                                    m->valueClass->name);
    return PyUnicode_FromFormat("<qt slot %s of %s instance at %p>", m->method->name.constData(),
                                m->valueClass->name, static_cast<void *>(m->self));
}

PyObject *methodName(PyObject *object, void *)
{
    return PyUnicode_FromString(asMethod(object)->method->name.constData());
}

PyObject *methodSelf(PyObject *object, void *)
{
    PyObject *self = asMethod(object)->self ? asMethod(object)->self : Py_None;
    Py_INCREF(self);
    return self;
}

PyGetSetDef methodAttributes[] = {
    {"__name__", methodName, nullptr, nullptr, nullptr},
    {"__self__", methodSelf, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyObject *methodGet(PyObject *object, PyObject *instance, PyObject *)
{
    const MethodObject *m = asMethod(object);
    if (m->self || !instance || !PyObject_TypeCheck(instance, m->valueClass->type)) {
        Py_INCREF(object);
        return object;
    }
    return newMethod(m->valueClass, m->method, instance);
}

PyObject *methodCall(PyObject *object, PyObject *args, PyObject *kwargs)
{
    const MethodObject *m = asMethod(object);
    PyObject *const *items = &PyTuple_GET_ITEM(args, 0);
    Py_ssize_t count = PyTuple_GET_SIZE(args);
    PyObject *self = m->self;
    if (!self) {
        const QByteArray &signature = m->method->overloads.first().signature;
        if (count == 0) {
            PyErr_Format(PyExc_ValueError, "slot %s requires %s instance as first argument.",
                         signature.constData(), m->valueClass->name);
            return nullptr;
        }
        if (!PyObject_TypeCheck(items[0], m->valueClass->type)) {
            PyErr_Format(PyExc_ValueError, "slot %s requires %s instance as first argument, got %s",
                         signature.constData(), m->valueClass->name, Py_TYPE(items[0])->tp_name);
            return nullptr;
        }
        self = items[0];
        ++items;
        --count;
    }
    // The value stays alive while the method converts its arguments.
    Py_INCREF(self);
    PyObject *result = dispatch(m->method->overloads, &asValue(self)->value, items, count, kwargs);
    Py_DECREF(self);
    return result;
}

PyType_Slot methodSlots[] = {
    {Py_tp_traverse, reinterpret_cast<void *>(methodTraverse)},
    {Py_tp_clear, reinterpret_cast<void *>(methodClear)},
    {Py_tp_dealloc, reinterpret_cast<void *>(methodDealloc)},
    {Py_tp_repr, reinterpret_cast<void *>(methodRepr)},
    {Py_tp_call, reinterpret_cast<void *>(methodCall)},
    {Py_tp_descr_get, reinterpret_cast<void *>(methodGet)},
    {Py_tp_getset, methodAttributes},
    {0, nullptr},
};

// Made only by the value classes: Python cannot call the type.
PyType_Spec methodSpec = {"PythonQt.builtin_qt_slot", sizeof(MethodObject), 0,
                          Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_GC | Py_TPFLAGS_IMMUTABLETYPE
                              | Py_TPFLAGS_DISALLOW_INSTANTIATION,
                          methodSlots};

PyType_Slot storageSlots[] = {
    {Py_tp_new, reinterpret_cast<void *>(valueNew)},
    {Py_tp_dealloc, reinterpret_cast<void *>(valueDealloc)},
    {Py_tp_str, reinterpret_cast<void *>(valueStr)},
    {Py_tp_repr, reinterpret_cast<void *>(valueRepr)},
    {Py_tp_richcompare, reinterpret_cast<void *>(valueCompare)},
    {Py_tp_hash, reinterpret_cast<void *>(valueHash)},
    {Py_tp_setattro, reinterpret_cast<void *>(valueSetAttr)},
    {Py_nb_bool, reinterpret_cast<void *>(valueBool)},
    {0, nullptr},
};

PyType_Spec storageSpec = {"PythonQt.ValueStorage", sizeof(Value), 0,
                           Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE | Py_TPFLAGS_IMMUTABLETYPE,
                           storageSlots};

bool createType(ValueClass &c)
{
    PyObject *dict = PyDict_New();
    if (!dict)
        return false;
    bool ok = true;
    for (const Method &method : c.methods) {
        PyObject *m = newMethod(&c, &method, nullptr);
        ok = m && PyDict_SetItemString(dict, method.name.constData(), m) == 0;
        Py_XDECREF(m);
        if (!ok)
            break;
    }
    PyObject *slots = ok ? PyTuple_New(0) : nullptr;
    ok = slots && PyDict_SetItemString(dict, "__slots__", slots) == 0
        && PyDict_SetItemString(dict, "__doc__", Py_None) == 0;
    Py_XDECREF(slots);
    PyObject *module = PyUnicode_FromString(c.inQtGui ? "PythonQt.QtGui" : "PythonQt.QtCore");
    ok = ok && module && PyDict_SetItemString(dict, "__module__", module) == 0;
    Py_XDECREF(module);
    PyObject *type = ok ? PyObject_CallFunction(reinterpret_cast<PyObject *>(&PyType_Type), "s(O)O",
                                                c.name, storageType, dict)
                        : nullptr;
    Py_DECREF(dict);
    c.type = reinterpret_cast<PyTypeObject *>(type);
    return type != nullptr;
}

} // namespace

namespace ValueClasses {

bool ready()
{
    if (storageType)
        return true;
    if (!methodType && !(methodType = HeapType::create(methodSpec)))
        return false;
    if (!(storageType = HeapType::create(storageSpec)))
        return false;
    for (ValueClass &c : classes()) {
        if (!createType(c))
            return false;
    }
    return true;
}

void addTo(PyObject *qtCore, PyObject *qtGui)
{
    for (const ValueClass &c : classes())
        PyObject_SetAttrString(c.inQtGui ? qtGui : qtCore, c.name,
                               reinterpret_cast<PyObject *>(c.type));
}

bool offers(int typeId)
{
    return classOf(typeId) != nullptr;
}

bool check(PyObject *object, int typeId)
{
    return PyObject_TypeCheck(object, storageType)
        && (typeId == QMetaType::UnknownType || asValue(object)->value.userType() == typeId);
}

const QVariant &value(PyObject *object)
{
    return asValue(object)->value;
}

PyObject *create(const QVariant &value)
{
    ValueClass *c = classOf(value.userType());
    return c ? newValue(*c, value) : nullptr;
}

} // namespace ValueClasses
