// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "bytearrayobject.h"

#include "conversions.h"
#include "pythonqt_p.h"

#include <QVector>

#include <climits>
#include <cmath>
#include <cstring>
#include <new>

namespace {

struct ByteArray
{
    PyObject_HEAD
    QByteArray bytes;
};

// As PythonQt does, the class scripts meet is a class named plainly over a
// base that holds the bytes and the behaviour: messages then call it
// 'QByteArray', and it belongs to PythonQt.QtCore. The base bears the name
// too, as the methods it holds are named after it in Python's own messages.
// Both live as long as the process.
PyTypeObject *storageType = nullptr;
PyTypeObject *byteArrayType = nullptr;

QByteArray &bytesOf(PyObject *object)
{
    return reinterpret_cast<ByteArray *>(object)->bytes;
}

PyObject *alloc(PyTypeObject *type, const QByteArray &bytes)
{
    PyObject *object = type->tp_alloc(type, 0);
    if (object)
        new (&bytesOf(object)) QByteArray(bytes);
    return object;
}

// ---- arguments, as PythonQt converts them for QByteArray's own methods

// What a parameter takes. Chars is a char pointer (shown as "char s"):
// bytes, str as UTF-8, leniently str() of anything else. Flags is an enum
// or flags, which PythonQt takes as any number cut to an int. NoResult is where
// PythonQt wants a BoolResult to fill, which this bridge does not offer: it
// takes None (or 0) for none. Unsupported stands for the float and short
// forms of setNum(), which take nothing its double and int forms before them
// do not: they are listed in messages as PythonQt lists them, and match
// nothing.
enum class Kind {
    Bytes,
    Text,
    Chars,
    Char,
    Int,
    Flags,
    LongLong,
    Double,
    Bool,
    NoResult,
    Unsupported
};

struct Value
{
    QByteArray bytes;
    QString text;
    qlonglong number = 0;
    double real = 0;
    bool flag = false;
};

enum class Converted { Yes, No, Failed }; // Failed: a Python error is set

// str as Qt gets it from PythonQt: UTF-8 read as a C string, so up to a NUL.
Converted utf8Of(PyObject *text, QByteArray &result)
{
    const char *utf8 = PyUnicode_AsUTF8(text);
    if (!utf8)
        return Converted::Failed;
    result = QByteArray(utf8);
    return Converted::Yes;
}

Converted toBytes(PyObject *arg, bool strict, Value &value)
{
    if (ByteArrayObject::check(arg)) {
        value.bytes = bytesOf(arg);
        return Converted::Yes;
    }
    if (PyBytes_Check(arg)) {
        value.bytes = QByteArray(PyBytes_AS_STRING(arg), int(PyBytes_GET_SIZE(arg)));
        return Converted::Yes;
    }
    if (!strict && PyUnicode_Check(arg))
        return utf8Of(arg, value.bytes);
    return Converted::No;
}

// Leniently str() of anything but a wrapped object; an exception that str()
// raises reaches the script.
Converted toText(PyObject *arg, bool strict, Value &value)
{
    PyObject *text = nullptr;
    if (PyUnicode_Check(arg)) {
        text = arg;
        Py_INCREF(text);
    } else if (strict || InstanceWrapper::check(arg) || ByteArrayObject::check(arg)) {
        return Converted::No;
    } else {
        text = PyObject_Str(arg);
        if (!text)
            return Converted::Failed;
    }
    QByteArray utf8;
    const Converted converted = utf8Of(text, utf8);
    Py_DECREF(text);
    value.text = QString::fromUtf8(utf8);
    return converted;
}

bool integerOf(PyObject *arg, bool strict, qlonglong &result)
{
    if (PyLong_Check(arg) && (!strict || !PyBool_Check(arg))) {
        int overflow = 0;
        result = PyLong_AsLongLongAndOverflow(arg, &overflow);
        if (overflow || (result == -1 && PyErr_Occurred())) {
            PyErr_Clear();
            return false;
        }
        return true;
    }
    if (!strict && PyFloat_Check(arg)) {
        const double floored = std::floor(PyFloat_AS_DOUBLE(arg));
        if (!(floored >= -9.2e18 && floored <= 9.2e18))
            return false;
        result = static_cast<qlonglong>(floored);
        return true;
    }
    return false;
}

Converted toChars(PyObject *arg, bool strict, Value &value)
{
    if (PyBytes_Check(arg)) {
        value.bytes = QByteArray(PyBytes_AS_STRING(arg), int(PyBytes_GET_SIZE(arg)));
        return Converted::Yes;
    }
    Py_ssize_t size = 0;
    PyObject *text = nullptr;
    if (PyUnicode_Check(arg)) {
        text = arg;
        Py_INCREF(text);
    } else if (strict || InstanceWrapper::check(arg) || ByteArrayObject::check(arg)) {
        return Converted::No;
    } else {
        text = PyObject_Str(arg);
        if (!text)
            return Converted::Failed;
    }
    const char *utf8 = PyUnicode_AsUTF8AndSize(text, &size);
    if (utf8)
        value.bytes = QByteArray(utf8, int(size));
    Py_DECREF(text);
    return utf8 ? Converted::Yes : Converted::Failed;
}

Converted convert(PyObject *arg, Kind kind, bool strict, Value &value)
{
    qlonglong number = 0;
    switch (kind) {
    case Kind::Bytes:
        return toBytes(arg, strict, value);
    case Kind::Text:
        return toText(arg, strict, value);
    case Kind::Chars:
        return toChars(arg, strict, value);
    case Kind::Char:
        // PythonQt cuts the number to an int first, then wants a signed char.
        if (!integerOf(arg, strict, number))
            return Converted::No;
        number = static_cast<int>(number);
        if (number < -128 || number > 127)
            return Converted::No;
        value.number = number;
        return Converted::Yes;
    case Kind::Int:
        if (!integerOf(arg, strict, number) || number < INT_MIN || number > INT_MAX)
            return Converted::No;
        value.number = number;
        return Converted::Yes;
    case Kind::Flags:
        if (!integerOf(arg, strict, number))
            return Converted::No;
        value.number = static_cast<int>(number);
        return Converted::Yes;
    case Kind::LongLong:
        if (!integerOf(arg, strict, value.number))
            return Converted::No;
        return Converted::Yes;
    case Kind::Double:
        if (PyFloat_Check(arg)) {
            value.real = PyFloat_AS_DOUBLE(arg);
            return Converted::Yes;
        }
        if (strict || !PyLong_Check(arg))
            return Converted::No;
        value.real = PyLong_AsDouble(arg);
        if (PyErr_Occurred()) {
            PyErr_Clear();
            return Converted::No;
        }
        return Converted::Yes;
    case Kind::Bool:
        if (PyBool_Check(arg)) {
            value.flag = arg == Py_True;
            return Converted::Yes;
        }
        if (strict)
            return Converted::No;
        switch (PyObject_IsTrue(arg)) {
        case -1:
            return Converted::Failed;
        case 0:
            value.flag = false;
            return Converted::Yes;
        default:
            value.flag = true;
            return Converted::Yes;
        }
    case Kind::NoResult:
        if (arg == Py_None || (PyLong_CheckExact(arg) && PyLong_AsLong(arg) == 0))
            return Converted::Yes;
        return Converted::No;
    case Kind::Unsupported:
        break;
    }
    return Converted::No;
}

// ---- overloads

// `self` is the byte array, the class for a constructor, null for a static method.
using Apply = PyObject *(*)(PyObject *self, const Value *args);

struct Form
{
    QByteArray signature;
    QVector<Kind> params;
    Apply apply = nullptr;
};
using Forms = QVector<Form>;

// A conversion that raises (a str() of the argument) ends the call with its error.
PyObject *dispatch(const Forms &forms, PyObject *self, PyObject *args, PyObject *kwds)
{
    PyObject *const *items = &PyTuple_GET_ITEM(args, 0);
    return MethodCall::callFirstFitting(
        forms, items, PyTuple_GET_SIZE(args), kwds,
        [self, items](const Form &form, bool strict, bool &taken) -> PyObject * {
            Value values[4];
            for (int i = 0; i < form.params.size(); ++i) {
                switch (convert(items[i], form.params.at(i), strict, values[i])) {
                case Converted::Yes:
                    break;
                case Converted::No:
                    return nullptr;
                case Converted::Failed:
                    taken = true;
                    return nullptr;
                }
            }
            taken = true;
            return form.apply(self, values);
        });
}

PyObject *dispatchOne(const Forms &forms, PyObject *self, PyObject *arg)
{
    PyObject *args = PyTuple_Pack(1, arg);
    if (!args)
        return nullptr;
    PyObject *result = dispatch(forms, self, args, nullptr);
    Py_DECREF(args);
    return result;
}

// ---- results

PyObject *newBytes(const QByteArray &bytes)
{
    return ByteArrayObject::create(bytes);
}

// A method that changes the byte array and returns a reference to it hands
// back the same object.
PyObject *same(PyObject *self)
{
    Py_INCREF(self);
    return self;
}

PyObject *number(qlonglong value)
{
    return PyLong_FromLongLong(value);
}

PyObject *flag(bool value)
{
    return PyBool_FromLong(value);
}

char charOf(const Value &value)
{
    return static_cast<char>(value.number);
}

int intOf(const Value &value)
{
    return static_cast<int>(value.number);
}

// A char result: PythonQt gives the signed number.
PyObject *character(char c)
{
    return PyLong_FromLong(static_cast<signed char>(c));
}

// PythonQt reads outside the bytes here; a script gets an error instead.
// The NUL that ends them may be read, as there.
PyObject *characterAt(const QByteArray &bytes, int i)
{
    if (i < 0 || i > bytes.size()) {
        PyErr_SetString(PyExc_IndexError, "QByteArray index out of range");
        return nullptr;
    }
    return character(bytes.at(i));
}

// The first `length` of a char pointer's bytes, as Qt reads them: PythonQt
// lets Qt read on past the NUL that ends the Python object's bytes for a
// length beyond them, and this stops at that NUL. A negative length reads
// up to the first NUL where Qt does so (`toNul`); elsewhere it crashes Qt or
// means nothing, and is refused.
bool charsOf(const Value &chars, int length, bool toNul, QByteArray &result)
{
    if (length < 0 && !toNul) {
        PyErr_SetString(PyExc_ValueError, "QByteArray: negative length");
        return false;
    }
    const char *data = chars.bytes.constData();
    result = length < 0 ? QByteArray(data) : QByteArray(data, qMin(length, chars.bytes.size() + 1));
    return true;
}

// Qt divides by the base unchecked: 0 or 1 would crash or never end.
bool refusedBase(int base)
{
    if (base >= 2 && base <= 36)
        return false;
    PyErr_Format(PyExc_ValueError, "QByteArray: base %d is not between 2 and 36", base);
    return true;
}

PyObject *byteArrayList(const QList<QByteArray> &list)
{
    PyObject *tuple = PyTuple_New(list.size());
    for (int i = 0; tuple && i < list.size(); ++i) {
        PyObject *item = newBytes(list.at(i));
        if (!item) {
            Py_CLEAR(tuple);
            break;
        }
        PyTuple_SET_ITEM(tuple, i, item);
    }
    return tuple;
}

// FORM(signature, parameters, body): one overload, listed as PythonQt lists
// it. The body sees `self` and the converted arguments `v`; after SELF, the
// bytes as `b`.
#define SELF QByteArray &b = bytesOf(self)
#define FORM(signature, params, body) \
    Form \
    { \
        signature, params, [](PyObject *self, const Value *v) -> PyObject * { \
            Q_UNUSED(self) \
            Q_UNUSED(v) \
            body \
        } \
    }
#define UNSUPPORTED(signature) \
    Form \
    { \
        signature, {Kind::Unsupported}, nullptr \
    }

using K = Kind;

const Forms constructorForms = {
    FORM("QByteArray() -> QByteArray", {},
         return alloc(reinterpret_cast<PyTypeObject *>(self), QByteArray());),
    FORM("QByteArray(int size, char c) -> QByteArray", (QVector<Kind>{K::Int, K::Char}),
         return alloc(reinterpret_cast<PyTypeObject *>(self),
                      QByteArray(intOf(v[0]), charOf(v[1])));),
    FORM("QByteArray(QByteArray arg__1) -> QByteArray", {K::Bytes},
         return alloc(reinterpret_cast<PyTypeObject *>(self), v[0].bytes);),
};

const Forms addForms = {
    FORM("__add__(char a2) -> QByteArray", {K::Char}, SELF; return newBytes(b + charOf(v[0]));),
    FORM("__add__(QByteArray a2) -> QByteArray", {K::Bytes}, SELF;
         return newBytes(b + v[0].bytes);),
    FORM("__add__(QString s) -> QString", {K::Text}, SELF;
         return Conversions::fromString(b + v[0].text);),
    FORM("__add__(char a2) -> QByteArray", {K::Char}, SELF; return newBytes(b + charOf(v[0]));),
};

const Forms appendForms = {
    FORM("append(char c) -> QByteArray", {K::Char}, SELF; b.append(charOf(v[0]));
         return same(self);),
    FORM("append(QByteArray a) -> QByteArray", {K::Bytes}, SELF; b.append(v[0].bytes);
         return same(self);),
    FORM("append(QString s) -> QByteArray", {K::Text}, SELF; b.append(v[0].text.toUtf8());
         return same(self);),
    FORM("append(char s, int len) -> QByteArray", (QVector<Kind>{K::Chars, K::Int}), SELF;
         QByteArray chars; if (!charsOf(v[0], intOf(v[1]), true, chars)) return nullptr;
         b.append(chars); return same(self);),
    FORM("append(int count, char c) -> QByteArray", (QVector<Kind>{K::Int, K::Char}), SELF;
         b.append(intOf(v[0]), charOf(v[1])); return same(self);),
};

const Forms atForms = {
    FORM("at(int i) -> char", {K::Int}, SELF; return characterAt(b, intOf(v[0]));),
};
const Forms backForms = {
    FORM("back() -> char", {}, SELF; return characterAt(b, b.size() - 1);),
};
const Forms frontForms = {
    FORM("front() -> char", {}, SELF; return characterAt(b, 0);),
};
const Forms chopForms = {
    FORM("chop(int n) -> void", {K::Int}, SELF; b.chop(intOf(v[0])); Py_RETURN_NONE;),
};
const Forms choppedForms = {
    // What Qt's chopped() computes, without its int overflowing.
    FORM("chopped(int len) -> QByteArray", {K::Int}, SELF;
         const qlonglong keep = qlonglong(b.size()) - intOf(v[0]);
         return newBytes(b.left(int(qBound<qlonglong>(-1, keep, INT_MAX))));),
};
const Forms clearForms = {
    FORM("clear() -> void", {}, SELF; b.clear(); Py_RETURN_NONE;),
};
const Forms compareForms = {
    // Any number is a case sensitivity: only 1 is case-sensitive.
    FORM("compare(QByteArray a, Qt::CaseSensitivity cs) -> int",
         (QVector<Kind>{K::Bytes, K::Flags}), SELF;
         return number(b.compare(v[0].bytes, Qt::CaseSensitivity(intOf(v[1]))));),
    FORM("compare(QByteArray a) -> int", {K::Bytes}, SELF; return number(b.compare(v[0].bytes));),
    FORM("compare(char c, Qt::CaseSensitivity cs) -> int", (QVector<Kind>{K::Chars, K::Flags}),
         SELF;
         return number(b.compare(v[0].bytes.constData(), Qt::CaseSensitivity(intOf(v[1]))));),
    FORM("compare(char c) -> int", {K::Chars}, SELF;
         return number(b.compare(v[0].bytes.constData()));),
};
const Forms containsForms = {
    FORM("contains(char c) -> bool", {K::Char}, SELF; return flag(b.contains(charOf(v[0])));),
    FORM("contains(QByteArray a) -> bool", {K::Bytes}, SELF; return flag(b.contains(v[0].bytes));),
    FORM("contains(char a) -> bool", {K::Chars}, SELF;
         return flag(b.contains(v[0].bytes.constData()));),
};
const Forms countForms = {
    FORM("count(char c) -> int", {K::Char}, SELF; return number(b.count(charOf(v[0])));),
    // Qt counts an empty array for ever, finding it past the end too; it
    // is found at each position and at the end, as Python counts it.
    FORM("count(QByteArray a) -> int", {K::Bytes}, SELF;
         return number(v[0].bytes.isEmpty() ? b.size() + 1 : b.count(v[0].bytes));),
};
const Forms dataForms = {
    FORM("data() -> PyObject", {}, SELF;
         return PyBytes_FromStringAndSize(b.constData(), b.size());),
};
const Forms endsWithForms = {
    FORM("endsWith(char c) -> bool", {K::Char}, SELF; return flag(b.endsWith(charOf(v[0])));),
    FORM("endsWith(QByteArray a) -> bool", {K::Bytes}, SELF; return flag(b.endsWith(v[0].bytes));),
};
const Forms fillForms = {
    FORM("fill(char c, int size) -> QByteArray", (QVector<Kind>{K::Char, K::Int}), SELF;
         b.fill(charOf(v[0]), intOf(v[1])); return same(self);),
    FORM("fill(char c) -> QByteArray", {K::Char}, SELF; b.fill(charOf(v[0])); return same(self);),
};
const Forms fromBase64Forms = {
    FORM("static fromBase64(QByteArray base64) -> QByteArray", {K::Bytes},
         return newBytes(QByteArray::fromBase64(v[0].bytes));),
    FORM("static fromBase64(QByteArray base64, QByteArray::Base64Options options) -> QByteArray",
         (QVector<Kind>{K::Bytes, K::Flags}),
         return newBytes(
             QByteArray::fromBase64(v[0].bytes, QByteArray::Base64Options(intOf(v[1]))));),
};
const Forms fromHexForms = {
    FORM("static fromHex(QByteArray hexEncoded) -> QByteArray", {K::Bytes},
         return newBytes(QByteArray::fromHex(v[0].bytes));),
};
const Forms indexOfForms = {
    FORM("indexOf(char c, int from) -> int", (QVector<Kind>{K::Char, K::Int}), SELF;
         return number(b.indexOf(charOf(v[0]), intOf(v[1])));),
    FORM("indexOf(char c) -> int", {K::Char}, SELF; return number(b.indexOf(charOf(v[0])));),
    FORM("indexOf(QByteArray a, int from) -> int", (QVector<Kind>{K::Bytes, K::Int}), SELF;
         return number(b.indexOf(v[0].bytes, intOf(v[1])));),
    FORM("indexOf(QByteArray a) -> int", {K::Bytes}, SELF; return number(b.indexOf(v[0].bytes));),
    FORM("indexOf(QString s, int from) -> int", (QVector<Kind>{K::Text, K::Int}), SELF;
         return number(b.indexOf(v[0].text.toUtf8(), intOf(v[1])));),
    FORM("indexOf(QString s) -> int", {K::Text}, SELF;
         return number(b.indexOf(v[0].text.toUtf8()));),
};
const Forms insertForms = {
    FORM("insert(int i, char c) -> QByteArray", (QVector<Kind>{K::Int, K::Char}), SELF;
         b.insert(intOf(v[0]), charOf(v[1])); return same(self);),
    FORM("insert(int i, QByteArray a) -> QByteArray", (QVector<Kind>{K::Int, K::Bytes}), SELF;
         b.insert(intOf(v[0]), v[1].bytes); return same(self);),
    FORM("insert(int i, QString s) -> QByteArray", (QVector<Kind>{K::Int, K::Text}), SELF;
         b.insert(intOf(v[0]), v[1].text.toUtf8()); return same(self);),
    // Qt inserts nothing for a negative length.
    FORM("insert(int i, char s, int len) -> QByteArray", (QVector<Kind>{K::Int, K::Chars, K::Int}),
         SELF;
         QByteArray chars; if (intOf(v[2]) > 0) charsOf(v[1], intOf(v[2]), false, chars);
         b.insert(intOf(v[0]), chars); return same(self);),
    FORM("insert(int i, int count, char c) -> QByteArray", (QVector<Kind>{K::Int, K::Int, K::Char}),
         SELF;
         b.insert(intOf(v[0]), intOf(v[1]), charOf(v[2])); return same(self);),
};
const Forms isEmptyForms = {
    FORM("isEmpty() -> bool", {}, SELF; return flag(b.isEmpty());),
};
const Forms isLowerForms = {
    FORM("isLower() -> bool", {}, SELF; return flag(b.isLower());),
};
const Forms isNullForms = {
    FORM("isNull() -> bool", {}, SELF; return flag(b.isNull());),
};
const Forms isUpperForms = {
    FORM("isUpper() -> bool", {}, SELF; return flag(b.isUpper());),
};
const Forms lastIndexOfForms = {
    FORM("lastIndexOf(char c, int from) -> int", (QVector<Kind>{K::Char, K::Int}), SELF;
         return number(b.lastIndexOf(charOf(v[0]), intOf(v[1])));),
    FORM("lastIndexOf(char c) -> int", {K::Char}, SELF;
         return number(b.lastIndexOf(charOf(v[0])));),
    FORM("lastIndexOf(QByteArray a, int from) -> int", (QVector<Kind>{K::Bytes, K::Int}), SELF;
         return number(b.lastIndexOf(v[0].bytes, intOf(v[1])));),
    FORM("lastIndexOf(QByteArray a) -> int", {K::Bytes}, SELF;
         return number(b.lastIndexOf(v[0].bytes));),
    FORM("lastIndexOf(QString s, int from) -> int", (QVector<Kind>{K::Text, K::Int}), SELF;
         return number(b.lastIndexOf(v[0].text.toUtf8(), intOf(v[1])));),
    FORM("lastIndexOf(QString s) -> int", {K::Text}, SELF;
         return number(b.lastIndexOf(v[0].text.toUtf8()));),
};
const Forms leftForms = {
    FORM("left(int len) -> QByteArray", {K::Int}, SELF; return newBytes(b.left(intOf(v[0])));),
};
const Forms leftJustifiedForms = {
    FORM("leftJustified(int width, char fill, bool truncate) -> QByteArray",
         (QVector<Kind>{K::Int, K::Char, K::Bool}), SELF;
         return newBytes(b.leftJustified(intOf(v[0]), charOf(v[1]), v[2].flag));),
    FORM("leftJustified(int width, char fill) -> QByteArray", (QVector<Kind>{K::Int, K::Char}),
         SELF;
         return newBytes(b.leftJustified(intOf(v[0]), charOf(v[1])));),
    FORM("leftJustified(int width) -> QByteArray", {K::Int}, SELF;
         return newBytes(b.leftJustified(intOf(v[0])));),
};
const Forms lengthForms = {
    FORM("length() -> int", {}, SELF; return number(b.length());),
};
const Forms midForms = {
    FORM("mid(int index, int len) -> QByteArray", (QVector<Kind>{K::Int, K::Int}), SELF;
         return newBytes(b.mid(intOf(v[0]), intOf(v[1])));),
    FORM("mid(int index) -> QByteArray", {K::Int}, SELF; return newBytes(b.mid(intOf(v[0])));),
};
const Forms numberForms = {
    FORM("static number(double arg__1, char f, int prec) -> QByteArray",
         (QVector<Kind>{K::Double, K::Char, K::Int}),
         return newBytes(QByteArray::number(v[0].real, charOf(v[1]), intOf(v[2])));),
    FORM("static number(double arg__1, char f) -> QByteArray", (QVector<Kind>{K::Double, K::Char}),
         return newBytes(QByteArray::number(v[0].real, charOf(v[1])));),
    FORM("static number(double arg__1) -> QByteArray", {K::Double},
         return newBytes(QByteArray::number(v[0].real));),
    FORM("static number(int arg__1, int base) -> QByteArray", (QVector<Kind>{K::Int, K::Int}),
         if (refusedBase(intOf(v[1]))) return nullptr;
         return newBytes(QByteArray::number(intOf(v[0]), intOf(v[1])));),
    FORM("static number(int arg__1) -> QByteArray", {K::Int},
         return newBytes(QByteArray::number(intOf(v[0])));),
    FORM("static number(qlonglong arg__1, int base) -> QByteArray",
         (QVector<Kind>{K::LongLong, K::Int}), if (refusedBase(intOf(v[1]))) return nullptr;
         return newBytes(QByteArray::number(v[0].number, intOf(v[1])));),
    FORM("static number(qlonglong arg__1) -> QByteArray", {K::LongLong},
         return newBytes(QByteArray::number(v[0].number));),
};
const Forms prependForms = {
    FORM("prepend(char c) -> QByteArray", {K::Char}, SELF; b.prepend(charOf(v[0]));
         return same(self);),
    FORM("prepend(QByteArray a) -> QByteArray", {K::Bytes}, SELF; b.prepend(v[0].bytes);
         return same(self);),
    FORM("prepend(char s, int len) -> QByteArray", (QVector<Kind>{K::Chars, K::Int}), SELF;
         QByteArray chars; if (!charsOf(v[0], intOf(v[1]), false, chars)) return nullptr;
         b.prepend(chars); return same(self);),
    FORM("prepend(int count, char c) -> QByteArray", (QVector<Kind>{K::Int, K::Char}), SELF;
         b.prepend(intOf(v[0]), charOf(v[1])); return same(self);),
};
const Forms push_backForms = {
    FORM("push_back(QByteArray a) -> void", {K::Bytes}, SELF; b.push_back(v[0].bytes);
         Py_RETURN_NONE;),
};
const Forms push_frontForms = {
    FORM("push_front(QByteArray a) -> void", {K::Bytes}, SELF; b.push_front(v[0].bytes);
         Py_RETURN_NONE;),
};
const Forms removeForms = {
    FORM("remove(int index, int len) -> QByteArray", (QVector<Kind>{K::Int, K::Int}), SELF;
         b.remove(intOf(v[0]), intOf(v[1])); return same(self);),
};
const Forms repeatedForms = {
    FORM("repeated(int times) -> QByteArray", {K::Int}, SELF;
         return newBytes(b.repeated(intOf(v[0])));),
};
const Forms replaceForms = {
    FORM("replace(char before, char after) -> QByteArray", (QVector<Kind>{K::Char, K::Char}), SELF;
         b.replace(charOf(v[0]), charOf(v[1])); return same(self);),
    FORM("replace(char before, QByteArray after) -> QByteArray", (QVector<Kind>{K::Char, K::Bytes}),
         SELF;
         b.replace(charOf(v[0]), v[1].bytes); return same(self);),
    FORM("replace(char c, QString after) -> QByteArray", (QVector<Kind>{K::Char, K::Text}), SELF;
         b.replace(charOf(v[0]), v[1].text.toUtf8()); return same(self);),
    FORM("replace(QByteArray before, QByteArray after) -> QByteArray",
         (QVector<Kind>{K::Bytes, K::Bytes}), SELF;
         b.replace(v[0].bytes, v[1].bytes); return same(self);),
    FORM("replace(QString before, QByteArray after) -> QByteArray",
         (QVector<Kind>{K::Text, K::Bytes}), SELF;
         b.replace(v[0].text.toUtf8(), v[1].bytes); return same(self);),
    FORM("replace(char before, int bsize, char after, int asize) -> QByteArray",
         (QVector<Kind>{K::Chars, K::Int, K::Chars, K::Int}), SELF;
         QByteArray before; QByteArray after;
         if (!charsOf(v[0], intOf(v[1]), false, before)
             || !charsOf(v[2], intOf(v[3]), false, after)) return nullptr;
         b.replace(before, after); return same(self);),
    FORM("replace(int index, int len, QByteArray s) -> QByteArray",
         (QVector<Kind>{K::Int, K::Int, K::Bytes}), SELF;
         b.replace(intOf(v[0]), intOf(v[1]), v[2].bytes); return same(self);),
    // Qt removes and inserts nothing for a negative length.
    FORM("replace(int index, int len, char s, int alen) -> QByteArray",
         (QVector<Kind>{K::Int, K::Int, K::Chars, K::Int}), SELF;
         QByteArray chars; if (intOf(v[3]) > 0) charsOf(v[2], intOf(v[3]), false, chars);
         b.replace(intOf(v[0]), intOf(v[1]), chars); return same(self);),
};
const Forms resizeForms = {
    // Qt leaves the bytes it adds as they were in memory; a script gets zeros.
    FORM("resize(int size) -> void", {K::Int}, SELF; const int old = b.size();
         b.resize(intOf(v[0]));
         if (b.size() > old) memset(b.data() + old, 0, size_t(b.size() - old)); Py_RETURN_NONE;),
};
const Forms rightForms = {
    FORM("right(int len) -> QByteArray", {K::Int}, SELF; return newBytes(b.right(intOf(v[0])));),
};
const Forms rightJustifiedForms = {
    FORM("rightJustified(int width, char fill, bool truncate) -> QByteArray",
         (QVector<Kind>{K::Int, K::Char, K::Bool}), SELF;
         return newBytes(b.rightJustified(intOf(v[0]), charOf(v[1]), v[2].flag));),
    FORM("rightJustified(int width, char fill) -> QByteArray", (QVector<Kind>{K::Int, K::Char}),
         SELF;
         return newBytes(b.rightJustified(intOf(v[0]), charOf(v[1])));),
    FORM("rightJustified(int width) -> QByteArray", {K::Int}, SELF;
         return newBytes(b.rightJustified(intOf(v[0])));),
};
const Forms setNumForms = {
    FORM("setNum(double arg__1, char f, int prec) -> QByteArray",
         (QVector<Kind>{K::Double, K::Char, K::Int}), SELF;
         b.setNum(v[0].real, charOf(v[1]), intOf(v[2])); return same(self);),
    FORM("setNum(double arg__1, char f) -> QByteArray", (QVector<Kind>{K::Double, K::Char}), SELF;
         b.setNum(v[0].real, charOf(v[1])); return same(self);),
    FORM("setNum(double arg__1) -> QByteArray", {K::Double}, SELF; b.setNum(v[0].real);
         return same(self);),
    // The float forms take what the double forms before them already took.
    UNSUPPORTED("setNum(float arg__1, char f, int prec) -> QByteArray"),
    UNSUPPORTED("setNum(float arg__1, char f) -> QByteArray"),
    UNSUPPORTED("setNum(float arg__1) -> QByteArray"),
    FORM("setNum(int arg__1, int base) -> QByteArray", (QVector<Kind>{K::Int, K::Int}), SELF;
         if (refusedBase(intOf(v[1]))) return nullptr; b.setNum(intOf(v[0]), intOf(v[1]));
         return same(self);),
    FORM("setNum(int arg__1) -> QByteArray", {K::Int}, SELF; b.setNum(intOf(v[0]));
         return same(self);),
    FORM("setNum(qlonglong arg__1, int base) -> QByteArray", (QVector<Kind>{K::LongLong, K::Int}),
         SELF;
         if (refusedBase(intOf(v[1]))) return nullptr; b.setNum(v[0].number, intOf(v[1]));
         return same(self);),
    FORM("setNum(qlonglong arg__1) -> QByteArray", {K::LongLong}, SELF; b.setNum(v[0].number);
         return same(self);),
    // And the short forms what the int forms took.
    UNSUPPORTED("setNum(short arg__1, int base) -> QByteArray"),
    UNSUPPORTED("setNum(short arg__1) -> QByteArray"),
};
const Forms simplifiedForms = {
    FORM("simplified() -> QByteArray", {}, SELF; return newBytes(b.simplified());),
};
const Forms sizeForms = {
    FORM("size() -> int", {}, SELF; return number(b.size());),
};
const Forms splitForms = {
    FORM("split(char sep) -> QByteArrayList", {K::Char}, SELF;
         return byteArrayList(b.split(charOf(v[0])));),
};
const Forms startsWithForms = {
    FORM("startsWith(char c) -> bool", {K::Char}, SELF; return flag(b.startsWith(charOf(v[0])));),
    FORM("startsWith(QByteArray a) -> bool", {K::Bytes}, SELF;
         return flag(b.startsWith(v[0].bytes));),
};
const Forms toBase64Forms = {
    FORM("toBase64() -> QByteArray", {}, SELF; return newBytes(b.toBase64());),
    FORM("toBase64(QByteArray::Base64Options options) -> QByteArray", {K::Flags}, SELF;
         return newBytes(b.toBase64(QByteArray::Base64Options(intOf(v[0]))));),
};
const Forms toDoubleForms = {
    FORM("toDouble(PythonQt.BoolResult ok) -> double", {K::NoResult}, SELF;
         return PyFloat_FromDouble(b.toDouble());),
    FORM("toDouble() -> double", {}, SELF; return PyFloat_FromDouble(b.toDouble());),
};
const Forms toFloatForms = {
    FORM("toFloat(PythonQt.BoolResult ok) -> float", {K::NoResult}, SELF;
         return PyFloat_FromDouble(double(b.toFloat()));),
    FORM("toFloat() -> float", {}, SELF; return PyFloat_FromDouble(double(b.toFloat()));),
};
const Forms toHexForms = {
    FORM("toHex() -> QByteArray", {}, SELF; return newBytes(b.toHex());),
    FORM("toHex(char separator) -> QByteArray", {K::Char}, SELF;
         return newBytes(b.toHex(charOf(v[0])));),
};
const Forms toIntForms = {
    FORM("toInt(PythonQt.BoolResult ok, int base) -> int", (QVector<Kind>{K::NoResult, K::Int}),
         SELF;
         return number(b.toInt(nullptr, intOf(v[1])));),
    FORM("toInt(PythonQt.BoolResult ok) -> int", {K::NoResult}, SELF; return number(b.toInt());),
    FORM("toInt() -> int", {}, SELF; return number(b.toInt());),
};
const Forms toLowerForms = {
    FORM("toLower() -> QByteArray", {}, SELF; return newBytes(b.toLower());),
};
const Forms toUpperForms = {
    FORM("toUpper() -> QByteArray", {}, SELF; return newBytes(b.toUpper());),
};
const Forms trimmedForms = {
    FORM("trimmed() -> QByteArray", {}, SELF; return newBytes(b.trimmed());),
};
const Forms truncateForms = {
    FORM("truncate(int pos) -> void", {K::Int}, SELF; b.truncate(intOf(v[0])); Py_RETURN_NONE;),
};

#undef SELF
#undef FORM
#undef UNSUPPORTED

template<const Forms &forms> PyObject *method(PyObject *self, PyObject *args, PyObject *kwds)
{
    return dispatch(forms, self, args, kwds);
}

PyMethodDef definition(const char *name, PyCFunctionWithKeywords call, int flags = 0)
{
    return {name, reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(call)),
            METH_VARARGS | METH_KEYWORDS | flags, nullptr};
}

