// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "argtype.h"

#include "pythonqt_p.h"

#include <QObject>

#include <cctype>

namespace {

bool isIdentifier(const QByteArray &name)
{
    if (name.isEmpty())
        return false;
    for (char c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':'))
            return false;
    }
    return true;
}

bool isEnumeration(const QByteArray &name, const QMetaObject *scope)
{
    const QByteArray enumName = unqualifiedName(name);
    for (const QMetaObject *mo = scope; mo; mo = mo->superClass()) {
        if (mo->indexOfEnumerator(enumName) >= 0)
            return true;
    }
    return name.startsWith("Qt::") && qt_getQtMetaObject()->indexOfEnumerator(enumName) >= 0;
}

} // namespace

ArgType ArgType::fromTypeName(const QByteArray &typeName, int typeId, const QMetaObject *scope)
{
    ArgType t;
    t.name = typeName;
    t.typeId = typeId;
    switch (typeId) {
    case QMetaType::Void:
        t.kind = Void;
        return t;
    case QMetaType::Bool:
        t.kind = Bool;
        return t;
    case QMetaType::Int:
        t.kind = Int;
        return t;
    case QMetaType::UInt:
        t.kind = UInt;
        return t;
    case QMetaType::LongLong:
        t.kind = LongLong;
        return t;
    case QMetaType::ULongLong:
        t.kind = ULongLong;
        return t;
    case QMetaType::Double:
        t.kind = Double;
        return t;
    case QMetaType::Float:
        t.kind = Float;
        return t;
    case QMetaType::QString:
        t.kind = String;
        return t;
    case QMetaType::QStringList:
        t.kind = StringList;
        return t;
    case QMetaType::QByteArray:
        t.kind = ByteArray;
        return t;
    case QMetaType::QVariantMap:
        t.kind = VariantMap;
        return t;
    case QMetaType::QVariantList:
        t.kind = VariantList;
        return t;
    case QMetaType::QVariant:
        t.kind = Variant;
        return t;
    default:
        break;
    }
    if (typeName.endsWith('*') && isIdentifier(typeName.left(typeName.size() - 1))) {
        // Only a QObject can inherit() the class name, so a wrapper is never
        // passed where something else is expected.
        t.kind = Object;
        t.className = typeName.left(typeName.size() - 1);
        const bool knownQObject = (typeId != QMetaType::UnknownType
                                   && (QMetaType::typeFlags(typeId) & QMetaType::PointerToQObject))
            || (PythonQtPrivate::instance() && PythonQtPrivate::instance()->classInfo(t.className));
        t.returnsWrappable = knownQObject || t.className == "QObject";
        return t;
    }
    const bool registeredEnumeration = typeId != QMetaType::UnknownType
        && (QMetaType::typeFlags(typeId) & QMetaType::IsEnumeration);
    if (registeredEnumeration
        || (typeId == QMetaType::UnknownType && isEnumeration(typeName, scope))) {
        t.kind = Int; // moc stores enumerations as their int value
        return t;
    }
    t.kind = Other;
    return t;
}
