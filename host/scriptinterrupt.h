// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef SCRIPTINTERRUPT_H
#define SCRIPTINTERRUPT_H

// Stops the running script from Qt code, say from inside a dialog it runs:
// the script gets a KeyboardInterrupt at its next Python statement, so its
// `finally` blocks and `with` statements still close what they opened.
void interruptScript();
// Once the script has ended, a stop not yet delivered is dropped, so the
// interpreter's shutdown does not raise it.
void withdrawScriptInterrupt();

#endif // SCRIPTINTERRUPT_H
