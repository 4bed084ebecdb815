# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The progress window as a fetch loop drives it.
from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()
show("cancelled() at first", lambda: progress.cancelled())
show("setMessage('Fetching')", lambda: progress.setMessage("Fetching"))
show("label text", lambda: progress.label.text)
for _ in range(3):
    progress.tick()
show("label after 3 ticks", lambda: progress.label.text)
show("tick() returns", lambda: progress.tick())
show("show()", lambda: progress.show())
show("visible after show", lambda: progress.visible)
show("windowTitle", lambda: progress.windowTitle)
show("modal", lambda: progress.modal)
progress.windowTitle = "Fetching assays"
show("windowTitle written", lambda: progress.windowTitle)
show("setWindowTitle('Other')", lambda: progress.setWindowTitle("Other"))
show("windowTitle after setWindowTitle", lambda: progress.windowTitle)
show("reject()", lambda: progress.reject())
show("cancelled() after reject", lambda: progress.cancelled())
show("visible after reject", lambda: progress.visible)
show("result() after reject", lambda: progress.result())
show("setMessage('again')", lambda: progress.setMessage("again"))
show("cancelled() stays", lambda: progress.cancelled())
show("close()", lambda: progress.close())
show("hide()", lambda: progress.hide())
show("accept()", lambda: progress.accept())
show("done(5)", lambda: progress.done(5))
show("result() after done(5)", lambda: progress.result())
