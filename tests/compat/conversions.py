# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Python values into the dialogs' slots and properties, and back.
import json

from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show

progress = ProgressDialog()
for label, value in [("str", "text"), ("empty str", ""), ("int", 42), ("negative int", -7),
                     ("float", 2.5), ("bool", True), ("None", None), ("list", ["a", 1]),
                     ("tuple", ("a",)), ("dict", {"k": 1}), ("bytes", b"raw"),
                     ("non-ASCII", "\u00e9\u4e2d\U0001f600")]:
    show(f"setMessage({label})", lambda: progress.setMessage(value))
    show("  label text", lambda: progress.label.text)

selection = VeldmarkSelection()
for label, value in [("str names", {"G": ["a", "b"]}), ("int names", {"G": [1, 2]}),
                     ("float names", {"G": [0.5, 1e300]}), ("bool names", {"G": [True, False]}),
                     ("None names", {"G": [None]}), ("nested list names", {"G": [["a", ["b"]]]}),
                     ("dict names", {"G": [{"k": "v"}]}), ("bytes names", {"G": [b"by"]}),
                     ("str for a list", {"G": "abc"}), ("int for a list", {"G": 5}),
                     ("None for a list", {"G": None}), ("int keys", {7: ["x"]}),
                     ("tuple keys", {(1, 2): ["x"]}), ("big int name", {"G": [2 ** 40]})]:
    show(f"setAvailableItems({label})", lambda: selection.setAvailableItems(value))
tree = selection.treeWidget
show("groups", lambda: tree.topLevelItemCount)

display = VeldmarkDisplay()
for label, value in [("bytes", b'{"b": {}}'), ("str", '{"s": {}}'), ("empty bytes", b""),
                     ("None", None), ("int", 42), ("float", 1.5), ("bool", True), ("list", [1]),
                     ("dict", {"d": {}}), ("memoryview", memoryview(b'{"m": {}}'))]:
    show(f"setDisplayData({label})", lambda: display.setDisplayData(value))
    show("  document", lambda: json.loads(display.displayData().data()))

for label, value in [("str", "Title"), ("int", 5), ("None", None), ("bytes", b"raw")]:
    def write():
        progress.windowTitle = value
        return progress.windowTitle
    show(f"windowTitle = {label}", write)
for label, value in [("True", True), ("0", 0), ("1", 1), ("'yes'", "yes"), ("None", None), ("2.5", 2.5)]:
    def write():
        progress.modal = value
        return progress.modal
    show(f"modal = {label}", write)
results = []
progress.connect("finished(int)", results.append)
for label, value in [("int", 3), ("negative int", -2), ("float", 4.7), ("bool", True), ("str", "5"),
                     ("None", None), ("big int", 2 ** 40)]:
    show(f"done({label})", lambda: progress.done(value))
show("finished with", lambda: results)
for label, value in [("True", True), ("False", False), ("0", 0), ("'x'", "x"), ("None", None)]:
    show(f"setEnabled({label})", lambda: progress.setEnabled(value))
    show("  enabled", lambda: progress.enabled)
