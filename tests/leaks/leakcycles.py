# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""Create, fill, show, close and destroy each dialog many times through the
bridge and check that the resident size stays flat; then make ten times as
many dialogs whose callbacks refer to the dialog itself, which only Python's
garbage collector can free.

Run by the host:  veldmark-script-host leakcycles.py [cycles] [margin_kib]
Exit status 0 when the resident size after the last cycle is within the
margin of the size after cycle 100 (after half the cycles for the dialogs
with self-referring callbacks), 1 otherwise.
"""
import gc
import json
import os
import sys

from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection

CYCLES = int(sys.argv[1]) if len(sys.argv) > 1 else 1000
MARGIN_KIB = int(sys.argv[2]) if len(sys.argv) > 2 else 2048
PAGE_KIB = os.sysconf('SC_PAGE_SIZE') // 1024

DOCUMENT = json.dumps({
    'assay %d' % i: {'alias': 'A%d' % i, 'default_uncertainty': 0.5, 'factor': i % 2 == 0,
                     'selected': i % 3 != 0, 'note': ['kept', i]}
    for i in range(50)
}).encode()
LIBRARIES = {'group %d' % g: ['library %d.%d' % (g, i) for i in range(10)] for g in range(10)}


def resident_kib():
    with open('/proc/self/statm') as statm:
        return int(statm.read().split()[1]) * PAGE_KIB


def display_cycle(n, parent):
    display = VeldmarkDisplay(parent)
    display.setDisplayData(DOCUMENT)
    display.show()
    display.windowTitle = 'cycle %d' % n
    display.close()
    assert len(json.loads(display.displayData().data())) == 50
    return display


def selection_cycle(n, parent):
    selection = VeldmarkSelection(parent)
    selection.setAvailableItems(LIBRARIES)
    selection.show()
    selection.close()
    assert selection.selectedItems() == () and selection.aggregationMode() == 'compound'
    return selection


def progress_cycle(n, parent):
    progress = ProgressDialog(parent)
    progress.show()
    for step in range(5):
        progress.setMessage('cycle %d step %d' % (n, step))
        progress.tick()
    progress.close()
    assert progress.cancelled()
    # A script's destroyed() leaves the dialog alive and drops its connections.
    progress.destroyed.connect(lambda *args: progress.setWindowTitle('emitted'))
    progress.destroyed.emit(progress)
    assert progress.windowTitle == 'emitted'
    return progress


def cycle(n, make):
    # Three ways a dialog dies: deleted by the script, dropped by the script
    # (the wrapper owns it), deleted with its parent.
    way = n % 3
    if way == 0:
        make(n, None).delete()
    elif way == 1:
        make(n, None)
    else:
        parent = ProgressDialog()
        make(n, parent)
        parent.delete()
    gc.collect()


def self_referring(cls):
    # The cycle runs through the dialog's signal receiver: only the garbage
    # collector can free it.
    dialog = cls()
    dialog.rejected.connect(lambda: dialog.setWindowTitle('rejected'))
    dialog.connect('finished(int)', lambda result: dialog.setWindowTitle('finished %d' % result))


def report(name, cycles, start, at_start, growth):
    verdict = 'ok' if growth <= MARGIN_KIB else 'GROWS'
    print('%s: %d cycles, resident size after cycle %d: %d KiB, growth to cycle %d: %d KiB (margin %d) %s'
          % (name, cycles, start, at_start, cycles, growth, MARGIN_KIB, verdict))
    return growth > MARGIN_KIB


failed = False
for name, make in (('VeldmarkDisplay', display_cycle), ('VeldmarkSelection', selection_cycle),
                   ('ProgressDialog', progress_cycle)):
    at100 = None
    for n in range(1, CYCLES + 1):
        cycle(n, make)
        if n == 100:
            at100 = resident_kib()
    failed = report(name, CYCLES, 100, at100, resident_kib() - at100) or failed

for cls in (VeldmarkDisplay, VeldmarkSelection, ProgressDialog):
    # The first half fills the allocator's free lists; the second must not grow.
    start = 5 * CYCLES
    at_start = None
    for n in range(1, 10 * CYCLES + 1):
        self_referring(cls)
        # The youngest generation holds the new cycle: collecting it frees
        # one dialog at a time, as dropping a plain one does. Left to the
        # collector's own timing they go in bursts of many dialogs, which
        # under AddressSanitizer's allocator read as growth.
        gc.collect(0)
        if n % 1000 == 0:
            gc.collect()
        if n == start:
            at_start = resident_kib()
    failed = report(cls.__name__ + ' with self-referring callbacks', 10 * CYCLES, start, at_start,
                    resident_kib() - at_start) or failed

sys.exit(1 if failed else 0)
