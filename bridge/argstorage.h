// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ARGSTORAGE_H
#define ARGSTORAGE_H

#include "argtype.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

class QObject;

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

#endif // ARGSTORAGE_H
