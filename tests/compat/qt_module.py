# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# PythonQt.Qt holds the classes of PythonQt.QtCore and PythonQt.QtGui, and
# PythonQt.BoolResult is the object a bool* parameter takes.
import PythonQt
import PythonQt.QtCore
import PythonQt.QtGui
from observe import show
from PythonQt.Qt import QByteArray, QFont, QPoint, QRect, QSize

show("QSize is PythonQt.QtCore.QSize", lambda: QSize is PythonQt.QtCore.QSize)
show("QFont is PythonQt.QtGui.QFont", lambda: QFont is PythonQt.QtGui.QFont)
show("QRect(QPoint(1, 2), QSize(3, 4)).bottomRight()", lambda: str(QRect(QPoint(1, 2), QSize(3, 4)).bottomRight()))
show("QByteArray(b'ab').data()", lambda: QByteArray(b"ab").data())


def mirrored(module):
    """Whether every Qt class of the module is the same in PythonQt.Qt."""
    return all(getattr(PythonQt.Qt, name) is getattr(module, name)
               for name in dir(module) if name.startswith("Q") and isinstance(getattr(module, name), type))


show("every QtCore class in Qt", lambda: mirrored(PythonQt.QtCore))
show("every QtGui class in Qt", lambda: mirrored(PythonQt.QtGui))
show("Qt.Qt is QtCore.Qt", lambda: PythonQt.Qt.Qt is PythonQt.QtCore.Qt)

BoolResult = PythonQt.BoolResult
show("BoolResult names", lambda: (BoolResult.__name__, BoolResult.__qualname__, BoolResult.__doc__))
show("BoolResult()", lambda: repr(BoolResult()))
show("str(BoolResult())", lambda: str(BoolResult()))
show("bool(BoolResult())", lambda: bool(BoolResult()))
for args in ((True,), (1,), (None,), (True, 2)):
    show(f"BoolResult{args!r}", lambda: BoolResult(*args))
show("BoolResult(value=True)", lambda: repr(BoolResult(value=True)))
show("BoolResult() == BoolResult()", lambda: BoolResult() == BoolResult())
show("BoolResult() == False", lambda: BoolResult() == False)
show("BoolResult().value", lambda: BoolResult().value)
show("BoolResult().x = 1", lambda: setattr(BoolResult(), "x", 1))
show("class Sub(BoolResult)", lambda: type("Sub", (BoolResult,), {}))
show("type(BoolResult)", lambda: type(BoolResult))
