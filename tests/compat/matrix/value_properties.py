# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, properties of Qt's value classes (QRect, QSize,
# QFont, ...): each read, then written with every catalogue value.
from matrix import property_matrix

PROPERTIES = ("geometry", "frameGeometry", "normalGeometry", "pos", "frameSize", "size", "rect",
              "childrenRect", "childrenRegion", "sizePolicy", "minimumSize", "maximumSize",
              "sizeIncrement", "baseSize", "palette", "font", "cursor", "sizeHint",
              "minimumSizeHint", "windowIcon", "locale")
property_matrix(PROPERTIES, through_set_property=False)
