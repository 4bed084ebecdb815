// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef CONVERSIONS_H
#define CONVERSIONS_H

#include "PythonQtSystem.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

class QObject;

// How one parameter, result or property crosses between Python and Qt,
// decided once per method from its meta-type id.
struct ArgType
{
    enum Kind : quint8 {
        Void,
        Bool,
        Int,
        UInt,
        LongLong,
        ULongLong,
        Double,
        Float,
        String,
        StringList,
        ByteArray,
        VariantMap,
        VariantList,
        Variant,
        Object, // pointer to a QObject subclass, checked by class name
        Other // any other meta-type, through QVariant
    };

    static ArgType fromTypeName(const QByteArray &typeName, int typeId, const QMetaObject *scope);

    Kind kind = Void;
    int typeId = QMetaType::Void;
    QByteArray name; // as written in the signature
    QByteArray className; // the pointee of an Object
    bool returnsWrappable = false; // an Object result whose class is a QObject
};

// Room for one converted argument; argv[i] points into it.
struct ArgStorage
{
    union {
        bool b;
        int i;
        uint u;
        qlonglong ll;
        qulonglong ull;
        double d;
        float f;
        QObject *object;
    } value{};
    QString string;
    QByteArray bytes;
    QStringList stringList;
    QVariantMap map;
    QVariantList list;
    QVariant variant;

    void *prepare(const ArgType &type);
};

namespace Conversions {

// Converts a Python value for a Qt parameter. Strict accepts only the
// natural Python type; lenient also what can be converted without doubt.
// Leaves a Python error set only where PythonQt lets the script see it
// (str() or items() of the argument raising); the call then ends with it.
bool toArg(PyObject *value, const ArgType &type, ArgStorage &storage, bool strict);
// New reference to the Python value of a Qt value of the given type.
PyObject *fromArg(const ArgType &type, const void *data);

bool toVariant(PyObject *value, QVariant &result);
PyObject *fromVariant(const QVariant &value);

bool toString(PyObject *value, QString &result, bool strict);
PyObject *fromString(const QString &value);
QString stringFromUnicode(PyObject *unicode);
// None, or a plain int 0 as PythonQt takes it: a null object pointer.
bool isNullObject(PyObject *value);

} // namespace Conversions

#endif // CONVERSIONS_H
