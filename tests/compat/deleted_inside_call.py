# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Python code of the script's own, run by the bridge in the middle of a call,
# that deletes the dialog the call works on.
from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = None


class DeletesOnStr:
    def __str__(self):
        progress.delete()
        return "title"


class DeletesOnIter:
    # A sequence, as only sequences become lists in a variant.
    def __len__(self):
        return 1

    def __getitem__(self, i):
        return [1][i]

    def __iter__(self):
        progress.delete()
        return iter([1])


class DeletesOnEq:
    def __eq__(self, other):
        progress.delete()
        return False

    __hash__ = object.__hash__


def write_title():
    progress.windowTitle = DeletesOnStr()


def write_dynamic():
    progress.extra = DeletesOnIter()


progress = ProgressDialog()
show("progress.windowTitle = DeletesOnStr()", write_title)
show("bool(progress)", lambda: bool(progress))
progress = ProgressDialog()
show("progress.setProperty('extra', DeletesOnIter())", lambda: progress.setProperty("extra", DeletesOnIter()))
show("bool(progress)", lambda: bool(progress))
progress = ProgressDialog()
progress.setProperty("extra", 1)
show("progress.extra = DeletesOnIter()", write_dynamic)
show("bool(progress)", lambda: bool(progress))
progress = ProgressDialog()
progress.finished.connect(print)
progress.finished.connect(repr)
show("progress.finished.disconnect(DeletesOnEq())", lambda: progress.finished.disconnect(DeletesOnEq()))
show("bool(progress)", lambda: bool(progress))
