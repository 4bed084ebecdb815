// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "answers.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Reading answers files: every kind of answer, and each mistake refused with
// a message that says where it is.
class tst_Answers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsEachKindOfAnswer();
    void readsAllOrNames();
    void refusesMistakes_data();
    void refusesMistakes();
    void keysRepeatOnlyWithinOneObject();
    void largeListsOfNames();
    void sizeIsCapped_data();
    void sizeIsCapped();
    void loadNamesTheFile();
    void examplesAnswersAreTheGuides();
};

void tst_Answers::readsEachKindOfAnswer()
{
    QString error;
    const auto answers = Answers::fromJson(R"([
        {"dialog": "VeldmarkSelection", "tick": ["ADME panels", "Kinase panel"], "aggregation": "batch",
         "press": "OK"},
        {"dialog": "ProgressDialog", "cancel_after_ticks": 12},
        {"dialog": "ProgressDialog"},
        {"dialog": "VeldmarkDisplay", "uncheck": "all", "check": ["A", "B"],
         "assays": {"B": {"display_name": "B [nM]", "default_uncertainty": 0.5, "include_count": true,
                          "include_values": false, "mean": "geometric"},
                    "A": {"default_uncertainty": "1e3", "mean": "arithmetic"},
                    "C": {}},
         "press": "Cancel"},
        {"dialog": "VeldmarkSelection", "press": "Cancel"}
    ])",
                                           &error);
    QVERIFY2(answers, qPrintable(error));
    QCOMPARE(answers->size(), 5);

    QCOMPARE(answers->at(0).number, 1);
    QCOMPARE(answers->at(0).name(), QStringLiteral("answer 1 (VeldmarkSelection)"));
    QCOMPARE(answers->at(0).press(), DialogButton::Ok);
    QVERIFY(std::holds_alternative<SelectionAnswer>(answers->at(0).choice));
    const auto &selection = std::get<SelectionAnswer>(answers->at(0).choice);
    QCOMPARE(selection.tick, (QStringList{"ADME panels", "Kinase panel"}));
    QCOMPARE(selection.aggregation, QStringLiteral("batch"));

    for (int i : {1, 2})
        QVERIFY(std::holds_alternative<ProgressAnswer>(answers->at(i).choice));
    QCOMPARE(std::get<ProgressAnswer>(answers->at(1).choice).cancelAfterTicks, 12);
    QCOMPARE(answers->at(1).press(), DialogButton::Cancel);
    QCOMPARE(std::get<ProgressAnswer>(answers->at(2).choice).cancelAfterTicks, 0);

    QCOMPARE(answers->at(3).press(), DialogButton::Cancel);
    QVERIFY(std::holds_alternative<DisplayAnswer>(answers->at(3).choice));
    const auto &display = std::get<DisplayAnswer>(answers->at(3).choice);
    QVERIFY(display.uncheckAll);
    QVERIFY(display.uncheck.isEmpty());
    QVERIFY(!display.checkAll);
    QCOMPARE(display.check, (QStringList{"A", "B"}));
    // Panels are filled in assay name order.
    QCOMPARE(display.panels.size(), 3);
    const AssayPanelAnswer &a = display.panels.at(0);
    QCOMPARE(a.assay, std::optional<QString>(QStringLiteral("A")));
    QCOMPARE(a.defaultUncertainty, std::optional<QString>(QStringLiteral("1e3")));
    QCOMPARE(a.geometricMean, std::optional<bool>(false));
    QVERIFY(!a.displayName && !a.includeCount && !a.includeValues);
    const AssayPanelAnswer &b = display.panels.at(1);
    QCOMPARE(b.displayName, std::optional<QString>(QStringLiteral("B [nM]")));
    QCOMPARE(b.defaultUncertainty, std::optional<QString>(QStringLiteral("0.5")));
    QCOMPARE(b.includeCount, std::optional<bool>(true));
    QCOMPARE(b.includeValues, std::optional<bool>(false));
    QCOMPARE(b.geometricMean, std::optional<bool>(true));
    const AssayPanelAnswer &c = display.panels.at(2);
    QVERIFY(!c.displayName && !c.defaultUncertainty && !c.includeCount && !c.includeValues
            && !c.geometricMean);

    // Left out, the aggregation stays as the dialog has it.
    QVERIFY(std::holds_alternative<SelectionAnswer>(answers->at(4).choice));
    QVERIFY(std::get<SelectionAnswer>(answers->at(4).choice).aggregation.isEmpty());
    QVERIFY(std::get<SelectionAnswer>(answers->at(4).choice).tick.isEmpty());

    const auto none = Answers::fromJson("[]", &error);
    QVERIFY(none && none->isEmpty());
}

