# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Whether a byte array hashes, and whether equal ones land together.
from PythonQt.Kestrane import VeldmarkDisplay
from PythonQt.QtCore import QByteArray
from observe import show

first = VeldmarkDisplay().displayData()
second = VeldmarkDisplay().displayData()
show("equal", lambda: first == second)
show("hash() as int", lambda: isinstance(hash(first), int))
show("equal hashes", lambda: hash(first) == hash(second))
show("as dict key", lambda: len({first: 1, second: 2}))
show("in a set", lambda: len({first, second}))
show("dict looked up by its bytes", lambda: {first: 1}.get(first.data()))
show("constructed", lambda: hash(QByteArray(b"x")) == hash(QByteArray(b"x")))
