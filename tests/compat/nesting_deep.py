# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Lists and dicts nested 100,000 deep, where the library map goes.
from PythonQt.Kestrane import VeldmarkSelection
from observe import show

selection = VeldmarkSelection()
deep = []
for _ in range(100000):
    deep = [deep]
show("setAvailableItems({'G': deep list})", lambda: selection.setAvailableItems({"G": deep}))
deep = {}
for _ in range(100000):
    deep = {"G": deep}
show("setAvailableItems(deep dict)", lambda: selection.setAvailableItems(deep))
show("groups", lambda: selection.treeWidget.topLevelItemCount)
show("setAvailableItems({'G': ['after']})", lambda: selection.setAvailableItems({"G": ["after"]}))
show("groups", lambda: selection.treeWidget.topLevelItemCount)
