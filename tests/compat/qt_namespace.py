# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# PythonQt.Qt and PythonQt.QtCore.Qt: Qt's enums with Qt's values, as
# scripts pass them to properties, and SIGNAL(), SLOT(), qVersion().
import PythonQt
from PythonQt.Kestrane import ProgressDialog
from observe import show

Qt = PythonQt.Qt.Qt
show("PythonQt.QtCore.Qt is PythonQt.Qt.Qt", lambda: PythonQt.QtCore.Qt is Qt)
show("from PythonQt.QtCore import Qt", lambda: __import__("PythonQt.QtCore", fromlist=["Qt"]).Qt is Qt)
show("repr(Qt)", lambda: repr(Qt))
show("Qt()", lambda: Qt())

# Every enum of the namespace, its type and values, one line each.
enums = {}
for name in dir(Qt):
    value = getattr(Qt, name)
    if isinstance(value, int):
        enums.setdefault(type(value).__name__, []).append(f"{name}={int(value)}")
for enum, values in sorted(enums.items()):
    print(f"{enum}: {' '.join(values)}")
types = sorted(name for name in dir(Qt) if isinstance(getattr(Qt, name), type))
print("types:", " ".join(types))
show("the values' module", lambda: {type(getattr(Qt, n)).__module__ for n in dir(Qt) if isinstance(getattr(Qt, n), int)})

show("Qt.AlignLeft", lambda: Qt.AlignLeft)
show("type(Qt.AlignLeft)", lambda: repr(type(Qt.AlignLeft)))
show("isinstance(Qt.AlignLeft, int)", lambda: isinstance(Qt.AlignLeft, int))
show("Qt.AlignLeft | Qt.AlignTop", lambda: Qt.AlignLeft | Qt.AlignTop)
show("Qt.AlignmentFlag.AlignRight", lambda: int(Qt.AlignmentFlag.AlignRight))
show("Qt.Alignment", lambda: repr(Qt.Alignment))
show("Qt.Checked == 2", lambda: Qt.Checked == 2)
show("str(Qt.Key_Escape)", lambda: str(Qt.Key_Escape))
show("repr(Qt.WindowFullscreenButtonHint)", lambda: repr(Qt.WindowFullscreenButtonHint))
show("{Qt.Checked: 'x'}[2]", lambda: {Qt.Checked: "x"}[2])
show("Qt.AlignLeft.name", lambda: Qt.AlignLeft.name)
show("PythonQt.Qt.missing", lambda: PythonQt.Qt.missing)

progress = ProgressDialog()
show("windowModality = Qt.ApplicationModal", lambda: setattr(progress, "windowModality", Qt.ApplicationModal))
show("windowModality", lambda: progress.windowModality)
show("setWindowModality via setProperty", lambda: progress.setProperty("windowModality", Qt.WindowModal))
show("windowModality", lambda: progress.windowModality)
show("layoutDirection = Qt.RightToLeft", lambda: setattr(progress, "layoutDirection", Qt.RightToLeft))
show("layoutDirection", lambda: progress.layoutDirection)
show("focusPolicy = Qt.StrongFocus", lambda: setattr(progress, "focusPolicy", Qt.StrongFocus))
show("focusPolicy", lambda: progress.focusPolicy)

for module in ("PythonQt.Qt", "PythonQt.QtCore", "PythonQt.Qt.Qt"):
    where = eval(module)
    for argument in ("finished(int)", "finished( int )", "", b"tick()", 3, None, 1.5, progress):
        show(f"{module}.SIGNAL({argument!r})".replace(repr(progress), "progress"), lambda: where.SIGNAL(argument))
        show(f"{module}.SLOT({argument!r})".replace(repr(progress), "progress"), lambda: where.SLOT(argument))
    show(f"{module}.SIGNAL()", lambda: where.SIGNAL())
    show(f"{module}.SIGNAL('a()', 'b()')", lambda: where.SIGNAL("a()", "b()"))
    show(f"{module}.qVersion()", lambda: where.qVersion())
    show(f"{module}.qVersion(1)", lambda: where.qVersion(1))
show("connect with SIGNAL()", lambda: progress.connect(PythonQt.Qt.SIGNAL("finished(int)"), lambda r: None))
show("'Qt' in dir(PythonQt)", lambda: "Qt" in dir(PythonQt))
show("'Qt' in dir(PythonQt.QtCore)", lambda: "Qt" in dir(PythonQt.QtCore))
show("'SIGNAL' in dir(PythonQt.QtCore)", lambda: "SIGNAL" in dir(PythonQt.QtCore))
show("'qVersion' in dir(PythonQt.Qt)", lambda: "qVersion" in dir(PythonQt.Qt))
