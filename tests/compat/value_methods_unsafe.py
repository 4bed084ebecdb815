# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# QRect and QPoint methods whose result lies beyond an int, which Qt
# computes without a check; the rectangle after a refused change.
from PythonQt.QtCore import QPoint, QRect, QSize
from observe import show

BIG = 2 ** 31 - 1
CHANGES = [
    "translate(BIG, 0)", "translate(QPoint(0, -BIG))", "moveLeft(BIG)", "moveRight(-BIG)",
    "moveTop(BIG)", "moveBottom(-BIG)", "moveTo(BIG, BIG)", "moveCenter(QPoint(BIG, 0))",
    "moveBottomRight(QPoint(-BIG, -BIG))", "setWidth(BIG)", "setHeight(-BIG)",
    "setSize(QSize(BIG, BIG))", "setRect(BIG, 0, 5, 5)", "adjust(0, 0, BIG, 0)",
]
for change in CHANGES:
    show(f"r = QRect(10, 20, 30, 40); r.{change}",
         lambda: exec(f"r = QRect(10, 20, 30, 40)\ntry:\n    r.{change}\nfinally:\n    print('  then', str(r))",
                      globals()))
for call in ["translated(BIG, 0)", "translated(QPoint(-BIG, 0))"]:
    show(f"str(QRect(10, 20, 30, 40).{call})", lambda: str(eval(f"QRect(10, 20, 30, 40).{call}")))
show("str(QRect(QPoint(-BIG, 0), QPoint(BIG, 5)).transposed())",
     lambda: str(QRect(QPoint(-BIG, 0), QPoint(BIG, 5)).transposed()))
show("QPoint.dotProduct(QPoint(BIG, BIG), QPoint(BIG, BIG))",
     lambda: QPoint.dotProduct(QPoint(BIG, BIG), QPoint(BIG, BIG)))
show("QPoint.dotProduct(QPoint(65536, 0), QPoint(32768, 0))",
     lambda: QPoint.dotProduct(QPoint(65536, 0), QPoint(32768, 0)))
