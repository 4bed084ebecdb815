// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "platformnoisefilter.h"

#include <QApplication>
#include <QLoggingCategory>

// One headless application for the whole fuzzing run; the dialogs' debug
// lines would only slow it down.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    installPlatformNoiseFilter();
    static QApplication application(*argc, *argv);
    return 0;
}
