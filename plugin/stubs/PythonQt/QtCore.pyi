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

class Qt:
    """Qt's namespace: every enum of Qt 5.15 that PythonQt offers, with Qt's
    values, each an int (the values of an enum are instances of an int type
    named after it: Qt.AlignmentFlag, Qt.CheckState, ...). Only the values
    scripts use most are listed here; the others are there all the same."""
    AlignLeft: int
    AlignRight: int
    AlignHCenter: int
    AlignJustify: int
    AlignTop: int
    AlignBottom: int
    AlignVCenter: int
    AlignCenter: int
    Unchecked: int
    PartiallyChecked: int
    Checked: int
    NonModal: int
    WindowModal: int
    ApplicationModal: int
    Widget: int
    Window: int
    Dialog: int
    Tool: int
    FramelessWindowHint: int
    WindowStaysOnTopHint: int
    WindowCloseButtonHint: int
    LeftToRight: int
    RightToLeft: int
    NoFocus: int
    TabFocus: int
    ClickFocus: int
    StrongFocus: int
    Key_Escape: int
    Key_Return: int
    Key_Enter: int
    Key_Space: int
    Key_Tab: int
    @staticmethod
    def SIGNAL(signature: str, /) -> str: ...
    @staticmethod
    def SLOT(signature: str, /) -> str: ...
    @staticmethod
    def qVersion() -> str: ...

def SIGNAL(signature: str, /) -> str:
    """The signature as Qt's SIGNAL() writes it: '2finished(int)', for connect()."""
def SLOT(signature: str, /) -> str:
    """The signature as Qt's SLOT() writes it: '1tick()'."""
def qVersion() -> str:
    """The version of Qt the host runs on, as '5.15.8'."""
