# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Dialogs whose C++ object is gone: deleted with their parent, or by delete().
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show

owner = ProgressDialog()
progress = ProgressDialog(owner)
selection = VeldmarkSelection(owner)
display = VeldmarkDisplay(owner)
gone = []
progress.connect("destroyed()", lambda: gone.append("progress"))
show("bool before", lambda: bool(progress))
show("owner.delete()", lambda: owner.delete())
show("destroyed seen", lambda: gone)
show("bool(progress)", lambda: bool(progress))
show("bool(owner)", lambda: bool(owner))
show("progress.setMessage('x')", lambda: progress.setMessage("x"))
show("progress.tick()", lambda: progress.tick())
show("selection.selectedItems()", lambda: selection.selectedItems())
show("display.displayData()", lambda: display.displayData())
show("progress.windowTitle", lambda: progress.windowTitle)


def write_title():
    progress.windowTitle = "x"


show("progress.windowTitle = 'x'", write_title)
show("progress.className()", lambda: progress.className())
show("progress.parent()", lambda: progress.parent())
show("progress.delete()", lambda: progress.delete())
show("progress.connect('finished(int)', print)", lambda: progress.connect("finished(int)", print))
show("owner.show()", lambda: owner.show())
show("progress is not None", lambda: progress is not None)
show("progress == progress", lambda: progress == progress)

alone = VeldmarkSelection()
show("alone.delete()", lambda: alone.delete())
show("bool(alone)", lambda: bool(alone))
show("alone.run()", lambda: alone.run())
show("alone.delete() again", lambda: alone.delete())
