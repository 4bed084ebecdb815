// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "displaydata.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <limits>

using DisplayData::ListedAssay;
using DisplayData::Panel;

class tst_DisplayData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unusableDocumentHasNoAssays_data();
    void unusableDocumentHasNoAssays();
    void namesInCodeUnitOrder();
    void selectedReading_data();
    void selectedReading();
    void entryToPanel_data();
    void entryToPanel();
    void panelToEntry_data();
    void panelToEntry();
    void storedEntryIsTheSavedPanel_data();
    void storedEntryIsTheSavedPanel();
    void nonObjectEntryIsCheckedWithDefaults();
    void unknownMembersSurviveUntilSaved();
    void savedValuesWritten_data();
    void savedValuesWritten();
    void writtenDocumentIsIndentedAndSorted();
    void listedAssayWithoutEntryIsWritten();

private:
    // Reads the entry of one assay "a", passes it through the panel untouched
    // and writes the document, as the dialog does when the user leaves "a".
    static QByteArray savedThroughPanel(const QByteArray &entryJson);
};

QByteArray tst_DisplayData::savedThroughPanel(const QByteArray &entryJson)
{
    QVariantMap entries = DisplayData::read("{\"a\": " + entryJson + "}");
    entries.insert(QStringLiteral("a"),
                   DisplayData::fromPanel(DisplayData::toPanel(entries.value("a").toMap())));
    return DisplayData::write(entries, {{QStringLiteral("a"), true}});
}

void tst_DisplayData::unusableDocumentHasNoAssays_data()
{
    QTest::addColumn<QByteArray>("document");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("white space") << QByteArray(" \n");
    QTest::newRow("not JSON") << QByteArray("assays: a, b");
    QTest::newRow("trailing garbage") << QByteArray("{\"a\": {}} x");
    QTest::newRow("unterminated object") << QByteArray("{\"a\": {}");
    QTest::newRow("top-level array") << QByteArray("[{\"a\": {}}]");
    QTest::newRow("top-level string") << QByteArray("\"a\"");
    QTest::newRow("top-level null") << QByteArray("null");
}

void tst_DisplayData::unusableDocumentHasNoAssays()
{
    QFETCH(QByteArray, document);

    const QVariantMap entries = DisplayData::read(document);
    QVERIFY(entries.isEmpty());
    QCOMPARE(DisplayData::write(entries, {}), QByteArray("{\n}\n"));
}

void tst_DisplayData::namesInCodeUnitOrder()
{
    const QVariantMap entries =
        DisplayData::read("{\"beta\": {}, \"alpha\": {}, \"9\": {}, \"Alpha\": {}, \"10\": {}, "
                          "\"\": {}, \"\\u00e9\": {}}");
    const QStringList expected = {
        QString(), "10", "9", "Alpha", "alpha", "beta", QStringLiteral("\u00e9")};
    QCOMPARE(entries.keys(), expected);
}

void tst_DisplayData::selectedReading_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<bool>("checked");

    QTest::newRow("member missing") << QByteArray("{}") << true;
    QTest::newRow("true") << QByteArray("{\"selected\": true}") << true;
    QTest::newRow("false") << QByteArray("{\"selected\": false}") << false;
    QTest::newRow("null") << QByteArray("{\"selected\": null}") << false;
    QTest::newRow("number 0") << QByteArray("{\"selected\": 0}") << false;
    QTest::newRow("number 1") << QByteArray("{\"selected\": 1}") << true;
    QTest::newRow("number 0.4 rounds to 0") << QByteArray("{\"selected\": 0.4}") << false;
    QTest::newRow("number 0.6 rounds to 1") << QByteArray("{\"selected\": 0.6}") << true;
    QTest::newRow("number -3") << QByteArray("{\"selected\": -3}") << true;
    QTest::newRow("empty string") << QByteArray("{\"selected\": \"\"}") << false;
    QTest::newRow("string 0") << QByteArray("{\"selected\": \"0\"}") << false;
    QTest::newRow("string false") << QByteArray("{\"selected\": \"false\"}") << false;
    QTest::newRow("string FaLsE") << QByteArray("{\"selected\": \"FaLsE\"}") << false;
    QTest::newRow("string no") << QByteArray("{\"selected\": \"no\"}") << true;
    QTest::newRow("string 0.0") << QByteArray("{\"selected\": \"0.0\"}") << true;
    QTest::newRow("string true") << QByteArray("{\"selected\": \"true\"}") << true;
    QTest::newRow("array") << QByteArray("{\"selected\": [true]}") << false;
    QTest::newRow("object") << QByteArray("{\"selected\": {\"x\": 1}}") << false;
    QTest::newRow("entry is a number") << QByteArray("0") << true;
    QTest::newRow("entry is null") << QByteArray("null") << true;
    QTest::newRow("entry is an array") << QByteArray("[false]") << true;
}

