# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A callback that refers to its own dialog, still connected when the script
# ends.
from PythonQt.Kestrane import ProgressDialog

progress = ProgressDialog()
progress.connect("finished(int)", lambda result: progress.setMessage("finished %d" % result))
progress.done(2)
print("label:", progress.label.text)
