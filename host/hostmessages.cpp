// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "hostmessages.h"

#include <cstdio>

QString quoted(const QString &text)
{
    QString result(QLatin1Char('"'));
    for (const QChar c : text) {
        const int named = QStringLiteral("\"\\\n\r\t").indexOf(c);
        if (named >= 0)
            result += QLatin1String("\\\"\\\\\\n\\r\\t").mid(2 * named, 2);
        else if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0))
            result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result + QLatin1Char('"');
}

void report(const QString &message)
{
    const QByteArray bytes = QStringLiteral("veldmark-script-host: %1\n").arg(message).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
