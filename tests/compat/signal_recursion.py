# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A signal connected to a slot or a signal of its own dialog, emitted.
from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()
progress.rejected.connect(progress.reject)
show("progress.reject()", lambda: progress.reject())
progress.disconnect("rejected()")
progress.finished.connect(progress.finished)
show("progress.done(2)", lambda: progress.done(2))
progress.finished.disconnect()
show("progress.setMessage('after')", lambda: progress.setMessage("after"))
show("progress.label.text", lambda: progress.label.text)
