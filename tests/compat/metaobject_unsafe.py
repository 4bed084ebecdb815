# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# checkConnectArgs() of d.metaObject(), which the real PythonQt hands
# straight to Qt: Qt looks for each text's '(' and reads past the end of one
# without, so it crashes or answers at random there. Ours compares only
# signatures with an argument list; anything else does not fit.
# A meta-object stored in a property reads back there as an opaque void*
# object; ours refuses to store it.
from PythonQt.Kestrane import ProgressDialog
from observe import show

meta = ProgressDialog().metaObject()
CASES = (
    ("finished(int)", "done(int)"),
    ("finished(int)", "close()"),
    ("close()", "finished(int)"),
    ("valueChanged(int,QString)", "set(int)"),
    ("finished(int)", "done(QString)"),
    ("finished", "done(int)"),
    ("finished(int)", "done"),
    ("", ""),
    (1, 2),
    (None, "close()"),
)
for signal, method in CASES:
    show(f"checkConnectArgs({signal!r}, {method!r})", lambda: meta.checkConnectArgs(signal, method))
show("setProperty('kept', meta)", lambda: ProgressDialog().setProperty("kept", meta))
show("setProperty('kept', [meta])", lambda: ProgressDialog().setProperty("kept", [meta]))
