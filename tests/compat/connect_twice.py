# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The same callable connected twice, disconnected once; signals given as
# bytes or as a signal object to connect().
from PythonQt.Kestrane import ProgressDialog
from observe import show

seen = []


def callback(result):
    seen.append(result)


progress = ProgressDialog()
show("connect('finished(int)', cb)", lambda: progress.connect("finished(int)", callback))
show("connect('finished(int)', cb) again", lambda: progress.connect("finished(int)", callback))
show("done(1)", lambda: progress.done(1))
show("seen", lambda: seen)
seen.clear()
show("disconnect('finished(int)', cb)", lambda: progress.disconnect("finished(int)", callback))
show("done(2)", lambda: progress.done(2))
show("seen", lambda: seen)
seen.clear()
show("disconnect('finished(int)', cb) again", lambda: progress.disconnect("finished(int)", callback))
show("done(3)", lambda: progress.done(3))
show("seen", lambda: seen)
seen.clear()

show("finished.connect(cb) twice", lambda: (progress.finished.connect(callback), progress.finished.connect(callback)))
show("finished.disconnect(cb)", lambda: progress.finished.disconnect(callback))
show("done(4)", lambda: progress.done(4))
show("seen", lambda: seen)
seen.clear()
show("finished.disconnect(cb) again", lambda: progress.finished.disconnect(callback))
show("done(5)", lambda: progress.done(5))
show("seen", lambda: seen)
seen.clear()

other = ProgressDialog()
show("connect(b'finished(int)', cb)", lambda: other.connect(b"finished(int)", callback))
show("done(6)", lambda: other.done(6))
show("seen", lambda: seen)
seen.clear()
show("disconnect(b'finished(int)', cb)", lambda: other.disconnect(b"finished(int)", callback))
show("done(7)", lambda: other.done(7))
show("seen", lambda: seen)
seen.clear()
show("connect(bytearray(b'finished(int)'), cb)", lambda: other.connect(bytearray(b"finished(int)"), callback))
show("connect(other.finished, cb)", lambda: other.connect(other.finished, callback))
show("disconnect(other.finished, cb)", lambda: other.disconnect(other.finished, callback))
show("connect(1, cb)", lambda: other.connect(1, callback))
show("connect(None, cb)", lambda: other.connect(None, callback))
show("done(8)", lambda: other.done(8))
show("seen", lambda: seen)
