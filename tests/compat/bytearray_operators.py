# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# What a byte array does with Python's operators: truth, comparisons with
# bytes, text and anything else, +, +=, str() and repr().
from PythonQt.Kestrane import VeldmarkDisplay
from PythonQt.QtCore import QByteArray
from observe import show

abc = QByteArray(b"abc")
dialog = VeldmarkDisplay()


class Text:
    def __str__(self):
        print("  __str__ called")
        return "abc"


class Refusing:
    def __str__(self):
        raise RuntimeError("no str")


class Equal:
    def __eq__(self, other):
        print("  __eq__ called")
        return "Equal.__eq__"

    __hash__ = None


class Adding:
    def __radd__(self, other):
        return "radd"


show("bool(QByteArray())", lambda: bool(QByteArray()))
show("bool(QByteArray(b''))", lambda: bool(QByteArray(b"")))
show("bool(QByteArray(b'\\x00'))", lambda: bool(QByteArray(b"\x00")))
show("bool(displayData())", lambda: bool(dialog.displayData()))
show("if QByteArray()", lambda: "yes" if QByteArray() else "no")

for other in ["b'abc'", "b'abd'", "'abc'", "'ab\\x00c'", "bytearray(b'abc')",
              "memoryview(b'abc')", "QByteArray(b'abc')", "1", "None", "[97]",
              "Text()", "Refusing()", "dialog"]:
    for op in ["==", "!="]:
        show(f"abc {op} {other}", lambda: eval(f"abc {op} {other}"))
for left, right in [("b'1'", "1"), ("b'None'", "None"), ("b'1.5'", "1.5"), ("b'True'", "True"),
                    ("b\"bytearray(b'x')\"", "bytearray(b'x')"), ("'\u00e9'.encode()", "'\u00e9'"),
                    ("b'\\xe9'", "'\u00e9'"), ("b'a\\x00'", "'a'"), ("b'a\\x00'", "b'a'"),
                    ("b'a'", "'a\\x00b'"), ("", "b''"), ("", "QByteArray(b'')")]:
    show(f"QByteArray({left}) == {right}", lambda: eval(f"QByteArray({left}) == {right}"))
show("b'abc' == abc", lambda: b"abc" == abc)
show("'abc' == abc", lambda: "abc" == abc)
show("Equal() == abc", lambda: Equal() == abc)
show("abc == Equal()", lambda: abc == Equal())

for other in ["QByteArray(b'abd')", "QByteArray(b'ab')", "b'abd'", "'abd'", "'ABC'",
              "bytearray(b'abd')", "1", "None", "Text()", "Refusing()", "dialog"]:
    for op in ["<", "<=", ">", ">="]:
        show(f"abc {op} {other}", lambda: eval(f"abc {op} {other}"))
show("1 < abc", lambda: 1 < abc)
show("b'abd' > abc", lambda: b"abd" > abc)
show("dialog < abc", lambda: dialog < abc)
show("QByteArray(b'\\xff') < QByteArray(b'a')", lambda: QByteArray(b"\xff") < QByteArray(b"a"))
show("QByteArray(b'\\xff') < 'a'", lambda: QByteArray(b"\xff") < "a")
show("QByteArray(b'B') < 'a'", lambda: QByteArray(b"B") < "a")

for other in ["b'x'", "b''", "QByteArray(b'x')", "'x'", "'\u00e9'", "'x\\x00y'", "65", "-1",
              "127", "128", "-128", "-129", "2**32 + 65", "2**31", "1.5", "True", "None",
              "[1]", "(1,)", "bytearray(b'x')", "Text()", "Adding()", "Refusing()", "dialog"]:
    show(f"abc + {other}", lambda: eval(f"abc + {other}"))
show("abc unchanged", lambda: abc)
for left in ["b'x'", "'x'", "1", "None", "[1]"]:
    show(f"{left} + abc", lambda: eval(f"{left} + abc"))
show("+abc", lambda: +abc)
for op in ["-abc", "abc - 1", "abc * 2", "abs(abc)"]:
    show(op, lambda: eval(op))


def add_in_place(other):
    value = QByteArray(b"ab")
    before = value
    value += other
    return value, value is before, before


for other in ["b'c'", "'c'", "'\u00e9'", "'c\\x00d'", "b'c\\x00d'", "QByteArray(b'c')",
              "65", "300", "None", "bytearray(b'z')", "1.5", "dialog"]:
    show(f"+= {other}", lambda: add_in_place(eval(other)))

for data in [b"abc", b"", b"a\x00b", b"\x00b", b"\xffz", "\u00e9".encode(), b"a\nb", b" "]:
    show(f"str(QByteArray({data!r}))", lambda: str(QByteArray(data)))
    show(f"repr(QByteArray({data!r}))", lambda: repr(QByteArray(data)))
show("repr(QByteArray())", lambda: repr(QByteArray()))
show("f-string", lambda: f"{abc}")
show("repr of 1000 bytes, length", lambda: len(repr(QByteArray(b"x" * 1000))))
show("bytes()", lambda: bytes(abc))
show("len()", lambda: len(abc))
show("abc[0]", lambda: abc[0])
show("list()", lambda: list(abc))
show("b'a' in abc", lambda: b"a" in abc)
show("int()", lambda: int(QByteArray(b"1")))
show("float()", lambda: float(QByteArray(b"1")))

# Python code that runs inside an operation (str() of the other operand)
# and changes the byte array.
changing = QByteArray(b"abc")


class Emptying:
    def __str__(self):
        changing.clear()
        return ""


class Growing:
    def __str__(self):
        changing.append(b"x" * 1000)
        return "b"


show("+ that empties it", lambda: (changing + Emptying(), changing.data()))
changing = QByteArray(b"abc")
show("== that empties it", lambda: (changing == Emptying(), changing.data()))
changing = QByteArray(b"abc")
show("< that empties it", lambda: (changing < Emptying(), changing.data()))
changing = QByteArray(b"abc")
show("replace() that grows it", lambda: (changing.replace(Growing(), b"Q").size(),
                                         changing.left(5).data()))
