# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The conformance matrix, the meta-object: what d.metaObject() gives, each of
# its methods called with 0 to 3 catalogue values, its comparisons, and what
# is left of it once its dialog is deleted.
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection
import weakref

from matrix import CLASSES, call_matrix, line, show

# The dialogs whose meta-objects are asked, alive to the end.
DIALOGS = []


def meta_object():
    dialog = ProgressDialog()
    DIALOGS.append(dialog)
    return dialog.metaObject()


def in_lines(label, names):
    """A long list a few names a line, as a line is cut at 400 characters."""
    for start in range(0, len(names), 8):
        line(f"{label}[{start}:]: {names[start:start + 8]}")


METHODS = sorted(name for name in dir(meta_object()) if not name.startswith("__"))
for name in METHODS:
    call_matrix("ProgressDialog().metaObject()", meta_object, name)

# Qt's static ones, read from the class, and the others given an instance.
QMetaObject = type(meta_object())
for name in ("checkConnectArgs", "normalizedSignature", "normalizedType"):
    call_matrix("QMetaObject", lambda: QMetaObject, name)
for name in METHODS:
    show(f"QMetaObject.{name}(ProgressDialog().metaObject())", lambda: getattr(QMetaObject, name)(meta_object()))

dialog = ProgressDialog()
meta = dialog.metaObject()
show("type(meta)", lambda: f"{type(meta).__module__}.{type(meta).__name__}")
in_lines("dir(meta)", dir(meta))
in_lines("dir(type(meta))", dir(type(meta)))
show("dir(meta) == dir(type(meta))", lambda: dir(meta) == dir(type(meta)))
show("vars(meta)", lambda: vars(meta))
show("weakref.ref(meta)() is meta", lambda: weakref.ref(meta)() is meta)
show("repr(meta)", lambda: repr(meta))
show("str(meta)", lambda: str(meta))
show("bool(meta)", lambda: bool(meta))
show("meta.__doc__", lambda: meta.__doc__)
show("type(meta)()", lambda: type(meta)())
show("type(meta)(meta)", lambda: type(meta)(meta))
show("meta is dialog.metaObject()", lambda: meta is dialog.metaObject())
show("meta == dialog.metaObject()", lambda: meta == dialog.metaObject())
show("meta != dialog.metaObject()", lambda: meta != dialog.metaObject())
show("meta == ProgressDialog().metaObject()", lambda: meta == ProgressDialog().metaObject())
show("meta is ProgressDialog().metaObject()", lambda: meta is ProgressDialog().metaObject())
show("meta == VeldmarkDisplay().metaObject()", lambda: meta == VeldmarkDisplay().metaObject())
show("meta == dialog", lambda: meta == dialog)
show("meta == 1", lambda: meta == 1)
show("meta < dialog.metaObject()", lambda: meta < dialog.metaObject())
show("hash(meta) == hash(dialog.metaObject())", lambda: hash(meta) == hash(dialog.metaObject()))
show("meta.superClass() == meta.superClass()", lambda: meta.superClass() == meta.superClass())
show("meta.superClass() is meta.superClass()", lambda: meta.superClass() is meta.superClass())
show("meta.x = 1", lambda: setattr(meta, "x", 1))
show("meta.x", lambda: meta.x)
show("meta.methodCount = 1", lambda: setattr(meta, "methodCount", 1))
show("meta.inherits('QMetaObject')", lambda: meta.inherits("QMetaObject"))
show("meta.inherits('QObject')", lambda: meta.inherits("QObject"))
show("meta.inherits('ProgressDialog')", lambda: meta.inherits("ProgressDialog"))
show("meta.missing", lambda: meta.missing)


def chain(meta):
    names = []
    while meta is not None:
        names.append(meta.getClassName())
        meta = meta.superClass()
    return names


for cls in CLASSES:
    show(f"chain({cls.__name__}().metaObject())", lambda: chain(cls().metaObject()))
    show(f"{cls.__name__}().metaObject() counts",
         lambda: [getattr(cls().metaObject(), name)() for name in METHODS if name.endswith(("Count", "Offset"))])

show("repr(dialog.metaObject)", lambda: repr(dialog.metaObject))
show("repr(ProgressDialog.metaObject)", lambda: repr(ProgressDialog.metaObject))
for label, make in (("()", lambda: ()), ("(dialog)", lambda: (dialog,)), ("(1)", lambda: (1,)),
                    ("(VeldmarkDisplay())", lambda: (VeldmarkDisplay(),))):
    show(f"ProgressDialog.metaObject{label}", lambda: ProgressDialog.metaObject(*make()).getClassName())
show("'metaObject' in dir(dialog)", lambda: "metaObject" in dir(dialog))
show("'metaObject' in dir(VeldmarkSelection)", lambda: "metaObject" in dir(VeldmarkSelection))

# A meta-object given where text, a truth value or a Qt object goes.
target = ProgressDialog()
show("target.setMessage(meta)", lambda: target.setMessage(meta))
show("target.property(meta)", lambda: target.property(meta))
show("target.setProperty(meta, 1)", lambda: target.setProperty(meta, 1))
show("target.findChild(meta)", lambda: target.findChild(meta))
show("target.connect(meta, print)", lambda: target.connect(meta, print))
show("target.windowTitle = meta", lambda: setattr(target, "windowTitle", meta) or target.windowTitle)
show("target.setEnabled(meta)", lambda: target.setEnabled(meta))
show("target.setParent(meta)", lambda: target.setParent(meta))
show("target.inherits(meta)", lambda: target.inherits(meta))
show("target.setWindowTitle(meta)", lambda: target.setWindowTitle(meta))
show("target.finished.emit(meta)", lambda: target.finished.emit(meta))
show("meta.indexOfSignal(meta)", lambda: meta.indexOfSignal(meta))

gone = ProgressDialog()
kept = gone.metaObject()
gone.delete()
show("gone.metaObject()", lambda: gone.metaObject())
show("kept.getClassName() after delete", lambda: kept.getClassName())
show("kept.methodCount() after delete", lambda: kept.methodCount())
show("kept.indexOfSignal('rejected()') after delete", lambda: kept.indexOfSignal("rejected()"))

show("meta.delete()", lambda: meta.delete())
show("meta.getClassName() after its delete()", lambda: meta.getClassName())
show("meta.methodCount() after its delete()", lambda: meta.methodCount())
show("bool(meta) after its delete()", lambda: bool(meta))
show("meta is dialog.metaObject() after its delete()", lambda: meta is dialog.metaObject())
show("meta == dialog.metaObject() after its delete()", lambda: meta == dialog.metaObject())
show("dialog.metaObject().getClassName() after its delete()", lambda: dialog.metaObject().getClassName())
show("dialog.metaObject() is dialog.metaObject()", lambda: dialog.metaObject() is dialog.metaObject())
show("dialog alive after meta.delete()", lambda: dialog.className())
