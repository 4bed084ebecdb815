// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "valueclasses.h"

#include "bytearrayobject.h"
#include "conversions.h"
#include "pythonqt_p.h"

#include <QCursor>
#include <QDebug>
#include <QFont>
#include <QIcon>
#include <QLocale>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QSizePolicy>

#include <cmath>
#include <functional>
#include <limits>
#include <new>

namespace {

// One callable form of a constructor or method: its parameters' meta-types
// and what it does to the value (a constructor's value starts invalid).
struct Signature
{
    QByteArray signature; // as PythonQt shows it in error messages
    QVector<int> params;
    std::function<QVariant(QVariant &self, const QVariantList &args)> run;
};

struct Method
{
    QByteArray name;
    QVector<Signature> overloads;
    bool isStatic = false; // called without the value, on the class or an instance
};

// The operators PythonQt gives a value class, each by the name of the
// method it calls ("__div__" for /), in the order of Operator.
enum Operator { Add, Subtract, Multiply, Divide, And, Or, OperatorCount };

struct ValueClass
{
    const char *name;
    bool inQtGui;
    int typeId;
    // The text inside PythonQt's "QSize (400, 65, at: 0x...)"; without
    // one, repr() and str() are both what qDebug() prints.
    std::function<QString(const QVariant &)> text;
    std::function<QString(const QVariant &)> debugText;
    std::function<bool(const QVariant &)> truth;
    bool comparable; // by value; else, as QIcon in PythonQt, by identity
    QVector<Signature> constructors;
    QVector<Method> methods;
    QVector<Method> operators = QVector<Method>(OperatorCount); // unnamed: absent
    PyTypeObject *type = nullptr;
    // Kept while the type lives: CPython reads the name from them.
    QByteArray typeName = {};
    QVector<PyType_Slot> typeSlots = {};
    PyType_Spec typeSpec = {};
};

template<typename T> QString debugText(const QVariant &value)
{
    QString text;
    QDebug(&text) << value.value<T>();
    return text;
}

template<typename T> T &as(QVariant &value)
{
    return *static_cast<T *>(value.data());
}

template<typename T> T arg(const QVariantList &args, int i)
{
    return args.at(i).value<T>();
}

const int Int = QMetaType::Int;
const int Bool = QMetaType::Bool;
const int Size = QMetaType::QSize;
const int Point = QMetaType::QPoint;
const int Rect = QMetaType::QRect;
const int Double = QMetaType::Double;
// A parameter of a class the bridge does not have (QMargins, QMatrix, ...):
// PythonQt names the overload in its errors, and nothing converts to it.
const int Absent = QMetaType::UnknownType;

QString pair(int a, int b)
{
    return QStringLiteral("%1, %2").arg(a).arg(b);
}

// A method that reads the value and takes no arguments.
template<typename T, typename R>
Method getter(const char *name, const char *type, R (T::*read)() const)
{
    return {name,
            {{QByteArray(name) + "() -> " + type, {}, [read](QVariant &self, const QVariantList &) {
                  return QVariant::fromValue((as<T>(self).*read)());
              }}}};
}

// A method that changes the value from one argument of the given meta-type.
template<typename T, typename A>
Method setterOf(const char *name, const char *param, int type, void (T::*write)(A))
{
    return {name,
            {{QByteArray(name) + "(" + param + ") -> void",
              {type},
              [write](QVariant &self, const QVariantList &args) {
                  (as<T>(self).*write)(arg<std::decay_t<A>>(args, 0));
                  return QVariant();
              }}}};
}

template<typename T> Method setter(const char *name, const char *param, void (T::*write)(int))
{
    return {name,
            {{QByteArray(name) + "(int " + param + ") -> void",
              {Int},
              [write](QVariant &self, const QVariantList &args) {
                  (as<T>(self).*write)(arg<int>(args, 0));
                  return QVariant();
              }}}};
}

// Qt rounds and converts without a check; a coordinate that does not fit
// in an int (or a division by zero) raises instead.
bool fitsInt(double value)
{
    return value > -2147483647.0 && value < 2147483647.0; // false for nan
}

bool fitsInt(qint64 value)
{
    return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

QVariant outOfRange(const char *className)
{
    PyErr_Format(PyExc_OverflowError, "the result does not fit in a %s", className);
    return QVariant();
}

QVariant divisionByZero()
{
    PyErr_SetString(PyExc_ZeroDivisionError, "division by zero");
    return QVariant();
}

QVariant pointSum(const QPoint &a, const QPoint &b, int sign)
{
    const qint64 x = qint64(a.x()) + sign * qint64(b.x());
    const qint64 y = qint64(a.y()) + sign * qint64(b.y());
    if (!fitsInt(x) || !fitsInt(y))
        return outOfRange("QPoint");
    return QVariant(QPoint(int(x), int(y)));
}

QVariant sizeSum(const QSize &a, const QSize &b, int sign)
{
    const qint64 w = qint64(a.width()) + sign * qint64(b.width());
    const qint64 h = qint64(a.height()) + sign * qint64(b.height());
    if (!fitsInt(w) || !fitsInt(h))
        return outOfRange("QSize");
    return QVariant(QSize(int(w), int(h)));
}

// Scaled as Qt scales (qRound of the product), once the result is known to
// fit; a divisor is a factor 1 / c that Qt computes as a division.
QVariant pointScaled(const QPoint &p, double factor, bool divide)
{
    if (divide && factor == 0)
        return divisionByZero();
    const double x = divide ? p.x() / factor : p.x() * factor;
    const double y = divide ? p.y() / factor : p.y() * factor;
    if (!fitsInt(x) || !fitsInt(y))
        return outOfRange("QPoint");
    return QVariant(divide ? p / factor : p * factor);
}

QVariant sizeScaled(const QSize &s, double factor, bool divide)
{
    if (divide && factor == 0)
        return divisionByZero();
    const double w = divide ? s.width() / factor : s.width() * factor;
    const double h = divide ? s.height() / factor : s.height() * factor;
    if (!fitsInt(w) || !fitsInt(h))
        return outOfRange("QSize");
    return QVariant(divide ? s / factor : s * factor);
}

Signature absent(const char *signature)
{
    return {signature, {Absent}, nullptr};
}

void addOperatorsAndMethods(QVector<ValueClass> &classes);

QVector<ValueClass> makeClasses()
{
    QVector<ValueClass> classes;

    classes.append({"QSize",
                    false,
                    Size,
                    [](const QVariant &v) {
                        const QSize s = v.toSize();
                        return pair(s.width(), s.height());
                    },
                    nullptr,
                    [](const QVariant &v) { return !v.toSize().isEmpty(); },
                    true,
                    {{"QSize() -> QSize",
                      {},
                      [](QVariant &, const QVariantList &) { return QVariant(QSize()); }},
                     {"QSize(QSize other) -> QSize",
                      {Size},
                      [](QVariant &, const QVariantList &a) { return a.at(0); }},
                     {"QSize(int w, int h) -> QSize",
                      {Int, Int},
                      [](QVariant &, const QVariantList &a) {
                          return QVariant(QSize(arg<int>(a, 0), arg<int>(a, 1)));
                      }}},
                    {getter("width", "int", &QSize::width),
                     getter("height", "int", &QSize::height),
                     getter("isEmpty", "bool", &QSize::isEmpty),
                     getter("isNull", "bool", &QSize::isNull),
                     getter("isValid", "bool", &QSize::isValid),
                     getter("transposed", "QSize", &QSize::transposed),
                     setter("setWidth", "w", &QSize::setWidth),
                     setter("setHeight", "h", &QSize::setHeight),
                     {"boundedTo",
                      {{"boundedTo(QSize arg__1) -> QSize",
                        {Size},
                        [](QVariant &self, const QVariantList &a) {
                            return QVariant(as<QSize>(self).boundedTo(arg<QSize>(a, 0)));
                        }}}},
                     {"expandedTo",
                      {{"expandedTo(QSize arg__1) -> QSize",
                        {Size},
                        [](QVariant &self, const QVariantList &a) {
                            return QVariant(as<QSize>(self).expandedTo(arg<QSize>(a, 0)));
                        }}}}}});

    classes.append({"QPoint",
                    false,
                    Point,
                    [](const QVariant &v) {
                        const QPoint p = v.toPoint();
                        return pair(p.x(), p.y());
                    },
                    nullptr,
                    [](const QVariant &v) { return !v.toPoint().isNull(); },
                    true,
                    {{"QPoint() -> QPoint",
                      {},
                      [](QVariant &, const QVariantList &) { return QVariant(QPoint()); }},
                     {"QPoint(QPoint other) -> QPoint",
                      {Point},
                      [](QVariant &, const QVariantList &a) { return a.at(0); }},
                     {"QPoint(int xpos, int ypos) -> QPoint",
                      {Int, Int},
                      [](QVariant &, const QVariantList &a) {
                          return QVariant(QPoint(arg<int>(a, 0), arg<int>(a, 1)));
                      }}},
                    {getter("x", "int", &QPoint::x), getter("y", "int", &QPoint::y),
                     getter("isNull", "bool", &QPoint::isNull),
                     getter("manhattanLength", "int", &QPoint::manhattanLength),
                     getter("transposed", "QPoint", &QPoint::transposed),
                     setter("setX", "x", &QPoint::setX), setter("setY", "y", &QPoint::setY)}});

    classes.append(
        {"QRect",
         false,
         Rect,
         [](const QVariant &v) {
             const QRect r = v.toRect();
             return pair(r.x(), r.y()) + QStringLiteral(", ") + pair(r.width(), r.height());
         },
         nullptr,
         [](const QVariant &v) { return !v.toRect().isEmpty(); },
         true,
         {{"QRect() -> QRect",
           {},
           [](QVariant &, const QVariantList &) { return QVariant(QRect()); }},
          {"QRect(QRect other) -> QRect",
           {Rect},
           [](QVariant &, const QVariantList &a) { return a.at(0); }},
          {"QRect(int left, int top, int width, int height) -> QRect",
           {Int, Int, Int, Int},
           [](QVariant &, const QVariantList &a) {
               return QVariant(
                   QRect(arg<int>(a, 0), arg<int>(a, 1), arg<int>(a, 2), arg<int>(a, 3)));
           }},
          {"QRect(QPoint topleft, QSize size) -> QRect",
           {Point, Size},
           [](QVariant &, const QVariantList &a) {
               return QVariant(QRect(arg<QPoint>(a, 0), arg<QSize>(a, 1)));
           }},
          {"QRect(QPoint topleft, QPoint bottomright) -> QRect",
           {Point, Point},
           [](QVariant &, const QVariantList &a) {
               return QVariant(QRect(arg<QPoint>(a, 0), arg<QPoint>(a, 1)));
           }}},
         {getter("x", "int", &QRect::x),
          getter("y", "int", &QRect::y),
          getter("width", "int", &QRect::width),
          getter("height", "int", &QRect::height),
          getter("left", "int", &QRect::left),
          getter("top", "int", &QRect::top),
          getter("right", "int", &QRect::right),
          getter("bottom", "int", &QRect::bottom),
          getter("size", "QSize", &QRect::size),
          getter("topLeft", "QPoint", &QRect::topLeft),
          getter("topRight", "QPoint", &QRect::topRight),
          getter("bottomLeft", "QPoint", &QRect::bottomLeft),
          getter("bottomRight", "QPoint", &QRect::bottomRight),
          getter("center", "QPoint", &QRect::center),
          getter("isEmpty", "bool", &QRect::isEmpty),
          getter("isNull", "bool", &QRect::isNull),
          getter("isValid", "bool", &QRect::isValid),
          getter("normalized", "QRect", &QRect::normalized),
          {"contains",
           {{"contains(QPoint p, bool proper) -> bool",
             {Point, Bool},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QPoint>(a, 0), arg<bool>(a, 1)));
             }},
            {"contains(QPoint p) -> bool",
             {Point},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QPoint>(a, 0)));
             }},
            {"contains(QRect r, bool proper) -> bool",
             {Rect, Bool},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QRect>(a, 0), arg<bool>(a, 1)));
             }},
            {"contains(QRect r) -> bool",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<QRect>(a, 0)));
             }},
            {"contains(int x, int y) -> bool",
             {Int, Int},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).contains(arg<int>(a, 0), arg<int>(a, 1)));
             }},
            {"contains(int x, int y, bool proper) -> bool",
             {Int, Int, Bool},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(
                     as<QRect>(self).contains(arg<int>(a, 0), arg<int>(a, 1), arg<bool>(a, 2)));
             }}}},
          {"intersects",
           {{"intersects(QRect r) -> bool",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).intersects(arg<QRect>(a, 0)));
             }}}},
          {"intersected",
           {{"intersected(QRect other) -> QRect",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).intersected(arg<QRect>(a, 0)));
             }}}},
          {"united",
           {{"united(QRect other) -> QRect",
             {Rect},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).united(arg<QRect>(a, 0)));
             }}}},
          {"adjusted",
           {{"adjusted(int x1, int y1, int x2, int y2) -> QRect",
             {Int, Int, Int, Int},
             [](QVariant &self, const QVariantList &a) {
                 return QVariant(as<QRect>(self).adjusted(arg<int>(a, 0), arg<int>(a, 1),
                                                          arg<int>(a, 2), arg<int>(a, 3)));
             }}}}}});

    classes.append({"QFont",
                    true,
                    QMetaType::QFont,
                    [](const QVariant &v) { return v.value<QFont>().toString(); },
                    nullptr,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {getter("family", "QString", &QFont::family),
                     getter("pointSize", "int", &QFont::pointSize),
                     getter("pixelSize", "int", &QFont::pixelSize),
                     getter("bold", "bool", &QFont::bold), getter("italic", "bool", &QFont::italic),
                     getter("toString", "QString", &QFont::toString)}});

    // Opaque: what they print and how they compare, no methods yet.
    classes.append({"QPalette",
                    true,
                    QMetaType::QPalette,
                    nullptr,
                    debugText<QPalette>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QSizePolicy",
                    true,
                    QMetaType::QSizePolicy,
                    nullptr,
                    debugText<QSizePolicy>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QCursor",
                    true,
                    QMetaType::QCursor,
                    nullptr,
                    debugText<QCursor>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QIcon",
                    true,
                    QMetaType::QIcon,
                    nullptr,
                    debugText<QIcon>,
                    [](const QVariant &v) { return !v.value<QIcon>().isNull(); },
                    false,
                    {},
                    {}});
    classes.append({"QLocale",
                    false,
                    QMetaType::QLocale,
                    nullptr,
                    debugText<QLocale>,
                    [](const QVariant &) { return true; },
                    true,
                    {},
                    {}});
    classes.append({"QRegion",
                    true,
                    QMetaType::QRegion,
                    nullptr,
                    debugText<QRegion>,
                    [](const QVariant &v) { return !v.value<QRegion>().isEmpty(); },
                    true,
                    {},
                    {}});
    addOperatorsAndMethods(classes);
    return classes;
}