void tst_DisplayData::selectedReading()
{
    QFETCH(QByteArray, entry);
    QFETCH(bool, checked);

    const QVariantMap entries = DisplayData::read("{\"a\": " + entry + "}");
    QCOMPARE(entries.size(), 1);
    QCOMPARE(DisplayData::isSelected(entries.value("a")), checked);
}

void tst_DisplayData::entryToPanel_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QString>("uncertainty");
    QTest::addColumn<bool>("includeCount");
    QTest::addColumn<bool>("includeValues");
    QTest::addColumn<bool>("geometricMean");

    QTest::newRow("empty entry gives defaults") << QByteArray("{}") << ""
                                                << "0" << false << false << false;
    QTest::newRow("all set") << QByteArray(
        "{\"alias\": \"IC50 (nM)\", \"default_uncertainty\": 0.5, \"include_count\": true,"
        " \"include_values\": true, \"factor\": true}")
                             << "IC50 (nM)"
                             << "0.5" << true << true << true;
    QTest::newRow("numeric alias") << QByteArray("{\"alias\": 42}") << "42"
                                   << "0" << false << false << false;
    QTest::newRow("boolean alias") << QByteArray("{\"alias\": true}") << "true"
                                   << "0" << false << false << false;
    QTest::newRow("object alias") << QByteArray("{\"alias\": {\"a\": 1}}") << ""
                                  << "0" << false << false << false;
    QTest::newRow("six significant digits")
        << QByteArray("{\"default_uncertainty\": 0.1234567}") << ""
        << "0.123457" << false << false << false;
    QTest::newRow("exponent form") << QByteArray("{\"default_uncertainty\": 2500000}") << ""
                                   << "2.5e+06" << false << false << false;
    QTest::newRow("small exponent form") << QByteArray("{\"default_uncertainty\": 0.00001}") << ""
                                         << "1e-05" << false << false << false;
    QTest::newRow("negative keeps its sign") << QByteArray("{\"default_uncertainty\": -2}") << ""
                                             << "-2" << false << false << false;
    QTest::newRow("uncertainty as string") << QByteArray("{\"default_uncertainty\": \"0.5\"}") << ""
                                           << "0.5" << false << false << false;
    QTest::newRow("uncertainty not a number")
        << QByteArray("{\"default_uncertainty\": \"much\"}") << ""
        << "0" << false << false << false;
    QTest::newRow("uncertainty true") << QByteArray("{\"default_uncertainty\": true}") << ""
                                      << "1" << false << false << false;
    QTest::newRow("uncertainty beyond float range")
        << QByteArray("{\"default_uncertainty\": 1e300}") << ""
        << "3.40282e+38" << false << false << false;
    QTest::newRow("uncertainty beyond float range, negative")
        << QByteArray("{\"default_uncertainty\": -1e300}") << ""
        << "-3.40282e+38" << false << false << false;
    QTest::newRow("uncertainty string inf")
        << QByteArray("{\"default_uncertainty\": \"inf\"}") << ""
        << "3.40282e+38" << false << false << false;
    QTest::newRow("uncertainty string -inf")
        << QByteArray("{\"default_uncertainty\": \"-inf\"}") << ""
        << "-3.40282e+38" << false << false << false;
    QTest::newRow("uncertainty string nan")
        << QByteArray("{\"default_uncertainty\": \"nan\"}") << ""
        << "0" << false << false << false;
    QTest::newRow("booleans read from strings and numbers") << QByteArray(
        "{\"include_count\": \"yes\", \"include_values\": 0.4, \"factor\": \"FALSE\"}")
                                                            << ""
                                                            << "0" << true << false << false;
    QTest::newRow("factor 1 is geometric") << QByteArray("{\"factor\": 1}") << ""
                                           << "0" << false << false << true;
}

void tst_DisplayData::entryToPanel()
{
    QFETCH(QByteArray, entry);

    const QVariantMap entries = DisplayData::read("{\"a\": " + entry + "}");
    const Panel panel = DisplayData::toPanel(entries.value("a").toMap());
    QTEST(panel.displayName, "displayName");
    QTEST(panel.uncertainty, "uncertainty");
    QTEST(panel.includeCount, "includeCount");
    QTEST(panel.includeValues, "includeValues");
    QTEST(panel.geometricMean, "geometricMean");
}

