# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, properties of Qt's value classes (QRect, QSize,
# QFont, ...): each read, then written with every catalogue value.
from matrix import CATALOGUE, show
from PythonQt.Kestrane import ProgressDialog

PROPERTIES = ("geometry", "frameGeometry", "normalGeometry", "pos", "frameSize", "size", "rect",
              "childrenRect", "childrenRegion", "sizePolicy", "minimumSize", "maximumSize",
              "sizeIncrement", "baseSize", "palette", "font", "cursor", "sizeHint",
              "minimumSizeHint", "windowIcon", "locale")
for name in PROPERTIES:
    show(f"ProgressDialog().{name}", lambda: getattr(ProgressDialog(), name))
    for label, make in CATALOGUE:
        def write():
            target = ProgressDialog()
            setattr(target, name, make())
            return getattr(target, name)

        show(f"ProgressDialog().{name} = {label}", write)