ValueClass &named(QVector<ValueClass> &classes, const char *name)
{
    for (ValueClass &c : classes) {
        if (qstrcmp(c.name, name) == 0)
            return c;
    }
    Q_UNREACHABLE();
}

// Numbers as PythonQt offers them for QPoint * factor: the forms it lists in
// its errors, of which a script here can give only a number.
QVector<Signature> pointFactor()
{
    const auto scaled = [](QVariant &self, const QVariantList &a) {
        return pointScaled(as<QPoint>(self), arg<double>(a, 0), false);
    };
    return {absent("__mul__(QMatrix m) -> QPoint"),
            absent("__mul__(QMatrix4x4 matrix) -> QPoint"),
            absent("__mul__(QTransform m) -> QPoint"),
            {"__mul__(double factor) -> QPoint", {Double}, scaled},
            {"__mul__(float factor) -> QPoint", {QMetaType::Float}, scaled},
            {"__mul__(int factor) -> QPoint", {Int}, scaled}};
}

// QRect's moves and resizes, computed on 64-bit coordinates as Qt computes
// them on ints, so that a result beyond an int raises instead of wrapping.
struct Coords
{
    qint64 x1, y1, x2, y2;
};

Coords coordsOf(const QRect &r)
{
    return {r.left(), r.top(), r.right(), r.bottom()};
}

