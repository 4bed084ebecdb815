# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# setParent() on dialogs, shown and hidden: whether they stay windows of
# their own. A window shows while its parent is hidden; a widget inside its
# parent does not.
from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show

owner = ProgressDialog()
shown = VeldmarkSelection()
shown.show()
show("shown: visible", lambda: shown.visible)
show("shown.setParent(owner)", lambda: shown.setParent(owner))
show("  parent is owner", lambda: shown.parent() is owner)
show("  visible", lambda: shown.visible)
show("  show(); visible", lambda: (shown.show(), shown.visible))
show("shown.setParent(None)", lambda: shown.setParent(None))
show("  visible", lambda: shown.visible)
show("  show(); visible", lambda: (shown.show(), shown.visible))

hidden = VeldmarkSelection()
show("hidden.setParent(owner)", lambda: hidden.setParent(owner))
show("  show(); visible", lambda: (hidden.show(), hidden.visible))
show("owner's children hold it", lambda: [c is hidden for c in owner.children()].count(True))

made_with_parent = VeldmarkSelection(owner)
show("made with a parent: show(); visible", lambda: (made_with_parent.show(), made_with_parent.visible))
for dialog in (shown, hidden, made_with_parent):
    dialog.hide()
