# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Generated calls: each of Python's operators between a byte array and each
# value of a catalogue, the byte array on either side; one line a call.
# Left out: characters beyond 64 bits, which crash the real PythonQt
# (bytearray_unsafe.py has those).
import operator

from PythonQt.Kestrane import VeldmarkDisplay
from PythonQt.QtCore import QByteArray

dialog = VeldmarkDisplay()


class Text:
    def __str__(self):
        return "ab"

    def __repr__(self):
        return "Text()"


class Refusing:
    def __str__(self):
        raise RuntimeError("no str")

    def __repr__(self):
        return "Refusing()"


VALUES = [None, True, False, 0, 1, -1, 97, 127, 128, -128, -129, 2**31, 2**32 + 97, 2**63 - 1,
          0.0, 97.9, -0.5, float("nan"), "", "ab", "abc", "ab\x00", "\u00e9", "B", b"", b"ab",
          b"abc", b"ab\x00", b"\xff", bytearray(b"ab"), memoryview(b"ab"), [97], (97,), {},
          QByteArray(), QByteArray(b"ab"), QByteArray(b"abc"), QByteArray(b"a\x00"), Text(),
          Refusing(), dialog]
OPERATORS = [("==", operator.eq), ("!=", operator.ne), ("<", operator.lt), ("<=", operator.le),
             (">", operator.gt), (">=", operator.ge), ("+", operator.add)]


def describe(value):
    if isinstance(value, QByteArray):
        return "QByteArray " + repr(value.data())
    if isinstance(value, VeldmarkDisplay):
        return "<VeldmarkDisplay>"
    if isinstance(value, memoryview):
        return "<memoryview>"
    return type(value).__name__ + " " + repr(value)


def show(label, thunk):
    try:
        seen = describe(thunk())
    except Exception as e:
        seen = f"raises {type(e).__name__}: {str(e).splitlines()[0] if str(e) else ''}"
    print(f"{label}: {seen}".replace(hex(id(dialog)), "0x?"))


for value in VALUES:
    for name, op in OPERATORS:
        show(f"ab {name} {describe(value)}", lambda: op(QByteArray(b"ab"), value))
        show(f"{describe(value)} {name} ab", lambda: op(value, QByteArray(b"ab")))

    def add_in_place():
        target = QByteArray(b"ab")
        before = target
        target += value
        return (describe(target), target is before, describe(before))

    show(f"ab += {describe(value)}", add_in_place)
show("bool of each", lambda: [bool(QByteArray(v)) for v in [b"", b"\x00", b"a", "", "a"]])
