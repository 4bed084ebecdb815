# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# vars(d) and d.__dict__: a dict of the dialog's properties by name, read
# when asked, as a script dumps a dialog's state for a log.
from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show

progress = ProgressDialog()
progress.windowTitle = "Fetching"
state = vars(progress)
show("type(vars(progress))", lambda: type(state).__name__)
print("keys in order:", " ".join(state))
plain = (str, int, float, bool)
# font is a QFont, a value class of its own.
print("plain values:", ", ".join(f"{k}={v!r}" for k, v in state.items() if type(v) in plain and k != "font"))
show("vars(progress) == progress.__dict__ in keys", lambda: list(vars(progress)) == list(progress.__dict__))
show("'windowTitle' in vars", lambda: state["windowTitle"])
show("a fresh dict each time", lambda: vars(progress) is not vars(progress))
state["windowTitle"] = "changed"
show("changing the dict leaves the dialog", lambda: progress.windowTitle)
progress.setProperty("batch", 7)
show("a dynamic property in vars", lambda: "batch" in vars(progress))
show("setting __dict__", lambda: setattr(progress, "__dict__", {}))
show("'__dict__' in dir(progress)", lambda: "__dict__" in dir(progress))
show("vars(VeldmarkSelection()) keys", lambda: len(vars(VeldmarkSelection())))
progress.delete()
show("vars of a deleted dialog", lambda: vars(progress))
