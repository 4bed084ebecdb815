// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "argstorage.h"

void *ArgStorage::prepare(const ArgType &type)
{
    switch (type.kind) {
    case ArgType::Void:
        return nullptr;
    case ArgType::Bool:
        return &value.b;
    case ArgType::Int:
        return &value.i;
    case ArgType::UInt:
        return &value.u;
    case ArgType::LongLong:
        return &value.ll;
    case ArgType::ULongLong:
        return &value.ull;
    case ArgType::Double:
        return &value.d;
    case ArgType::Float:
        return &value.f;
    case ArgType::String:
        return &string;
    case ArgType::StringList:
        return &stringList;
    case ArgType::ByteArray:
        return &bytes;
    case ArgType::VariantMap:
        return &map;
    case ArgType::VariantList:
        return &list;
    case ArgType::Variant:
        return &variant;
    case ArgType::Object:
        return &value.object;
    case ArgType::Other:
        if (type.typeId == QMetaType::UnknownType)
            return nullptr;
        // An argument is already converted into the variant; only a result
        // starts empty.
        if (variant.userType() != type.typeId)
            variant = QVariant(type.typeId, nullptr);
        return variant.data();
    }
    return nullptr;
}
