# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Built-ins given what scripts hand them by mistake or on purpose: a widget
# instead of a class for findChild()/findChildren(), a mapping class of the
# script's own for setProperty().
import collections.abc

from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay
from observe import show


class Library(collections.abc.Mapping):
    def __init__(self):
        self.items = {"group": ["library"]}

    def __getitem__(self, key):
        return self.items[key]

    def __iter__(self):
        return iter(self.items)

    def __len__(self):
        return len(self.items)


class Pair(collections.abc.Sequence):
    def __getitem__(self, index):
        return ("a", "b")[index]

    def __len__(self):
        return 2


progress = ProgressDialog()
display = VeldmarkDisplay()
label = progress.findChild("QLabel")
button = progress.findChild("QPushButton")
gone = ProgressDialog()
gone.delete()
show("findChild(label)", lambda: progress.findChild(label).className())
show("findChildren(label)", lambda: [w.className() for w in progress.findChildren(label)])
show("findChild(label, label.objectName)", lambda: progress.findChild(label, label.objectName).objectName)
show("findChild(label, 'nothing')", lambda: progress.findChild(label, "nothing"))
show("findChildren(button)", lambda: len(progress.findChildren(button)))
show("display.findChildren(label)", lambda: len(display.findChildren(label)))
show("findChild(progress)", lambda: progress.findChild(progress))
show("findChild(gone)", lambda: progress.findChild(gone))
show("findChildren(gone)", lambda: progress.findChildren(gone))


def stored(value):
    try:
        return progress.setProperty("library", value)
    except SystemError as e:
        return f"SystemError caused by {type(e.__cause__).__name__}"


show("setProperty('library', Library())", lambda: stored(Library()))
show("setProperty('library', [Library()])", lambda: stored([Library()]))
show("setProperty('library', {'a': (1, Library())})", lambda: stored({"a": (1, Library())}))
show("setProperty('library', Pair())", lambda: stored(Pair()))
show("property('library')", lambda: progress.property("library"))
show("setProperty('library', dict(Library()))", lambda: stored(dict(Library())))
show("property('library')", lambda: progress.property("library"))
show("setProperty('objectName', Library())", lambda: progress.setProperty("objectName", Library()))