QVariant storeCoords(QVariant &self, const Coords &c, bool inPlace)
{
    for (const qint64 v : {c.x1, c.y1, c.x2, c.y2}) {
        if (!fitsInt(v))
            return outOfRange("QRect");
    }
    QRect r;
    r.setCoords(int(c.x1), int(c.y1), int(c.x2), int(c.y2));
    if (inPlace) {
        self = QVariant(r);
        return QVariant();
    }
    return QVariant(r);
}

using RectChange = std::function<void(Coords &, const QVariantList &)>;

// A method that changes the rectangle (returns None), or one that returns
// a changed copy.
Signature rectChange(const QByteArray &signature, const QVector<int> &params, RectChange change,
                     bool inPlace = true)
{
    return {signature, params, [change, inPlace](QVariant &self, const QVariantList &a) {
                Coords c = coordsOf(as<QRect>(self));
                change(c, a);
                return storeCoords(self, c, inPlace);
            }};
}

void moveLeft(Coords &c, qint64 pos)
{
    c.x2 += pos - c.x1;
    c.x1 = pos;
}

void moveTop(Coords &c, qint64 pos)
{
    c.y2 += pos - c.y1;
    c.y1 = pos;
}

void moveRight(Coords &c, qint64 pos)
{
    c.x1 += pos - c.x2;
    c.x2 = pos;
}

void moveBottom(Coords &c, qint64 pos)
{
    c.y1 += pos - c.y2;
    c.y2 = pos;
}

void translate(Coords &c, qint64 dx, qint64 dy)
{
    c.x1 += dx;
    c.x2 += dx;
    c.y1 += dy;
    c.y2 += dy;
}

QPoint pointArg(const QVariantList &a, int i)
{
    return arg<QPoint>(a, i);
}

qint64 intArg(const QVariantList &a, int i)
{
    return arg<int>(a, i);
}

template<typename T> Method oneChange(const char *name, const char *param, int type, T change)
{
    return {name,
            {rectChange(QByteArray(name) + "(" + param + ") -> void", {type},
                        [change](Coords &c, const QVariantList &a) { change(c, a); })}};
}

