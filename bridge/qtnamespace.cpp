// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// PythonQt.Qt and PythonQt.QtCore's Qt namespace: Qt's enums, read from the
// namespace's meta-object so every value is Qt's own, and the helpers
// SIGNAL(), SLOT() and qVersion() that scripts use with them; PythonQt.Qt
// also holds every class of PythonQt.QtCore and PythonQt.QtGui.
#include "bytearrayobject.h"
#include "conversions.h"
#include "pythonqt_p.h"

#include <QMetaEnum>

namespace {

constexpr const char *EnumModule = "PythonQt.QtCore";

// The text a QString parameter takes, as PythonQt converts it: str() of a
// plain Python value, not of a wrapped object; false with PythonQt's error.
bool textArgument(const char *signature, PyObject *const *args, Py_ssize_t nargs, QString &text)
{
    if (nargs != 1) {
        MethodCall::wrongArguments({signature}, args, nargs, false);
        return false;
    }
    if (InstanceWrapper::check(args[0]) || ByteArrayObject::check(args[0])
        || !Conversions::toString(args[0], text, false)) {
        MethodCall::wrongArguments({signature}, args, nargs, true);
        return false;
    }
    return true;
}

// moc's code before a signature: '2' for a signal, '1' for a slot.
PyObject *withCode(const char *signature, char code, PyObject *const *args, Py_ssize_t nargs)
{
    QString text;
    if (!textArgument(signature, args, nargs, text))
        return nullptr;
    return Conversions::fromString(QLatin1Char(code) + text);
}

PyObject *signalText(PyObject *, PyObject *const *args, Py_ssize_t nargs)
{
    return withCode("static SIGNAL(QString s) -> QString", '2', args, nargs);
}

PyObject *slotText(PyObject *, PyObject *const *args, Py_ssize_t nargs)
{
    return withCode("static SLOT(QString s) -> QString", '1', args, nargs);
}

PyObject *versionText(PyObject *, PyObject *const *args, Py_ssize_t nargs)
{
    if (nargs != 0)
        return MethodCall::wrongArguments({"static qVersion() -> char"}, args, nargs, false);
    return PyUnicode_FromString(qVersion());
}

PyMethodDef functions[] = {
    {"SIGNAL", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(signalText)),
     METH_FASTCALL, "X.SIGNAL(s) -> str"},
    {"SLOT", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(slotText)), METH_FASTCALL,
     "X.SLOT(s) -> str"},
    {"qVersion", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(versionText)),
     METH_FASTCALL, "X.qVersion() -> str"},
    {nullptr, nullptr, 0, nullptr},
};

PyObject *refuseConstruction(PyTypeObject *, PyObject *, PyObject *)
{
    PyErr_SetString(PyExc_ValueError, "No constructors available for Qt");
    return nullptr;
}

PyType_Slot namespaceSlots[] = {
    {Py_tp_new, reinterpret_cast<void *>(refuseConstruction)},
    {0, nullptr},
};

PyType_Spec namespaceSpec = {"PythonQt.QtCore.Qt", 0, 0, Py_TPFLAGS_DEFAULT, namespaceSlots};

// An int subclass named after the enum, as PythonQt gives each enum and flags type.
PyObject *newEnumType(const char *name)
{
    return PyObject_CallFunction(reinterpret_cast<PyObject *>(&PyType_Type), "s(O){ss}", name,
                                 reinterpret_cast<PyObject *>(&PyLong_Type), "__module__",
                                 EnumModule);
}

bool setAttribute(PyObject *owner, const char *name, PyObject *value)
{
    const bool done = value && PyObject_SetAttrString(owner, name, value) == 0;
    Py_XDECREF(value);
    return done;
}

