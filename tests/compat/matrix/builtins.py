# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, built-ins: every method every wrapped object has,
# called with 0 to 3 catalogue values, on a fresh dialog each time.
from matrix import CLASSES, call_matrix

BUILTINS = ("connect", "disconnect", "setParent", "setProperty", "property", "findChild",
            "findChildren", "children", "parent", "className", "inherits", "help", "delete")
for name in BUILTINS:
    for seed, cls in enumerate(CLASSES):
        call_matrix(cls.__name__ + "()", cls, name, seed)
