# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A 10 MB argument of the wrong type: how long the error message gets.
from PythonQt.Kestrane import VeldmarkDisplay

display = VeldmarkDisplay()
try:
    display.setDisplayData({"x" * 10_000_000: 1})
except ValueError as e:
    print("message shorter than 1000 characters:", len(str(e)) < 1000)
try:
    display.minimumWidth = "x" * 10_000_000
except AttributeError as e:
    print("property message shorter than 1000 characters:", len(str(e)) < 1000)
try:
    display.setProperty("extra", {"x" * 10_000_000: 10**100})
except ValueError as e:
    print("setProperty message shorter than 1000 characters:", len(str(e)) < 1000)
