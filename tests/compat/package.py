# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The package scripts import from, and the classes in it.
import PythonQt
import PythonQt.Kestrane
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show

print("Kestrane:", sorted(name for name in dir(PythonQt.Kestrane) if not name.startswith("_")))
show("Kestrane is an attribute of PythonQt", lambda: PythonQt.Kestrane is PythonQt.__dict__["Kestrane"])
for cls in (ProgressDialog, VeldmarkSelection, VeldmarkDisplay):
    show(f"{cls.__name__} is a type", lambda: isinstance(cls, type))
show("QDialog in the package", lambda: hasattr(PythonQt.Kestrane, "QDialog"))
show("QWidget in the package", lambda: hasattr(PythonQt.Kestrane, "QWidget"))
show("QObject in the package", lambda: hasattr(PythonQt.Kestrane, "QObject"))

progress = ProgressDialog()
show("isinstance ProgressDialog", lambda: isinstance(progress, ProgressDialog))
show("isinstance VeldmarkDisplay", lambda: isinstance(progress, VeldmarkDisplay))
show("isinstance Kestrane.QDialog", lambda: isinstance(progress, PythonQt.Kestrane.QDialog))
show("isinstance Kestrane.QWidget", lambda: isinstance(progress, PythonQt.Kestrane.QWidget))
show("type name", lambda: type(progress).__name__)
show("className()", lambda: progress.className())
show("inherits('QDialog')", lambda: progress.inherits("QDialog"))
show("inherits('VeldmarkDisplay')", lambda: progress.inherits("VeldmarkDisplay"))

# Slots read from the class, as a script passes an unbound method around.
show("ProgressDialog.tick is there", lambda: ProgressDialog.tick is not None)
show("ProgressDialog.tick(progress)", lambda: ProgressDialog.tick(progress))
show("ProgressDialog.setMessage(progress, 'm')", lambda: ProgressDialog.setMessage(progress, "m"))
show("ProgressDialog.cancelled(progress)", lambda: ProgressDialog.cancelled(progress))
show("VeldmarkSelection.aggregationMode(VeldmarkSelection())",
     lambda: VeldmarkSelection.aggregationMode(VeldmarkSelection()))
show("ProgressDialog.nothing", lambda: ProgressDialog.nothing)

# PythonQt is a plain module holding its packages, not a package of files:
# each is imported as itself, and a missing one is "not a package".
import importlib

show("import_module('PythonQt.QtCore')", lambda: importlib.import_module("PythonQt.QtCore").__name__)
for name in ("PythonQt.Missing", "PythonQt.Kestrane.Missing"):
    show(f"import_module({name!r})", lambda: importlib.import_module(name))
show("PythonQt has __path__", lambda: hasattr(PythonQt, "__path__"))
