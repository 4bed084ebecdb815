# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The values of the available-items map: lists and tuples become libraries;
# what else a script may hand in (sets, views, generators, ranges, zip).
from PythonQt.Kestrane import VeldmarkSelection
from observe import show

# compat: simulated user

values = {
    "list": ["a", "b"],
    "tuple": ("a", "b"),
    "set": {"a"},
    "frozenset": frozenset({"a"}),
    "dict keys": {"a": 1}.keys(),
    "dict values": {1: "a"}.values(),
    "dict items": {"a": "b"}.items(),
    "generator": (n for n in "ab"),
    "range": range(2),
    "zip": zip("ab", "cd"),
    "str": "ab",
    "bytes": b"ab",
    "dict": {"a": "b"},
    "int": 3,
}
for label, value in values.items():
    selection = VeldmarkSelection()
    show(f"setAvailableItems({{'A': {label}, 'B': ['b']}})",
         lambda: selection.setAvailableItems({"A": value, "B": ["b"]}))
    show("  groups", lambda: selection.treeWidget.topLevelItemCount)
    # The host's user ticks the first group that has libraries: A's if it has any.
    show("  run()", lambda: selection.run())
    show("  selectedItems()", lambda: selection.selectedItems())
    selection.delete()
