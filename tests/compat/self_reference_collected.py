# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Dialogs whose callbacks refer to the dialog itself, dropped by the script:
# does the garbage collector free them?
import gc

from PythonQt.Kestrane import ProgressDialog
from observe import show

gone = []


def make(n):
    progress = ProgressDialog()
    progress.destroyed.connect(lambda: gone.append(n))
    progress.rejected.connect(lambda: progress.setMessage("rejected"))


for n in range(20):
    make(n)
gc.collect()
show("dialogs freed", lambda: len(gone))