void addRectMethods(ValueClass &rect)
{
    const QVector<int> fourInts = {Int, Int, Int, Int};
    rect.methods += {
        oneChange("moveLeft", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { moveLeft(c, intArg(a, 0)); }),
        oneChange("moveTop", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { moveTop(c, intArg(a, 0)); }),
        oneChange("moveRight", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { moveRight(c, intArg(a, 0)); }),
        oneChange("moveBottom", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { moveBottom(c, intArg(a, 0)); }),
        oneChange("moveTopLeft", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      moveLeft(c, pointArg(a, 0).x());
                      moveTop(c, pointArg(a, 0).y());
                  }),
        oneChange("moveTopRight", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      moveRight(c, pointArg(a, 0).x());
                      moveTop(c, pointArg(a, 0).y());
                  }),
        oneChange("moveBottomLeft", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      moveLeft(c, pointArg(a, 0).x());
                      moveBottom(c, pointArg(a, 0).y());
                  }),
        oneChange("moveBottomRight", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      moveRight(c, pointArg(a, 0).x());
                      moveBottom(c, pointArg(a, 0).y());
                  }),
        oneChange("moveCenter", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      // Qt's integer halves: the width and height stay.
                      const qint64 w = c.x2 - c.x1;
                      const qint64 h = c.y2 - c.y1;
                      c.x1 = pointArg(a, 0).x() - w / 2;
                      c.y1 = pointArg(a, 0).y() - h / 2;
                      c.x2 = c.x1 + w;
                      c.y2 = c.y1 + h;
                  }),
        {"moveTo",
         {rectChange("moveTo(QPoint p) -> void", {Point},
                     [](Coords &c, const QVariantList &a) {
                         moveLeft(c, pointArg(a, 0).x());
                         moveTop(c, pointArg(a, 0).y());
                     }),
          rectChange("moveTo(int x, int t) -> void", {Int, Int},
                     [](Coords &c, const QVariantList &a) {
                         moveLeft(c, intArg(a, 0));
                         moveTop(c, intArg(a, 1));
                     })}},
        oneChange("setLeft", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { c.x1 = intArg(a, 0); }),
        oneChange("setTop", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { c.y1 = intArg(a, 0); }),
        oneChange("setRight", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { c.x2 = intArg(a, 0); }),
        oneChange("setBottom", "int pos", Int,
                  [](Coords &c, const QVariantList &a) { c.y2 = intArg(a, 0); }),
        oneChange("setX", "int x", Int,
                  [](Coords &c, const QVariantList &a) { c.x1 = intArg(a, 0); }),
        oneChange("setY", "int y", Int,
                  [](Coords &c, const QVariantList &a) { c.y1 = intArg(a, 0); }),
        oneChange("setTopLeft", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      c.x1 = pointArg(a, 0).x();
                      c.y1 = pointArg(a, 0).y();
                  }),
        oneChange("setTopRight", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      c.x2 = pointArg(a, 0).x();
                      c.y1 = pointArg(a, 0).y();
                  }),
        oneChange("setBottomLeft", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      c.x1 = pointArg(a, 0).x();
                      c.y2 = pointArg(a, 0).y();
                  }),
        oneChange("setBottomRight", "QPoint p", Point,
                  [](Coords &c, const QVariantList &a) {
                      c.x2 = pointArg(a, 0).x();
                      c.y2 = pointArg(a, 0).y();
                  }),
        oneChange("setWidth", "int w", Int,
                  [](Coords &c, const QVariantList &a) { c.x2 = c.x1 + intArg(a, 0) - 1; }),
        oneChange("setHeight", "int h", Int,
                  [](Coords &c, const QVariantList &a) { c.y2 = c.y1 + intArg(a, 0) - 1; }),
        oneChange("setSize", "QSize s", Size,
                  [](Coords &c, const QVariantList &a) {
                      c.x2 = c.x1 + arg<QSize>(a, 0).width() - 1;
                      c.y2 = c.y1 + arg<QSize>(a, 0).height() - 1;
                  }),
        {"setRect",
         {rectChange("setRect(int x, int y, int w, int h) -> void", fourInts,
                     [](Coords &c, const QVariantList &a) {
                         c = {intArg(a, 0), intArg(a, 1), intArg(a, 0) + intArg(a, 2) - 1,
                              intArg(a, 1) + intArg(a, 3) - 1};
                     })}},
        {"setCoords",
         {rectChange("setCoords(int x1, int y1, int x2, int y2) -> void", fourInts,
                     [](Coords &c, const QVariantList &a) {
                         c = {intArg(a, 0), intArg(a, 1), intArg(a, 2), intArg(a, 3)};
                     })}},
        {"adjust",
         {rectChange("adjust(int x1, int y1, int x2, int y2) -> void", fourInts,
                     [](Coords &c, const QVariantList &a) {
                         c = {c.x1 + intArg(a, 0), c.y1 + intArg(a, 1), c.x2 + intArg(a, 2),
                              c.y2 + intArg(a, 3)};
                     })}},
        {"translate",
         {rectChange("translate(QPoint p) -> void", {Point},
                     [](Coords &c, const QVariantList &a) {
                         translate(c, pointArg(a, 0).x(), pointArg(a, 0).y());
                     }),
          rectChange(
              "translate(int dx, int dy) -> void", {Int, Int},
              [](Coords &c, const QVariantList &a) { translate(c, intArg(a, 0), intArg(a, 1)); })}},
        {"translated",
         {rectChange(
              "translated(QPoint p) -> QRect", {Point},
              [](Coords &c, const QVariantList &a) {
                  translate(c, pointArg(a, 0).x(), pointArg(a, 0).y());
              },
              false),
          rectChange(
              "translated(int dx, int dy) -> QRect", {Int, Int},
              [](Coords &c, const QVariantList &a) { translate(c, intArg(a, 0), intArg(a, 1)); },
              false)}},
        {"transposed",
         {rectChange(
             "transposed() -> QRect", {},
             [](Coords &c, const QVariantList &) {
                 // The top left stays; width and height change places.
                 const qint64 w = c.x2 - c.x1;
                 const qint64 h = c.y2 - c.y1;
                 c.x2 = c.x1 + h;
                 c.y2 = c.y1 + w;
             },
             false)}},
        {"marginsAdded", {absent("marginsAdded(QMargins margins) -> QRect")}},
        {"marginsRemoved", {absent("marginsRemoved(QMargins margins) -> QRect")}},
    };
}

void addSizeAndPointMethods(ValueClass &size, ValueClass &point)
{
    const auto scaled = [](QVariant &self, const QSize &to, int mode) {
        return QVariant(as<QSize>(self).scaled(to, Qt::AspectRatioMode(mode)));
    };
    size.methods += {
        {"scaled",
         {{"scaled(QSize s, Qt::AspectRatioMode mode) -> QSize",
           {Size, Int},
           [scaled](QVariant &self, const QVariantList &a) {
               return scaled(self, arg<QSize>(a, 0), arg<int>(a, 1));
           }},
          {"scaled(int w, int h, Qt::AspectRatioMode mode) -> QSize",
           {Int, Int, Int},
           [scaled](QVariant &self, const QVariantList &a) {
               return scaled(self, QSize(arg<int>(a, 0), arg<int>(a, 1)), arg<int>(a, 2));
           }}}},
        {"scale",
         {{"scale(QSize s, Qt::AspectRatioMode mode) -> void",
           {Size, Int},
           [scaled](QVariant &self, const QVariantList &a) {
               self = scaled(self, arg<QSize>(a, 0), arg<int>(a, 1));
               return QVariant();
           }},
          {"scale(int w, int h, Qt::AspectRatioMode mode) -> void",
           {Int, Int, Int},
           [scaled](QVariant &self, const QVariantList &a) {
               self = scaled(self, QSize(arg<int>(a, 0), arg<int>(a, 1)), arg<int>(a, 2));
               return QVariant();
           }}}},
        {"transpose",
         {{"transpose() -> void",
           {},
           [](QVariant &self, const QVariantList &) {
               as<QSize>(self).transpose();
               return QVariant();
           }}}},
        {"grownBy", {absent("grownBy(QMargins m) -> QSize")}},
        {"shrunkBy", {absent("shrunkBy(QMargins m) -> QSize")}},
    };
    point.methods.append(
        {"dotProduct",
         {{"static dotProduct(QPoint p1, QPoint p2) -> int",
           {Point, Point},
           [](QVariant &, const QVariantList &a) {
               // Two products of ints and their sum fit in 64 bits; Qt's int
               // result would wrap.
               const qint64 product = qint64(arg<QPoint>(a, 0).x()) * arg<QPoint>(a, 1).x()
                   + qint64(arg<QPoint>(a, 0).y()) * arg<QPoint>(a, 1).y();
               if (!fitsInt(product)) {
                   PyErr_SetString(PyExc_OverflowError, "the dot product does not fit in an int");
                   return QVariant();
               }
               return QVariant(int(product));
           }}},
         true});
}

