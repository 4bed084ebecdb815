# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# How a script makes a byte array, and what the class says about itself.
from PythonQt.Kestrane import VeldmarkDisplay
from PythonQt.QtCore import QByteArray
from observe import show

for args in ["", "b'abc'", "b'a\\x00b'", "'abc'", "'\u00e9'", "'a\\x00b'", "'\\ud800'",
             "QByteArray(b'q')", "VeldmarkDisplay().displayData()", "3, 120", "3, 'x'",
             "3, b'x'", "-1, 120", "0, 120", "2.5, 120", "2, 120.7", "2, True", "2, 200",
             "1", "2.5", "None", "bytearray(b'x')", "memoryview(b'x')", "[1]", "b'a', b'b'",
             "b'abc', 2", "1, 2, 3", "data=b'x'", "VeldmarkDisplay()"]:
    show(f"QByteArray({args})", lambda: eval(f"QByteArray({args})"))


class Bytes(bytes):
    pass


class Text(str):
    pass


show("from a bytes subclass", lambda: QByteArray(Bytes(b"bb")))
show("from a str subclass", lambda: QByteArray(Text("ss")))
original = QByteArray(b"abc")
show("copy is another object", lambda: QByteArray(original) is original)
show("type", lambda: (QByteArray.__name__, QByteArray.__qualname__, QByteArray.__module__))
show("__doc__", lambda: QByteArray.__doc__)
show("isinstance(displayData(), QByteArray)",
     lambda: isinstance(VeldmarkDisplay().displayData(), QByteArray))
show("className()", lambda: original.className())
show("help()", lambda: original.help())
show("className(1)", lambda: original.className(1))


def set_attribute(name):
    setattr(original, name, 1)
    return getattr(original, name)


show("a new attribute", lambda: set_attribute("note"))
show("a method overwritten", lambda: set_attribute("data"))
show("a method deleted", lambda: delattr(original, "size"))
show("a missing attribute", lambda: original.lenght())
show("unbound method", lambda: QByteArray.size(original))
show("static method on the class", lambda: QByteArray.number(5))
show("isinstance(x, bytes)", lambda: isinstance(original, bytes))


class Subclass(QByteArray):
    pass


show("a subclass", lambda: (Subclass(b"ab").size(), type(Subclass(b"ab") + b"c").__name__))
show("copy.copy()", lambda: __import__("copy").copy(original))
show("pickle.dumps()", lambda: __import__("pickle").dumps(original))

# Its enums.
for name in sorted(n for n in dir(QByteArray) if n[0].isupper()):
    value = getattr(QByteArray, name)
    show(f"QByteArray.{name}", lambda: (type(value).__name__, type(value).__module__,
                                        [c.__name__ for c in type(value).__mro__[1:]],
                                        int(value) if isinstance(value, int) else None))
show("Base64UrlEncoding | OmitTrailingEquals",
     lambda: QByteArray.Base64UrlEncoding | QByteArray.OmitTrailingEquals)
show("toBase64(Base64UrlEncoding | OmitTrailingEquals)",
     lambda: QByteArray(b"hi?").toBase64(QByteArray.Base64UrlEncoding
                                         | QByteArray.OmitTrailingEquals).data())
show("Base64Options(3)", lambda: int(QByteArray.Base64Options(3)))
show("on an instance", lambda: int(original.OmitTrailingEquals))