void tst_Answers::readsAllOrNames()
{
    QString error;
    const auto answers = Answers::fromJson(
        R"([{"dialog": "VeldmarkDisplay", "uncheck": ["all"], "check": "all", "press": "OK"}])",
        &error);
    QVERIFY2(answers, qPrintable(error));
    // An assay may be called "all": as a name it stands in an array.
    QVERIFY(std::holds_alternative<DisplayAnswer>(answers->at(0).choice));
    const auto &display = std::get<DisplayAnswer>(answers->at(0).choice);
    QVERIFY(!display.uncheckAll);
    QCOMPARE(display.uncheck, QStringList{"all"});
    QVERIFY(display.checkAll);
}

namespace {

// An answers file whose one answer does `details` in the panel of assay "A".
QByteArray detailsOfA(const char *details)
{
    return QByteArray(R"([{"dialog": "VeldmarkDisplay", "assays": {"A": )") + details
        + R"(}, "press": "OK"}])";
}

} // namespace

void tst_Answers::refusesMistakes_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("error");

    QTest::newRow("not JSON") << QByteArray(
        "[\n  {\"dialog\": \"ProgressDialog\"}\n  {\"dialog\": \"X\"}\n]")
                              << "line 3, column 3: missing value separator";
    // Where Qt's own words mislead, what was expected follows them.
    QTest::newRow("comma missing between two keys")
        << QByteArray("[{\"dialog\": \"ProgressDialog\"\n  \"cancel_after_ticks\": 2}]")
        << R"(line 2, column 3: unterminated object: expected "," or "}")";
    QTest::newRow("key without quotes")
        << QByteArray(R"([{dialog: "ProgressDialog"}])")
        << "line 1, column 3: unterminated object: expected a key in double quotes";
    QTest::newRow("key in single quotes")
        << QByteArray(R"([{"dialog": "ProgressDialog", 'cancel_after_ticks': 2}])")
        << "line 1, column 31: unterminated object: expected a key in double quotes";
    QTest::newRow("comma after the last answer")
        << QByteArray(R"([{"dialog": "ProgressDialog"},])")
        << R"(line 1, column 31: object is missing after a comma: expected another value after ",", or no "," before the closing bracket)";
    // The first of two equal keys is never an object or an array here: Qt
    // leaks those (see docs/reliability.md).
    QTest::newRow("key repeated")
        << QByteArray(R"([{"dialog": "ProgressDialog"},
                         {"dialog": "VeldmarkDisplay", "press": "OK", "check": "all", "press": "Cancel"}])")
        << R"(answer 2 (VeldmarkDisplay), field "press": given twice; each key goes once in an object)";
    QTest::newRow("key repeated with an escape")
        << QByteArray(
               R"([{"dialog": "VeldmarkDisplay", "a\u0073says": null, "assays": {}, "press": "OK"}])")
        << R"(answer 1 (VeldmarkDisplay), field "assays": given twice; each key goes once in an object)";
    QTest::newRow("key repeated in an assay's details")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "press": "OK", "assays": {
                             "A": {"mean": "geometric"}, "B \"x\"": {"mean": "geometric", "mean": "arithmetic"}}}])")
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "B \"x\"" / "mean": given twice; each key goes once in an object)";
    QTest::newRow("dialog repeated in an answer of no known class")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "dialog": "Progress"}])")
        << R"(answer 1, field "dialog": given twice; each key goes once in an object)";
    // Control characters never reach the terminal, and a NUL cuts nothing.
    QTest::newRow("NUL and escape in a name")
        << QByteArray(R"([{"dialog": "Veldmark\u0000Display\u001b[2J\t"}])")
        << R"(answer 1, field "dialog": expected "VeldmarkSelection", "ProgressDialog" or "VeldmarkDisplay", found "Veldmark\u0000Display\u001b[2J\t")";
    QTest::newRow("an object, not an array")
        << QByteArray(R"({"dialog": "ProgressDialog"})")
        << "expected an array of answers, one for each dialog the script opens, found an object";
    QTest::newRow("an answer that is not an object")
        << QByteArray(R"([{"dialog": "ProgressDialog"}, "VeldmarkDisplay"])")
        << R"(answer 2: expected an object with a "dialog" key, found "VeldmarkDisplay")";
    QTest::newRow("no dialog")
        << QByteArray(R"([{"press": "OK"}])")
        << R"(answer 1, field "dialog": expected "VeldmarkSelection", "ProgressDialog" or "VeldmarkDisplay", found nothing)";
    QTest::newRow("unknown dialog class")
        << QByteArray(R"([{"dialog": "QMessageBox", "press": "OK"}])")
        << R"(answer 1, field "dialog": expected "VeldmarkSelection", "ProgressDialog" or "VeldmarkDisplay", found "QMessageBox")";
    QTest::newRow("key of another dialog")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "check": "all", "press": "OK"}])")
        << R"(answer 1 (VeldmarkSelection), field "check": unknown key; an answer for VeldmarkSelection takes "dialog", "tick", "aggregation" or "press")";
    QTest::newRow("mistyped key")
        << QByteArray(R"([{"dialog": "ProgressDialog", "cancel_after_tick": 3}])")
        << R"(answer 1 (ProgressDialog), field "cancel_after_tick": unknown key; an answer for ProgressDialog takes "dialog" or "cancel_after_ticks")";
    QTest::newRow("press missing")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "tick": ["L1"]}])")
        << R"(answer 1 (VeldmarkSelection), field "press": expected "OK" or "Cancel", found nothing)";
    QTest::newRow("press in lower case")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "press": "ok"}])")
        << R"(answer 1 (VeldmarkDisplay), field "press": expected "OK" or "Cancel", found "ok")";
    QTest::newRow("tick a single name")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "tick": "L1", "press": "OK"}])")
        << R"(answer 1 (VeldmarkSelection), field "tick": expected an array of names, found "L1")";
    QTest::newRow("tick a number")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "tick": ["L1", 42], "press": "OK"}])")
        << R"(answer 1 (VeldmarkSelection), field "tick" / "2": expected a name, found the number 42)";
    QTest::newRow("aggregation by label")
        << QByteArray(R"([{"dialog": "VeldmarkSelection", "aggregation": "Batch", "press": "OK"}])")
        << R"(answer 1 (VeldmarkSelection), field "aggregation": expected "compound" or "batch", found "Batch")";
    QTest::newRow("check neither all nor names")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "check": true, "press": "OK"}])")
        << R"(answer 1 (VeldmarkDisplay), field "check": expected "all" or an array of assay names, found true)";
    QTest::newRow("checked and unchecked")
        << QByteArray(
               R"([{"dialog": "VeldmarkDisplay", "uncheck": ["A", "B"], "check": ["B"], "press": "OK"}])")
        << R"(answer 1 (VeldmarkDisplay), field "check": "B" is also in "uncheck")";
    QTest::newRow("assays as an array")
        << QByteArray(R"([{"dialog": "VeldmarkDisplay", "assays": ["A"], "press": "OK"}])")
        << R"(answer 1 (VeldmarkDisplay), field "assays": expected an object from assay name to what to do in its details, found an array)";
    QTest::newRow("assay details not an object")
        << detailsOfA(R"("geometric")")
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "A": expected an object, found "geometric")";
    QTest::newRow("document key in the details")
        << detailsOfA(R"({"alias": "x"})")
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "A" / "alias": unknown key; the details of an assay take "display_name", "default_uncertainty", "include_count", "include_values" or "mean")";
    QTest::newRow("display name a number")
        << detailsOfA(R"({"display_name": 7})")
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "A" / "display_name": expected a string, found the number 7)";
    QTest::newRow("uncertainty true")
        << detailsOfA(R"({"default_uncertainty": true})")
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "A" / "default_uncertainty": expected the text to type, as a string or a number, found true)";
    QTest::newRow("count as a string")
        << detailsOfA(R"({"include_count": "yes"})")
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "A" / "include_count": expected true or false, found "yes")";
    QTest::newRow("mean as factor")
        << detailsOfA(R"({"mean": true})")
        << R"(answer 1 (VeldmarkDisplay), field "assays" / "A" / "mean": expected "arithmetic" or "geometric", found true)";
    QTest::newRow("zero ticks")
        << QByteArray(R"([{"dialog": "ProgressDialog", "cancel_after_ticks": 0}])")
        << R"(answer 1 (ProgressDialog), field "cancel_after_ticks": expected a whole number of ticks, 1 or more, found the number 0)";
    QTest::newRow("part of a tick")
        << QByteArray(
               R"([{"dialog": "ProgressDialog"}, {"dialog": "ProgressDialog", "cancel_after_ticks": 2.5}])")
        << R"(answer 2 (ProgressDialog), field "cancel_after_ticks": expected a whole number of ticks, 1 or more, found the number 2.5)";
    QTest::newRow("ticks as text")
        << QByteArray(R"([{"dialog": "ProgressDialog", "cancel_after_ticks": "3"}])")
        << R"(answer 1 (ProgressDialog), field "cancel_after_ticks": expected a whole number of ticks, 1 or more, found "3")";
}

