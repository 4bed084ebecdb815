# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Dialogs the script still holds when it ends, one shown and one the child of
# another: the host deletes them before the application goes, not
# PythonQt::cleanup().
import sys

from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay


def watcher(name):
    out = sys.__stdout__
    return lambda: (out.write(f"{name} destroyed\n"), out.flush())


progress = ProgressDialog()
progress.connect("destroyed()", watcher("progress"))
progress.setMessage("still here")
progress.show()
display = VeldmarkDisplay(progress)
display.connect("destroyed()", watcher("display"))
hidden = VeldmarkDisplay()
hidden.connect("destroyed()", watcher("hidden"))
print("script ends with", progress.label.text)