void tst_DisplayData::panelToEntry_data()
{
    QTest::addColumn<QString>("uncertaintyText");
    QTest::addColumn<float>("stored");

    const float largest = std::numeric_limits<float>::max();
    QTest::newRow("empty") << "" << 0.0f;
    QTest::newRow("not a number") << "abc" << 0.0f;
    QTest::newRow("decimal comma is not a number") << "0,5" << 0.0f;
    QTest::newRow("0.1") << "0.1" << 0.1f;
    QTest::newRow("exponent") << "2.5e+06" << 2.5e6f;
    QTest::newRow("negative") << "-2" << -2.0f;
    QTest::newRow("beyond float range") << "1e39" << largest;
    QTest::newRow("beyond double range") << "1e400" << largest;
    QTest::newRow("beyond float range, negative") << "-1e39" << -largest;
    QTest::newRow("inf") << "inf" << largest;
    QTest::newRow("nan") << "nan" << 0.0f;
}

void tst_DisplayData::panelToEntry()
{
    QFETCH(QString, uncertaintyText);
    QFETCH(float, stored);

    Panel panel;
    panel.displayName = QStringLiteral("pIC50");
    panel.uncertainty = uncertaintyText;
    panel.includeValues = true;
    panel.geometricMean = true;
    const QVariantMap entry = DisplayData::fromPanel(panel);

    const QStringList members = {"alias", "default_uncertainty", "factor", "include_count",
                                 "include_values"};
    QCOMPARE(entry.keys(), members);
    QCOMPARE(entry.value("alias"), QVariant(QStringLiteral("pIC50")));
    QCOMPARE(entry.value("include_count"), QVariant(false));
    QCOMPARE(entry.value("include_values"), QVariant(true));
    QCOMPARE(entry.value("factor"), QVariant(true));
    const QVariant uncertainty = entry.value("default_uncertainty");
    QCOMPARE(uncertainty.userType(), int(QMetaType::Float));
    QCOMPARE(uncertainty.toFloat(), stored);
}

void tst_DisplayData::storedEntryIsTheSavedPanel_data()
{
    QTest::addColumn<QByteArray>("entry");

    QTest::newRow("empty object") << QByteArray("{}");
    QTest::newRow("the five and more") << QByteArray(
        "{\"alias\": 12, \"default_uncertainty\": \"0.5\", \"factor\": \"no\", \"include_count\": "
        "1,"
        " \"include_values\": null, \"selected\": false, \"units\": \"nM\", \"zz\": [1]}");
    QTest::newRow("only others") << QByteArray("{\"a\": 1, \"selected\": true, \"units\": \"nM\"}");
    QTest::newRow("a number") << QByteArray("7");
    QTest::newRow("null") << QByteArray("null");
    QTest::newRow("an array") << QByteArray("[{\"alias\": \"x\"}]");
}

// Storing into an entry gives what fromPanel() gives, member for member and
// type for type, and leaves copies of the old entry as they were.
void tst_DisplayData::storedEntryIsTheSavedPanel()
{
    QFETCH(QByteArray, entry);

    QVariant stored = DisplayData::read("{\"a\": " + entry + "}").value("a");
    const QVariant before = stored;
    Panel panel;
    panel.displayName = QStringLiteral("pIC50");
    panel.uncertainty = QStringLiteral("0.123457");
    panel.includeValues = true;
    panel.geometricMean = true;
    DisplayData::store(stored, panel);

    QCOMPARE(stored.userType(), int(QMetaType::QVariantMap));
    const QVariantMap members = stored.toMap();
    const QVariantMap expected = DisplayData::fromPanel(panel);
    QCOMPARE(members.keys(), expected.keys());
    for (auto member = expected.cbegin(); member != expected.cend(); ++member) {
        QCOMPARE(members.value(member.key()).userType(), member.value().userType());
        QCOMPARE(members.value(member.key()), member.value());
    }
    QCOMPARE(before, DisplayData::read("{\"a\": " + entry + "}").value("a"));
}

void tst_DisplayData::nonObjectEntryIsCheckedWithDefaults()
{
    const QVariantMap entries = DisplayData::read("{\"a\": 7}");
    QVERIFY(DisplayData::isSelected(entries.value("a")));
    const Panel panel = DisplayData::toPanel(entries.value("a").toMap());
    QCOMPARE(panel.displayName, QString());
    QCOMPARE(panel.uncertainty, QStringLiteral("0"));

    QCOMPARE(DisplayData::write(entries, {{QStringLiteral("a"), true}}),
             QByteArray("{\n    \"a\": {\n        \"selected\": true\n    }\n}\n"));
}

