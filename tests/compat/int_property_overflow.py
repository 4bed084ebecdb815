# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# An int property written with ints at and beyond the edges of 32 bits.
from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()


def write(value):
    progress.minimumWidth = value


for value in (5, 2**31 - 1, 2**40, 2**32 + 7, -(2**31) - 1):
    show(f"minimumWidth = {value}", lambda: write(value))
    show("  minimumWidth", lambda: progress.minimumWidth)
    progress.minimumWidth = 5
