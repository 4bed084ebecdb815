// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "conversions.h"

#include "PythonQtObjectPtr.h"
#include "bytearrayobject.h"
#include "metaobjectwrapper.h"
#include "pythonqt_p.h"
#include "valueclasses.h"

#include <QObject>

#include <cmath>
#include <limits>

namespace {

bool isTextLike(PyObject *value)
{
    return PyUnicode_Check(value) || PyBytes_Check(value) || PyByteArray_Check(value);
}

// What a script means as a list: strictly a list or tuple; leniently, as
// in PythonQt, anything iterable (a set, a generator) but text or a mapping.
bool isListLike(PyObject *value, bool strict)
{
    if (PyList_Check(value) || PyTuple_Check(value))
        return true;
    return !strict && !isTextLike(value) && !PyDict_Check(value)
        && (PySequence_Check(value) || Py_TYPE(value)->tp_iter);
}

// What PythonQt takes for a list inside a variant: a sequence (a list, a
// tuple, a range), but no set, view, generator or other mere iterable,
// which stay Python objects that no Qt code reads as a list.
bool isSequenceValue(PyObject *value)
{
    return !isTextLike(value) && !PyDict_Check(value) && PySequence_Check(value);
}

template<typename Fn> bool forEachItem(PyObject *sequence, Fn fn)
{
    PyObject *fast = PySequence_Fast(sequence, "");
    if (!fast) {
        PyErr_Clear();
        return false;
    }
    const Py_ssize_t n = PySequence_Fast_GET_SIZE(fast);
    PyObject **items = PySequence_Fast_ITEMS(fast);
    bool ok = true;
    for (Py_ssize_t i = 0; ok && i < n; ++i)
        ok = fn(items[i]);
    Py_DECREF(fast);
    return ok;
}

bool toLongLong(PyObject *value, qlonglong &result, bool strict)
{
    if (PyLong_Check(value) && (!strict || !PyBool_Check(value))) {
        int overflow = 0;
        result = PyLong_AsLongLongAndOverflow(value, &overflow);
        if (overflow || (result == -1 && PyErr_Occurred())) {
            PyErr_Clear();
            return false;
        }
        return true;
    }
    if (!strict && PyFloat_Check(value)) {
        const double d = std::floor(PyFloat_AS_DOUBLE(value));
        if (!(d >= -9.2e18 && d <= 9.2e18))
            return false;
        result = static_cast<qlonglong>(d);
        return true;
    }
    return false;
}

bool toULongLong(PyObject *value, qulonglong &result, bool strict)
{
    if (PyLong_Check(value) && (!strict || !PyBool_Check(value))) {
        result = PyLong_AsUnsignedLongLong(value);
        if (PyErr_Occurred()) {
            PyErr_Clear();
            return false;
        }
        return true;
    }
    qlonglong signedValue = 0;
    if (!strict && toLongLong(value, signedValue, false) && signedValue >= 0) {
        result = static_cast<qulonglong>(signedValue);
        return true;
    }
    return false;
}

bool toDouble(PyObject *value, double &result, bool strict)
{
    if (PyFloat_Check(value)) {
        result = PyFloat_AS_DOUBLE(value);
        return true;
    }
    if (!strict && PyLong_Check(value)) {
        result = PyLong_AsDouble(value);
        if (PyErr_Occurred()) {
            PyErr_Clear();
            return false;
        }
        return true;
    }
    return false;
}

bool toByteArray(PyObject *value, QByteArray &result, bool strict)
{
    if (PyBytes_Check(value)) {
        result = QByteArray(PyBytes_AS_STRING(value), int(PyBytes_GET_SIZE(value)));
        return true;
    }
    if (ByteArrayObject::check(value)) {
        result = ByteArrayObject::value(value);
        return true;
    }
    if (!strict && PyUnicode_Check(value)) {
        Py_ssize_t size = 0;
        const char *utf8 = PyUnicode_AsUTF8AndSize(value, &size);
        if (!utf8) {
            PyErr_Clear();
            return false;
        }
        result = QByteArray(utf8, int(size));
        return true;
    }
    return false;
}

bool toStringList(PyObject *value, QStringList &result, bool strict)
{
    if (!isListLike(value, strict))
        return false;
    result.clear();
    return forEachItem(value, [&](PyObject *item) {
        QString s;
        if (!Conversions::toString(item, s, strict))
            return false;
        result.append(s);
        return true;
    });
}

bool toVariantList(PyObject *value, QVariantList &result, bool strict)
{
    if (!isListLike(value, strict))
        return false;
    result.clear();
    return forEachItem(value, [&](PyObject *item) {
        QVariant v;
        if (!Conversions::toVariant(item, v))
            return false;
        result.append(v);
        return true;
    });
}

bool mapFromItems(PyObject *items, QVariantMap &result)
{
    result.clear();
    const bool ok = forEachItem(items, [&](PyObject *pair) {
        if (!PyTuple_Check(pair) || PyTuple_GET_SIZE(pair) != 2)
            return false;
        QString key;
        QVariant v;
        if (!Conversions::toString(PyTuple_GET_ITEM(pair, 0), key, false)
            || !Conversions::toVariant(PyTuple_GET_ITEM(pair, 1), v))
            return false;
        result.insert(key, v);
        return true;
    });
    Py_DECREF(items);
    return ok;
}

bool toVariantMap(PyObject *value, QVariantMap &result, bool strict)
{
    PyObject *items = nullptr;
    if (PyDict_Check(value))
        items = PyDict_Items(value);
    else if (!strict && !isListLike(value, true) && !isTextLike(value) && PyMapping_Check(value))
        items = PyMapping_Items(value);
    if (!items) {
        PyErr_Clear();
        return false;
    }
    return mapFromItems(items, result);
}

// A map parameter, as PythonQt reads it: a dict, or leniently whatever
// answers items(); when items() itself fails (a list or str has none), that
// error is the script's to see, not a conversion failure.
bool mapArgument(PyObject *value, QVariantMap &result, bool strict)
{
    if (!PyDict_Check(value) && (strict || !PyMapping_Check(value)))
        return false;
    PyObject *items = PyMapping_Items(value);
    return items && mapFromItems(items, result);
}

// A QString parameter: leniently str() of anything, and an exception that
// str() raises reaches the script, as in PythonQt.
bool stringArgument(PyObject *value, QString &result, bool strict)
{
    if (strict || PyUnicode_Check(value))
        return Conversions::toString(value, result, strict);
    PyObject *text = PyObject_Str(value);
    if (!text)
        return false;
    result = Conversions::stringFromUnicode(text);
    Py_DECREF(text);
    return true;
}

bool toObject(PyObject *value, const ArgType &type, QObject *&result)
{
    if (Conversions::isNullObject(value)) {
        result = nullptr;
        return true;
    }
    if (!InstanceWrapper::check(value))
        return false;
    QObject *object = reinterpret_cast<PythonQtInstanceWrapper *>(value)->object.data();
    if (!object || !object->inherits(type.className.constData()))
        return false;
    result = object;
    return true;
}

PyObject *fromStringList(const QStringList &list)
{
    PyObject *tuple = PyTuple_New(list.size());
    for (int i = 0; tuple && i < list.size(); ++i) {
        PyObject *item = Conversions::fromString(list.at(i));
        if (!item) {
            Py_CLEAR(tuple);
            break;
        }
        PyTuple_SET_ITEM(tuple, i, item);
    }
    return tuple;
}

PyObject *fromVariantList(const QVariantList &list)
{
    PyObject *tuple = PyTuple_New(list.size());
    for (int i = 0; tuple && i < list.size(); ++i) {
        PyObject *item = Conversions::fromVariant(list.at(i));
        if (!item) {
            Py_CLEAR(tuple);
            break;
        }
        PyTuple_SET_ITEM(tuple, i, item);
    }
    return tuple;
}

template<typename Map> PyObject *fromVariantMap(const Map &map)
{
    PyObject *dict = PyDict_New();
    for (auto it = map.cbegin(); dict && it != map.cend(); ++it) {
        PyObject *key = Conversions::fromString(it.key());
        PyObject *item = Conversions::fromVariant(it.value());
        if (!key || !item || PyDict_SetItem(dict, key, item) < 0)
            Py_CLEAR(dict);
        Py_XDECREF(key);
        Py_XDECREF(item);
    }
    return dict;
}

} // namespace