// QFont's plain getters and setters; those of its enums are left out, as
// the bridge offers no QFont enum.
void addFontMethods(ValueClass &font)
{
    const int String = QMetaType::QString;
    font.methods += {
        getter("fixedPitch", "bool", &QFont::fixedPitch),
        getter("kerning", "bool", &QFont::kerning),
        getter("letterSpacing", "double", &QFont::letterSpacing),
        getter("overline", "bool", &QFont::overline),
        getter("pointSizeF", "double", &QFont::pointSizeF),
        getter("stretch", "int", &QFont::stretch),
        getter("strikeOut", "bool", &QFont::strikeOut),
        getter("styleName", "QString", &QFont::styleName),
        getter("underline", "bool", &QFont::underline),
        getter("weight", "int", &QFont::weight),
        getter("wordSpacing", "double", &QFont::wordSpacing),
        getter("key", "QString", &QFont::key),
        getter("families", "QStringList", &QFont::families),
        getter("exactMatch", "bool", &QFont::exactMatch),
        getter("defaultFamily", "QString", &QFont::defaultFamily),
        getter("rawMode", "bool", &QFont::rawMode),
        setterOf("setBold", "bool arg__1", Bool, &QFont::setBold),
        setterOf("setItalic", "bool b", Bool, &QFont::setItalic),
        setterOf("setUnderline", "bool arg__1", Bool, &QFont::setUnderline),
        setterOf("setOverline", "bool arg__1", Bool, &QFont::setOverline),
        setterOf("setStrikeOut", "bool arg__1", Bool, &QFont::setStrikeOut),
        setterOf("setKerning", "bool arg__1", Bool, &QFont::setKerning),
        setterOf("setFixedPitch", "bool arg__1", Bool, &QFont::setFixedPitch),
        setterOf("setRawMode", "bool arg__1", Bool, &QFont::setRawMode),
        setterOf("setFamily", "QString arg__1", String, &QFont::setFamily),
        setterOf("setStyleName", "QString arg__1", String, &QFont::setStyleName),
        setterOf("setFamilies", "QStringList arg__1", QMetaType::QStringList, &QFont::setFamilies),
        setterOf("setPointSize", "int arg__1", Int, &QFont::setPointSize),
        setterOf("setPixelSize", "int arg__1", Int, &QFont::setPixelSize),
        setterOf("setWeight", "int arg__1", Int, &QFont::setWeight),
        setterOf("setStretch", "int arg__1", Int, &QFont::setStretch),
        {"setPointSizeF",
         {{"setPointSizeF(double arg__1) -> void",
           {Double},
           [](QVariant &self, const QVariantList &a) {
               // Qt keeps a nan or inf and rounds it later, undefined.
               if (!std::isfinite(arg<double>(a, 0))) {
                   PyErr_SetString(PyExc_ValueError, "a point size must be a finite number");
                   return QVariant();
               }
               as<QFont>(self).setPointSizeF(arg<double>(a, 0));
               return QVariant();
           }}}},
        {"setWordSpacing",
         {{"setWordSpacing(double spacing) -> void",
           {Double},
           [](QVariant &self, const QVariantList &a) {
               as<QFont>(self).setWordSpacing(arg<double>(a, 0));
               return QVariant();
           }}}},
        {"fromString",
         {{"fromString(QString arg__1) -> bool",
           {String},
           [](QVariant &self, const QVariantList &a) {
               return QVariant(as<QFont>(self).fromString(arg<QString>(a, 0)));
           }}}},
    };
}

void addOperatorsAndMethods(QVector<ValueClass> &classes)
{
    ValueClass &point = named(classes, "QPoint");
    point.operators[Add] = {
        "__add__",
        {{"__add__(QPoint p2) -> QPoint", {Point}, [](QVariant &self, const QVariantList &a) {
              return pointSum(as<QPoint>(self), arg<QPoint>(a, 0), 1);
          }}}};
    point.operators[Subtract] = {
        "__sub__",
        {{"__sub__(QPoint p2) -> QPoint", {Point}, [](QVariant &self, const QVariantList &a) {
              return pointSum(as<QPoint>(self), arg<QPoint>(a, 0), -1);
          }}}};
    point.operators[Multiply] = {"__mul__", pointFactor()};
    point.operators[Divide] = {
        "__div__",
        {{"__div__(double c) -> QPoint", {Double}, [](QVariant &self, const QVariantList &a) {
              return pointScaled(as<QPoint>(self), arg<double>(a, 0), true);
          }}}};

    ValueClass &size = named(classes, "QSize");
    size.operators[Add] = {
        "__add__",
        {{"__add__(QSize s2) -> QSize", {Size}, [](QVariant &self, const QVariantList &a) {
              return sizeSum(as<QSize>(self), arg<QSize>(a, 0), 1);
          }}}};
    size.operators[Subtract] = {
        "__sub__",
        {{"__sub__(QSize s2) -> QSize", {Size}, [](QVariant &self, const QVariantList &a) {
              return sizeSum(as<QSize>(self), arg<QSize>(a, 0), -1);
          }}}};
    size.operators[Multiply] = {
        "__mul__",
        {{"__mul__(double c) -> QSize", {Double}, [](QVariant &self, const QVariantList &a) {
              return sizeScaled(as<QSize>(self), arg<double>(a, 0), false);
          }}}};
    size.operators[Divide] = {
        "__div__",
        {{"__div__(double c) -> QSize", {Double}, [](QVariant &self, const QVariantList &a) {
              return sizeScaled(as<QSize>(self), arg<double>(a, 0), true);
          }}}};

    // + and - take a QMargins, which the bridge does not have.
    ValueClass &rect = named(classes, "QRect");
    rect.operators[Add] = {"__add__", {absent("__add__(QMargins margins) -> QRect")}};
    rect.operators[Subtract] = {"__sub__", {absent("__sub__(QMargins rhs) -> QRect")}};
    rect.operators[And] = {
        "__and__",
        {{"__and__(QRect r) -> QRect", {Rect}, [](QVariant &self, const QVariantList &a) {
              return QVariant(as<QRect>(self) & arg<QRect>(a, 0));
          }}}};
    rect.operators[Or] = {
        "__or__", {{"__or__(QRect r) -> QRect", {Rect}, [](QVariant &self, const QVariantList &a) {
                        return QVariant(as<QRect>(self) | arg<QRect>(a, 0));
                    }}}};

    addRectMethods(rect);
    addSizeAndPointMethods(size, point);
    addFontMethods(named(classes, "QFont"));

    // PythonQt's own names for / and /=, and for truth, callable as methods.
    for (ValueClass *c : {&point, &size}) {
        const QByteArray name = c->name;
        const QByteArray divisor = c == &point ? "divisor" : "c";
        const QVector<Signature> divide = c->operators[Divide].overloads;
        c->methods.append({"__div__", divide});
        c->methods.append({"__idiv__",
                           {{"__idiv__(double " + divisor + ") -> " + name,
                             {Double},
                             [run = divide.first().run](QVariant &self, const QVariantList &a) {
                                 const QVariant result = run(self, a);
                                 if (result.isValid())
                                     self = result;
                                 return result;
                             }}}});
    }
    for (ValueClass *c : {&point, &size, &rect}) {
        c->methods.append({"__nonzero__",
                           {{"__nonzero__() -> bool",
                             {},
                             [truth = c->truth](QVariant &self, const QVariantList &) {
                                 return QVariant(truth(self));
                             }}}});
    }
}

