# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Times connecting a Python callable to a signal and disconnecting it again,
# 200,000 times on one dialog: each pair must cost the same however many
# came before, and leave nothing behind. Run by veldmark-script-host it goes through
# our bridge; run by python3 it goes through PyQt5. Prints ns per pair.
import sys
import time

try:
    from PythonQt.Kestrane import ProgressDialog
    dialog = ProgressDialog()
    binding = "bridge"
except ImportError:
    from PyQt5.QtWidgets import QApplication, QDialog
    app = QApplication(sys.argv[:1])
    dialog = QDialog()
    binding = "PyQt5"

PAIRS = 200000


def on_finished(code):
    pass


signal = dialog.finished
start = time.perf_counter_ns()
for _ in range(PAIRS):
    signal.connect(on_finished)
    signal.disconnect(on_finished)
print("%s %.1f" % (binding, (time.perf_counter_ns() - start) / PAIRS))
sys.stdout.flush()