PyObject *className(PyObject *, PyObject *)
{
    return PyUnicode_FromString("QByteArray");
}

PyObject *help(PyObject *, PyObject *)
{
    QByteArray text = "--- QByteArray ---\nConstructors:\n";
    for (const Form &form : constructorForms)
        text += form.signature + '\n';
    text += "Slots:\nQString help()\nQString className()\n";
    return PyUnicode_FromStringAndSize(text.constData(), text.size());
}

PyMethodDef methods[] = {
    definition("append", method<appendForms>),
    definition("at", method<atForms>),
    definition("back", method<backForms>),
    definition("chop", method<chopForms>),
    definition("chopped", method<choppedForms>),
    {"className", className, METH_NOARGS, nullptr},
    definition("clear", method<clearForms>),
    definition("compare", method<compareForms>),
    definition("contains", method<containsForms>),
    definition("count", method<countForms>),
    definition("data", method<dataForms>),
    definition("endsWith", method<endsWithForms>),
    definition("fill", method<fillForms>),
    definition("fromBase64", method<fromBase64Forms>, METH_STATIC),
    definition("fromHex", method<fromHexForms>, METH_STATIC),
    definition("front", method<frontForms>),
    {"help", help, METH_NOARGS, nullptr},
    definition("indexOf", method<indexOfForms>),
    definition("insert", method<insertForms>),
    definition("isEmpty", method<isEmptyForms>),
    definition("isLower", method<isLowerForms>),
    definition("isNull", method<isNullForms>),
    definition("isUpper", method<isUpperForms>),
    definition("lastIndexOf", method<lastIndexOfForms>),
    definition("left", method<leftForms>),
    definition("leftJustified", method<leftJustifiedForms>),
    definition("length", method<lengthForms>),
    definition("mid", method<midForms>),
    definition("number", method<numberForms>, METH_STATIC),
    definition("prepend", method<prependForms>),
    definition("push_back", method<push_backForms>),
    definition("push_front", method<push_frontForms>),
    definition("remove", method<removeForms>),
    definition("repeated", method<repeatedForms>),
    definition("replace", method<replaceForms>),
    definition("resize", method<resizeForms>),
    definition("right", method<rightForms>),
    definition("rightJustified", method<rightJustifiedForms>),
    definition("setNum", method<setNumForms>),
    definition("simplified", method<simplifiedForms>),
    definition("size", method<sizeForms>),
    definition("split", method<splitForms>),
    definition("startsWith", method<startsWithForms>),
    definition("toBase64", method<toBase64Forms>),
    definition("toDouble", method<toDoubleForms>),
    definition("toFloat", method<toFloatForms>),
    definition("toHex", method<toHexForms>),
    definition("toInt", method<toIntForms>),
    definition("toLower", method<toLowerForms>),
    definition("toUpper", method<toUpperForms>),
    definition("trimmed", method<trimmedForms>),
    definition("truncate", method<truncateForms>),
    {nullptr, nullptr, 0, nullptr},
};

