# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, signals: each signal of the dialogs called (which
# emits it), emitted, connected and disconnected with 0 to 3 catalogue values,
# on a fresh dialog each time.
from matrix import call_matrix, show
from PythonQt.Kestrane import ProgressDialog

SIGNALS = ("finished", "accepted", "rejected", "windowTitleChanged", "windowIconChanged",
           "windowIconTextChanged", "customContextMenuRequested", "destroyed", "objectNameChanged")
for name in SIGNALS:
    show(f"ProgressDialog().{name}", lambda: getattr(ProgressDialog(), name))
    call_matrix("ProgressDialog()", ProgressDialog, name)
    for operation in ("emit", "connect", "disconnect"):
        call_matrix(f"ProgressDialog().{name}", lambda: getattr(ProgressDialog(), name), operation)
