# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Times a slot call from Python: dialog.setWindowTitle("x") in a loop.
# Run by veldmark-script-host it goes through our bridge; run by python3 it goes
# through PyQt5. Prints the best time per call over several rounds, in ns.
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

CALLS = 20000
ROUNDS = 7


def one_round():
    start = time.perf_counter_ns()
    for _ in range(CALLS):
        dialog.setWindowTitle("x")
    return (time.perf_counter_ns() - start) / CALLS


best = min(one_round() for _ in range(ROUNDS))
print("%s %.1f" % (binding, best))
sys.stdout.flush()
