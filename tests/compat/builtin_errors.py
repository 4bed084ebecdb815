# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The built-in methods every dialog has, called with wrong arguments.
from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()
other = ProgressDialog()
calls = {
    "setParent": ((), (1,), ("x",), (other, 1)),
    "setProperty": ((), ("a",), (1, 2), (None, 2), ("a", 1, 2)),
    "property": ((), (1,), (None,), ("a", "b")),
    "findChild": ((), (1,), ("x", 1), (ProgressDialog, 1), (ProgressDialog, "a", 1)),
    "findChildren": ((), (1,), (ProgressDialog, 1)),
    "children": ((1,),),
    "parent": ((1,),),
    "className": ((1,),),
    "inherits": ((), (1,)),
    "disconnect": ((), (1,), ("finished(int)", 1, 2), ("finished(int)", print, 1, 2)),
    "connect": ((), (1,), ("finished(int)",), ("finished(int)", 1, 2), ("finished(int)", other, 1),
                ("finished(int)", print, 1, 2)),
    "delete": ((1,),),
    "help": ((1,),),
}
for name, argument_lists in calls.items():
    for args in argument_lists:
        shown = ", ".join("ProgressDialog" if a is ProgressDialog else "other" if a is other
                          else "print" if a is print else repr(a) for a in args)
        show(f"{name}({shown})", lambda: getattr(progress, name)(*args))

# And called rightly: classes by name as text, and what comes back.
show("findChild('QLabel')", lambda: progress.findChild("QLabel"))
show("findChild('QLabel', 'label')", lambda: progress.findChild("QLabel", "label"))
show("findChildren('QLabel')", lambda: progress.findChildren("QLabel"))
show("findChildren(ProgressDialog)", lambda: progress.findChildren(ProgressDialog))
show("findChild(None)", lambda: progress.findChild(None))
show("setProperty(1, 2), property(1)", lambda: (progress.setProperty(1, 2), progress.property(1)))
show("setProperty(other, 1)", lambda: progress.setProperty(other, 1))
show("inherits(1, 2)", lambda: progress.inherits(1, 2))
show("connect(b'finished(int)', other, b'reject()')", lambda: progress.connect(b"finished(int)", other, b"reject()"))
show("disconnect(b'finished(int)', other, 'reject()')", lambda: progress.disconnect(b"finished(int)", other, "reject()"))
show("inherits(None)", lambda: progress.inherits(None))
show("inherits('QDialog\\0x')", lambda: progress.inherits("QDialog\0x"))