void dealloc(PyObject *object)
{
    PyTypeObject *type = Py_TYPE(object);
    bytesOf(object).~QByteArray();
    type->tp_free(object);
    Py_DECREF(type);
}

PyObject *newByteArray(PyTypeObject *type, PyObject *args, PyObject *kwds)
{
    return dispatch(constructorForms, reinterpret_cast<PyObject *>(type), args, kwds);
}

// As in PythonQt: str() shows the bytes' repr and decodes nothing; bytes()
// and len() are not offered, data() is the way to the bytes.
PyObject *str(PyObject *object)
{
    const QByteArray &bytes = bytesOf(object);
    PyObject *data = PyBytes_FromStringAndSize(bytes.constData(), bytes.size());
    if (!data)
        return nullptr;
    PyObject *result = PyObject_Repr(data);
    Py_DECREF(data);
    return result;
}

// PythonQt shows the bytes as text up to the first NUL, or the bare object
// when that text is empty.
PyObject *repr(PyObject *object)
{
    const QByteArray &bytes = bytesOf(object);
    const void *address = &bytes;
    const QByteArray text = QString::fromUtf8(bytes.constData()).toUtf8();
    if (text.isEmpty())
        return PyUnicode_FromFormat("QByteArray (C++ object at: %p)", address);
    return PyUnicode_FromFormat("QByteArray (%s, at: %p)", text.constData(), address);
}

