# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Generated calls: every byte-array method this bridge offers, with no
# argument, each value of a catalogue, and each pair of a smaller one, on a
# fresh byte array each time; one line per call. Left out: at(), back() and
# front(), which the real PythonQt answers from outside the bytes, bases
# outside 2 to 36, which crash it or give what lies beyond its digits, and counting an empty byte array, which never ends
# there, and resize() growing it, which leaves the new bytes as they were in
# memory there (bytearray_unsafe.py has those); and the pairs that reach append()'s
# and prepend()'s forms with a byte pointer and a length given as anything
# but a number, where the real PythonQt reads past the value for a length
# beyond it and crashes for a negative one (bytearray_methods.py has these
# forms with lengths within the value).
from PythonQt.Kestrane import VeldmarkDisplay
from PythonQt.QtCore import QByteArray

METHODS = [
    "append", "chop", "chopped", "clear", "compare", "contains", "count", "data", "endsWith",
    "fill", "fromBase64", "fromHex", "indexOf", "insert", "isEmpty", "isLower", "isNull",
    "isUpper", "lastIndexOf", "left", "leftJustified", "length", "mid", "number", "prepend",
    "push_back", "push_front", "remove", "repeated", "replace", "resize", "right",
    "rightJustified", "setNum", "simplified", "size", "split", "startsWith", "toBase64",
    "toDouble", "toFloat", "toHex", "toInt", "toLower", "toUpper", "trimmed", "truncate",
]
dialog = VeldmarkDisplay()
ONE = [None, True, False, 0, 2, -1, 65, 200, 2**31, 1.5, -2.5, "", "l", "\u00e9", "a\x00b", b"",
       b"l", b"\x00", QByteArray(b"l"), bytearray(b"l"), [1], dialog]
start = b"Hello, World"
TWO = [None, True, -1, 2, 65, 1.5, "l", b"l", QByteArray(b"o")]


def describe(value):
    if isinstance(value, QByteArray):
        return "QByteArray " + repr(value.data())
    if isinstance(value, tuple):
        return "(" + ", ".join(describe(v) for v in value) + ")"
    if isinstance(value, VeldmarkDisplay):
        return "<VeldmarkDisplay>"
    return type(value).__name__ + " " + repr(value)


def shown(args):
    return ", ".join(describe(a) for a in args)


def call(name, args):
    if name == "count" and args and args[0] in ("", b""):
        return
    if name == "resize" and len(args) == 1 and type(args[0]) is int and args[0] > len(start):
        return
    if name in ("append", "prepend") and len(args) == 2 and type(args[0]) is not int:
        return
    value = QByteArray(start)
    try:
        result = getattr(value, name)(*args)
    except Exception as e:
        first = str(e).split("\n")[0]
        seen = f"raises {type(e).__name__}: {first}"
    else:
        seen = f"{describe(result)}; now {describe(value)}"
    print(f"{name}({shown(args)}): {seen}".replace(hex(id(dialog)), "0x?"))


for name in METHODS:
    call(name, ())
    for a in ONE:
        call(name, (a,))
    for a in TWO:
        for b in TWO:
            if name in ("number", "setNum") and isinstance(b, (int, float)) and not 2 <= b <= 36:
                continue
            call(name, (a, b))