void tst_Answers::refusesMistakes()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, error);
    QString found;
    QVERIFY(!Answers::fromJson(json, &found));
    QCOMPARE(found, error);
}

void tst_Answers::keysRepeatOnlyWithinOneObject()
{
    // Equal keys in different objects, a key equal to a value, names in
    // arrays that repeat, and keys that differ only after decoding.
    QString error;
    const auto answers = Answers::fromJson(R"([
        {"dialog": "VeldmarkSelection", "tick": ["press", "press"], "press": "OK"},
        {"dialog": "VeldmarkDisplay", "assays": {"press": {"mean": "geometric"},
                                                 "pre\"ss": {"mean": "arithmetic"},
                                                 "pre\\ss": {}, "pr\u00e9ss": {}, "pr\u00c9ss": {}},
         "press": "OK"},
        {"dialog": "VeldmarkDisplay", "assays": {"press": {"mean": "geometric"}}, "press": "OK"}
    ])",
                                           &error);
    QVERIFY2(answers, qPrintable(error));
    QCOMPARE(answers->size(), 3);
    QVERIFY(std::holds_alternative<DisplayAnswer>(answers->at(1).choice));
    QCOMPARE(std::get<DisplayAnswer>(answers->at(1).choice).panels.size(), 5);
}

void tst_Answers::largeListsOfNames()
{
    // Tens of thousands of names to check and uncheck, as a file for a large
    // query has them.
    const int count = 60000;
    QStringList check;
    QStringList uncheck;
    for (int i = 0; i < count; ++i) {
        check.append(QStringLiteral("\"checked %1\"").arg(i));
        uncheck.append(QStringLiteral("\"unchecked %1\"").arg(i));
    }
    const QByteArray json = QStringLiteral(R"([{"dialog": "VeldmarkDisplay", "check": [%1],
                                                 "uncheck": [%2], "press": "OK"}])")
                                .arg(check.join(QLatin1Char(',')), uncheck.join(QLatin1Char(',')))
                                .toUtf8();
    QString error;
    const auto answers = Answers::fromJson(json, &error);
    QVERIFY2(answers, qPrintable(error));
    QVERIFY(std::holds_alternative<DisplayAnswer>(answers->at(0).choice));
    const auto &display = std::get<DisplayAnswer>(answers->at(0).choice);
    QCOMPARE(display.check.size(), count);
    QCOMPARE(display.uncheck.size(), count);
    QCOMPARE(display.uncheck.constLast(), QStringLiteral("unchecked %1").arg(count - 1));

    // The last name of one list in the other is still found.
    const QByteArray both = QByteArray(json).replace("\"checked 0\"", "\"unchecked 59999\"");
    QVERIFY(!Answers::fromJson(both, &error));
    QCOMPARE(
        error,
        QStringLiteral(
            R"(answer 1 (VeldmarkDisplay), field "check": "unchecked 59999" is also in "uncheck")"));
}

