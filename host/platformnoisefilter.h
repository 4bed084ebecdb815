// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PLATFORMNOISEFILTER_H
#define PLATFORMNOISEFILTER_H

#include <QtGlobal>

class QString;

// The offscreen platform warns "This plugin does not support
// propagateSizeHints()" on every relayout of a window, so a headless query
// that ticks a progress dialog would print it once per tick. These drop that
// one known line and pass every other message on unchanged.
bool isPlatformNoise(QtMsgType type, const QString &message);
void installPlatformNoiseFilter();

#endif // PLATFORMNOISEFILTER_H
