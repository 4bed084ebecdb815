// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "platformnoisefilter.h"

#include <QString>

#include <cstdio>

namespace {

QtMessageHandler previousHandler = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isPlatformNoise(type, message))
        return;
    if (previousHandler) {
        previousHandler(type, context, message);
    } else {
        const QString line = qFormatLogMessage(type, context, message);
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
    }
}

} // namespace

bool isPlatformNoise(QtMsgType type, const QString &message)
{
    return type == QtWarningMsg
        && message == QLatin1String("This plugin does not support propagateSizeHints()");
}

void installPlatformNoiseFilter()
{
    const QtMessageHandler previous = qInstallMessageHandler(filterMessage);
    if (previous != filterMessage)
        previousHandler = previous;
}
