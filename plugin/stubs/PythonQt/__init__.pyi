# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The top-level module of the host's Python bridge. The classes of each
# package registered with the bridge live in a submodule: Kestrane.pyi; the
# bridge's own Qt value classes in QtCore.pyi and QtGui.pyi.
from . import Kestrane as Kestrane
from . import QtCore as QtCore
from . import QtGui as QtGui