int isTrue(PyObject *object)
{
    return !bytesOf(object).isEmpty();
}

// Another operand on the left reaches this too (b"x" + qba), and PythonQt
// refuses it so rather than leaving it to the other operand.
PyObject *add(PyObject *left, PyObject *right)
{
    if (InstanceWrapper::check(left)) {
        // PythonQt looks for __add__ on the wrapped object's class and
        // returns without an exception.
        PyErr_SetString(PyExc_SystemError, "error return without exception set");
        return nullptr;
    }
    if (!ByteArrayObject::check(left)) {
        PyErr_Format(PyExc_ArithmeticError, "Unsupported operation __add__(%s, QByteArray)",
                     _PyType_Name(Py_TYPE(left)));
        return nullptr;
    }
    return dispatchOne(addForms, left, right);
}

// In place for what converts to bytes; anything else is added as by +.
PyObject *addInPlace(PyObject *left, PyObject *right)
{
    Value value;
    Converted converted = toBytes(right, true, value);
    if (converted == Converted::No)
        converted = toBytes(right, false, value);
    if (converted == Converted::Failed)
        return nullptr;
    if (converted == Converted::No)
        Py_RETURN_NOTIMPLEMENTED;
    bytesOf(left).append(value.bytes);
    return same(left);
}

// PythonQt calls +x an __add__ without an argument.
PyObject *positive(PyObject *)
{
    QByteArrayList signatures;
    for (const Form &form : addForms)
        signatures.append(form.signature);
    return MethodCall::wrongArguments(signatures, QByteArrayLiteral("None"), false);
}

