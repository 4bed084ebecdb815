# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Connecting to a signal of a dialog that is gone.
from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()
finished = progress.finished
progress.delete()
show("progress.finished.connect(print)", lambda: progress.finished.connect(print))
show("kept signal .connect(print)", lambda: finished.connect(print))
show("kept signal .emit(1)", lambda: finished.emit(1))
