# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Calls a careless script makes and the errors it gets.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show

progress = ProgressDialog()
selection = VeldmarkSelection()
display = VeldmarkDisplay()
show("setMessage()", lambda: progress.setMessage())
show("setMessage('a', 'b')", lambda: progress.setMessage("a", "b"))
show("setMessage(message='a')", lambda: progress.setMessage(message="a"))
show("tick(1)", lambda: progress.tick(1))
show("cancelled(True)", lambda: progress.cancelled(True))
show("selectedItems(True)", lambda: selection.selectedItems(True))
show("setAvailableItems()", lambda: selection.setAvailableItems())
show("setAvailableItems(available_items={})", lambda: selection.setAvailableItems(available_items={}))
show("setDisplayData(b'{}', b'{}')", lambda: display.setDisplayData(b"{}", b"{}"))
show("setDisplayData(display_data=b'{}')", lambda: display.setDisplayData(display_data=b"{}"))
show("saveDisplayData()", lambda: display.saveDisplayData())
show("listSelectionChanged(None, 0)", lambda: selection.listSelectionChanged(None, 0))
show("display.setDisplayDta", lambda: display.setDisplayDta)
show("progress.nothing", lambda: progress.nothing)


def assign():
    progress.total = 10


show("progress.total = 10", assign)


def assign_slot():
    progress.tick = 1


show("progress.tick = 1", assign_slot)


def assign_read_only():
    progress.width = 5


show("progress.width = 5", assign_read_only)
show("progress.width", lambda: progress.width)


def delete_attribute():
    del progress.windowTitle


show("del progress.windowTitle", delete_attribute)
show("exec_ is exec", lambda: progress.exec_ is not None)
show("setMessage is callable", lambda: callable(progress.setMessage))
