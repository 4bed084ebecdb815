# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Wrapped objects (a dialog, a child widget, a returned QByteArray) where a
# slot or property takes text or a bool: refused, not turned into their str()
# or truth; plain Python values still are.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay
from observe import show

progress = ProgressDialog()
display = VeldmarkDisplay()
display.setDisplayData(b"{}")
data = display.displayData()
child = progress.children()[0]


class Text:
    def __str__(self):
        return "text"


for label, value in (("a dialog", display), ("a child widget", child), ("a QByteArray", data),
                     ("None", None), ("an int", 3), ("a list", [1]), ("an object", Text())):
    show(f"setMessage({label})", lambda: progress.setMessage(value))
    show(f"setEnabled({label})", lambda: progress.setEnabled(value))
    show(f"setWindowTitle({label})", lambda: progress.setWindowTitle(value))
    show("enabled", lambda: progress.enabled)
    show("windowTitle", lambda: progress.windowTitle)


def write(name, value):
    setattr(progress, name, value)


for label, value in (("a dialog", display), ("a QByteArray", data), ("an int", 7)):
    show(f"windowTitle = {label}", lambda: write("windowTitle", value))
    show(f"modal = {label}", lambda: write("modal", value))
    show("windowTitle", lambda: progress.windowTitle)
    show("modal", lambda: progress.modal)
