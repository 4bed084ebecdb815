# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Who deletes a dialog: Python when its last reference goes and it has no
# parent; the parent otherwise.
import gc

from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show

gone = []


def watch(dialog, name):
    dialog.connect("destroyed()", lambda: gone.append(name))


dropped = ProgressDialog()
watch(dropped, "dropped")
del dropped
gc.collect()
show("without parent, dropped", lambda: gone)

owner = VeldmarkSelection()
child = ProgressDialog(owner)
watch(child, "child")
del child
gc.collect()
show("with parent, dropped", lambda: gone)
show("owner.children() has it", lambda: [c.className() for c in owner.children() if c.className() == "ProgressDialog"])

adopted = ProgressDialog()
watch(adopted, "adopted")
show("setParent(owner)", lambda: adopted.setParent(owner))
show("adopted.parent() is owner", lambda: adopted.parent() is owner)
del adopted
gc.collect()
show("adopted, dropped", lambda: gone)

released = ProgressDialog(owner)
watch(released, "released")
show("setParent(None)", lambda: released.setParent(None))
del released
gc.collect()
show("released, dropped", lambda: gone)

same = [c for c in owner.children() if c.className() == "ProgressDialog"]
show("children() give one wrapper per object", lambda: same[0] is owner.children()[owner.children().index(same[0])])
show("owner.delete()", lambda: owner.delete())
show("everything gone", lambda: sorted(gone))
show("same[0] after owner.delete()", lambda: bool(same[0]))
