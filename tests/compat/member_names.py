# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# What a script learns from a slot or signal it looked up: its name and the
# object it is bound to, as logging and dispatch code reads them.
from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show

progress = ProgressDialog()
selection = VeldmarkSelection()
for label, member in (("progress.setMessage", progress.setMessage), ("progress.tick", progress.tick),
                      ("progress.exec", progress.exec), ("progress.exec_", progress.exec_),
                      ("progress.show", progress.show), ("progress.connect", progress.connect),
                      ("progress.setParent", progress.setParent), ("progress.finished", progress.finished),
                      ("progress.destroyed", progress.destroyed), ("progress.rejected", progress.rejected),
                      ("progress.windowTitleChanged", progress.windowTitleChanged),
                      ("selection.setAvailableItems", selection.setAvailableItems),
                      ("ProgressDialog.tick", ProgressDialog.tick),
                      ("ProgressDialog.finished", ProgressDialog.finished)):
    show(f"{label}.__name__", lambda: member.__name__)
    show(f"{label}.__self__ is its object", lambda: member.__self__ is progress or member.__self__ is selection)
    show(f"{label}.__self__", lambda: member.__self__)
    show(f"'__name__' in dir({label})", lambda: "__name__" in dir(member))
    show(f"'__self__' in dir({label})", lambda: "__self__" in dir(member))
show("setting __name__", lambda: setattr(progress.tick, "__name__", "x"))
show("a bound slot's name after the dialog is deleted", lambda: (progress.delete(), ProgressDialog().tick.__name__)[1])
tick = selection.run
selection.delete()
show("a slot of a deleted dialog: __name__", lambda: tick.__name__)
show("a slot of a deleted dialog: __self__", lambda: bool(tick.__self__))
