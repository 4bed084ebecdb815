# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, names: dir() of every module and class under
# PythonQt, recursively, and of the output streams, one name a line.
import sys
import types

import PythonQt
from matrix import line

seen = set()


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
        if isinstance(member, types.ModuleType) or (isinstance(member, type) and isinstance(value, types.ModuleType)):
            walk(f"{path}.{name}", member)


walk("PythonQt", PythonQt)
for name in sorted(m for m in sys.modules if m.startswith("PythonQt.")):
    walk(name, sys.modules[name])
for stream in ("stdout", "stderr"):
    for name in sorted(dir(getattr(sys, stream))):
        line(f"dir(sys.{stream}): {name}")
line(f"type(sys.stdout): {type(sys.stdout).__name__}")
