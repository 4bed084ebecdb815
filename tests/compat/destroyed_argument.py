# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# What a destroyed(QObject*) callback receives when the dialog really goes:
# deleted itself, or with its parent.
from PythonQt.Kestrane import ProgressDialog
from observe import show

log = []


def heard(*args):
    log.append(tuple(type(a).__name__ + (" (reads as alive)" if a else "") for a in args))


alone = ProgressDialog()
alone.destroyed.connect(heard)
show("alone.delete()", lambda: alone.delete())
show("heard", lambda: log)
log.clear()
owner = ProgressDialog()
child = ProgressDialog(owner)
child.connect("destroyed(QObject*)", heard)
show("owner.delete()", lambda: owner.delete())
show("heard", lambda: log)
show("bool(child)", lambda: bool(child))
