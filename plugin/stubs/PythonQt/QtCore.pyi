# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Editor completion and type checking for what Kestrane's Python bridge
# offers in PythonQt.QtCore: `from PythonQt.QtCore import QByteArray`. Only
# what the bridge has is listed.
from typing import Union

class QByteArray:
    """Bytes for or from Qt, as a slot returning bytes gives them to Python
    (`VeldmarkDisplay.displayData()`). `.data()` is the bytes, and it compares
    equal to the same bytes. bytes(x) and len(x) raise TypeError in the
    host's PythonQt: use x.data()."""
    def __init__(self, data: Union[bytes, str, QByteArray] = ..., /) -> None:
        """Empty, or a copy of the bytes given; a str is taken as UTF-8. The
        host's PythonQt refuses a bytearray or memoryview: pass bytes(b)."""
    def data(self) -> bytes: ...
    def size(self) -> int:
        """The number of bytes."""
    def isEmpty(self) -> bool: ...
    def __eq__(self, other: object, /) -> bool: ...
    def __ne__(self, other: object, /) -> bool: ...
