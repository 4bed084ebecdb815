// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef FUZZAPPLICATION_H
#define FUZZAPPLICATION_H

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Every fuzzer's input: what the dialog is given, then optionally a NUL byte
// and one byte per thing the user does, at most maxActions of them.
struct FuzzInput
{
    QByteArray given;
    QByteArray actions;
};

inline FuzzInput splitFuzzInput(const uint8_t *data, size_t size, int maxActions)
{
    const QByteArray input(reinterpret_cast<const char *>(data), int(size));
    const int separator = input.indexOf('\0');
    if (separator < 0)
        return {input, QByteArray()};
    return {input.left(separator), input.mid(separator + 1, maxActions)};
}

// An invariant broke: report it and let libFuzzer keep the input.
#define FUZZ_CHECK(condition, what) \
    do { \
        if (!(condition)) { \
            std::fprintf(stderr, "invariant broken: %s (%s)\n", what, #condition); \
            std::abort(); \
        } \
    } while (false)

#endif // FUZZAPPLICATION_H
