# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A signal callback that raises: the error is reported, the script goes on,
# and the host ends with status 1.
from PythonQt.Kestrane import ProgressDialog

def fails(result):
    raise RuntimeError("callback failed with %d" % result)

progress = ProgressDialog()
progress.connect("finished(int)", fails)
print("before done")
progress.done(4)
print("after done, cancelled:", progress.cancelled())
