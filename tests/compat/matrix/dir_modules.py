# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, names: dir() of every module and class under
# PythonQt, recursively, and of the output streams, one name a line. Of the
# Qt classes the bridge leaves out (QColor, QImage, ...) only the names are
# listed: their members are Qt's whole API, of which a script here can call
# nothing, and a class gained or missing still shows as its name.
import sys
import types

import PythonQt
from matrix import line

seen = set()

# The Qt classes the bridge offers, and Qt's namespace.
OFFERED_QT_CLASSES = {
    "QByteArray", "QSize", "QPoint", "QRect", "QFont", "QPalette", "QSizePolicy",
    "QCursor", "QIcon", "QRegion", "QLocale", "QMetaObject", "Qt",
}
QT_MODULES = {"PythonQt.Qt", "PythonQt.QtCore", "PythonQt.QtGui"}


def members_listed(module_path, name):
    return module_path not in QT_MODULES or not name.startswith("Q") or name in OFFERED_QT_CLASSES


def walk(path, value):
    if id(value) in seen:
        return
    seen.add(id(value))
    names = sorted(dir(value))
    for name in names:
        line(f"dir({path}): {name}")
    for name in names:
        if name.startswith("__"):
            continue
        try:
            member = getattr(value, name)
        except Exception as e:
            line(f"{path}.{name}: raises {type(e).__name__}: {e}")
            continue
        if isinstance(member, types.ModuleType):
            walk(f"{path}.{name}", member)
        elif isinstance(member, type) and isinstance(value, types.ModuleType) and members_listed(path, name):
            walk(f"{path}.{name}", member)


walk("PythonQt", PythonQt)
for name in sorted(m for m in sys.modules if m.startswith("PythonQt.")):
    walk(name, sys.modules[name])
for stream in ("stdout", "stderr"):
    for name in sorted(dir(getattr(sys, stream))):
        line(f"dir(sys.{stream}): {name}")
line(f"type(sys.stdout): {type(sys.stdout).__name__}")
