# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# help() on a dialog: the text PythonQt gives back (it prints nothing), as
# a script author reads it to find a dialog's properties, slots and signals.
# (PythonQt also has help on the class, ProgressDialog.help(d); the bridge
# has it on instances only.)
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show

for cls in (ProgressDialog, VeldmarkDisplay, VeldmarkSelection):
    dialog = cls()
    text = dialog.help()
    print(f"{cls.__name__}.help() gives {type(text).__name__}:")
    print(text, end="")
    print("--- end")
progress = ProgressDialog()
show("help with an argument", lambda: progress.help(1))
progress.delete()
show("help() of a deleted dialog", lambda: progress.help())
