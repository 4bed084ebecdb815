# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# sys.stdout and sys.stderr as the host gives them to scripts, and
# sys.executable.
import sys
from observe import show

for name in ("stdout", "stderr"):
    stream = getattr(sys, name)
    show(f"{name} type", lambda: type(stream).__name__)
    show(f"{name} dir", lambda: [n for n in dir(stream) if not n.startswith("__")])
    show(f"{name}.write('text')", lambda: stream.write(f"{name} text\n"))
    show(f"{name}.write(b'bytes')", lambda: stream.write(b"bytes\n"))
    show(f"{name}.write(3)", lambda: stream.write(3))
    show(f"{name}.write()", lambda: stream.write())
    show(f"{name}.flush()", lambda: stream.flush())
    show(f"{name}.writelines(['a'])", lambda: stream.writelines(["a\n"]))
    show(f"{name}.encoding", lambda: stream.encoding)
    show(f"{name}.isatty()", lambda: stream.isatty())
    show(f"{name}.softspace", lambda: stream.softspace)
    show(f"{name}.closed", lambda: stream.closed)
    show(f"{name}.fileno()", lambda: stream.fileno())
show("sys.executable", lambda: sys.executable)
show("print(file=sys.stderr)", lambda: print("to stderr", file=sys.stderr))
