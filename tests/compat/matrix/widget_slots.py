# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, the public slots the dialogs inherit from QDialog,
# QWidget and QObject, called with 0 to 3 catalogue values, each slot on a
# fresh dialog. exec() is modal and left out.
from matrix import call_matrix
from PythonQt.Kestrane import ProgressDialog

SLOTS = ("setEnabled", "setDisabled", "setWindowModified", "setWindowTitle", "setStyleSheet",
         "setFocus", "update", "repaint", "setVisible", "setHidden", "show", "hide",
         "showMinimized", "showMaximized", "showFullScreen", "showNormal", "close", "raise",
         "lower", "open", "done", "accept", "reject", "showExtension", "deleteLater")
for name in SLOTS:
    target = ProgressDialog()
    call_matrix("ProgressDialog", lambda: target, name)
    target.hide()
