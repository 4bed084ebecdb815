# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The methods of QRect, QSize and QPoint beyond their getters (those are in
# value_classes.py): what each changes or returns, the forms it takes and
# what it refuses. Results beyond an int are in value_methods_unsafe.py.
from PythonQt.Kestrane import ProgressDialog
from PythonQt.QtCore import QPoint, QRect, QSize, Qt
from observe import show

d = ProgressDialog()
CHANGES = [
    "moveLeft(5)", "moveTop(5)", "moveRight(5)", "moveBottom(5)", "moveTopLeft(QPoint(7, 8))",
    "moveTopRight(QPoint(7, 8))", "moveBottomLeft(QPoint(7, 8))", "moveBottomRight(QPoint(7, 8))",
    "moveCenter(QPoint(7, 8))", "moveTo(QPoint(7, 8))", "moveTo(7, 8)", "setLeft(5)", "setTop(5)",
    "setRight(5)", "setBottom(5)", "setX(5)", "setY(5)", "setTopLeft(QPoint(7, 8))",
    "setTopRight(QPoint(7, 8))", "setBottomLeft(QPoint(7, 8))", "setBottomRight(QPoint(7, 8))",
    "setWidth(10)", "setHeight(10)", "setSize(QSize(10, 20))", "setRect(1, 1, 10, 20)",
    "setCoords(1, 1, 10, 20)", "adjust(1, 2, -3, -4)", "translate(QPoint(7, 8))",
    "translate(-7, 8)",
    # refused
    "moveLeft('5')", "moveLeft(5.5)", "moveLeft()", "moveTo(QSize(1, 2))", "moveTo(1)",
    "moveCenter(None)", "setSize(QPoint(1, 2))", "setRect(1, 2, 3)", "adjust(1, 2, 3, 'x')",
    "translate(1.5, 2)", "translate()", "setWidth(2 ** 31)", "setCoords(x1=1, y1=1, x2=2, y2=2)",
]
RESULTS = [
    "translated(QPoint(7, 8))", "translated(7, 8)", "translated(1)", "translated(None)",
    "transposed()", "transposed(1)", "marginsAdded(None)", "marginsAdded(QRect())",
    "marginsRemoved(5)", "marginsAdded()",
]
SIZE_CALLS = [
    "scaled(QSize(10, 10), Qt.KeepAspectRatio)", "scaled(QSize(10, 10), Qt.IgnoreAspectRatio)",
    "scaled(QSize(10, 10), Qt.KeepAspectRatioByExpanding)", "scaled(10, 10, Qt.KeepAspectRatio)",
    "scaled(10, 10, 1)", "scaled(10, 10, True)", "scaled(QSize(10, 10))", "scaled(10, 10)",
    "scaled(QSize(0, 10), Qt.KeepAspectRatio)", "scaled(QSize(-5, 10), Qt.KeepAspectRatio)",
    "scaled(QSize(10, 10), 'x')", "grownBy(None)", "grownBy(QSize())", "shrunkBy(3)",
    "transpose(1)",
]
SIZE_CHANGES = [
    "scale(QSize(10, 10), Qt.KeepAspectRatio)", "scale(10, 10, Qt.KeepAspectRatioByExpanding)",
    "scale(10, 10, Qt.IgnoreAspectRatio)", "scale(QSize(10, 10))", "transpose()",
]

observations = []
for change in CHANGES:
    observations += [f"r = QRect(1, 2, 3, 4); r.{change}", "str(r)"]
for call in RESULTS:
    observations += [f"str(QRect(1, 2, 3, 4).{call})"]
for call in SIZE_CALLS:
    observations += [f"str(QSize(3, 4).{call})", f"str(QSize(0, 4).{call})"]
for change in SIZE_CHANGES:
    observations += [f"s = QSize(3, 4); s.{change}", "str(s)"]
observations += [
    "QPoint.dotProduct(QPoint(1, 2), QPoint(3, 4))", "QPoint().dotProduct(QPoint(1, 2), QPoint(3, 4))",
    "QPoint.dotProduct(QPoint(1, 2))", "QPoint.dotProduct(QPoint(1, 2), QSize(3, 4))",
    "QPoint.dotProduct()", "QPoint.dotProduct(QPoint(-5, 2), QPoint(3, -4))",
    "repr(QPoint.dotProduct)", "repr(QPoint().dotProduct).split(' at ')[0]", "QPoint.dotProduct.__name__", "QPoint.dotProduct(1, 2)",
    "QRect.moveTo(QRect(1, 2, 3, 4), 5, 6)", "QRect.moveTo(5, 6)", "QRect.translated()",
    "repr(QRect.setRect)", "QSize.scaled(QSize(3, 4), QSize(10, 10), 1).width()",
    # a property's value is a copy: changing it changes no dialog
    "g = d.geometry; g.moveTo(5, 6)", "d.geometry == g", "str(d.geometry.translated(1, 1) & g)",
]


for expression in observations:
    if "; " in expression or expression.startswith("g = "):
        show(expression, lambda: exec(expression, globals()))
    else:
        show(expression, lambda: eval(expression, globals()))
