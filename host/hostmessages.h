// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef HOSTMESSAGES_H
#define HOSTMESSAGES_H

#include <QString>

// A text between double quotes for a message: quotes, backslashes and
// control characters escaped as in JSON, so that a name with a NUL or an
// escape sequence in it neither cuts the message nor reaches the terminal.
QString quoted(const QString &text);

// One line on stderr in the host's name, as python3 reports what it cannot
// run; the whole text, NULs and all, in UTF-8.
void report(const QString &message);

#endif // HOSTMESSAGES_H