void tst_DisplayData::unknownMembersSurviveUntilSaved()
{
    const QByteArray entry =
        "{\"alias\": \"x\", \"colour\": \"red\", \"default_uncertainty\": 0.25,"
        " \"nested\": {\"k\": [1, null]}, \"selected\": false}";
    QVariantMap entries = DisplayData::read("{\"a\": " + entry + "}");

    const QJsonObject unsaved =
        QJsonDocument::fromJson(DisplayData::write(entries, {{QStringLiteral("a"), true}}))
            .object()
            .value("a")
            .toObject();
    QCOMPARE(unsaved,
             QJsonDocument::fromJson(
                 "{\"alias\": \"x\", \"colour\": \"red\", \"default_uncertainty\": 0.25,"
                 " \"nested\": {\"k\": [1, null]}, \"selected\": true}")
                 .object());

    const QJsonObject saved =
        QJsonDocument::fromJson(savedThroughPanel(entry)).object().value("a").toObject();
    const QStringList members = {"alias",         "default_uncertainty", "factor",
                                 "include_count", "include_values",      "selected"};
    QCOMPARE(saved.keys(), members);
    QCOMPARE(saved.value("alias").toString(), QStringLiteral("x"));
    QCOMPARE(saved.value("default_uncertainty").toDouble(), 0.25);
}

void tst_DisplayData::savedValuesWritten_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("member");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("uncertainty string 0.5 becomes the number")
        << QByteArray("{\"default_uncertainty\": \"0.5\"}") << QByteArray("default_uncertainty")
        << QByteArray("0.5");
    QTest::newRow("more digits than the panel shows")
        << QByteArray("{\"default_uncertainty\": 0.123456789}") << QByteArray("default_uncertainty")
        << QByteArray("0.12345699965953827");
    QTest::newRow("negative uncertainty stays negative")
        << QByteArray("{\"default_uncertainty\": -2}") << QByteArray("default_uncertainty")
        << QByteArray("-2");
    QTest::newRow("huge uncertainty stays finite")
        << QByteArray("{\"default_uncertainty\": 1e300}") << QByteArray("default_uncertainty")
        << QByteArray("3.402820018375656e+38");
    QTest::newRow("numeric alias becomes a string")
        << QByteArray("{\"alias\": 42}") << QByteArray("alias") << QByteArray("\"42\"");
    QTest::newRow("missing alias becomes empty")
        << QByteArray("{}") << QByteArray("alias") << QByteArray("\"\"");
}

void tst_DisplayData::savedValuesWritten()
{
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, member);
    QFETCH(QByteArray, written);

    const QByteArray document = savedThroughPanel(entry);
    // Every saved member but the last, "selected", ends in a comma.
    QVERIFY2(document.contains("\"" + member + "\": " + written + ",\n"), document.constData());
}

void tst_DisplayData::writtenDocumentIsIndentedAndSorted()
{
    QVariantMap entries = DisplayData::read("{\"b\": {\"x\": 1}, \"a\": 3}");
    Panel typed;
    typed.displayName = QStringLiteral("Ki");
    typed.uncertainty = QStringLiteral("0.1");
    typed.includeCount = true;
    entries.insert(QStringLiteral("b"), DisplayData::fromPanel(typed));

    const QByteArray expected = "{\n"
                                "    \"a\": {\n"
                                "        \"selected\": false\n"
                                "    },\n"
                                "    \"b\": {\n"
                                "        \"alias\": \"Ki\",\n"
                                "        \"default_uncertainty\": 0.10000000149011612,\n"
                                "        \"factor\": false,\n"
                                "        \"include_count\": true,\n"
                                "        \"include_values\": false,\n"
                                "        \"selected\": true\n"
                                "    }\n"
                                "}\n";
    QCOMPARE(
        DisplayData::write(entries, {{QStringLiteral("a"), false}, {QStringLiteral("b"), true}}),
        expected);
}

void tst_DisplayData::listedAssayWithoutEntryIsWritten()
{
    // An assay that is listed but has no stored entry still comes out, with
    // only its check state.
    const QVariantMap entries = DisplayData::read("{\"b\": {}}");
    const QByteArray document =
        DisplayData::write(entries, {{QStringLiteral("a"), true}, {QStringLiteral("b"), false}});
    const QJsonObject object = QJsonDocument::fromJson(document).object();
    QCOMPARE(object.keys(), QStringList({"a", "b"}));
    QCOMPARE(object.value("a").toObject(), QJsonObject({{"selected", true}}));
    QCOMPARE(object.value("b").toObject(), QJsonObject({{"selected", false}}));
}

QTEST_APPLESS_MAIN(tst_DisplayData)
#include "tst_displaydata.moc"
