// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TESTOBJECTS_H
#define TESTOBJECTS_H

#include <QDate>
#include <QDialog>
#include <QFont>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QTime>
#include <QUrl>
#include <QVariant>

// A scriptable object whose slots take and return each type the bridge converts.
class ConversionTarget : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count WRITE setCount NOTIFY countChanged)
    Q_PROPERTY(QString label READ label)
    Q_PROPERTY(Mode mode READ mode WRITE setMode)
    // Types the bridge has no conversion of its own for.
    Q_PROPERTY(short level READ level WRITE setLevel)
    Q_PROPERTY(QDate day READ day WRITE setDay)

public:
    enum Mode { Plain, Fancy };
    Q_ENUM(Mode)

    explicit ConversionTarget(QObject *parent = nullptr);
    ~ConversionTarget() override;

    static int liveCount;

    int count() const { return value; }
    void setCount(int count);
    QString label() const { return QStringLiteral("target"); }
    Mode mode() const { return currentMode; }
    void setMode(Mode mode) { currentMode = mode; }
    short level() const { return currentLevel; }
    void setLevel(short level) { currentLevel = level; }
    QDate day() const { return currentDay; }
    void setDay(const QDate &day) { currentDay = day; }

    Q_INVOKABLE int invokable() const { return 42; }

public Q_SLOTS:
    QString echoString(const QString &value) { return value; }
    QString nullString() { return QString(); }
    QStringList echoStringList(const QStringList &value) { return value; }
    QByteArray echoByteArray(const QByteArray &value) { return value; }
    QVariantMap echoMap(const QVariantMap &value) { return value; }
    QVariantList echoList(const QVariantList &value) { return value; }
    QVariant echoVariant(const QVariant &value) { return value; }
    bool echoBool(bool value) { return value; }
    int echoInt(int value) { return value; }
    double echoDouble(double value) { return value; }
    QObject *echoObject(QObject *value) { return value; }
    QWidget *echoWidget(QWidget *value) { return value; }
    short echoShort(short value) { return value; }
    ushort echoUShort(ushort value) { return value; }
    long echoLong(long value) { return value; }
    qint8 echoInt8(qint8 value) { return value; }
    QUrl echoUrl(const QUrl &value) { return value; }
    QDate echoDate(const QDate &value) { return value; }
    QTime echoTime(const QTime &value) { return value; }
    // What arrived, as C++ sees it, whatever comes back.
    QString urlHost(const QUrl &value) { return value.host(); }
    int dateYear(const QDate &value) { return value.year(); }
    // The value classes, as C++ reads them and back.
    int sizeArea(const QSize &value) { return value.width() * value.height(); }
    QString pointText(const QPoint &value)
    {
        return QStringLiteral("%1;%2").arg(value.x()).arg(value.y());
    }
    QRect echoRect(const QRect &value) { return value; }
    QString fontFamily(const QFont &value) { return value.family(); }

    QString overloaded(int value) { return QStringLiteral("int %1").arg(value); }
    QString overloaded(double value) { return QStringLiteral("double %1").arg(value); }
    QString overloaded(const QString &value) { return QStringLiteral("string %1").arg(value); }
    QString overloaded(int first, int second)
    {
        return QStringLiteral("two %1 %2").arg(first).arg(second);
    }
    int withDefault(int first, int second = 2) { return first * 10 + second; }
    // More parameters than QMetaObject::invokeMethod() takes.
    int sumOfEleven(int a, int b, int c, int d, int e, int f, int g, int h, int i, int j, int k)
    {
        return a + b + c + d + e + f + g + h + i + j + k;
    }
    int modeValue(Mode mode) { return int(mode) + 100; }

Q_SIGNALS:
    void countChanged(int count);
    void twoArguments(int number, const QString &text);
    void elevenArguments(int a, int b, int c, int d, int e, int f, int g, int h, int i, int j,
                         const QString &k);

protected Q_SLOTS:
    void protectedSlot() { }

private:
    int value = 0;
    Mode currentMode = Plain;
    short currentLevel = 0;
    QDate currentDay;
};

// A dialog with a slot of its own, constructed from Python with or without a parent.
class TestDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TestDialog(QWidget *parent = nullptr);
    ~TestDialog() override;

    static int liveCount;
    // Dialogs destroyed while their run() was still on the stack.
    static int deletedWhileRunning;

public Q_SLOTS:
    bool run();
    void setNote(const QString &text) { note = text; }

private:
    bool running = false;
    QString note;
};

// Constructors and an extra instance method, the way a plug-in supplies them.
class TestDecorators : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    ConversionTarget *new_ConversionTarget(QObject *parent = nullptr)
    {
        return new ConversionTarget(parent);
    }
    TestDialog *new_TestDialog(QWidget *parent = nullptr) { return new TestDialog(parent); }
    int doubledCount(ConversionTarget *target) { return target->count() * 2; }
};

#endif // TESTOBJECTS_H
