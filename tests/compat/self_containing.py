# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A list and a dict that contain themselves, where the library map goes.
from PythonQt.Kestrane import VeldmarkSelection
from observe import show

selection = VeldmarkSelection()
loop = ["L1"]
loop.append(loop)
show("setAvailableItems({'G': loop})", lambda: selection.setAvailableItems({"G": loop}))
looped = {}
looped["G"] = looped
show("setAvailableItems(looped)", lambda: selection.setAvailableItems(looped))
show("groups", lambda: selection.treeWidget.topLevelItemCount)
