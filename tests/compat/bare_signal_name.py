# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A signal named without its parameters, as people often write it.
from PythonQt.Kestrane import ProgressDialog
from observe import show

seen = []
progress = ProgressDialog()
show("connect('finished', cb)", lambda: progress.connect("finished", lambda r: seen.append(r)))
show("connect('rejected', cb)", lambda: progress.connect("rejected", lambda: seen.append("r")))
show("disconnect('finished', cb)", lambda: progress.disconnect("finished", lambda r: None))
progress.reject()
show("seen after reject()", lambda: seen)
