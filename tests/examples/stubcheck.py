# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""Run by the host with the path of Kestrane.pyi: checks every class and
name the stub declares against what the bridge exposes, and every class the
bridge exposes against the stub; likewise for QtCore.pyi and QtGui.pyi beside
it, their classes and functions, for Qt.pyi, the names it takes from them,
and for __init__.pyi, the package's submodules and classes.

Prints "missing: <what>" for each mismatch, "note: <what>" for a known
difference that is not the stub's to fix, then "<class>: <names>" with the
names the stub declares in each class's own body, for the caller to compare
with the classes' meta-objects."""

import ast
import os
import sys
import types

from PythonQt import Kestrane

# With --host-pythonqt the library is the host's own PythonQt, which offers
# more than the stub describes (QDate, qDebug, ...): that is noted, not a
# mismatch. Our bridge offers nothing the stub leaves out.
HOST_PYTHONQT = "--host-pythonqt" in sys.argv[2:]


def unstubbed(what):
    if HOST_PYTHONQT:
        print(f"note: the host's PythonQt offers {what}, which the stub leaves out")
    else:
        print(f"missing: {what} in the stub")

DIALOGS = ("ProgressDialog", "VeldmarkSelection", "VeldmarkDisplay")
# What the host's PythonQt puts in the package: the registered classes and
# the bases it registers with them.
PACKAGE = {*DIALOGS, "QDialog", "QWidget"}

with open(sys.argv[1], encoding="utf-8") as f:
    stub = ast.parse(f.read())
classes = {node.name: node for node in stub.body if isinstance(node, ast.ClassDef)}


def own_names(node):
    names = set()
    for item in node.body:
        if isinstance(item, ast.FunctionDef):
            names.add(item.name)
        elif isinstance(item, ast.AnnAssign) and isinstance(item.target, ast.Name):
            names.add(item.target.id)
    return {name for name in names if not name.startswith("__")}


def all_names(name):
    node = classes[name]
    names = own_names(node)
    for base in node.bases:
        if isinstance(base, ast.Name) and base.id in classes:
            names |= all_names(base.id)
    return names


def is_base_of_qwidget(name):
    return name == "QObject" and "_QObject" in classes and getattr(Kestrane, name) in Kestrane.QWidget.__mro__[1:]


public = sorted(name for name in classes if not name.startswith("_"))
for name in sorted(PACKAGE.symmetric_difference(public)):
    print(f"missing: class {name} {'in' if name in PACKAGE else 'not in'} the stub's package")
for name in public:
    if not hasattr(Kestrane, name):
        print(f"missing: class {name} in the bridge")
for name in sorted(n for n in dir(Kestrane) if not n.startswith("_")):
    if name in classes:
        continue
    if is_base_of_qwidget(name):
        # The host's PythonQt keeps QObject out of the package, and so does
        # the stub (its members are the private _QObject's); a bridge that
        # still lists it is told, not failed.
        print(f"note: the bridge lists {name}, which the host's PythonQt does not")
    else:
        print(f"missing: class {name} in the stub")

for name in DIALOGS:
    if name not in classes or not hasattr(Kestrane, name):
        continue
    instance = getattr(Kestrane, name)()
    for attribute in sorted(all_names(name)):
        if not hasattr(instance, attribute):
            print(f"missing: {name}.{attribute} in the bridge")

for name in public:
    print(f"{name}: {' '.join(sorted(own_names(classes[name])))}")

# PythonQt.QtCore and PythonQt.QtGui, from QtCore.pyi and QtGui.pyi beside
# Kestrane.pyi: every class and name the stub declares is there, and every
# class the bridge puts there is stubbed.
import PythonQt  # noqa: E402