template<typename Left, typename Right> bool compareBy(const Left &left, const Right &right, int op)
{
    switch (op) {
    case Py_LT:
        return left < right;
    case Py_LE:
        return left <= right;
    case Py_EQ:
        return left == right;
    case Py_NE:
        return left != right;
    case Py_GT:
        return left > right;
    default:
        return left >= right;
    }
}

// Against bytes as bytes, against anything else as text (str() of it, as
// Qt compares a QByteArray with a QString), but != takes only bytes and
// str. == and != that find no such comparison compare identities, the
// others raise.
PyObject *compare(PyObject *self, PyObject *other, int op)
{
    if (!ByteArrayObject::check(self))
        Py_RETURN_NOTIMPLEMENTED;
    const QByteArray &bytes = bytesOf(self);
    Value value;
    Converted converted = Converted::No;
    for (const bool strict : {true, false}) {
        if (!strict && op == Py_NE)
            break;
        converted = toBytes(other, strict, value);
        if (converted == Converted::Yes)
            return flag(compareBy(bytes, value.bytes, op));
        if (converted == Converted::No)
            converted = toText(other, strict, value);
        if (converted == Converted::Yes)
            return flag(compareBy(bytes, value.text, op));
        if (converted == Converted::Failed)
            break;
    }
    if (op == Py_EQ || op == Py_NE) {
        PyErr_Clear();
        return flag((self == other) == (op == Py_EQ));
    }
    if (converted == Converted::Failed)
        return nullptr;
    static const char *const names[] = {"__lt__", "__le__", "__eq__", "__ne__", "__gt__", "__ge__"};
    const QByteArray name = names[op];
    return MethodCall::wrongArguments(
        {name + "(QByteArray a2) -> bool", name + "(QString s2) -> bool"}, &other, 1, true);
}

