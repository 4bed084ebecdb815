# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The byte array's methods that scripts use, with the arguments they take and
# refuse, at the edges (negative and far positions, text for bytes, numbers
# for characters).
from PythonQt.Kestrane import VeldmarkDisplay
from PythonQt.QtCore import QByteArray
from observe import show

text = QByteArray(b"  Hello,  World\t ")
dialog = VeldmarkDisplay()


def calls(name, *argument_lists, on=b"abc"):
    for args in argument_lists:
        shown = ", ".join(repr(a) if not isinstance(a, QByteArray) else "QByteArray(...)"
                          for a in args)
        show(f"{on!r}.{name}({shown})", lambda: getattr(QByteArray(on), name)(*args))


def changes(name, *argument_lists, on=b"abc"):
    """The result, whether it is the same object, and the changed value."""
    for args in argument_lists:
        def call():
            value = QByteArray(on)
            result = getattr(value, name)(*args)
            return result, result is value, value
        show(f"{on!r}.{name}{args!r} changes", call)


# Size and content.
for name in ["size", "length", "isEmpty", "isNull", "isLower", "isUpper", "data",
             "trimmed", "simplified", "toUpper", "toLower", "toHex", "toBase64", "toInt",
             "toDouble", "toFloat"]:
    calls(name, (), on=b"  Hello,  World\t ")
    calls(name, (), on=b"")
show("QByteArray().isNull()", lambda: QByteArray().isNull())
for data in [b"42", b" 42 ", b"-7", b"0x1f", b"ff", b"1.5", b"1e3", b"x", b"99999999999"]:
    calls("toInt", (), on=data)
    calls("toDouble", (), on=data)
calls("size", (1,))
calls("data", (1,))
calls("toInt", (None,), (16,), (0,), (False,), (None, 16), (None, 0), (None, 1), (None, 37))
calls("toDouble", (None,))
calls("toFloat", (None,))
calls("toHex", (58,), (":",))

# Finding.
calls("count", (b"l",), ("l",), (108,), (QByteArray(b"l"),), (), (bytearray(b"l"),),
      on=b"Hello, World")
calls("contains", (b"World",), ("World",), (87,), (b"",), (dialog,), on=b"Hello, World")
calls("startsWith", (b"He",), ("He",), (72,), (b"",), on=b"Hello")
calls("endsWith", (b"lo",), ("lo",), (111,), on=b"Hello")
calls("indexOf", (b"o",), ("o",), (111,), (b"o", 5), (b"o", -3), (b"o", 100), (b"z",),
      ("\u00e9",), on=b"Hello, World")
calls("lastIndexOf", (b"o",), (b"o", 5), (b"o", -3), (111, 100), on=b"Hello, World")
calls("at", (0,), (4,), (5,), (1.5,), ("0",), on=b"Hi!\xff\x00")
calls("front", (), on=b"xy")
calls("back", (), on=b"xy")
calls("compare", (b"abc",), (b"abd",), (b"ab",), ("abc",))

# Parts.
calls("left", (2,), (0,), (-1,), (100,), (2.7,))
calls("right", (2,), (-1,), (100,))
calls("mid", (1,), (1, 1), (-1,), (-2, 2), (100,), (1, -1), (1, 100))
calls("chopped", (1,), (0,), (3,))
calls("repeated", (3,), (0,), (-1,))
calls("split", (44,), (",",), (b",",), on=b"a,b,,c")
calls("split", (44,), on=b"")
calls("leftJustified", (5,), (5, 46), (2, 46, True), (2, 46, False))
calls("rightJustified", (5,), (5, 46), (2, 46, True))

# Encodings.
show("fromHex(b'01ff')", lambda: QByteArray.fromHex(b"01ff"))
show("fromHex('01FF')", lambda: QByteArray.fromHex("01FF"))
show("fromHex(b'zz1')", lambda: QByteArray.fromHex(b"zz1"))
show("fromHex on an instance", lambda: text.fromHex(b"41"))
show("fromBase64(b'aGk/')", lambda: QByteArray.fromBase64(b"aGk/"))
show("fromBase64('aGk_')", lambda: QByteArray.fromBase64("aGk_"))
show("fromBase64(1)", lambda: QByteArray.fromBase64(1))
show("toBase64 of bytes", lambda: QByteArray(b"hi?\xff").toBase64())
for args in [(42,), (-42,), (1.5,), (1.0 / 3,), (255, 16), (-255, 2), (2**40,), (2**40, 16),
             (1.5, 101, 3), (1.5, 102), (True,), ("1",)]:
    show(f"number{args!r}", lambda: QByteArray.number(*args))

# Changing it: these return the byte array itself, or None.
changes("append", (b"de",), ("d\u00e9",), (65,), (3, 65), (QByteArray(b"x"),), (None,))
changes("prepend", (b"z",), ("z",), (90,), (2, 90))
changes("insert", (1, b"Z"), (1, "Z"), (1, 90), (1, 2, 90), (-1, b"Z"), (5, b"Z"))
changes("remove", (1, 1), (-1, 1), (1, 100), (5, 1))
changes("replace", (b"b", b"XY"), ("b", "XY"), ("b", b"XY"), (98, 88), (98, b"XY"),
        (0, 1, b"Q"), (b"", b"-"), (b"z", b"y"))
changes("chop", (1,), (10,), (-1,))
changes("truncate", (1,), (-1,), (10,))
changes("fill", (120,), (120, 5), (120, 0), ("x",))
changes("clear", ())
changes("resize", (2,), (5,), (-1,))
changes("setNum", (42,), (1.5,), (255, 16), (2**40,), (1.5, 101, 2), ("7",))
changes("append", (b"xyz", 2), ("xyz", 2), (b"x\x00yz", 2), ("\u00e9", 2), (b"xyz", 0),
        (b"xyz", -1), (b"x\x00yz", -1), (b"xyz", 4), (b"xyz", 2.5), (b"xyz", True), (None, 2),
        (1.5, 2), ([1], 2), (bytearray(b"xyz"), 2), (True, 2), (2, True), (65, 1.5),
        (QByteArray(b"xyz"), 2), (dialog, 2))
changes("prepend", (b"xyz", 2), ("xyz", 0), (None, 1), (b"xyz", 4))
changes("insert", (1, b"xyz", 2), (1, b"xyz", 0), (1, b"xyz", -1), (1, "xyz", 2), (1, 5, 2),
        (9, b"xyz", 2), (-1, b"xyz", 2))
changes("replace", (0, 1, b"xyz", 2), (0, 1, b"xyz", 0), (0, 1, b"xyz", -1), (b"a", 1, b"xyz", 2),
        ("a", 1, "xyz", 2), (97, 1, 120, 1), (b"a", 0, b"xyz", 2), (b"ab", 2, b"", 0))
calls("contains", (None,), (1.5,), on=b"aNone1.5")
calls("compare", (None,), (65,), (1.5,), ("A",), (b"A",), (dialog,), on=b"A")
changes("push_back", (b"d",), ("d",))
changes("push_front", (b"z",))