for module_name in ("QtCore", "QtGui"):
    module = getattr(PythonQt, module_name)
    stub = os.path.join(os.path.dirname(sys.argv[1]), f"{module_name}.pyi")
    with open(stub, encoding="utf-8") as f:
        body = ast.parse(f.read()).body
    stubbed = {node.name: node for node in body if isinstance(node, ast.ClassDef)}
    functions = {node.name for node in body if isinstance(node, ast.FunctionDef)}
    for name in sorted(n for n in dir(module) if not n.startswith("_")):
        if name not in stubbed and name not in functions:
            unstubbed(f"{module_name}.{name}")
    for name in sorted(functions):
        if not callable(getattr(module, name, None)):
            print(f"missing: function {module_name}.{name} in the bridge")
    for name, node in sorted(stubbed.items()):
        if not hasattr(module, name):
            print(f"missing: class {module_name}.{name} in the bridge")
            continue
        for attribute in sorted(own_names(node)):
            if not hasattr(getattr(module, name), attribute):
                print(f"missing: {module_name}.{name}.{attribute} in the bridge")
        print(f"{module_name}.{name}: {' '.join(sorted(own_names(node)))}")

# PythonQt.Qt, from Qt.pyi: the names it takes from QtCore.pyi and QtGui.pyi
# are the bridge's, the same objects as there, and nothing in the bridge's
# PythonQt.Qt goes without one.
with open(os.path.join(os.path.dirname(sys.argv[1]), "Qt.pyi"), encoding="utf-8") as f:
    body = ast.parse(f.read()).body
taken = {}
for node in body:
    if isinstance(node, ast.ImportFrom):
        for alias in node.names:
            # Only `import X as X` re-exports a name from a stub.
            if alias.asname == alias.name:
                taken[alias.name] = node.module
            else:
                print(f"missing: Qt.{alias.name} re-exported as itself in the stub")
    elif isinstance(node, (ast.ClassDef, ast.FunctionDef)):
        print(f"missing: Qt.{node.name} taken from QtCore or QtGui in the stub")
for name in sorted(n for n in dir(PythonQt.Qt) if not n.startswith("_")):
    if name not in taken:
        unstubbed(f"Qt.{name}")
for name, source in sorted(taken.items()):
    there = getattr(getattr(PythonQt, source), name, None)
    here = getattr(PythonQt.Qt, name, None)
    # The classes are the same objects; SIGNAL() and the like, functions of
    # each module's own.
    if here is not there and not (callable(here) and callable(there) and not isinstance(there, type)):
        print(f"missing: Qt.{name} in the bridge, as {source}.{name}")
    print(f"Qt.{name}: {source}")

# The package itself, from __init__.pyi: its submodules and classes
# (BoolResult) against the bridge's PythonQt.
with open(os.path.join(os.path.dirname(sys.argv[1]), "__init__.pyi"), encoding="utf-8") as f:
    body = ast.parse(f.read()).body
submodules = {alias.name for node in body if isinstance(node, ast.ImportFrom) for alias in node.names}
stubbed = {node.name: node for node in body if isinstance(node, ast.ClassDef)}
for name in sorted(n for n in dir(PythonQt) if not n.startswith("_")):
    value = getattr(PythonQt, name)
    if name == "private":
        # Where PythonQt puts the classes registered without a package
        # (QObject here): nothing for a script to import.
        print("note: the stub leaves out PythonQt.private")
    elif isinstance(value, types.ModuleType) and name not in submodules:
        unstubbed(f"module PythonQt.{name}")
    elif isinstance(value, type) and name not in stubbed:
        unstubbed(f"class PythonQt.{name}")
for name in sorted(submodules):
    if not isinstance(getattr(PythonQt, name, None), types.ModuleType):
        print(f"missing: module PythonQt.{name} in the bridge")
for name, node in sorted(stubbed.items()):
    if not isinstance(getattr(PythonQt, name, None), type):
        print(f"missing: class PythonQt.{name} in the bridge")
        continue
    instance = getattr(PythonQt, name)()
    for attribute in sorted(own_names(node)):
        if not hasattr(instance, attribute):
            print(f"missing: PythonQt.{name}.{attribute} in the bridge")
    print(f"PythonQt.{name}: {' '.join(sorted(own_names(node)))}")
