# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A dialog given a parent that is already deleted.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay
from observe import show

gone = ProgressDialog()
gone.delete()
show("VeldmarkDisplay(gone)", lambda: VeldmarkDisplay(gone))
show("ProgressDialog(gone)", lambda: ProgressDialog(gone))
