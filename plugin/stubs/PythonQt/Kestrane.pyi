# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# Editor completion and type checking for the Veldmark dialogs as Kestrane's
# Python bridge shows them: `from PythonQt.Kestrane import VeldmarkSelection, ...`.
#
# The package holds exactly ProgressDialog, VeldmarkSelection,
# VeldmarkDisplay, QDialog and QWidget. QObject is not among them: the
# members every Qt object has are described by the private _QObject, which
# a script cannot import. Only the slots, properties and signals a query
# script uses are listed.
#
# Parameters are positional-only (the `/`): the bridge raises ValueError on
# keyword arguments. Where the bridge would convert a wrong type silently
# (anything to a str parameter via str(), anything to a bool parameter by
# its truth value), the stub asks for the type the slot means, so a type
# checker catches the slip.
from typing import (Any, Callable, Mapping, MutableMapping, Optional, Sequence, Tuple, TypeVar,
                    Union, overload)

from .QtCore import QByteArray as _QByteArray
from .QtCore import QMetaObject as _QMetaObject

# A library list is a list or a tuple of names. A bare str is a mistake the
# dialog reads as no libraries at all, yet it is a Sequence[str] itself (of
# one-letter strings), so no type tells the two apart. A map whose values are
# written as lists or tuples gets the strict type; a map declared with
# Sequence[str] values (Dict[str, Sequence[str]]) is taken on its word. The
# TypeVar keeps a dict written in the call from being read as such a map, so
# {"ADME": "Solubility"} is still refused; so is a map declared Dict[str, str]
# (a mutable map's values are not covariant).
_Libraries = Union[list[str], tuple[str, ...]]
_DeclaredLibraries = TypeVar("_DeclaredLibraries", bound=MutableMapping[str, Sequence[str]])

class _Signal:
    def connect(self, callback: Callable[..., Any], /) -> bool: ...
    def disconnect(self, callback: Callable[..., Any] = ..., /) -> bool: ...
    def emit(self, *args: Any) -> None: ...

class _QObject:
    objectName: str
    destroyed: _Signal
    def deleteLater(self) -> None: ...
    def className(self) -> str: ...
    def help(self) -> str:
        """The class's properties, constructors, slots and signals, as text."""
    def inherits(self, class_name: str, /) -> bool: ...
    def delete(self) -> None:
        """Deletes the C++ object at once; the wrapper then raises ValueError."""
    def connect(self, signal: str, callback: Callable[..., Any], /) -> bool:
        """`dialog.connect('finished(int)', callback)`."""
    def disconnect(self, signal: str, callback: Callable[..., Any] = ..., /) -> bool: ...
    def parent(self) -> Optional[_QObject]: ...
    def setParent(self, parent: Optional[_QObject], /) -> None: ...
    def property(self, name: str, /) -> Any: ...
    def setProperty(self, name: str, value: Any, /) -> bool: ...
    def metaObject(self) -> _QMetaObject:
        """The class's meta-object: its counts and indexOf...(); getClassName()
        names the class."""
    def __bool__(self) -> bool:
        """False once the C++ object has been deleted."""

class QWidget(_QObject):
    windowTitle: str
    enabled: bool
    visible: bool
    width: int
    height: int
    def show(self) -> None: ...
    def hide(self) -> None: ...
    def close(self) -> bool: ...
    def raise_(self) -> None: ...
    def lower(self) -> None: ...
    def setVisible(self, visible: bool, /) -> None: ...
    def setHidden(self, hidden: bool, /) -> None: ...
    def setEnabled(self, enabled: bool, /) -> None: ...
    def setDisabled(self, disabled: bool, /) -> None: ...
    def setWindowTitle(self, title: str, /) -> None: ...
    def setFocus(self) -> None: ...
    def showNormal(self) -> None: ...
    def showMaximized(self) -> None: ...
    def update(self) -> None: ...
    def repaint(self) -> None: ...

class QDialog(QWidget):
    modal: bool
    finished: _Signal
    accepted: _Signal
    rejected: _Signal
    def exec(self) -> int:
        """Runs the dialog modally; 1 when accepted, 0 when rejected."""
    def exec_(self) -> int: ...
    def open(self) -> None: ...
    def done(self, result: int, /) -> None: ...
    def accept(self) -> None: ...
    def reject(self) -> None: ...

class ProgressDialog(QDialog):
    """One line of text, a growing row of dots, and a Cancel button.

    Show it, then per step: setMessage(...) when the step changes, tick(),
    and stop when cancelled() is true."""
    def __init__(self, parent: Optional[QWidget] = None, /) -> None: ...
    def reject(self) -> None:
        """Closes the dialog and marks it cancelled (Cancel, Escape, close())."""
    def cancelled(self) -> bool:
        """True once the dialog has been rejected; never reset."""
    def setMessage(self, message: str, /) -> None:
        """Shows the message (without dots) and remembers it."""
    def tick(self) -> None:
        """Adds a dot (back to the bare message past 40 characters) and
        processes pending events, so the window repaints and Cancel works."""

class VeldmarkSelection(QDialog):
    """The service's libraries as a checkable tree under group headings,
    and the choice between per-compound and per-batch results."""
    def __init__(self, parent: Optional[QWidget] = None, /) -> None: ...
    def run(self) -> bool:
        """Runs the dialog modally; True when the user pressed OK."""
    @overload
    def setAvailableItems(self, available_items: Mapping[str, _Libraries], /) -> None:
        """Appends one group per key (in ascending key order) with its
        libraries below it, all unticked: {"ADME": ["Solubility"]}."""
    @overload
    def setAvailableItems(self, available_items: _DeclaredLibraries, /) -> None: ...
    def selectedItems(self) -> Tuple[str, ...]:
        """The ticked libraries, in tree order."""
    def aggregationMode(self) -> str:
        """"compound" or "batch"."""

class VeldmarkDisplay(QDialog):
    """The assays a query found: which to display, and each one's options."""
    def __init__(self, parent: Optional[QWidget] = None, /) -> None: ...
    def run(self) -> bool:
        """Runs the dialog modally; True when the user pressed OK."""
    def setDisplayData(self, display_data: Union[bytes, str, _QByteArray], /) -> None:
        """Loads the display data document (UTF-8 JSON; a str is sent as UTF-8)."""
    def displayData(self) -> _QByteArray:
        """The document with the user's choices: json.loads(d.displayData().data())."""
