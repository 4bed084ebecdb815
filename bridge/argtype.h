// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ARGTYPE_H
#define ARGTYPE_H

#include <QByteArray>
#include <QMetaType>

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

#endif // ARGTYPE_H
