# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Values whose conversion fails part-way: a number too big for any Qt type,
# a key whose str() raises, text with lone surrogates, which UTF-8 cannot hold.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
from observe import show


class NoText:
    def __str__(self):
        raise RuntimeError("no text")


progress = ProgressDialog()
selection = VeldmarkSelection()
display = VeldmarkDisplay()
show("setAvailableItems({'G': [10 ** 100]})", lambda: selection.setAvailableItems({"G": [10 ** 100]}))
show("setAvailableItems({NoText(): ['x']})", lambda: selection.setAvailableItems({NoText(): ["x"]}))
show("setAvailableItems with surrogates", lambda: selection.setAvailableItems({"G\ud800": ["\udfff"]}))
show("groups", lambda: selection.treeWidget.topLevelItemCount)
show("setDisplayData with a surrogate", lambda: display.setDisplayData('{"\udcff": {}}'))
show("document", lambda: display.displayData().data())
show("setMessage('before')", lambda: progress.setMessage("before"))
show("setMessage with a surrogate", lambda: progress.setMessage("a\udcffb"))
show("label text", lambda: progress.label.text)


def set_title():
    progress.windowTitle = NoText()


show("windowTitle = NoText()", set_title)
show("windowTitle", lambda: progress.windowTitle)
