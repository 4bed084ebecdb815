# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# QPoint and QSize arithmetic that Qt does without a check: division by
# zero, a factor of inf or nan, a result beyond an int, in place too.
from PythonQt.QtCore import QPoint, QSize
from observe import show

observations = []
for value in ["QPoint(3, 4)", "QSize(3, 4)", "QPoint(0, 0)"]:
    for op in ["/", "*"]:
        for other in ["0", "0.0", "-0.0", "1e-300", "1e300", "-1e300", "float('inf')",
                      "float('nan')", "2 ** 31", "2 ** 40", "10 ** 9"]:
            observations.append(f"str({value} {op} {other})")
    observations.append(f"str({value}.__div__(0))")
observations += [
    "str(QPoint(2147483647, 1) + QPoint(1, 1))", "str(QPoint(-2147483647, 1) - QPoint(2, 1))",
    "str(QSize(2147483647, 1) + QSize(1, 1))", "str(QSize(-2147483647, 1) - QSize(2, 1))",
    "str(QPoint(1, 2).__idiv__(0))",
]


def in_place(statement):
    scope = {"QPoint": QPoint, "QSize": QSize}
    exec(statement, scope)
    return str(scope["x"])


for expression in observations:
    show(expression, lambda: eval(expression))
for statement in ["x = QPoint(3, 4); x /= 0", "x = QSize(3, 4); x /= 0", "x = QSize(3, 4); x *= 1e300",
                  "x = QPoint(3, 4); x += QPoint(2147483647, 0)"]:
    show(statement, lambda: in_place(statement))
    # What x holds after the refused operation.
    show(statement + "; then x", lambda: in_place(f"{statement.split(';')[0]}\ntry:\n    {statement.split('; ')[1]}\nexcept Exception:\n    pass"))
