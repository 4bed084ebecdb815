# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Byte array calls on which the real PythonQt reads outside the bytes,
# crashes or hangs; ours raises, or counts as Python does.
from PythonQt.QtCore import QByteArray
from observe import show

show("at(-1)", lambda: QByteArray(b"ab").at(-1))
show("at(100000000)", lambda: QByteArray(b"ab").at(100000000))
show("back() of an empty one", lambda: QByteArray().back())
show("number(5, 0)", lambda: QByteArray.number(5, 0))
show("number(5, 1)", lambda: QByteArray.number(5, 1))
show("number(5, -2)", lambda: QByteArray.number(5, -2))
show("setNum(5, 0)", lambda: QByteArray(b"x").setNum(5, 0))
show("a character beyond 64 bits", lambda: QByteArray(b"a") + 2**63)
show("a character below 64 bits", lambda: QByteArray(b"a") + (-2**63 - 1))
show("count(b'')", lambda: QByteArray(b"ab").count(b""))
show("count('')", lambda: QByteArray(b"ab").count(""))
show("resize() that grows it", lambda: (lambda value: (value.resize(5), value.data()))(QByteArray(b"ab")))
