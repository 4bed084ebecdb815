# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""The conformance matrix's shared part: the catalogue of argument values, the
deterministic choice of argument lists, and one printed line per call, so the
themes print the same lines whichever bridge runs them."""

import collections.abc
import fnmatch
import re

from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection

CLASSES = (ProgressDialog, VeldmarkSelection, VeldmarkDisplay)
ADDRESS = re.compile(r"0x[0-9a-fA-F]+")
# Calls left out: deliberate.txt's "matrix:<pattern> <kind> <reason>" lines,
# the pattern an fnmatch one over the printed label. Each names a difference
# already listed, with its reason, for a compatibility script.
LEFT_OUT = []
try:
    with open("deliberate.txt", encoding="utf-8") as listed:
        for entry in listed:
            found = re.match(r"matrix:(.*?) (?:crash|differs) (.*)", entry)
            if found:
                LEFT_OUT.append((found.group(1), found.group(2).strip()))
except OSError:
    pass


def left_out(label):
    return next((reason for pattern, reason in LEFT_OUT if fnmatch.fnmatchcase(label, pattern)), None)


class Library(collections.abc.Mapping):
    """A mapping that is neither a dict nor a sequence."""

    def __init__(self):
        self.items = {"group": ["library"]}

    def __getitem__(self, key):
        return self.items[key]

    def __iter__(self):
        return iter(self.items)

    def __len__(self):
        return len(self.items)

    def __repr__(self):
        return "Library()"


class Unprintable:
    def __str__(self):
        raise RuntimeError("no text")

    def __repr__(self):
        return "Unprintable()"


def destroyed_dialog():
    dialog = ProgressDialog()
    dialog.delete()
    return dialog


# The dialogs that own the child widgets handed out, alive to the end.
OWNERS = []


def child_widget():
    OWNERS.append(ProgressDialog())
    return OWNERS[-1].findChild("QLabel")


def generator():
    return (text for text in ("a", "b"))


def byte_array():
    return VeldmarkDisplay().displayData()


# (label, factory): a fresh value for every call, as some are used up
# (generators) or changed (dialogs) by the call they go to.
CATALOGUE = (
    ("None", lambda: None),
    ("True", lambda: True),
    ("False", lambda: False),
    ("0", lambda: 0),
    ("-1", lambda: -1),
    ("2**31-1", lambda: 2**31 - 1),
    ("2**31", lambda: 2**31),
    ("-2**31-1", lambda: -2**31 - 1),
    ("2**63-1", lambda: 2**63 - 1),
    ("2**64", lambda: 2**64),
    ("1.5", lambda: 1.5),
    ("nan", lambda: float("nan")),
    ("''", lambda: ""),
    ("'text'", lambda: "text"),
    ("'Größe✓'", lambda: "Größe✓"),
    ("'a\\0b'", lambda: "a\0b"),
    ("b'bytes'", lambda: b"bytes"),
    ("bytearray", lambda: bytearray(b"array")),
    ("memoryview", lambda: memoryview(b"view")),
    ("[]", lambda: []),
    ("['a',1]", lambda: ["a", 1]),
    ("('a',)", lambda: ("a",)),
    ("{}", lambda: {}),
    ("{'group':['library']}", lambda: {"group": ["library"]}),
    ("{'a'}", lambda: {"a"}),
    ("frozenset", lambda: frozenset({"a"})),
    ("generator", generator),
    ("range(2)", lambda: range(2)),
    ("dict.keys", lambda: {"a": 1}.keys()),
    ("dict.values", lambda: {"a": 1}.values()),
    ("dict.items", lambda: {"a": 1}.items()),
    ("Library()", Library),
    ("dialog", ProgressDialog),
    ("child", child_widget),
    ("destroyed", destroyed_dialog),
    ("QByteArray", byte_array),
    ("Unprintable()", Unprintable),
    ("print", lambda: print),
)


def argument_lists(seed=0):
    """Lists of 0 to 3 catalogue entries: none, each entry alone, and a
    deterministic sample of pairs and triples (a full product would take
    minutes)."""
    count = len(CATALOGUE)
    lists = [()]
    lists += [(i,) for i in range(count)]
    lists += [(i, (i * 7 + 3 + seed) % count) for i in range(0, count, 2)]
    lists += [(i, (i * 5 + 1 + seed) % count, (i * 11 + 2 + seed) % count) for i in range(0, count, 4)]
    return lists


def describe(value):
    module = type(value).__module__ or ""
    if module.startswith("PythonQt") and type(value).__name__ != "QByteArray":
        return f"<{type(value).__name__}>"
    if isinstance(value, (list, tuple)):
        inner = ", ".join(describe(item) for item in value)
        if isinstance(value, tuple):
            return f"({inner}{',' if len(value) == 1 else ''})"
        return f"[{inner}]"
    try:
        return f"{type(value).__name__} {value!r}"
    except Exception as e:
        return f"{type(value).__name__} (repr raises {type(e).__name__})"


def line(text):
    print(ADDRESS.sub("0x?", text[:400]))


def show(label, thunk):
    """One line: what calling thunk gives, or the exception it raises."""
    reason = left_out(label)
    if reason:
        line(f"{label}: left out (deliberate.txt)")
        return
    try:
        value = thunk()
    except Exception as e:
        line(f"{label}: raises {type(e).__name__}: {e}")
    else:
        line(f"{label}: {describe(value)}")


def call_matrix(prefix, make_target, name, seed=0, skip=()):
    """Calls target.name with each argument list, a fresh target each time."""
    for indexes in argument_lists(seed):
        labels = ",".join(CATALOGUE[i][0] for i in indexes)
        if labels in skip:
            continue

        def thunk():
            target = make_target()
            args = [CATALOGUE[i][1]() for i in indexes]
            return getattr(target, name)(*args)

        show(f"{prefix}.{name}({labels})", thunk)


def property_matrix(names, through_set_property):
    """Each property of a fresh ProgressDialog read, then written with every
    catalogue value and read back, as an attribute and, if asked, through
    setProperty()."""
    for name in names:
        show(f"ProgressDialog().{name}", lambda: getattr(ProgressDialog(), name))
        for label, make in CATALOGUE:
            def write():
                target = ProgressDialog()
                setattr(target, name, make())
                return getattr(target, name)

            def set_property():
                target = ProgressDialog()
                return target.setProperty(name, make()), getattr(target, name)

            show(f"ProgressDialog().{name} = {label}", write)
            if through_set_property:
                show(f"ProgressDialog().setProperty({name!r}, {label})", set_property)