// Lives as long as the process, as the Python types do.
QVector<ValueClass> &classes()
{
    static auto all = new QVector<ValueClass>(makeClasses());
    return *all;
}

ValueClass *classOf(int typeId)
{
    for (ValueClass &c : classes()) {
        if (c.typeId == typeId)
            return &c;
    }
    return nullptr;
}

struct Value
{
    PyObject_HEAD
    QVariant value;
};

Value *asValue(PyObject *object)
{
    return reinterpret_cast<Value *>(object);
}

// As with QByteArray: each class a type named plainly over one base that
// holds the value.
PyTypeObject *storageType = nullptr;

ValueClass *classOf(PyObject *object)
{
    return classOf(asValue(object)->value.userType());
}

PyObject *newValue(ValueClass &c, const QVariant &value)
{
    PyObject *object = c.type->tp_alloc(c.type, 0);
    if (object)
        new (&asValue(object)->value) QVariant(value);
    return object;
}

// A Python argument for a parameter of the given meta-type, as PythonQt
// converts it: a value only from an object of its own class; ints and
// bools strictly, then leniently, as for slots.
bool convert(PyObject *value, int typeId, bool strict, QVariant &result)
{
    if (typeId == Absent)
        return false;
    if (classOf(typeId)) {
        if (!ValueClasses::check(value, typeId))
            return false;
        result = ValueClasses::value(value);
        return true;
    }
    const ArgType type = ArgType::fromTypeName(QMetaType::typeName(typeId), typeId, nullptr);
    ArgStorage storage;
    if (!Conversions::toArg(value, type, storage, strict)) {
        PyErr_Clear();
        return false;
    }
    result = QVariant(typeId, storage.prepare(type));
    return true;
}

PyObject *dispatch(const QVector<Signature> &overloads, QVariant *self, PyObject *const *args,
                   Py_ssize_t nargs, PyObject *kwargs)
{
    return MethodCall::callFirstFitting(
        overloads, args, nargs, kwargs,
        [=](const Signature &overload, bool strict, bool &taken) -> PyObject * {
            QVariantList converted;
            for (Py_ssize_t i = 0; i < nargs; ++i) {
                QVariant v;
                if (!convert(args[i], overload.params.at(int(i)), strict, v))
                    return nullptr;
                converted.append(v);
            }
            taken = true;
            QVariant scratch;
            const QVariant result = overload.run(self ? *self : scratch, converted);
            if (PyErr_Occurred())
                return nullptr;
            if (!result.isValid())
                Py_RETURN_NONE;
            if (PyObject *object = ValueClasses::create(result))
                return object;
            return PyErr_Occurred() ? nullptr : Conversions::fromVariant(result);
        });
}

PyObject *valueNew(PyTypeObject *type, PyObject *args, PyObject *kwargs)
{
    ValueClass *c = nullptr;
    for (ValueClass &candidate : classes()) {
        if (PyType_IsSubtype(type, candidate.type))
            c = &candidate;
    }
    if (!c || c->constructors.isEmpty()) {
        PyErr_Format(PyExc_TypeError, "%s cannot be constructed from Python here", type->tp_name);
        return nullptr;
    }
    PyObject *made = dispatch(c->constructors, nullptr, &PyTuple_GET_ITEM(args, 0),
                              PyTuple_GET_SIZE(args), kwargs);
    if (!made || Py_TYPE(made) == type)
        return made;
    // A Python subclass: the value moves into an object of that class.
    PyObject *object = type->tp_alloc(type, 0);
    if (object)
        new (&asValue(object)->value) QVariant(ValueClasses::value(made));
    Py_DECREF(made);
    return object;
}

void valueDealloc(PyObject *object)
{
    PyTypeObject *type = Py_TYPE(object);
    asValue(object)->value.~QVariant();
    type->tp_free(object);
    Py_DECREF(type);
}

PyObject *valueStr(PyObject *object)
{
    const ValueClass *c = classOf(object);
    return Conversions::fromString(c->text ? c->text(asValue(object)->value)
                                           : c->debugText(asValue(object)->value));
}

PyObject *valueRepr(PyObject *object)
{
    const ValueClass *c = classOf(object);
    if (!c->text)
        return valueStr(object);
    // A script's subclass shows its own name.
    const QByteArray text = c->text(asValue(object)->value).toUtf8();
    return PyUnicode_FromFormat("%s (%s, at: %p)", Py_TYPE(object)->tp_name, text.constData(),
                                static_cast<void *>(object));
}

// PythonQt's words for a name the value does not have.
PyObject *valueGetAttr(PyObject *object, PyObject *name)
{
    PyObject *result = PyObject_GenericGetAttr(object, name);
    if (!result && PyErr_ExceptionMatches(PyExc_AttributeError) && PyUnicode_Check(name)) {
        PyErr_Clear();
        PyErr_Format(PyExc_AttributeError, "%s has no attribute named '%U'", classOf(object)->name,
                     name);
    }
    return result;
}

// As on wrapped objects, no attribute of a script's own; a script's
// subclass has room for them.
int valueSetAttr(PyObject *object, PyObject *name, PyObject *value)
{
    const ValueClass *c = classOf(object);
    if (Py_TYPE(object) != c->type)
        return PyObject_GenericSetAttr(object, name, value);
    PyErr_Format(PyExc_AttributeError,
                 "'%U' does not exist on %s and creating new attributes on C++ objects is not "
                 "allowed",
                 name, c->name);
    return -1;
}

int valueBool(PyObject *object)
{
    return classOf(object)->truth(asValue(object)->value);
}

