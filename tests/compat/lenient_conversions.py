# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Arguments that are not quite what a slot takes: objects whose str() raises,
# generators and other iterables for lists, mappings that are not dicts.
from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show


class NoText:
    def __str__(self):
        raise RuntimeError("no text")


class BrokenMap(dict):
    def items(self):
        raise RuntimeError("no items")


progress = ProgressDialog()
selection = VeldmarkSelection()
show("setMessage(NoText())", lambda: progress.setMessage(NoText()))
show("setAvailableItems({'G': [NoText()]})", lambda: selection.setAvailableItems({"G": [NoText()]}))
show("setAvailableItems({'G': generator})", lambda: selection.setAvailableItems({"G": (n for n in "ab")}))
show("setAvailableItems({'G': range(2)})", lambda: selection.setAvailableItems({"G": range(2)}))
show("setAvailableItems({'G': {'a', 'b'} - {'b'}})", lambda: selection.setAvailableItems({"G": {"a"}}))
show("setAvailableItems(BrokenMap(G=['x']))", lambda: selection.setAvailableItems(BrokenMap(G=["x"])))
show("setAvailableItems([('G', ['x'])])", lambda: selection.setAvailableItems([("G", ["x"])]))
show("setAvailableItems('G')", lambda: selection.setAvailableItems("G"))
show("groups", lambda: selection.treeWidget.topLevelItemCount)
