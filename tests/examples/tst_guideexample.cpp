#include "hostrun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The complete example of docs/scripting.md, taken from the guide as it
// stands and run by the host with the simulated user, which ticks the first
// group ("ADME panels") and edits the first assay in name order.
class GuideExampleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runsAsWritten();
};

void GuideExampleTest::runsAsWritten()
{
    QFile guide(QStringLiteral(SCRIPTING_GUIDE));
    QVERIFY(guide.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(guide.readAll());
    const int section = text.indexOf(QStringLiteral("\n## A complete example\n"));
    QVERIFY(section >= 0);
    const QRegularExpression codeBlock(QStringLiteral("```python\\n(.*?)```"),
                                       QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = codeBlock.match(text, section);
    QVERIFY(match.hasMatch());

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile script(folder.filePath(QStringLiteral("example.py")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(match.captured(1).toUtf8());
    script.close();

    const HostRun run = runHost({"--simulated-user", folder.filePath("pictures"), script.fileName()});
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    const QStringList printed = run.out.section(QStringLiteral("\n\nPictures of the dialogs:"), 0, 0)
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(printed, (QStringList{
        "Libraries: Solubility, Microsomal stability - results per compound",
        "Human liver microsomes CLint: column 'HLM CLint [µL/min/mg] (edited)', geometric mean",
        "Kinetic solubility pH 7.4: column 'Solubility [µM]', arithmetic mean",
    }));
}

QTEST_GUILESS_MAIN(GuideExampleTest)
#include "tst_guideexample.moc"
