// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "hostrun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The complete example of docs/scripting.md, taken from the guide as it
// stands and run by the host with the simulated user, which ticks the first
// group ("ADME panels") and edits the first assay in name order; and the
// guide's table of conversions, held against what a script really meets.
class tst_GuideExample : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runsAsWritten();
    void conversionsAreAsDocumented();
};

void tst_GuideExample::runsAsWritten()
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

    const ChildRun run =
        runHost({"--simulated-user", folder.filePath("pictures"), script.fileName()});
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    const QStringList printed =
        run.out.section(QStringLiteral("\n\nPictures of the dialogs:"), 0, 0)
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(
        printed,
        (QStringList{
            "Libraries: Solubility, Microsomal stability - results per compound",
            "Human liver microsomes CLint: column 'HLM CLint [µL/min/mg] (edited)', geometric mean",
            "Kinetic solubility pH 7.4: column 'Solubility [µM]', arithmetic mean",
        }));
}

void tst_GuideExample::conversionsAreAsDocumented()
{
    // Each claim: a statement and what the guide says comes of it, either
    // the value of the expression after it or the exception it raises (one
    // of several where the host's PythonQt and the stand-in bridge differ).
    static const char script[] = R"py(
from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection

p = ProgressDialog()
d = VeldmarkDisplay()
s = VeldmarkSelection()
claims = [
    ("p.setWindowTitle(42)", "p.windowTitle", "42"),
    ("p.setWindowTitle(None)", "p.windowTitle", "None"),
    ("p.setWindowTitle(b'ok')", "p.windowTitle", "b'ok'"),
    ("p.setMessage(42)", "None", None),
    ("p.setMessage(None)", "None", None),
    ("p.setEnabled(0)", "p.enabled", False),
    ("p.setEnabled(None)", "p.enabled", False),
    ("p.setEnabled('')", "p.enabled", False),
    ("p.setEnabled([])", "p.enabled", False),
    ("p.setEnabled('no')", "p.enabled", True),
    ("p.setEnabled('false')", "p.enabled", True),
    ("p.setEnabled([0])", "p.enabled", True),
    ("p.done(1.7)", "None", None),
    ("p.done(True)", "None", None),
    ("p.done('1')", "", ValueError),
    ("p.done(None)", "", ValueError),
    ("p.setMessage()", "", ValueError),
    ("p.setMessage(message='x')", "", ValueError),
    ("ProgressDialog(parent=None)", "", ValueError),
    ("ProgressDialog(42)", "", ValueError),
    ("s.setAvailableItems(42)", "", ValueError),
    ("s.setAvailableItems(['Solubility'])", "", (ValueError, AttributeError)),
    ("s.setAvailableItems({'ADME': 'Solubility', 1: ['x']})", "s.selectedItems()", ()),
    ("d.setDisplayData(None)", "", ValueError),
    ("d.setDisplayData(42)", "", ValueError),
    ("d.setDisplayData('{\"Caco-2\": {}}')", "json.loads(d.displayData().data())", {"Caco-2": {"selected": True}}),
    ("d.setDisplayData(b'{}')", "d.displayData() == d.displayData().data()", True),
]
import json
for statement, expression, expected in claims:
    try:
        exec(statement)
        got = eval(expression) if expression else "no exception"
    except Exception as e:
        got = type(e)
    if got != expected and not (isinstance(expected, tuple) and got in expected):
        print(f"FAIL: {statement}: {got!r}, not {expected!r}")
print(f"checked {len(claims)}")
)py";
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile file(folder.filePath(QStringLiteral("conversions.py")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(script);
    file.close();

    const ChildRun run = runHost({file.fileName()});
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^FAIL: "))), QStringList());
    QVERIFY2(lines.contains(QStringLiteral("checked 27")), qPrintable(run.out));
}

QTEST_GUILESS_MAIN(tst_GuideExample)
#include "tst_guideexample.moc"
