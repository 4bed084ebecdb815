# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Filling the library tree and reading the choice back.
from PythonQt.Kestrane import VeldmarkSelection
from observe import show

selection = VeldmarkSelection()
show("selectedItems() at first", lambda: selection.selectedItems())
show("aggregationMode() at first", lambda: selection.aggregationMode())
show("setAvailableItems(dict of lists)",
     lambda: selection.setAvailableItems({"Kinase panel": ["KIN-01", "KIN-02"], "ADME": ["Solubility"]}))
show("tree groups", lambda: selection.treeWidget.topLevelItemCount)
show("setAvailableItems(dict of tuples)", lambda: selection.setAvailableItems({"Tuples": ("T1", "T2")}))
show("setAvailableItems(non-text names)",
     lambda: selection.setAvailableItems({1: [2, 3.5, None, True], None: ["x"]}))
show("setAvailableItems({})", lambda: selection.setAvailableItems({}))
show("tree groups after four calls", lambda: selection.treeWidget.topLevelItemCount)
show("selectedItems() unticked", lambda: selection.selectedItems())
show("selectedItems type", lambda: type(selection.selectedItems()).__name__)
show("aggregationMode type", lambda: type(selection.aggregationMode()).__name__)
show("setAvailableItems(['G'])", lambda: selection.setAvailableItems(["G"]))
show("setAvailableItems('G')", lambda: selection.setAvailableItems("G"))
show("setAvailableItems(None)", lambda: selection.setAvailableItems(None))
show("setAvailableItems(42)", lambda: selection.setAvailableItems(42))
show("run is there", lambda: callable(selection.run))
