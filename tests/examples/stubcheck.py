"""Run by the host with the path of Kestrane.pyi: checks every class and
name the stub declares against what the bridge exposes, and every class the
bridge exposes against the stub.

Prints "missing: <what>" for each mismatch, then "<class>: <names>" with the
names the stub declares in each class's own body, for the caller to compare
with the classes' meta-objects."""

import ast
import sys

from PythonQt import Kestrane

DIALOGS = ("ProgressDialog", "VeldmarkSelection", "VeldmarkDisplay")

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


public = sorted(name for name in classes if not name.startswith("_"))
for name in public:
    if not hasattr(Kestrane, name):
        print(f"missing: class {name} in the bridge")
for name in sorted(n for n in dir(Kestrane) if not n.startswith("_")):
    if name not in classes:
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
