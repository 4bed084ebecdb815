# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A dialog deleted by the handler of its own signal, and a parent deleted by
# the handler of its child's signal.
from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show

progress = ProgressDialog()
progress.show()
progress.rejected.connect(lambda: progress.delete())
show("reject()", lambda: progress.reject())
show("bool(progress)", lambda: bool(progress))

owner = ProgressDialog()
child = VeldmarkSelection(owner)
child.finished.connect(lambda result: owner.delete())
show("child.reject()", lambda: child.reject())
show("bool(child), bool(owner)", lambda: (bool(child), bool(owner)))