namespace Conversions {

bool isNullObject(PyObject *value)
{
    if (value == Py_None)
        return true;
    // Not False: PythonQt refuses a bool there.
    int overflow = 0;
    return PyLong_CheckExact(value) && PyLong_AsLongAndOverflow(value, &overflow) == 0 && !overflow;
}

QString stringFromUnicode(PyObject *unicode)
{
    const Py_ssize_t length = PyUnicode_GET_LENGTH(unicode);
    switch (PyUnicode_KIND(unicode)) {
    case PyUnicode_1BYTE_KIND:
        return QString::fromLatin1(static_cast<const char *>(PyUnicode_DATA(unicode)), int(length));
    case PyUnicode_2BYTE_KIND:
        return QString::fromUtf16(static_cast<const ushort *>(PyUnicode_DATA(unicode)),
                                  int(length));
    default:
        return QString::fromUcs4(static_cast<const uint *>(PyUnicode_DATA(unicode)), int(length));
    }
}

bool toString(PyObject *value, QString &result, bool strict)
{
    if (PyUnicode_Check(value)) {
        result = stringFromUnicode(value);
        return true;
    }
    if (strict)
        return false;
    PyObject *text = PyObject_Str(value);
    if (!text) {
        PyErr_Clear();
        return false;
    }
    result = stringFromUnicode(text);
    Py_DECREF(text);
    return true;
}

PyObject *fromString(const QString &value)
{
    const ushort *data = value.utf16();
    const int size = value.size();
    for (int i = 0; i < size; ++i) {
        if (QChar::isSurrogate(data[i])) {
            int byteOrder = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? -1 : 1;
            return PyUnicode_DecodeUTF16(reinterpret_cast<const char *>(data), size * 2,
                                         "surrogatepass", &byteOrder);
        }
    }
    return PyUnicode_FromKindAndData(PyUnicode_2BYTE_KIND, data, size);
}

bool toArg(PyObject *value, const ArgType &type, ArgStorage &storage, bool strict)
{
    switch (type.kind) {
    case ArgType::Void:
        return false;
    case ArgType::Bool:
        if (PyBool_Check(value)) {
            storage.value.b = value == Py_True;
            return true;
        }
        if (strict)
            return false;
        switch (PyObject_IsTrue(value)) {
        case -1:
            PyErr_Clear();
            return false;
        case 0:
            storage.value.b = false;
            return true;
        default:
            storage.value.b = true;
            return true;
        }
    case ArgType::Int: {
        qlonglong v = 0;
        if (!toLongLong(value, v, strict) || v < std::numeric_limits<int>::min()
            || v > std::numeric_limits<int>::max())
            return false;
        storage.value.i = int(v);
        return true;
    }
    case ArgType::UInt: {
        qulonglong v = 0;
        if (!toULongLong(value, v, strict) || v > std::numeric_limits<uint>::max())
            return false;
        storage.value.u = uint(v);
        return true;
    }
    case ArgType::LongLong:
        return toLongLong(value, storage.value.ll, strict);
    case ArgType::ULongLong:
        return toULongLong(value, storage.value.ull, strict);
    case ArgType::Double:
        return toDouble(value, storage.value.d, strict);
    case ArgType::Float: {
        double d = 0;
        if (!toDouble(value, d, strict))
            return false;
        storage.value.f = float(d);
        return true;
    }
    case ArgType::String:
        return stringArgument(value, storage.string, strict);
    case ArgType::StringList:
        return toStringList(value, storage.stringList, strict);
    case ArgType::ByteArray:
        return toByteArray(value, storage.bytes, strict);
    case ArgType::VariantMap:
        return mapArgument(value, storage.map, strict);
    case ArgType::VariantList:
        return toVariantList(value, storage.list, strict);
    case ArgType::Variant:
        return toVariant(value, storage.variant);
    case ArgType::Object:
        return toObject(value, type, storage.value.object);
    case ArgType::Other: {
        // As in PythonQt, a QSize, a QFont, ... comes only from an object of its class.
        if (ValueClasses::offers(type.typeId)) {
            if (!ValueClasses::check(value, type.typeId))
                return false;
            storage.variant = ValueClasses::value(value);
            return true;
        }
        if (strict || type.typeId == QMetaType::UnknownType)
            return false;
        QVariant v;
        if (!toVariant(value, v) || !v.convert(type.typeId))
            return false;
        storage.variant = v;
        return true;
    }
    }
    return false;
}

PyObject *fromArg(const ArgType &type, const void *data)
{
    switch (type.kind) {
    case ArgType::Void:
        Py_RETURN_NONE;
    case ArgType::Bool:
        return PyBool_FromLong(*static_cast<const bool *>(data));
    case ArgType::Int:
        return PyLong_FromLong(*static_cast<const int *>(data));
    case ArgType::UInt:
        return PyLong_FromUnsignedLong(*static_cast<const uint *>(data));
    case ArgType::LongLong:
        return PyLong_FromLongLong(*static_cast<const qlonglong *>(data));
    case ArgType::ULongLong:
        return PyLong_FromUnsignedLongLong(*static_cast<const qulonglong *>(data));
    case ArgType::Double:
        return PyFloat_FromDouble(*static_cast<const double *>(data));
    case ArgType::Float:
        return PyFloat_FromDouble(*static_cast<const float *>(data));
    case ArgType::String:
        return fromString(*static_cast<const QString *>(data));
    case ArgType::StringList:
        return fromStringList(*static_cast<const QStringList *>(data));
    case ArgType::ByteArray:
        return ByteArrayObject::create(*static_cast<const QByteArray *>(data));
    case ArgType::VariantMap:
        return fromVariantMap(*static_cast<const QVariantMap *>(data));
    case ArgType::VariantList:
        return fromVariantList(*static_cast<const QVariantList *>(data));
    case ArgType::Variant:
        return fromVariant(*static_cast<const QVariant *>(data));
    case ArgType::Object:
        if (!type.returnsWrappable)
            Py_RETURN_NONE;
        return PythonQtPrivate::instance()->wrap(*static_cast<QObject *const *>(data));
    case ArgType::Other:
        if (type.typeId == QMetaType::UnknownType)
            Py_RETURN_NONE;
        return fromVariant(QVariant(type.typeId, data));
    }
    Py_RETURN_NONE;
}

namespace {

// A list or mapping that contains itself, or one nested deeper than Python
// itself would recurse, must end in a refused argument, not in a stack
// overflow; Python's own recursion limit bounds the depth.
class NestingGuard
{
public:
    NestingGuard()
        : entered(Py_EnterRecursiveCall(" while converting to a Qt value") == 0)
    {
        if (!entered)
            PyErr_Clear();
    }
    ~NestingGuard()
    {
        if (entered)
            Py_LeaveRecursiveCall();
    }
    NestingGuard(const NestingGuard &) = delete;
    NestingGuard &operator=(const NestingGuard &) = delete;

