// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "platformnoisefilter.h"

#include <QtTest>

namespace {

QStringList passedOn;

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    passedOn.append(message);
}

void emitMessage(QtMsgType type, const QString &message)
{
    switch (type) {
    case QtDebugMsg:
        qDebug("%s", qPrintable(message));
        break;
    case QtCriticalMsg:
        qCritical("%s", qPrintable(message));
        break;
    default:
        qWarning("%s", qPrintable(message));
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(QtMsgType)

class tst_PlatformNoiseFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dropsOnlyTheKnownLine_data();
    void dropsOnlyTheKnownLine();
};

void tst_PlatformNoiseFilter::dropsOnlyTheKnownLine_data()
{
    QTest::addColumn<QtMsgType>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("dropped");

    const QString known = QStringLiteral("This plugin does not support propagateSizeHints()");
    QTest::newRow("the offscreen warning") << QtWarningMsg << known << true;
    QTest::newRow("same text, debug") << QtDebugMsg << known << false;
    QTest::newRow("same text, critical") << QtCriticalMsg << known << false;
    QTest::newRow("longer text") << QtWarningMsg << known + QStringLiteral(" again") << false;
    QTest::newRow("another platform warning")
        << QtWarningMsg << QStringLiteral("This plugin does not support raise()") << false;
    QTest::newRow("a dialog's debug line")
        << QtDebugMsg << QStringLiteral("Showing:  793 ,  600 ") << false;
    QTest::newRow("empty") << QtWarningMsg << QString() << false;
}

void tst_PlatformNoiseFilter::dropsOnlyTheKnownLine()
{
    QFETCH(QtMsgType, type);
    QFETCH(QString, message);
    QFETCH(bool, dropped);
    QCOMPARE(isPlatformNoise(type, message), dropped);

    // Installed over another handler, the filter passes every other message
    // on to it unchanged.
    passedOn.clear();
    const QtMessageHandler testlibHandler = qInstallMessageHandler(recordMessage);
    installPlatformNoiseFilter();
    emitMessage(type, message);
    qInstallMessageHandler(testlibHandler);
    QCOMPARE(passedOn, dropped ? QStringList() : QStringList(message));
}

QTEST_GUILESS_MAIN(tst_PlatformNoiseFilter)
#include "tst_platformnoisefilter.moc"
