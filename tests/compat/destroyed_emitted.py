# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# destroyed() emitted by a script while the dialog lives on, and what a
# destroyed callback receives, then and when the dialog really goes.
from PythonQt.Kestrane import ProgressDialog
from observe import show

seen = []


def heard(*args):
    seen.append(args)
    for obj in args:
        show("  callback: bool(arg)", lambda: bool(obj))
        show("  callback: arg.className()", lambda: obj.className())
        show("  callback: arg.windowTitle", lambda: obj.windowTitle)


owner = ProgressDialog()
alone = ProgressDialog()
child = ProgressDialog(owner)
alone.destroyed.connect(heard)
child.connect("destroyed(QObject*)", heard)
show("alone.destroyed.emit()", lambda: alone.destroyed.emit())
show("seen", lambda: seen)
seen.clear()
show("bool(alone)", lambda: bool(alone))
show("alone.setMessage('m')", lambda: alone.setMessage("m"))
show("alone.windowTitle = 'w'", lambda: setattr(alone, "windowTitle", "w"))
show("alone.windowTitle", lambda: alone.windowTitle)
show("alone.destroyed.emit(alone)", lambda: alone.destroyed.emit(alone))
show("seen", lambda: seen)
seen.clear()
show("alone.destroyed.emit(owner)", lambda: alone.destroyed.emit(owner))
show("seen", lambda: seen)
seen.clear()
show("bool(alone), bool(owner)", lambda: (bool(alone), bool(owner)))
show("child.destroyed.emit()", lambda: child.destroyed.emit())
show("seen", lambda: seen)
seen.clear()
show("bool(child)", lambda: bool(child))
show("child.parent() is owner", lambda: child.parent() is owner)
show("alone.delete()", lambda: alone.delete())
show("seen", lambda: seen)
seen.clear()
show("owner.delete()", lambda: owner.delete())
show("seen", lambda: seen)
show("bool(child)", lambda: bool(child))

# After a script's destroyed(), every Python connection of the dialog has
# heard its last signal; new ones hear the next.
log = []
dialog = ProgressDialog()
dialog.connect("destroyed()", lambda: log.append("destroyed()"))
dialog.connect("destroyed(QObject*)", lambda o: log.append("destroyed(QObject*)"))
dialog.connect("finished(int)", lambda r: log.append("finished"))
show("dialog.destroyed.emit()", lambda: dialog.destroyed.emit())
show("log", lambda: log)
log.clear()
show("dialog.destroyed.emit() again", lambda: dialog.destroyed.emit())
show("dialog.done(1)", lambda: dialog.done(1))
show("log", lambda: log)
show("connect('finished(int)', cb)", lambda: dialog.connect("finished(int)", lambda r: log.append("new finished")))
show("dialog.done(2)", lambda: dialog.done(2))
show("log", lambda: log)
log.clear()
show("dialog.delete()", lambda: dialog.delete())
show("log", lambda: log)