    bool tooDeep() const { return !entered; }

private:
    bool entered;
};

} // namespace

bool toVariant(PyObject *value, QVariant &result)
{
    if (value == Py_None) {
        result = QVariant();
    } else if (PyBool_Check(value)) {
        result = value == Py_True;
    } else if (PyLong_Check(value)) {
        int overflow = 0;
        const qlonglong v = PyLong_AsLongLongAndOverflow(value, &overflow);
        if (overflow) {
            qulonglong u = 0;
            if (!toULongLong(value, u, true))
                return false;
            result = u;
        } else if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max()) {
            result = int(v);
        } else {
            result = v;
        }
    } else if (PyFloat_Check(value)) {
        result = PyFloat_AS_DOUBLE(value);
    } else if (PyUnicode_Check(value)) {
        result = stringFromUnicode(value);
    } else if (PyBytes_Check(value) || ByteArrayObject::check(value)) {
        // Not a bytearray, as in PythonQt: a property or a map refuses it.
        QByteArray bytes;
        toByteArray(value, bytes, true);
        result = bytes;
    } else if (ValueClasses::check(value)) {
        result = ValueClasses::value(value);
    } else if (MetaObjectWrapper::check(value)) {
        // PythonQt keeps a bare pointer, which reads back as an opaque object.
        return false;
    } else if (InstanceWrapper::check(value)) {
        result =
            QVariant::fromValue(reinterpret_cast<PythonQtInstanceWrapper *>(value)->object.data());
    } else if (PyDict_Check(value) || (PyMapping_Check(value) && !PySequence_Check(value))) {
        const NestingGuard guard;
        QVariantMap map;
        if (guard.tooDeep() || !toVariantMap(value, map, false))
            return false;
        result = map;
    } else if (isSequenceValue(value)) {
        const NestingGuard guard;
        QVariantList list;
        if (guard.tooDeep() || !toVariantList(value, list, false))
            return false;
        result = list;
    } else {
        // As in PythonQt: the object itself; a slot reading it as text or a
        // number finds nothing there.
        result = QVariant::fromValue(PythonQtObjectPtr(value));
    }
    return true;
}

