# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The built-ins read from a class rather than an instance: what they are,
# and what calling them unbound, with and without an instance, does.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay
from observe import show

progress = ProgressDialog()
gone = ProgressDialog()
gone.delete()


class Sub(ProgressDialog):
    pass


sub = Sub()
BUILTINS = ("className", "inherits", "help", "delete", "connect", "disconnect", "parent",
            "setParent", "children", "findChild", "findChildren", "property", "setProperty", "tr")
for name in BUILTINS:
    show(f"repr(ProgressDialog.{name})", lambda: repr(getattr(ProgressDialog, name)))
    show(f"ProgressDialog.{name}()", lambda: getattr(ProgressDialog, name)())
    show(f"ProgressDialog.{name}(1)", lambda: getattr(ProgressDialog, name)(1))
    show(f"ProgressDialog.{name}(VeldmarkDisplay())", lambda: getattr(ProgressDialog, name)(VeldmarkDisplay()))
    show(f"ProgressDialog.{name}(gone)", lambda: getattr(ProgressDialog, name)(gone))
    show(f"repr(Sub.{name})", lambda: repr(getattr(Sub, name)))
    show(f"{name} in dir(ProgressDialog)", lambda: dir(ProgressDialog).count(name))

show("ProgressDialog.className(progress)", lambda: ProgressDialog.className(progress))
show("ProgressDialog.className(sub)", lambda: ProgressDialog.className(sub))
show("ProgressDialog.inherits(progress, 'QDialog')", lambda: ProgressDialog.inherits(progress, "QDialog"))
show("ProgressDialog.help(progress) == progress.help()", lambda: ProgressDialog.help(progress) == progress.help())
show("ProgressDialog.findChild(progress, 'QLabel')", lambda: ProgressDialog.findChild(progress, "QLabel"))
show("Sub.findChildren(sub, 'QPushButton')", lambda: Sub.findChildren(sub, "QPushButton"))
show("ProgressDialog.setProperty(progress, 'a', 1)", lambda: ProgressDialog.setProperty(progress, "a", 1))
show("ProgressDialog.property(progress, 'a')", lambda: ProgressDialog.property(progress, "a"))
show("ProgressDialog.connect(progress, 'finished(int)', print)", lambda: ProgressDialog.connect(progress, "finished(int)", print))
show("ProgressDialog.disconnect(progress, 'finished(int)')", lambda: ProgressDialog.disconnect(progress, "finished(int)"))
show("ProgressDialog.parent(progress)", lambda: ProgressDialog.parent(progress))
show("ProgressDialog.tr(progress, 'Cancel')", lambda: ProgressDialog.tr(progress, "Cancel"))
show("gone.inherits('QDialog')", lambda: gone.inherits("QDialog"))
show("gone.inherits('QLabel')", lambda: gone.inherits("QLabel"))
show("repr(sub.findChild)", lambda: repr(sub.findChild).split(" at ")[0])
show("repr(sub.help)", lambda: repr(sub.help).split(" at ")[0])
show("ProgressDialog.delete(sub)", lambda: ProgressDialog.delete(sub))
show("sub after delete", lambda: bool(sub))
