# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A dialog's own widgets, deleted or taken from it, and the dialog used after.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show

progress = ProgressDialog()
show("progress.label.delete()", lambda: progress.label.delete())
show("progress.setMessage('x')", lambda: progress.setMessage("x"))
show("progress.label.text", lambda: progress.label.text)

selection = VeldmarkSelection()
show("selection.treeWidget.delete()", lambda: selection.treeWidget.delete())
show("selection.setAvailableItems({'G': ['L']})", lambda: selection.setAvailableItems({"G": ["L"]}))
show("selection.selectedItems()", lambda: selection.selectedItems())

display = VeldmarkDisplay()
show("display.listView.setParent(None)", lambda: display.listView.setParent(None))
show("display.setDisplayData(b'{\"a\": {}}')", lambda: display.setDisplayData(b'{"a": {}}'))
show("display.label.setParent(progress)", lambda: display.label.setParent(progress))
show("display.displayData() is bytes", lambda: display.displayData().data().startswith(b"{"))

show("progress.setParent(progress)", lambda: progress.setParent(progress))
child = VeldmarkDisplay(progress)
show("progress.setParent(child)", lambda: progress.setParent(child))
show("progress.parent()", lambda: progress.parent())
