# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""What the compatibility scripts print: one plain line per observation, the
same whichever bridge runs them, so two runs can be compared line by line."""


def describe(value):
    """A value as a script sees it; wrapped objects by their class, as their
    repr holds addresses."""
    module = type(value).__module__ or ""
    if module.startswith("PythonQt") and type(value).__name__ != "QByteArray":
        return f"<{type(value).__name__}>"
    if isinstance(value, (list, tuple)):
        inner = ", ".join(describe(item) for item in value)
        if isinstance(value, tuple):
            return f"({inner}{',' if len(value) == 1 else ''})"
        return f"[{inner}]"
    if isinstance(value, dict):
        return "{" + ", ".join(f"{k!r}: {describe(v)}" for k, v in value.items()) + "}"
    return f"{type(value).__name__} {value!r}"


def show(label, thunk):
    """Prints what calling thunk gives: its value, or the exception it raises."""
    try:
        value = thunk()
    except Exception as e:
        print(f"{label}: raises {type(e).__name__}: {e}")
    else:
        print(f"{label}: {describe(value)}")
