# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# QFont's getters and setters beyond those in value_classes.py, on a copy
# of a dialog's font, and the copy written back.
from PythonQt.Kestrane import ProgressDialog
from observe import show

d = ProgressDialog()
f = d.font
GETTERS = ["fixedPitch", "kerning", "letterSpacing", "overline", "pointSizeF", "stretch",
           "strikeOut", "styleName", "underline", "weight", "wordSpacing", "key", "families",
           "exactMatch", "defaultFamily", "rawMode"]
observations = []
for name in GETTERS:
    observations += [f"f.{name}()", f"f.{name}(1)"]
SETTERS = [
    "setBold(True)", "setBold(0)", "setBold('x')", "setBold(None)", "setBold()",
    "setItalic(True)", "setUnderline(1)", "setOverline(True)", "setStrikeOut(True)",
    "setKerning(False)", "setFixedPitch(True)", "setRawMode(False)",
    "setFamily('Serif')", "setFamily(5)", "setFamily(None)", "setStyleName('Bold')",
    "setFamilies(['Serif', 'Sans'])", "setFamilies(5)",
    "setPointSize(20)", "setPointSize(0)", "setPointSize(-3)", "setPointSize(2.5)",
    "setPointSize('x')", "setPointSize(2 ** 40)", "setPixelSize(15)", "setPixelSize(0)",
    "setPointSizeF(10.5)", "setPointSizeF(0.0)", "setPointSizeF(-1)", "setPointSizeF('x')",
    "setWeight(75)", "setWeight(-5)", "setWeight(200)", "setStretch(150)", "setStretch(5000)",
    "setStretch(-1)", "setWordSpacing(2.5)", "setWordSpacing('x')",
    "fromString('Serif,20,-1,5,50,0,0,0,0,0')", "fromString('')", "fromString('x,y')",
    "fromString(5)", "fromString()",
]
for call in SETTERS:
    observations += [f"f.{call}", "f.toString()"]
observations += [
    "f.pointSize()", "f.pixelSize()", "f.bold()", "f.italic()", "f.family()", "f.families()",
    "d.font == f", "setattr(d, 'font', f)", "d.font == f", "d.font.toString()",
    "d.font.pointSizeF()",
]
for expression in observations:
    show(expression, lambda: eval(expression))
