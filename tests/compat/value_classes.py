# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The value classes that dialog properties return: what the properties give,
# their text, truth and equality, their constructors and methods, written
# back as properties, and what each refuses.
from PythonQt.Kestrane import ProgressDialog
from PythonQt.QtCore import QPoint, QRect, QSize
from observe import show

d = ProgressDialog()
s = QSize(400, 65)


class Size(QSize):
    pass


observations = [
    # what the properties give
    "repr(d.size)", "str(d.size)", "repr(d.geometry)", "str(d.geometry)", "repr(d.pos)",
    "repr(d.minimumSize)", "repr(d.maximumSize)", "repr(d.frameGeometry)", "repr(d.rect)",
    "repr(d.font)", "str(d.font)", "repr(d.palette)", "str(d.palette)", "repr(d.sizePolicy)",
    "repr(d.cursor)", "repr(d.windowIcon)", "repr(d.locale)", "repr(d.childrenRegion)",
    "type(d.size).__module__", "type(d.font).__module__", "type(d.locale).__module__",
    "type(d.size).__name__", "type(d.size) is QSize", "d.size is d.size",
    # truth, equality, hashing
    "bool(QSize())", "bool(QSize(0, 0))", "bool(QSize(0, 5))", "bool(QSize(-1, 5))",
    "bool(QSize(1, 1))", "bool(QPoint())", "bool(QPoint(0, 1))", "bool(QRect())",
    "bool(QRect(0, 0, 0, 5))", "bool(QRect(5, 5, -3, -3))", "bool(QRect(0, 0, 1, 1))",
    "bool(d.font)", "bool(d.palette)", "bool(d.windowIcon)", "bool(d.childrenRegion)",
    "d.size == QSize(400, 65)", "d.size != QSize(400, 65)", "d.size == QSize(1, 1)",
    "d.size == (400, 65)", "d.size == None", "QSize(1, 2) == QPoint(1, 2)",
    "QPoint(1, 2) == QPoint(1, 2)", "QRect(1, 2, 3, 4) == QRect(1, 2, 3, 4)",
    "d.font == d.font", "d.palette == d.palette", "d.sizePolicy == d.sizePolicy",
    "d.cursor == d.cursor", "d.windowIcon == d.windowIcon", "d.locale == d.locale",
    "hash(s) == hash(QSize(400, 65))", "hash(s) == hash(s)",
    "QSize(1, 1) < QSize(2, 2)", "len(s)", "list(s)", "s[0]",
    # constructors
    "repr(QSize())", "repr(QSize(3, 4))", "repr(QSize(s))", "repr(QSize(3.7, 4))",
    "repr(QSize(True, False))", "QSize(3)", "QSize('3', 4)", "QSize(None)", "QSize(3, 4, 5)",
    "QSize(2 ** 31, 1)", "QSize(width=3, height=4)", "QSize(QPoint(1, 2))",
    "repr(QPoint())", "repr(QPoint(1, 2))", "repr(QPoint(QPoint(1, 2)))", "repr(QPoint(1.5, 2))",
    "repr(QRect())", "repr(QRect(1, 2, 3, 4))", "repr(QRect(QPoint(1, 2), QSize(3, 4)))",
    "repr(QRect(QPoint(1, 2), QPoint(3, 4)))", "repr(QRect(d.geometry))", "QRect(1, 2, 3)",
    "QRect(QPoint(1, 2), 3)",
    # QSize
    "s.width()", "s.height()", "s.isEmpty()", "s.isNull()", "s.isValid()",
    "repr(s.transposed())", "repr(s.boundedTo(QSize(5, 500)))",
    "repr(s.expandedTo(QSize(5, 500)))", "s.width(1)", "s.setWidth('x')",
    "s.setWidth(2 ** 40)", "s.width(x=1)", "s.setWidth(10)", "repr(s)", "s.setHeight(1.5)",
    "repr(s)", "s.boundedTo(QPoint(1, 1))", "s.boundedTo(None)",
    "type(s.width).__name__", "repr(QSize.width)", "QSize.width(s)", "QSize.width()",
    "QSize.width(QPoint(1, 1))",
    # QPoint
    "QPoint(3, 4).x()", "QPoint(3, 4).y()", "QPoint(3, 4).manhattanLength()",
    "QPoint(0, 0).isNull()", "repr(QPoint(3, 4).transposed())", "QPoint(3, 4).setX(7)",
    "QPoint(3, 4).setY('7')", "str(QPoint(-1, 2))",
    # QRect
    "QRect(1, 2, 3, 4).x()", "QRect(1, 2, 3, 4).y()", "QRect(1, 2, 3, 4).width()",
    "QRect(1, 2, 3, 4).height()", "QRect(1, 2, 3, 4).left()", "QRect(1, 2, 3, 4).right()",
    "QRect(1, 2, 3, 4).top()", "QRect(1, 2, 3, 4).bottom()", "repr(QRect(1, 2, 3, 4).size())",
    "repr(QRect(1, 2, 3, 4).topLeft())", "repr(QRect(1, 2, 3, 4).topRight())",
    "repr(QRect(1, 2, 3, 4).bottomLeft())", "repr(QRect(1, 2, 3, 4).bottomRight())",
    "repr(QRect(1, 2, 3, 4).center())", "QRect(1, 2, 3, 4).isEmpty()",
    "QRect(1, 2, 3, 4).isNull()", "QRect(1, 2, 3, 4).isValid()",
    "repr(QRect(1, 2, -3, -4).normalized())",
    "QRect(1, 2, 3, 4).contains(QPoint(2, 3))", "QRect(1, 2, 3, 4).contains(QPoint(1, 2), True)",
    "QRect(1, 2, 3, 4).contains(QPoint(9, 9), True)", "QRect(1, 2, 3, 4).contains(2, 3)",
    "QRect(1, 2, 3, 4).contains(2.5, 3)", "QRect(1, 2, 3, 4).contains(1, 2, True)",
    "QRect(1, 2, 3, 4).contains(QRect(1, 2, 1, 1))", "QRect(1, 2, 3, 4).contains(QPoint(2, 3), 1)",
    "QRect(1, 2, 3, 4).contains()", "QRect(1, 2, 3, 4).contains(None)",
    "QRect(1, 2, 3, 4).intersects(QRect(2, 3, 5, 5))",
    "repr(QRect(1, 2, 3, 4).intersected(QRect(2, 3, 5, 5)))",
    "repr(QRect(1, 2, 3, 4).united(QRect(2, 3, 5, 5)))",
    "repr(QRect(1, 2, 3, 4).adjusted(1, 1, -1, -1))", "str(QRect(1, 2, 3, 4))",
    # QFont
    "d.font.family()", "d.font.pointSize()", "d.font.pixelSize()", "d.font.bold()",
    "d.font.italic()", "d.font.toString()", "d.font.bold(1)",
    # written back as properties
    "setattr(d, 'minimumSize', QSize(50, 20))", "repr(d.minimumSize)",
    "setattr(d, 'minimumSize', (60, 20))", "setattr(d, 'minimumSize', None)",
    "setattr(d, 'minimumSize', QPoint(1, 1))", "setattr(d, 'minimumSize', 5)",
    "setattr(d, 'minimumSize', '60, 20')", "repr(d.minimumSize)",
    "setattr(d, 'pos', QPoint(5, 6))", "repr(d.pos)",
    "setattr(d, 'geometry', QRect(1, 2, 300, 90))", "repr(d.geometry)",
    "setattr(d, 'size', QSize(310, 95))", "repr(d.size)",
    "setattr(d, 'font', d.font)", "setattr(d, 'font', 'Serif,20')", "setattr(d, 'font', 12)",
    "setattr(d, 'palette', d.palette)", "setattr(d, 'sizePolicy', d.sizePolicy)",
    "setattr(d, 'sizePolicy', 5)",
    # where text or a bool goes
    "d.setMessage(QSize(1, 2))", "setattr(d, 'windowTitle', QSize(1, 2))", "d.windowTitle",
    "setattr(d, 'modal', QSize(1, 2))", "d.modal",
    # dynamic properties, a script's subclass, attributes of a script's own
    "d.setProperty('extra', QSize(1, 2))", "repr(d.property('extra'))", "repr(d.extra)",
    "setattr(d, 'extra', QPoint(1, 2))", "repr(d.extra)", "d.setProperty('extraFont', d.font)",
    "repr(d.extraFont)", "repr(Size(1, 2))", "Size(1, 2).width()", "type(Size(1, 2)).__name__",
    "setattr(d, 'minimumSize', Size(5, 6))", "repr(d.minimumSize)", "setattr(s, 'x', 5)",
    "QSize.width.__name__", "repr(QSize(1, 2).width.__self__)", "QSize.__doc__",
    # a value where a number or text goes
    "d.done(QSize(1, 2))", "d.setMessage(d.font)", "setattr(d, 'windowTitle', d.font)",
    "d.windowTitle", "setattr(d, 'windowTitle', d.palette)", "d.windowTitle",
    # resize() or move() are not slots
    "d.resize(QSize(300, 80))", "d.move(QPoint(1, 2))",
]
for expression in observations:
    show(expression, lambda: eval(expression))
