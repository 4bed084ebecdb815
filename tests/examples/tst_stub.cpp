// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "hostrun.h"

#include "progressdialog.h"
#include "veldmarkdisplay.h"
#include "veldmarkselection.h"

#include <QMetaMethod>
#include <QtTest>

// The editor stubs for PythonQt.Kestrane, PythonQt.QtCore, PythonQt.QtGui, PythonQt.Qt and
// the package itself against what
// scripts really get:
// every class and name in the stub exists in the bridge (checked by a script
// the host runs), and every public slot a dialog declares itself is in the
// stub.
Q_DECLARE_METATYPE(const QMetaObject *)

class tst_Stub : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stubNamesExistInTheBridge();
    void everyPublicSlotIsInTheStub_data();
    void everyPublicSlotIsInTheStub();

private:
    QStringList report;
};

void tst_Stub::initTestCase()
{
    QStringList arguments = {QStringLiteral(STUB_CHECK), QStringLiteral(KESTRANE_STUB)};
#ifdef VELDMARK_REAL_PYTHONQT
    arguments << QStringLiteral("--host-pythonqt");
#endif
    const ChildRun run = runHost(arguments);
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    report = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void tst_Stub::stubNamesExistInTheBridge()
{
    QCOMPARE(report.filter(QRegularExpression(QStringLiteral("^missing: "))), QStringList());
    QVERIFY(!report.isEmpty());
    QCOMPARE(report.filter(QRegularExpression(QStringLiteral("^QtCore\\.QByteArray: "))).size(), 1);
    QCOMPARE(report.filter(QRegularExpression(QStringLiteral("^QtCore\\.QRect: "))).size(), 1);
    QCOMPARE(report.filter(QRegularExpression(QStringLiteral("^QtGui\\.QFont: "))).size(), 1);
    QCOMPARE(report.filter(QRegularExpression(QStringLiteral("^Qt\\.QFont: QtGui$"))).size(), 1);
    QCOMPARE(report.filter(QRegularExpression(QStringLiteral("^Qt\\.QSize: QtCore$"))).size(), 1);
    QCOMPARE(report.filter(QRegularExpression(QStringLiteral("^PythonQt\\.BoolResult: "))).size(),
             1);
    for (const QString &note : report.filter(QRegularExpression(QStringLiteral("^note: "))))
        qInfo("%s", qPrintable(note));
}

void tst_Stub::everyPublicSlotIsInTheStub_data()
{
    QTest::addColumn<const QMetaObject *>("metaObject");
    QTest::newRow("ProgressDialog") << &ProgressDialog::staticMetaObject;
    QTest::newRow("VeldmarkSelection") << &VeldmarkSelection::staticMetaObject;
    QTest::newRow("VeldmarkDisplay") << &VeldmarkDisplay::staticMetaObject;
}

void tst_Stub::everyPublicSlotIsInTheStub()
{
    QFETCH(const QMetaObject *, metaObject);
    const QString prefix = QString::fromLatin1(metaObject->className()) + QStringLiteral(": ");
    const QStringList lines = report.filter(QRegularExpression(QStringLiteral("^") + prefix));
    QCOMPARE(lines.size(), 1);
    const QStringList stubNames = lines.constFirst().mid(prefix.size()).split(QLatin1Char(' '));

    int slots = 0;
    for (int i = metaObject->methodOffset(); i < metaObject->methodCount(); ++i) {
        const QMetaMethod method = metaObject->method(i);
        if (method.methodType() != QMetaMethod::Slot || method.access() != QMetaMethod::Public)
            continue;
        ++slots;
        QVERIFY2(stubNames.contains(QString::fromLatin1(method.name())),
                 method.methodSignature().constData());
    }
    QVERIFY(slots > 0);
}

QTEST_GUILESS_MAIN(tst_Stub)
#include "tst_stub.moc"
