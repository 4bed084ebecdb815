# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Constructing each dialog with and without a parent.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show

for cls in (ProgressDialog, VeldmarkSelection, VeldmarkDisplay):
    name = cls.__name__
    bare = cls()
    with_none = cls(None)
    owner = ProgressDialog()
    child = cls(owner)
    show(f"{name}() parent", lambda: bare.parent())
    show(f"{name}(None) parent", lambda: with_none.parent())
    show(f"{name}(owner) parent is owner", lambda: child.parent() is owner)
    show(f"{name}(owner) in owner.children()", lambda: child in owner.children())
    show(f"{name}() className", lambda: bare.className())
    show(f"{name}() distinct objects", lambda: bare is not with_none)
    show(f"{name}(parent=None)", lambda: cls(parent=None))
    show(f"{name}(42)", lambda: cls(42))
    show(f"{name}('text')", lambda: cls("text"))
    show(f"{name}(owner, owner)", lambda: cls(owner, owner))
    show(f"{name}() objectName", lambda: bare.objectName)
    show(f"{name}() windowTitle", lambda: bare.windowTitle)
    show(f"{name}() isinstance", lambda: isinstance(bare, cls))
    owner.delete()
    show(f"{name}(owner) alive after owner.delete()", lambda: bool(child))
