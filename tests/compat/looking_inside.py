# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# What a script finds by looking at a dialog: dir(), hasattr(), properties
# by name, weak references, and QWidget methods that are not slots.
import weakref

from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from PythonQt.QtCore import QByteArray
from observe import show

progress = ProgressDialog()
names = set(dir(progress))
for name in ("setMessage", "tick", "cancelled", "reject", "accept", "done", "exec", "open", "show",
             "hide", "close", "setWindowTitle", "finished", "accepted", "rejected", "destroyed",
             "windowTitle", "modal", "visible", "enabled", "objectName", "className", "delete",
             "connect", "disconnect", "parent", "setParent", "children", "inherits", "help",
             "setProperty", "property", "label", "isVisible"):
    print(f"{name} in dir(progress):", name in names)
show("'run' in dir(VeldmarkSelection())", lambda: "run" in dir(VeldmarkSelection()))
show("'displayData' in dir(VeldmarkDisplay())", lambda: "displayData" in dir(VeldmarkDisplay()))
show("'saveDisplayData' in dir(VeldmarkDisplay())", lambda: "saveDisplayData" in dir(VeldmarkDisplay()))

for name in ("isVisible", "isHidden", "isModal", "result", "width", "resize", "setResult"):
    show(f"progress.{name}()", lambda: getattr(progress, name)())
show("hasattr isVisible", lambda: hasattr(progress, "isVisible"))
show("hasattr exec_", lambda: hasattr(progress, "exec_"))

show("setProperty('windowTitle', 'T')", lambda: progress.setProperty("windowTitle", "T"))
show("property('windowTitle')", lambda: progress.property("windowTitle"))
show("setProperty('batch', 7)", lambda: progress.setProperty("batch", 7))
show("property('batch')", lambda: progress.property("batch"))
show("progress.batch", lambda: progress.batch)
show("property('missing')", lambda: progress.property("missing"))
show("objectName", lambda: progress.objectName)

refs = []
show("weakref.ref(progress)", lambda: refs.append(weakref.ref(progress)))
show("the reference gives the dialog", lambda: refs[0]() is progress)
del progress
show("the reference after del", lambda: refs[0]())

# What the bridge does itself, a finalizer and no instance dictionary, has no
# name a script reaches; a Python subclass's own __del__ is its own.
show("ProgressDialog().__del__", lambda: ProgressDialog().__del__)
show("ProgressDialog.__del__", lambda: ProgressDialog.__del__)
show("ProgressDialog.__slots__", lambda: ProgressDialog.__slots__)
show("'__del__' in dir(ProgressDialog)", lambda: "__del__" in dir(ProgressDialog))
show("'__slots__' in dir(ProgressDialog())", lambda: "__slots__" in dir(ProgressDialog()))
show("'__slots__' in dir(QByteArray)", lambda: "__slots__" in dir(QByteArray))


class Finalized(ProgressDialog):
    __slots__ = ()

    def __del__(self):
        pass


show("Finalized.__slots__", lambda: Finalized.__slots__)
show("Finalized().__del__ is a bound method", lambda: callable(Finalized().__del__))