// By identity, as PythonQt's wrapped values hash.
Py_hash_t valueHash(PyObject *object)
{
    return _Py_HashPointer(object);
}

// Another class's wrapper or value: PythonQt's operator then returns
// without an exception set.
bool isBridgeObject(PyObject *object)
{
    return ValueClasses::check(object) || InstanceWrapper::check(object)
        || ByteArrayObject::check(object);
}

// Python calls the slot of either operand's type: the left one's if it has
// the operator, else the right one's (a number on the left). PythonQt then
// multiplies the other way round, and refuses the rest.
template<Operator op> PyObject *binary(PyObject *left, PyObject *right)
{
    if (ValueClasses::check(left) && !classOf(left)->operators[op].name.isEmpty())
        return dispatch(classOf(left)->operators[op].overloads, &asValue(left)->value, &right, 1,
                        nullptr);
    if (isBridgeObject(left)) {
        PyErr_SetString(PyExc_SystemError, "error return without exception set");
        return nullptr;
    }
    const ValueClass *c = classOf(right);
    if (op == Multiply) {
        Py_INCREF(right);
        PyObject *result =
            dispatch(c->operators[op].overloads, &asValue(right)->value, &left, 1, nullptr);
        Py_DECREF(right);
        return result;
    }
    PyErr_Format(PyExc_ArithmeticError, "Unsupported operation %s(%s, %s)",
                 c->operators[op].name.constData(), _PyType_Name(Py_TYPE(left)), c->name);
    return nullptr;
}

// x op= y changes x itself, as PythonQt's operators do: every name bound to
// that value sees the change.
template<Operator op> PyObject *inPlace(PyObject *self, PyObject *other)
{
    Py_INCREF(self);
    PyObject *result = binary<op>(self, other);
    if (result && ValueClasses::check(result)
        && ValueClasses::value(result).userType() == asValue(self)->value.userType()) {
        asValue(self)->value = ValueClasses::value(result);
        Py_DECREF(result);
        return self;
    }
    Py_DECREF(self);
    return result;
}

// PythonQt calls -x an __sub__ and +x an __add__, without an argument.
template<Operator op> PyObject *unary(PyObject *self)
{
    QByteArrayList signatures;
    for (const Signature &overload : classOf(self)->operators[op].overloads)
        signatures.append(overload.signature);
    return MethodCall::wrongArguments(signatures, QByteArrayLiteral("None"), false);
}

void addOperatorSlots(ValueClass &c)
{
    const struct
    {
        Operator op;
        int binarySlot;
        void *binaryFunction;
        int inPlaceSlot;
        void *inPlaceFunction;
    } table[] = {
        {Add, Py_nb_add, reinterpret_cast<void *>(binary<Add>), Py_nb_inplace_add,
         reinterpret_cast<void *>(inPlace<Add>)},
        {Subtract, Py_nb_subtract, reinterpret_cast<void *>(binary<Subtract>),
         Py_nb_inplace_subtract, reinterpret_cast<void *>(inPlace<Subtract>)},
        {Multiply, Py_nb_multiply, reinterpret_cast<void *>(binary<Multiply>),
         Py_nb_inplace_multiply, reinterpret_cast<void *>(inPlace<Multiply>)},
        {Divide, Py_nb_true_divide, reinterpret_cast<void *>(binary<Divide>),
         Py_nb_inplace_true_divide, reinterpret_cast<void *>(inPlace<Divide>)},
        {And, Py_nb_and, reinterpret_cast<void *>(binary<And>), Py_nb_inplace_and,
         reinterpret_cast<void *>(inPlace<And>)},
        {Or, Py_nb_or, reinterpret_cast<void *>(binary<Or>), Py_nb_inplace_or,
         reinterpret_cast<void *>(inPlace<Or>)},
    };
    for (const auto &entry : table) {
        if (c.operators[entry.op].name.isEmpty())
            continue;
        c.typeSlots.append({entry.binarySlot, entry.binaryFunction});
        c.typeSlots.append({entry.inPlaceSlot, entry.inPlaceFunction});
    }
    if (!c.operators[Subtract].name.isEmpty())
        c.typeSlots.append({Py_nb_negative, reinterpret_cast<void *>(unary<Subtract>)});
    if (!c.operators[Add].name.isEmpty())
        c.typeSlots.append({Py_nb_positive, reinterpret_cast<void *>(unary<Add>)});
}

PyObject *valueCompare(PyObject *a, PyObject *b, int op)
{
    if ((op != Py_EQ && op != Py_NE) || !ValueClasses::check(a) || !ValueClasses::check(b))
        Py_RETURN_NOTIMPLEMENTED;
    const QVariant &left = asValue(a)->value;
    const QVariant &right = asValue(b)->value;
    const bool equal =
        left.userType() == right.userType() && (classOf(a)->comparable ? left == right : a == b);
    return PyBool_FromLong(equal == (op == Py_EQ));
}

// A method of a value class, unbound on the class, bound on an instance;
// shown as PythonQt shows its slots.
struct MethodObject
{
    PyObject_HEAD
    const ValueClass *valueClass;
    const Method *method;
    PyObject *self;
};

PyTypeObject *methodType = nullptr;

MethodObject *asMethod(PyObject *object)
{
    return reinterpret_cast<MethodObject *>(object);
}

PyObject *newMethod(const ValueClass *c, const Method *method, PyObject *self)
{
    MethodObject *m = PyObject_GC_New(MethodObject, methodType);
    if (!m)
        return nullptr;
    m->valueClass = c;
    m->method = method;
    Py_XINCREF(self);
    m->self = self;
    PyObject_GC_Track(m);
    return reinterpret_cast<PyObject *>(m);
}

// A bound method kept in an attribute of a script's subclass instance
// (`v.w = v.width`) makes a cycle for the garbage collector to break.
int methodTraverse(PyObject *object, visitproc visit, void *arg)
{
    Py_VISIT(Py_TYPE(object));
    Py_VISIT(asMethod(object)->self);
    return 0;
}

int methodClear(PyObject *object)
{
    Py_CLEAR(asMethod(object)->self);
    return 0;
}

void methodDealloc(PyObject *object)
{
    PyTypeObject *type = Py_TYPE(object);
    PyObject_GC_UnTrack(object);
    Py_CLEAR(asMethod(object)->self);
    PyObject_GC_Del(object);
    Py_DECREF(type);
}

PyObject *methodRepr(PyObject *object)
{
    const MethodObject *m = asMethod(object);
    // PythonQt shows a static method by the name of its C++ wrapper.
    const QByteArray name = m->method->isStatic
        ? "static_" + QByteArray(m->valueClass->name) + '_' + m->method->name
        : m->method->name;
    if (!m->self)
        return PyUnicode_FromFormat("<unbound qt slot %s of %s type>", name.constData(),
                                    m->valueClass->name);
    return PyUnicode_FromFormat("<qt slot %s of %s instance at %p>", name.constData(),
                                m->valueClass->name, static_cast<void *>(m->self));
}

