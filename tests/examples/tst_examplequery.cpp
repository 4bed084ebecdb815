// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "csvrows.h"
#include "hostrun.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// The example query run by the host with the simulated user on a small
// fixture. The user ticks "Alpha panels" (library A1), then edits the first
// assay, "A potency": display name + " (edited)", count and values columns,
// geometric mean. "B solubility" stays arithmetic, default uncertainty 2.5.
class tst_ExampleQuery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void columns_data();
    void columns();
    void stopsWhenTheUserCancels_data();
    void stopsWhenTheUserCancels();
};

void tst_ExampleQuery::columns_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<QStringList>>("expected");

    const QString a = QStringLiteral("A potency [nM] (edited)");
    const QString b = QStringLiteral("B solubility [µM]");
    const QStringList assays{a + " geo. mean", a + " geo. SD factor", a + " note", a + " n",
                             a + " values",    b + " arith. mean",    b + " SD",   b + " note"};
    const QString byDefault = QStringLiteral("default uncertainty, not measured");

    // Numbers keep two digits more than the data carry. C1 potency 10, 1000,
    // 100: geometric mean 100 (to four digits, as 1000 shows), the logs' SD
    // is ln 10, a factor of 10. Solubility 7 alone: the default 2.5, said so.
    // C2 potency 4, 16: geometric mean 8 (two digits, from 16), factor
    // exp(ln 4 / sqrt 2) = 2.6651; solubility 3, 5: mean 4, SD sqrt(2).
    QTest::newRow("per compound")
        << QStringList()
        << QList<QStringList>{
               QStringList{"Compound"} + assays,
               {"C1", "100.000", "10.0000", "", "3", "10; 1000; 100", "7.00", "2.5", byDefault},
               {"C2", "8.000", "2.6651", "", "2", "4; 16", "4.00", "1.41", ""},
           };
    // C1-01 potency 10, 1000: geometric 100 (arithmetic 505), factor
    // exp(ln 100 / sqrt 2) = 25.9546. C1-02 potency 100 alone: the default 5
    // (nM) as the factor it is at 100, exp(sqrt(ln(1 + 0.05²))) = 1.0512; no
    // solubility. C2-02 has no potency: empty mean and spread, count 0.
    QTest::newRow("per batch")
        << QStringList{"--simulated-batch"}
        << QList<QStringList>{
               QStringList{"Compound", "Batch"} + assays,
               {"C1", "C1-01", "100.000", "25.9546", "", "2", "10; 1000", "7.00", "2.5", byDefault},
               {"C1", "C1-02", "100.00", "1.0512", byDefault, "1", "100", "", "", ""},
               {"C2", "C2-01", "8.000", "2.6651", "", "2", "4; 16", "3.00", "2.5", byDefault},
               {"C2", "C2-02", "", "", "", "0", "", "5.00", "2.5", byDefault},
           };
}

void tst_ExampleQuery::columns()
{
    QFETCH(QStringList, options);
    QFETCH(QList<QStringList>, expected);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const ChildRun run =
        runHost(options
                + QStringList{"--simulated-user", folder.filePath("pictures"),
                              QStringLiteral(EXAMPLE_QUERY), "--fixture",
                              QStringLiteral(EXAMPLE_FIXTURE), folder.filePath("results")});
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));

    const QList<QStringList> rows = readCsv(folder.filePath("results/veldmark_results.csv"));
    QCOMPARE(rows, expected);

    // The table says which mean and which spread, and where everything
    // went; none of the offscreen platform's relayout warnings although the
    // progress dialog ticked.
    for (const char *text : {"geo. mean", "geo. SD", "arith. mean", "×2.67", "2.5 (default)",
                             "geo. SD: geometric standard deviation, a factor"})
        QVERIFY2(run.out.contains(QString::fromUtf8(text)), text);
    QVERIFY(run.out.contains(QStringLiteral("CSV written to ")
                             + folder.filePath("results/veldmark_results.csv")));
    QVERIFY(!(run.out + run.err).contains(QStringLiteral("propagateSizeHints")));
    for (const char *dialog : {"VeldmarkSelection", "ProgressDialog", "VeldmarkDisplay"}) {
        const QString picture =
            folder.filePath(QStringLiteral("pictures/%1.png").arg(QLatin1String(dialog)));
        QVERIFY2(run.out.contains(picture), qPrintable(run.out));
        QVERIFY2(!QImage(picture).isNull(), qPrintable(picture));
    }
}

void tst_ExampleQuery::stopsWhenTheUserCancels_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("pictures");
    QTest::newRow("library selection") << "VeldmarkSelection"
                                       << "Query cancelled: no libraries chosen." << 1;
    QTest::newRow("progress") << "ProgressDialog"
                              << "Query cancelled while fetching results." << 2;
    QTest::newRow("assay display") << "VeldmarkDisplay"
                                   << "Query cancelled: no assays chosen." << 3;
}

void tst_ExampleQuery::stopsWhenTheUserCancels()
{
    QFETCH(QString, dialog);
    QFETCH(QString, message);
    QFETCH(int, pictures);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const ChildRun run =
        runHost({"--simulated-user", folder.filePath("pictures"), "--simulated-cancel", dialog,
                 QStringLiteral(EXAMPLE_QUERY), "--fixture", QStringLiteral(EXAMPLE_FIXTURE),
                 folder.filePath("results")});
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QCOMPARE(run.out.section(QLatin1Char('\n'), 0, 0), message);
    QVERIFY(!QFile::exists(folder.filePath("results/veldmark_results.csv")));
    QCOMPARE(run.out.count(folder.filePath("pictures/")), pictures);
}

QTEST_GUILESS_MAIN(tst_ExampleQuery)
#include "tst_examplequery.moc"
