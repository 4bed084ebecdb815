# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, properties of plain types (text, bool, numbers,
# enums): each read, then written with every catalogue value and read back,
# as an attribute and through setProperty(), on a fresh dialog for each.
from matrix import property_matrix

PROPERTIES = ("objectName", "modal", "windowModality", "enabled", "x", "y", "width", "height",
              "minimumWidth", "minimumHeight", "maximumWidth", "maximumHeight", "mouseTracking",
              "tabletTracking", "isActiveWindow", "focusPolicy", "focus", "contextMenuPolicy",
              "updatesEnabled", "visible", "minimized", "maximized", "fullScreen", "acceptDrops",
              "windowTitle", "windowIconText", "windowOpacity", "windowModified", "toolTip",
              "toolTipDuration", "statusTip", "whatsThis", "accessibleName",
              "accessibleDescription", "layoutDirection", "autoFillBackground", "styleSheet",
              "windowFilePath", "inputMethodHints", "sizeGripEnabled")
property_matrix(PROPERTIES, through_set_property=True)