// PythonQt's words for a name the byte array does not have.
PyObject *getAttribute(PyObject *self, PyObject *name)
{
    PyObject *result = PyObject_GenericGetAttr(self, name);
    if (!result && PyErr_ExceptionMatches(PyExc_AttributeError) && PyUnicode_Check(name)) {
        PyErr_Clear();
        PyErr_Format(PyExc_AttributeError, "QByteArray has no attribute named '%U'", name);
    }
    return result;
}

// Its methods cannot be replaced and it takes no attributes of a script's.
int setAttribute(PyObject *self, PyObject *name, PyObject *value)
{
    if (!PyUnicode_Check(name))
        return PyObject_GenericSetAttr(self, name, value);
    if (_PyType_Lookup(Py_TYPE(self), name))
        PyErr_Format(PyExc_AttributeError, "Slot '%U' can not be overwritten on QByteArray object",
                     name);
    else
        PyErr_Format(PyExc_AttributeError,
                     "'%U' does not exist on QByteArray and creating new attributes on C++ "
                     "objects is not allowed",
                     name);
    return -1;
}

// QByteArray's enums as PythonQt has them: int classes of PythonQt.QtCore,
// their values attributes of the class.
bool addEnums(PyObject *byteArray)
{
    struct Constant
    {
        const char *name;
        int value;
    };
    struct Enum
    {
        const char *name;
        QVector<Constant> constants;
    };
    const Enum enums[] = {
        {"Base64Option",
         {{"Base64Encoding", QByteArray::Base64Encoding},
          {"Base64UrlEncoding", QByteArray::Base64UrlEncoding},
          {"KeepTrailingEquals", QByteArray::KeepTrailingEquals},
          {"OmitTrailingEquals", QByteArray::OmitTrailingEquals},
          {"IgnoreBase64DecodingErrors", QByteArray::IgnoreBase64DecodingErrors},
          {"AbortOnBase64DecodingErrors", QByteArray::AbortOnBase64DecodingErrors}}},
        {"Base64Options", {}},
        {"Base64DecodingStatus",
         {{"Ok", int(QByteArray::Base64DecodingStatus::Ok)},
          {"IllegalInputLength", int(QByteArray::Base64DecodingStatus::IllegalInputLength)},
          {"IllegalCharacter", int(QByteArray::Base64DecodingStatus::IllegalCharacter)},
          {"IllegalPadding", int(QByteArray::Base64DecodingStatus::IllegalPadding)}}},
    };
    for (const Enum &e : enums) {
        PyObject *type =
            PyObject_CallFunction(reinterpret_cast<PyObject *>(&PyType_Type), "s(O){ss}", e.name,
                                  &PyLong_Type, "__module__", "PythonQt.QtCore");
        bool ok = type && PyObject_SetAttrString(byteArray, e.name, type) == 0;
        for (int i = 0; ok && i < e.constants.size(); ++i) {
            PyObject *value = PyObject_CallFunction(type, "i", e.constants.at(i).value);
            ok = value && PyObject_SetAttrString(byteArray, e.constants.at(i).name, value) == 0;
            Py_XDECREF(value);
        }
        Py_XDECREF(type);
        if (!ok)
            return false;
    }
    return true;
}

