# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, the dialogs' own slots and constructors, called with
# 0 to 3 catalogue values. run() is modal: it is left to the scripts that
# answer it (selection.py, display.py).
from matrix import CATALOGUE, argument_lists, call_matrix, show
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection

SLOTS = {
    ProgressDialog: ("cancelled", "setMessage", "tick", "reject"),
    VeldmarkSelection: ("setAvailableItems", "selectedItems", "aggregationMode"),
    VeldmarkDisplay: ("setDisplayData", "displayData"),
}
for seed, (cls, names) in enumerate(SLOTS.items()):
    for name in names:
        target = cls()
        call_matrix(cls.__name__, lambda: target, name, seed)
    for indexes in argument_lists(seed):
        labels = ",".join(CATALOGUE[i][0] for i in indexes)
        show(f"{cls.__name__}({labels})", lambda: cls(*[CATALOGUE[i][1]() for i in indexes]))

# What the slots kept, read back after a write of each catalogue value.
for label, make in CATALOGUE:
    selection = VeldmarkSelection()
    show(f"setAvailableItems({label}) then selectedItems()",
         lambda: (selection.setAvailableItems(make()), selection.selectedItems())[1])
    display = VeldmarkDisplay()
    show(f"setDisplayData({label}) then displayData()",
         lambda: (display.setDisplayData(make()), display.displayData().data())[1])
