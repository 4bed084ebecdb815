# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, properties of plain types (text, bool, numbers,
# enums): each read, then written with every catalogue value and read back,
# as an attribute and through setProperty(), on a fresh dialog for each.
from matrix import CATALOGUE, show
from PythonQt.Kestrane import ProgressDialog

PROPERTIES = ("objectName", "modal", "windowModality", "enabled", "x", "y", "width", "height",
              "minimumWidth", "minimumHeight", "maximumWidth", "maximumHeight", "mouseTracking",
              "tabletTracking", "isActiveWindow", "focusPolicy", "focus", "contextMenuPolicy",
              "updatesEnabled", "visible", "minimized", "maximized", "fullScreen", "acceptDrops",
              "windowTitle", "windowIconText", "windowOpacity", "windowModified", "toolTip",
              "toolTipDuration", "statusTip", "whatsThis", "accessibleName",
              "accessibleDescription", "layoutDirection", "autoFillBackground", "styleSheet",
              "windowFilePath", "inputMethodHints", "sizeGripEnabled")
for name in PROPERTIES:
    show(f"ProgressDialog().{name}", lambda: getattr(ProgressDialog(), name))
    for label, make in CATALOGUE:
        def write():
            target = ProgressDialog()
            setattr(target, name, make())
            return getattr(target, name)

        def set_property():
            target = ProgressDialog()
            return target.setProperty(name, make()), getattr(target, name)

        show(f"ProgressDialog().{name} = {label}", write)
        show(f"ProgressDialog().setProperty({name!r}, {label})", set_property)
