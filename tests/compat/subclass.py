# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A dialog subclassed in Python, the way a script adds its own state.
from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show


class CountingProgress(ProgressDialog):
    def __init__(self, parent=None):
        super().__init__(parent)
        self.steps = 0

    def step(self, message):
        self.steps += 1
        self.setMessage(f"{message} ({self.steps})")


counting = CountingProgress()
show("isinstance ProgressDialog", lambda: isinstance(counting, ProgressDialog))
show("type name", lambda: type(counting).__name__)
show("className()", lambda: counting.className())
show("step('Fetching')", lambda: counting.step("Fetching"))
show("step('Fetching')", lambda: counting.step("Fetching"))
show("steps", lambda: counting.steps)
show("label text", lambda: counting.label.text)
show("cancelled()", lambda: counting.cancelled())
owner = VeldmarkSelection()
child = CountingProgress(owner)
show("with parent: parent is owner", lambda: child.parent() is owner)
show("with parent: steps", lambda: child.steps)


class Plain(ProgressDialog):
    pass


show("subclass without __init__", lambda: Plain().cancelled())