PyObject *methodName(PyObject *object, void *)
{
    return PyUnicode_FromString(asMethod(object)->method->name.constData());
}

PyObject *methodSelf(PyObject *object, void *)
{
    PyObject *self = asMethod(object)->self ? asMethod(object)->self : Py_None;
    Py_INCREF(self);
    return self;
}

PyGetSetDef methodAttributes[] = {
    {"__name__", methodName, nullptr, nullptr, nullptr},
    {"__self__", methodSelf, nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

PyObject *methodGet(PyObject *object, PyObject *instance, PyObject *)
{
    const MethodObject *m = asMethod(object);
    if (m->self || !instance || !PyObject_TypeCheck(instance, m->valueClass->type)) {
        Py_INCREF(object);
        return object;
    }
    return newMethod(m->valueClass, m->method, instance);
}

PyObject *methodCall(PyObject *object, PyObject *args, PyObject *kwargs)
{
    const MethodObject *m = asMethod(object);
    PyObject *const *items = &PyTuple_GET_ITEM(args, 0);
    Py_ssize_t count = PyTuple_GET_SIZE(args);
    if (m->method->isStatic)
        return dispatch(m->method->overloads, nullptr, items, count, kwargs);
    PyObject *self = m->self;
    if (!self) {
        const QByteArray &signature = m->method->overloads.first().signature;
        if (count == 0) {
            PyErr_Format(PyExc_ValueError, "slot %s requires %s instance as first argument.",
                         signature.constData(), m->valueClass->name);
            return nullptr;
        }
        if (!PyObject_TypeCheck(items[0], m->valueClass->type)) {
            PyErr_Format(PyExc_ValueError, "slot %s requires %s instance as first argument, got %s",
                         signature.constData(), m->valueClass->name, Py_TYPE(items[0])->tp_name);
            return nullptr;
        }
        self = items[0];
        ++items;
        --count;
    }
    // The value stays alive while the method converts its arguments.
    Py_INCREF(self);
    PyObject *result = dispatch(m->method->overloads, &asValue(self)->value, items, count, kwargs);
    Py_DECREF(self);
    return result;
}

PyType_Slot methodSlots[] = {
    {Py_tp_traverse, reinterpret_cast<void *>(methodTraverse)},
    {Py_tp_clear, reinterpret_cast<void *>(methodClear)},
    {Py_tp_dealloc, reinterpret_cast<void *>(methodDealloc)},
    {Py_tp_repr, reinterpret_cast<void *>(methodRepr)},
    {Py_tp_call, reinterpret_cast<void *>(methodCall)},
    {Py_tp_descr_get, reinterpret_cast<void *>(methodGet)},
    {Py_tp_getset, methodAttributes},
    {0, nullptr},
};

// Made only by the value classes: Python cannot call the type.
PyType_Spec methodSpec = {"PythonQt.builtin_qt_slot", sizeof(MethodObject), 0,
                          Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_GC | Py_TPFLAGS_IMMUTABLETYPE
                              | Py_TPFLAGS_DISALLOW_INSTANTIATION,
                          methodSlots};

PyType_Slot storageSlots[] = {
    {Py_tp_new, reinterpret_cast<void *>(valueNew)},
    {Py_tp_dealloc, reinterpret_cast<void *>(valueDealloc)},
    {Py_tp_str, reinterpret_cast<void *>(valueStr)},
    {Py_tp_repr, reinterpret_cast<void *>(valueRepr)},
    {Py_tp_richcompare, reinterpret_cast<void *>(valueCompare)},
    {Py_tp_hash, reinterpret_cast<void *>(valueHash)},
    {Py_tp_getattro, reinterpret_cast<void *>(valueGetAttr)},
    {Py_tp_setattro, reinterpret_cast<void *>(valueSetAttr)},
    {Py_nb_bool, reinterpret_cast<void *>(valueBool)},
    {0, nullptr},
};

PyType_Spec storageSpec = {"PythonQt.ValueStorage", sizeof(Value), 0,
                           Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE | Py_TPFLAGS_IMMUTABLETYPE,
                           storageSlots};

// Each class its own type over the storage, with the operators it has as
// number slots, so that Python shows them as PythonQt's (QPoint.__add__ a
// slot wrapper, __radd__ beside it) and refuses the others itself.
bool createType(ValueClass &c)
{
    addOperatorSlots(c);
    c.typeSlots.append({0, nullptr});
    c.typeName = QByteArray("builtins.") + c.name;
    c.typeSpec = {c.typeName.constData(), 0, 0, Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE,
                  c.typeSlots.data()};
    auto type = reinterpret_cast<PyObject *>(HeapType::create(c.typeSpec, storageType));
    bool ok = type != nullptr;
    for (const Method &method : c.methods) {
        PyObject *m = ok ? newMethod(&c, &method, nullptr) : nullptr;
        ok = m && PyObject_SetAttrString(type, method.name.constData(), m) == 0;
        Py_XDECREF(m);
    }
    PyObject *module = PyUnicode_FromString(c.inQtGui ? "PythonQt.QtGui" : "PythonQt.QtCore");
    ok = ok && module && PyObject_SetAttrString(type, "__module__", module) == 0
        && PyObject_SetAttrString(type, "__doc__", Py_None) == 0;
    Py_XDECREF(module);
    if (!ok) {
        Py_XDECREF(type);
        return false;
    }
    c.type = reinterpret_cast<PyTypeObject *>(type);
    return true;
}

} // namespace

namespace ValueClasses {

bool ready()
{
    if (storageType)
        return true;
    if (!methodType && !(methodType = HeapType::create(methodSpec)))
        return false;
    if (!(storageType = HeapType::create(storageSpec)))
        return false;
    for (ValueClass &c : classes()) {
        if (!createType(c))
            return false;
    }
    return true;
}

bool addTo(PyObject *qtCore, PyObject *qtGui)
{
    for (const ValueClass &c : classes()) {
        if (PyObject_SetAttrString(c.inQtGui ? qtGui : qtCore, c.name,
                                   reinterpret_cast<PyObject *>(c.type))
            < 0)
            return false;
    }
    return true;
}

bool offers(int typeId)
{
    return classOf(typeId) != nullptr;
}

bool check(PyObject *object, int typeId)
{
    return PyObject_TypeCheck(object, storageType)
        && (typeId == QMetaType::UnknownType || asValue(object)->value.userType() == typeId);
}

const QVariant &value(PyObject *object)
{
    return asValue(object)->value;
}

PyObject *create(const QVariant &value)
{
    ValueClass *c = classOf(value.userType());
    return c ? newValue(*c, value) : nullptr;
}

} // namespace ValueClasses