PyType_Slot storageSlots[] = {
    {Py_tp_new, reinterpret_cast<void *>(newByteArray)},
    {Py_tp_dealloc, reinterpret_cast<void *>(dealloc)},
    {Py_tp_str, reinterpret_cast<void *>(str)},
    {Py_tp_repr, reinterpret_cast<void *>(repr)},
    {Py_tp_richcompare, reinterpret_cast<void *>(compare)},
    // Equal byte arrays compare equal, so a hash by address (PythonQt's)
    // would put equal values apart in sets and dicts: not hashable instead.
    {Py_tp_hash, reinterpret_cast<void *>(PyObject_HashNotImplemented)},
    {Py_nb_add, reinterpret_cast<void *>(add)},
    {Py_nb_inplace_add, reinterpret_cast<void *>(addInPlace)},
    {Py_nb_positive, reinterpret_cast<void *>(positive)},
    {Py_nb_bool, reinterpret_cast<void *>(isTrue)},
    {Py_tp_getattro, reinterpret_cast<void *>(getAttribute)},
    {Py_tp_setattro, reinterpret_cast<void *>(setAttribute)},
    {Py_tp_methods, methods},
    {0, nullptr},
};

PyType_Spec storageSpec = {"PythonQt.QByteArray", sizeof(ByteArray), 0,
                           Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE | Py_TPFLAGS_IMMUTABLETYPE,
                           storageSlots};

} // namespace

namespace ByteArrayObject {

bool ready()
{
    if (byteArrayType)
        return true;
    if (!storageType && !(storageType = HeapType::create(storageSpec)))
        return false;
    PyObject *type = PyObject_CallFunction(reinterpret_cast<PyObject *>(&PyType_Type),
                                           "s(O){sss()}", "QByteArray", storageType, "__module__",
                                           "PythonQt.QtCore", "__slots__");
    // No instance dictionary, as PythonQt's class; but no __slots__ either.
    if (!type
        || PyDict_DelItemString(reinterpret_cast<PyTypeObject *>(type)->tp_dict, "__slots__") < 0
        || !addEnums(type)) {
        Py_XDECREF(type);
        return false;
    }
    PyType_Modified(reinterpret_cast<PyTypeObject *>(type));
    byteArrayType = reinterpret_cast<PyTypeObject *>(type);
    return true;
}

PyTypeObject *type()
{
    return byteArrayType;
}

PyObject *create(const QByteArray &bytes)
{
    return alloc(byteArrayType, bytes);
}

bool check(PyObject *object)
{
    return PyObject_TypeCheck(object, byteArrayType);
}

const QByteArray &value(PyObject *object)
{
    return bytesOf(object);
}

} // namespace ByteArrayObject
