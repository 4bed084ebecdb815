# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Signals: connect by signature, by name and through the signal object;
# emit, disconnect, and callbacks that take fewer arguments.
from PythonQt.Kestrane import ProgressDialog, VeldmarkSelection
from observe import show

seen = []
def with_result(result):
    seen.append(("with_result", result))
def without():
    seen.append(("without",))
def two(a, b):
    seen.append(("two", a, b))

progress = ProgressDialog()
show("connect('finished(int)', with_result)", lambda: progress.connect("finished(int)", with_result))
show("connect('finished( int )', without)", lambda: progress.connect("finished( int )", without))
show("connect('rejected()', without)", lambda: progress.connect("rejected()", without))
show("connect('nosuch()', without)", lambda: progress.connect("nosuch()", without))
show("reject()", lambda: progress.reject())
show("seen", lambda: seen)
seen.clear()
show("disconnect('finished(int)', with_result)", lambda: progress.disconnect("finished(int)", with_result))
show("disconnect('finished(int)', with_result) again", lambda: progress.disconnect("finished(int)", with_result))
show("disconnect('rejected()')", lambda: progress.disconnect("rejected()"))
show("done(3)", lambda: progress.done(3))
show("seen", lambda: seen)
seen.clear()

selection = VeldmarkSelection()
show("finished.connect(with_result)", lambda: selection.finished.connect(with_result))
show("accepted.connect(without)", lambda: selection.accepted.connect(without))
show("finished.connect(two)", lambda: selection.finished.connect(two))
show("accept()", lambda: selection.accept())
show("seen", lambda: seen)
seen.clear()
show("finished.emit(7)", lambda: selection.finished.emit(7))
show("finished.emit()", lambda: selection.finished.emit())
show("finished.emit('x')", lambda: selection.finished.emit("x"))
show("seen", lambda: seen)
seen.clear()
show("finished.disconnect(with_result)", lambda: selection.finished.disconnect(with_result))
show("finished.disconnect(two)", lambda: selection.finished.disconnect(two))
show("finished.emit(8)", lambda: selection.finished.emit(8))
show("seen", lambda: seen)
seen.clear()
show("finished.disconnect()", lambda: selection.finished.disconnect())
show("accepted.disconnect()", lambda: selection.accepted.disconnect())
show("finished.connect(42)", lambda: selection.finished.connect(42))
show("connect('finished(int)', 42)", lambda: selection.connect("finished(int)", 42))
show("accept() after disconnect", lambda: selection.accept())
show("seen", lambda: seen)

# A signal of one dialog to a slot of another.
first, second = ProgressDialog(), ProgressDialog()
show("connect('rejected()', second, 'reject()')", lambda: first.connect("rejected()", second, "reject()"))
show("connect('finished(int)', second, 'setMessage(QString)')",
     lambda: first.connect("finished(int)", second, "setMessage(QString)"))
show("connect('finished(int)', second, 'tick()')", lambda: first.connect("finished(int)", second, "tick()"))
show("first.reject()", lambda: first.reject())
show("second.cancelled()", lambda: second.cancelled())
show("second label", lambda: second.label.text)
show("disconnect('rejected()', second, 'reject()')", lambda: first.disconnect("rejected()", second, "reject()"))
