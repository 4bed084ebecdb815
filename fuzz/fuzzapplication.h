#ifndef FUZZAPPLICATION_H
#define FUZZAPPLICATION_H

#include "platformnoisefilter.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

// One headless application for the whole fuzzing run; the dialogs' debug
// lines would only slow it down.
inline void startFuzzApplication(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
    installPlatformNoiseFilter();
    static QApplication application(*argc, *argv);
}

// An invariant broke: report it and let libFuzzer keep the input.
#define FUZZ_CHECK(condition, what)                                              \
    do {                                                                         \
        if (!(condition)) {                                                      \
            std::fprintf(stderr, "invariant broken: %s (%s)\n", what, #condition); \
            std::abort();                                                        \
        }                                                                        \
    } while (false)

#endif // FUZZAPPLICATION_H
