# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The top-level module of the host's Python bridge. The classes of each
# package registered with the bridge live in a submodule: Kestrane.pyi; the
# bridge's own Qt value classes in QtCore.pyi and QtGui.pyi, and all of them
# again in Qt.pyi.
from . import Kestrane as Kestrane
from . import Qt as Qt
from . import QtCore as QtCore
from . import QtGui as QtGui

class BoolResult:
    """What PythonQt hands a slot's bool* parameter: made without arguments,
    false until such a slot sets it. No slot of these dialogs takes one, so
    here it stays false. repr() gives "BoolResult(False)"."""
    def __init__(self, /) -> None: ...
    def __bool__(self) -> bool: ...
