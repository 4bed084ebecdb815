// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "pythonsession.h"

#include <QTest>

// PythonQt.QtCore.QByteArray as a script meets it: what the host's PythonQt
// computes, so that a script tried here computes the same there.
class tst_ByteArray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void hashing_data();
    void hashing();

private:
    // What the expression gives, as observe() in init() describes it.
    QString observed(const QString &expression);

    PythonSession python;
};

QString tst_ByteArray::observed(const QString &expression)
{
    python.addVariable(QStringLiteral("expression"), expression);
    return python.value(QStringLiteral("observe(expression)")).toString();
}

void tst_ByteArray::initTestCase()
{
    python.startBridge();
    QVERIFY(PythonQt::self());
}

void tst_ByteArray::cleanupTestCase()
{
    python.stop();
}

void tst_ByteArray::init()
{
    // A byte array is shown by its bytes: its repr holds an address.
    QVERIFY2(python.run(QStringLiteral(R"(
from PythonQt.QtCore import QByteArray

def describe(value):
    if isinstance(value, QByteArray):
        return 'QByteArray ' + repr(value.data())
    if isinstance(value, tuple):
        return '(' + ', '.join(describe(v) for v in value) + (',)' if len(value) == 1 else ')')
    return type(value).__name__ + ' ' + repr(value)

def observe(expression):
    try:
        return describe(eval(expression))
    except Exception as e:
        return 'raises ' + type(e).__name__ + ': ' + str(e)
)")),
             qPrintable(python.errors.join(QString())));
}

void tst_ByteArray::cleanup()
{
    QVERIFY2(python.endTest(), qPrintable(python.failure));
}

void tst_ByteArray::hashing_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("result");

    const QString unhashable = QStringLiteral("raises TypeError: unhashable type: 'QByteArray'");
    QTest::newRow("hash()") << "hash(QByteArray(b'x'))" << unhashable;
    QTest::newRow("hash() of an empty one") << "hash(QByteArray())" << unhashable;
    QTest::newRow("dict key") << "{QByteArray(b'x'): 1}" << unhashable;
    QTest::newRow("set member") << "{QByteArray(b'x'), QByteArray(b'x')}" << unhashable;
    QTest::newRow("still compares") << "QByteArray(b'x') == QByteArray(b'x')"
                                    << "bool True";
}

// The real PythonQt hashes by the address of the C++ object, so that equal
// byte arrays land apart in sets and dicts; ours refuses to hash them.
void tst_ByteArray::hashing()
{
    QFETCH(QString, expression);
    QFETCH(QString, result);
#ifdef VELDMARK_REAL_PYTHONQT
    if (result.startsWith(QLatin1String("raises TypeError: unhashable")))
        QSKIP("the real PythonQt hashes a byte array by its address");
#endif
    QCOMPARE(observed(expression), result);
}

QTEST_MAIN(tst_ByteArray)
#include "tst_bytearray.moc"