// The enum's type and its values, on the namespace and on the type; a flags
// enum (Alignment) also gets its own type, its values keep the enum's
// (AlignmentFlag).
bool addEnum(PyObject *qt, const QMetaEnum &metaEnum)
{
    PyObject *type = newEnumType(metaEnum.enumName());
    if (!type)
        return false;
    bool done = true;
    for (int i = 0; done && i < metaEnum.keyCount(); ++i) {
        PyObject *value = PyObject_CallFunction(type, "i", metaEnum.value(i));
        done = value && PyObject_SetAttrString(type, metaEnum.key(i), value) == 0
            && PyObject_SetAttrString(qt, metaEnum.key(i), value) == 0;
        Py_XDECREF(value);
    }
    Py_INCREF(type);
    done = done && setAttribute(qt, metaEnum.enumName(), type);
    // PythonQt has no Edges: a script that used it here would fail in the host.
    if (done && metaEnum.isFlag() && qstrcmp(metaEnum.name(), metaEnum.enumName()) != 0
        && qstrcmp(metaEnum.name(), "Edges") != 0)
        done = setAttribute(qt, metaEnum.name(), newEnumType(metaEnum.name()));
    Py_DECREF(type);
    return done;
}

// Qt's enums that its meta-object leaves out, and PenStyle's value hidden
// from moc; scripts find them in PythonQt's Qt all the same.
struct HiddenValue
{
    const char *enumName;
    const char *key;
    int value;
};

// clang-format off
#define QT_VALUE(Enum, Key) {#Enum, #Key, Qt::Key}
// clang-format on
const HiddenValue hiddenValues[] = {
    QT_VALUE(AnchorPoint, AnchorLeft),
    QT_VALUE(AnchorPoint, AnchorHorizontalCenter),
    QT_VALUE(AnchorPoint, AnchorRight),
    QT_VALUE(AnchorPoint, AnchorTop),
    QT_VALUE(AnchorPoint, AnchorVerticalCenter),
    QT_VALUE(AnchorPoint, AnchorBottom),
    QT_VALUE(CoordinateSystem, DeviceCoordinates),
    QT_VALUE(CoordinateSystem, LogicalCoordinates),
    QT_VALUE(DockWidgetAreaSizes, NDockWidgetAreas),
    QT_VALUE(EventPriority, HighEventPriority),
    QT_VALUE(EventPriority, NormalEventPriority),
    QT_VALUE(EventPriority, LowEventPriority),
    QT_VALUE(FindChildOption, FindDirectChildrenOnly),
    QT_VALUE(FindChildOption, FindChildrenRecursively),
    QT_VALUE(GestureFlag, DontStartGestureOnChildren),
    QT_VALUE(GestureFlag, ReceivePartialGestures),
    QT_VALUE(GestureFlag, IgnoredGesturesPropagateToParent),
    QT_VALUE(HitTestAccuracy, ExactHit),
    QT_VALUE(HitTestAccuracy, FuzzyHit),
    QT_VALUE(NavigationMode, NavigationModeNone),
    QT_VALUE(NavigationMode, NavigationModeKeypadTabOrder),
    QT_VALUE(NavigationMode, NavigationModeKeypadDirectional),
    QT_VALUE(NavigationMode, NavigationModeCursorAuto),
    QT_VALUE(NavigationMode, NavigationModeCursorForceVisible),
    QT_VALUE(PenStyle, MPenStyle),
    QT_VALUE(TileRule, StretchTile),
    QT_VALUE(TileRule, RepeatTile),
    QT_VALUE(TileRule, RoundTile),
    QT_VALUE(ToolBarAreaSizes, NToolBarAreas),
    QT_VALUE(UIEffect, UI_General),
    QT_VALUE(UIEffect, UI_AnimateMenu),
    QT_VALUE(UIEffect, UI_FadeMenu),
    QT_VALUE(UIEffect, UI_AnimateCombo),
    QT_VALUE(UIEffect, UI_AnimateTooltip),
    QT_VALUE(UIEffect, UI_FadeTooltip),
    QT_VALUE(UIEffect, UI_AnimateToolBox),
    QT_VALUE(WhiteSpaceMode, WhiteSpaceNormal),
    QT_VALUE(WhiteSpaceMode, WhiteSpacePre),
    QT_VALUE(WhiteSpaceMode, WhiteSpaceNoWrap),
    QT_VALUE(WhiteSpaceMode, WhiteSpaceModeUndefined),
    QT_VALUE(WindowFrameSection, NoSection),
    QT_VALUE(WindowFrameSection, LeftSection),
    QT_VALUE(WindowFrameSection, TopLeftSection),
    QT_VALUE(WindowFrameSection, TopSection),
    QT_VALUE(WindowFrameSection, TopRightSection),
    QT_VALUE(WindowFrameSection, RightSection),
    QT_VALUE(WindowFrameSection, BottomRightSection),
    QT_VALUE(WindowFrameSection, BottomSection),
    QT_VALUE(WindowFrameSection, BottomLeftSection),
    QT_VALUE(WindowFrameSection, TitleBarArea),
};
#undef QT_VALUE

