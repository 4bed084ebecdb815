# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The operators of QPoint, QSize and QRect: what each takes, on either side,
# what it refuses and how, in place (the value itself changes), and the
# methods behind them. Division by zero and results beyond an int are in
# value_operators_unsafe.py.
from PythonQt.Kestrane import ProgressDialog
from PythonQt.QtCore import QPoint, QRect, QSize
from observe import show

d = ProgressDialog()
VALUES = {"QPoint": "QPoint(3, 4)", "QSize": "QSize(3, 4)", "QRect": "QRect(1, 2, 3, 4)"}
OTHERS = ["QPoint(1, 2)", "QSize(1, 2)", "QRect(2, 3, 4, 5)", "2", "2.5", "-1", "True", "None",
          "'x'", "(1, 2)", "d"]
LEFT = ["2", "2.5", "True", "None", "'x'", "(1, 2)", "[1]", "b'x'", "d"]

observations = []
for name, value in VALUES.items():
    for op in ["+", "-", "*", "/", "&", "|", "^", "//", "%", "**", "<<"]:
        observations += [f"str({value} {op} {other})" for other in OTHERS]
    for op in ["+", "-", "*", "/", "&", "|"]:
        observations += [f"str({left} {op} {value})" for left in LEFT]
    observations += [f"{unary}({value})" for unary in ["-", "+", "~", "abs"]]
    observations += [f"{value} {op} {value}" for op in ["<", "<=", ">", ">=", "==", "!="]]
    for method in ["__add__", "__sub__", "__mul__", "__div__", "__idiv__", "__truediv__",
                   "__and__", "__or__", "__iadd__", "__nonzero__", "__neg__", "__radd__",
                   "__rmul__"]:
        observations += [f"str({value}.{method}(2))", f"str({value}.{method}({value}))",
                         f"hasattr({name}, {method!r})"]
    observations.append(f"str(sum([{value}, {value}], {value}))")
observations += [
    "str(QPoint(3, 4) * 2.5)", "str(QPoint(-3, 4) * 0.5)", "str(QSize(3, 5) / 2)",
    "str(QSize(3, 4) * -1)", "str(QPoint(2147483646, 1) + QPoint(1, 1))",
    "str(QRect(1, 2, 3, 4) & QRect(10, 10, 1, 1))", "str(QRect() | QRect(1, 2, 3, 4))",
    "str(d.size * 2)", "str(d.geometry & d.rect)", "str(d.pos - d.pos)",
]

# In place: x changes, and so does every name for it.
for name, value in VALUES.items():
    for op in ["+=", "-=", "*=", "/=", "&=", "|=", "^="]:
        for other in [value, "QPoint(1, 2)", "2", "2.5", "None", "'x'"]:
            observations.append(f"x = {value}; y = x; x {op} {other}; r = (str(x), str(y), x is y)")
observations += [
    "x = d.size; x *= 2; r = (str(x), str(d.size))",
    "x = QSize(3, 4); x.__idiv__(2); r = str(x)",
    "x = QPoint(7, 8); r = (str(x.__idiv__(2)), str(x))",
]


class Point(QPoint):
    pass


observations += ["str(Point(1, 2) + QPoint(3, 4))", "type(Point(1, 2) + QPoint(3, 4)).__name__",
                 "str(Point(1, 2) * 3)", "str(Point(1, 2) + 2)"]


def run(statement):
    scope = {"QPoint": QPoint, "QSize": QSize, "QRect": QRect, "d": d}
    exec(statement, scope)
    return scope["r"]


for expression in observations:
    if expression.startswith("x = "):
        show(expression, lambda: run(expression))
    else:
        show(expression, lambda: eval(expression))
