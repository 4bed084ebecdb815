# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Properties written with a value of the wrong type: text, bool, int,
# double and enum properties of a dialog.
from PythonQt.Kestrane import ProgressDialog
from observe import show

progress = ProgressDialog()


def write(name, value):
    setattr(progress, name, value)


cases = {
    "windowTitle": ("t", 5, 1.5, True, None, b"b", ["x"], progress),
    "modal": (True, 0, 1, 1.5, "yes", None, [], progress),
    "windowOpacity": (0.5, 1, True, "0.5", None),
    "minimumWidth": (10, 10.7, True, "10", None),
    "windowModality": (1, 2.0, 1.5, True, "1", None),
    "layoutDirection": (1, 1.5, True),
    "contextMenuPolicy": (2, 1.5, False),
    "objectName": ("n", 3, None),
}
for name, values in cases.items():
    for value in values:
        label = "progress" if value is progress else repr(value)
        show(f"{name} = {label}", lambda: write(name, value))
        show(f"  {name}", lambda: getattr(progress, name))

# A bytearray is no byte array to a property set by name: refused as a list is.
show("setProperty('objectName', bytearray(b'x'))",
     lambda: (progress.setProperty("objectName", bytearray(b"x")), progress.objectName))
show("setProperty('modal', bytearray(b'x'))",
     lambda: (progress.setProperty("modal", bytearray(b"x")), progress.modal))
