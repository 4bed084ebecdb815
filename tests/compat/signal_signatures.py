# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# connect() and disconnect() given signatures that are empty, bare, spaced,
# or start with a digit other than moc's "2", and what disconnect() with
# the signature alone takes away. Qt's own warnings go to stderr.
import sys

from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()
other = ProgressDialog()


def shown(label, thunk):
    show(label, thunk)
    sys.stdout.flush()
    sys.stderr.flush()


for signature in ("", "text", "2text", "1text", "3x", "6objectNameChanged(QString)", "nosuch()",
                  "finished(", " finished( int ) ", "2 finished( int )", "5finished(int)"):
    shown(f"connect({signature!r}, print)", lambda: progress.connect(signature, print))
    shown(f"connect({signature!r}, other, 'hide()')", lambda: progress.connect(signature, other, "hide()"))
    shown(f"disconnect({signature!r})", lambda: progress.disconnect(signature))
    shown(f"disconnect({signature!r}, print)", lambda: progress.disconnect(signature, print))
    shown(f"disconnect({signature!r}, other, 'hide()')", lambda: progress.disconnect(signature, other, "hide()"))


def renamed(name):
    other.show()
    progress.objectName = name
    return other.visible


shown("connect('objectNameChanged(QString)', other, 'hide()')",
      lambda: progress.connect("objectNameChanged(QString)", other, "hide()"))
shown("renamed: other still visible", lambda: renamed("first"))
shown("connect again", lambda: progress.connect("objectNameChanged(QString)", other, "hide()"))
shown("connect('objectNameChanged(QString)', print)", lambda: progress.connect("objectNameChanged(QString)", print))
shown("disconnect('objectNameChanged(QString)')", lambda: progress.disconnect("objectNameChanged(QString)"))
shown("renamed after disconnect: other still visible", lambda: renamed("second"))
shown("disconnect('objectNameChanged(QString)') again", lambda: progress.disconnect("objectNameChanged(QString)"))
shown("disconnect('destroyed()')", lambda: progress.disconnect("destroyed()"))
shown("disconnect('destroyed(QObject*)')", lambda: progress.disconnect("destroyed(QObject*)"))
shown("destroyed() heard after", lambda: (progress.connect("destroyed()", lambda: print("destroyed heard")), progress.delete()))
shown("progress after delete", lambda: bool(progress))
other.hide()
