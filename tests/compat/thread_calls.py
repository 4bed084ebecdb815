# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A dialog used from a thread other than the GUI thread.
import threading

from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()


def work():
    show("progress.show() in a thread", lambda: progress.show())
    show("progress.windowTitle in a thread", lambda: progress.windowTitle)
    show("ProgressDialog() in a thread", lambda: ProgressDialog())


worker = threading.Thread(target=work)
worker.start()
worker.join()
show("progress.visible", lambda: progress.visible)