// The flags types of the hidden enums, and one the meta-object lacks.
const char *const hiddenFlags[] = {"FindChildOptions", "GestureFlags", "MouseEventFlags"};

// The enum's type on the namespace, made when first needed.
PyObject *enumType(PyObject *qt, const char *name)
{
    if (PyObject *type = PyObject_GetAttrString(qt, name))
        return type;
    PyErr_Clear();
    PyObject *type = newEnumType(name);
    if (type && PyObject_SetAttrString(qt, name, type) != 0)
        Py_CLEAR(type);
    return type;
}

bool addHiddenEnums(PyObject *qt)
{
    for (const HiddenValue &hidden : hiddenValues) {
        PyObject *type = enumType(qt, hidden.enumName);
        PyObject *value = type ? PyObject_CallFunction(type, "i", hidden.value) : nullptr;
        const bool done = value && PyObject_SetAttrString(type, hidden.key, value) == 0
            && PyObject_SetAttrString(qt, hidden.key, value) == 0;
        Py_XDECREF(value);
        Py_XDECREF(type);
        if (!done)
            return false;
    }
    for (const char *flags : hiddenFlags) {
        if (!setAttribute(qt, flags, newEnumType(flags)))
            return false;
    }
    return true;
}

bool addFunctions(PyObject *owner)
{
    for (PyMethodDef *def = functions; def->ml_name; ++def) {
        if (!setAttribute(owner, def->ml_name, PyCFunction_New(def, nullptr)))
            return false;
    }
    return true;
}

PyObject *newNamespace()
{
    PyObject *qt = PyType_FromSpec(&namespaceSpec);
    if (!qt)
        return nullptr;
    const QMetaObject &mo = *qt_getQtMetaObject();
    for (int i = 0; i < mo.enumeratorCount(); ++i) {
        if (!addEnum(qt, mo.enumerator(i))) {
            Py_DECREF(qt);
            return nullptr;
        }
    }
    if (!addHiddenEnums(qt) || !addFunctions(qt))
        Py_CLEAR(qt);
    return qt;
}

// PythonQt.Qt holds every class of PythonQt.QtCore and PythonQt.QtGui
// too, as in PythonQt: `from PythonQt.Qt import QSize`.
bool gatherClasses(PyObject *qt, PyObject *module)
{
    PyObject *names = PyObject_Dir(module);
    if (!names)
        return false;
    bool done = true;
    for (Py_ssize_t i = 0; done && i < PyList_GET_SIZE(names); ++i) {
        PyObject *name = PyList_GET_ITEM(names, i);
        PyObject *value = PyObject_GetAttr(module, name);
        done = value && (!PyType_Check(value) || PyObject_SetAttr(qt, name, value) == 0);
        Py_XDECREF(value);
    }
    Py_DECREF(names);
    return done;
}

} // namespace

namespace QtNamespace {

bool install(PythonQtPrivate &bridge)
{
    PyObject *qt = newNamespace();
    if (!qt)
        return false;
    bool done = true;
    for (const char *package : {"QtCore", "Qt"}) {
        PyObject *module = done ? bridge.packageModule(package) : nullptr;
        done = module && setAttribute(module, "Qt", Py_NewRef(qt)) && addFunctions(module);
    }
    Py_DECREF(qt);
    PyObject *all = bridge.packageModule("Qt");
    return done && gatherClasses(all, bridge.packageModule("QtCore"))
        && gatherClasses(all, bridge.packageModule("QtGui"));
}

} // namespace QtNamespace
