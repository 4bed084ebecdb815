# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Editor completion and type checking for PythonQt.Qt: every class of
# PythonQt.QtCore and PythonQt.QtGui, the same objects under a second name
# (`from PythonQt.Qt import QSize`), and Qt's namespace with SIGNAL(), SLOT()
# and qVersion(), as in PythonQt.QtCore.
from .QtCore import QByteArray as QByteArray
from .QtCore import QLocale as QLocale
from .QtCore import QMetaObject as QMetaObject
from .QtCore import QPoint as QPoint
from .QtCore import QRect as QRect
from .QtCore import QSize as QSize
from .QtCore import Qt as Qt
from .QtCore import SIGNAL as SIGNAL
from .QtCore import SLOT as SLOT
from .QtCore import qVersion as qVersion
from .QtGui import QCursor as QCursor
from .QtGui import QFont as QFont
from .QtGui import QIcon as QIcon
from .QtGui import QPalette as QPalette
from .QtGui import QRegion as QRegion
from .QtGui import QSizePolicy as QSizePolicy
