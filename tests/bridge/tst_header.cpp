// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// Built without QT_NO_KEYWORDS, and with Qt included first, the way a
// plug-in of the host may be built: PythonQt.h must still compile and leave
// Qt's keywords working.
#include <QObject>
#include <QTest>

#include "PythonQt.h"

class tst_Header : public QObject
{
    Q_OBJECT

private slots:
    void keywordsStillWork() { QVERIFY(QMetaObject::normalizedSignature("f()") == "f()"); }
    void noBridgeBeforeInit() { QVERIFY(!PythonQt::self()); }
    void initFlagsKeepTheirValues()
    {
        QCOMPARE(int(PythonQt::RedirectStdOut), 1);
        QCOMPARE(int(PythonQt::IgnoreSiteModule), 2);
        QCOMPARE(int(PythonQt::ExternalHelp), 4);
        QCOMPARE(int(PythonQt::PythonAlreadyInitialized), 8);
    }

signals:
    void unused();
};

QTEST_GUILESS_MAIN(tst_Header)
#include "tst_header.moc"