PyObject *fromVariant(const QVariant &value)
{
    const int type = value.userType();
    switch (type) {
    case QMetaType::UnknownType:
        Py_RETURN_NONE;
    case QMetaType::Bool:
        return PyBool_FromLong(value.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return PyLong_FromLongLong(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return PyLong_FromUnsignedLongLong(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return PyFloat_FromDouble(value.toDouble());
    case QMetaType::QString:
        return fromString(value.toString());
    case QMetaType::QByteArray:
        return ByteArrayObject::create(value.toByteArray());
    case QMetaType::QStringList:
        return fromStringList(value.toStringList());
    case QMetaType::QVariantList:
        return fromVariantList(value.toList());
    case QMetaType::QVariantMap:
        return fromVariantMap(value.toMap());
    case QMetaType::QVariantHash:
        return fromVariantMap(value.toHash());
    case QMetaType::QObjectStar:
        return PythonQtPrivate::instance()->wrap(value.value<QObject *>());
    default:
        break;
    }
    if (type == qMetaTypeId<PythonQtObjectPtr>()) {
        PyObject *object = value.value<PythonQtObjectPtr>().object();
        if (!object)
            Py_RETURN_NONE;
        Py_INCREF(object);
        return object;
    }
    if (ValueClasses::offers(type))
        return ValueClasses::create(value);
    const QMetaType::TypeFlags flags = QMetaType::typeFlags(type);
    if (flags & QMetaType::PointerToQObject)
        return PythonQtPrivate::instance()->wrap(value.value<QObject *>());
    if (flags & QMetaType::IsEnumeration)
        return PyLong_FromLongLong(value.toLongLong());
    if (value.canConvert<QString>())
        return fromString(value.toString());
    Py_RETURN_NONE;
}

} // namespace Conversions