void tst_Answers::sizeIsCapped_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("refused");
    QTest::newRow("at the limit") << Answers::maxFileSize << false;
    QTest::newRow("a byte over") << Answers::maxFileSize + 1 << true;
}

void tst_Answers::sizeIsCapped()
{
    QFETCH(qint64, size);
    QFETCH(bool, refused);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("answers.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // A valid file padded with spaces to the size.
    const QByteArray answers = R"([{"dialog": "ProgressDialog"}])";
    QVERIFY(file.write(answers + QByteArray(int(size) - answers.size(), ' ')) == size);
    file.close();
    QString error;
    const auto loaded = Answers::load(path, &error);
    QCOMPARE(!loaded, refused);
    QCOMPARE(error,
             refused ? path + QStringLiteral(": larger than 4 MiB, which no answers file needs")
                     : QString());
}

void tst_Answers::loadNamesTheFile()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("answers.json"));
    QString error;
    QVERIFY(!Answers::load(path, &error));
    QVERIFY2(error.startsWith(path + QStringLiteral(": ")), qPrintable(error));

    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        R"([{"dialog": "VeldmarkSelection", "tick": ["L1"], "press": "Cancel"}, {"dialog": "Progress"}])");
    file.close();
    QVERIFY(!Answers::load(path, &error));
    QCOMPARE(
        error,
        path
            + QStringLiteral(
                R"(: answer 2, field "dialog": expected "VeldmarkSelection", "ProgressDialog" or "VeldmarkDisplay", found "Progress")"));
}

void tst_Answers::examplesAnswersAreTheGuides()
{
    QString error;
    const auto answers = Answers::load(QStringLiteral(EXAMPLE_ANSWERS), &error);
    QVERIFY2(answers, qPrintable(error));
    QCOMPARE(answers->size(), 3);

    QFile example(QStringLiteral(EXAMPLE_ANSWERS));
    QVERIFY(example.open(QIODevice::ReadOnly));
    QFile guide(QStringLiteral(SCRIPTING_GUIDE));
    QVERIFY(guide.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(guide.readAll());
    const int section = text.indexOf(QStringLiteral("\n### The answers file\n"));
    QVERIFY(section >= 0);
    const QRegularExpressionMatch block =
        QRegularExpression(QStringLiteral("```json\\n(.*?)```"),
                           QRegularExpression::DotMatchesEverythingOption)
            .match(text, section);
    QVERIFY(block.hasMatch());
    QCOMPARE(QJsonDocument::fromJson(block.captured(1).toUtf8()),
             QJsonDocument::fromJson(example.readAll()));
}

QTEST_GUILESS_MAIN(tst_Answers)
#include "tst_answers.moc"
