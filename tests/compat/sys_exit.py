# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# sys.exit(n) ends the script with that status.
import sys
from PythonQt.Kestrane import ProgressDialog

progress = ProgressDialog()
progress.show()
print("leaving with 3")
sys.exit(3)
print("not reached")
