# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The display data document in and out, and what displayData() returns.
import json

from PythonQt.Kestrane import VeldmarkDisplay
from observe import show

display = VeldmarkDisplay()
show("displayData() at first", lambda: display.displayData().data())
document = {"IC50 (nM)": {"alias": "IC50", "default_uncertainty": 0.5, "selected": False},
            "Solubility": {"include_count": 1, "note": "kept"}}
show("setDisplayData(bytes)", lambda: display.setDisplayData(json.dumps(document).encode()))
written = display.displayData()
show("type name", lambda: type(written).__name__)
show("data() type", lambda: type(written.data()).__name__)
show("document", lambda: json.loads(written.data()))
show("data() ends", lambda: written.data()[-3:])
show("== its data()", lambda: written == written.data())
show("== other bytes", lambda: written == b"{}")
show("!= other bytes", lambda: written != b"{}")
show("bytes(x)", lambda: bytes(written))
show("len(x)", lambda: len(written))
show("str(x)", lambda: str(VeldmarkDisplay().displayData()))
show("bool(x)", lambda: bool(written))
show("x.size()", lambda: written.size())
show("x.isEmpty()", lambda: written.isEmpty())
show("setDisplayData(str)", lambda: display.setDisplayData('{"\u00e9": {}}'))
show("after str", lambda: json.loads(display.displayData().data()))
show("setDisplayData(bytearray)", lambda: display.setDisplayData(bytearray(b'{"ba": {}}')))
show("after bytearray", lambda: json.loads(display.displayData().data()))
show("setDisplayData(b'not json')", lambda: display.setDisplayData(b"not json"))
show("after not json", lambda: display.displayData().data())
show("setDisplayData(QByteArray)", lambda: display.setDisplayData(written))
show("after QByteArray", lambda: sorted(json.loads(display.displayData().data())))
