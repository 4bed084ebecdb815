// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "pythonsession.h"
#include "whenmodal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

// Drives the three dialogs as a query script does: the plug-in is loaded
// through Qt's plug-in loader, registered with the bridge, and every call
// comes from Python.
class tst_Scripting : public PluginSessionTest
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void constructors_data();
    void constructors();
    void progressLoopStopsOnCancel();
    void selectionFilledAndRead();
    void selectionModalRun();
    void displayDocumentRoundTrip();
    void displayModalRun_data();
    void displayModalRun();

private:
    QDialog *dialogNamed(const QString &variable)
    {
        return qobject_cast<QDialog *>(python.value(variable).value<QObject *>());
    }
};

void tst_Scripting::init()
{
    QVERIFY(python.run(QStringLiteral(
        "import json\n"
        "from PythonQt.Kestrane import VeldmarkDisplay, VeldmarkSelection, ProgressDialog\n")));
}

void tst_Scripting::constructors_data()
{
    QTest::addColumn<QString>("className");
    QTest::newRow("display") << "VeldmarkDisplay";
    QTest::newRow("selection") << "VeldmarkSelection";
    QTest::newRow("progress") << "ProgressDialog";
}

void tst_Scripting::constructors()
{
    QFETCH(QString, className);
    python.addVariable(QStringLiteral("cls"), className);
    QVERIFY(python.run(QStringLiteral(R"(
Class = globals()[cls]
bare = Class()
with_none = Class(None)
parent = ProgressDialog()
child = Class(parent)
other = Class()
checks = [
    bare.className() == cls, bare.parent() is None, with_none.parent() is None,
    child.parent() is parent, bare is not other, bare is not with_none,
]
parent.delete()
try:
    child.setWindowTitle('gone')
    message = ''
except ValueError as e:
    message = str(e)
checks += [bool(child) is False, bool(bare) is True]
)")));
    QCOMPARE(python.value(QStringLiteral("checks")).toList(),
             QVariantList({true, true, true, true, true, true, true, true}));
    const QString message = python.value(QStringLiteral("message")).toString();
    QVERIFY2(message.contains(QStringLiteral("destroyed")), qPrintable(message));
    QVERIFY2(message.contains(className), qPrintable(message));
}

void tst_Scripting::progressLoopStopsOnCancel()
{
    // The user presses Cancel while the script is fetching.
    QTimer user;
    user.setSingleShot(true);
    connect(&user, &QTimer::timeout, this, [] {
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (auto box = window->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox")))
                QTest::mouseClick(box->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        }
    });
    user.start(50);

    QVERIFY(python.run(QStringLiteral(R"(
progress = ProgressDialog()
progress.show()
fetched = 0
for library in range(100000):
    progress.setMessage('Fetching library %d' % library)
    for record in range(10):
        progress.tick()
        fetched += 1
    if progress.cancelled():
        break
stopped = (progress.cancelled(), progress.visible, fetched < 1000000)
)")));
    QCOMPARE(python.value(QStringLiteral("stopped")).toList(), QVariantList({true, false, true}));
}

void tst_Scripting::selectionFilledAndRead()
{
    QVERIFY(python.run(QStringLiteral(R"(
selection = VeldmarkSelection()
selection.setAvailableItems({'beta': ['L3'], 'Alpha': ['L1', 'L2'], 'Zed': [], 'Numbers': [42]})
before = (selection.selectedItems(), selection.aggregationMode())
)")));
    QCOMPARE(python.value(QStringLiteral("before")).toList(),
             QVariantList({QStringList(), QStringLiteral("compound")}));

    QDialog *dialog = dialogNamed(QStringLiteral("selection"));
    QVERIFY(dialog);
    auto tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
    QVERIFY(tree);
    QStringList groups;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        groups << tree->topLevelItem(i)->text(0);
    QCOMPARE(groups, QStringList({"Alpha", "Numbers", "Zed", "beta"}));
    tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    tree->topLevelItem(1)->setCheckState(0, Qt::Checked);

    QCOMPARE(python.value(QStringLiteral("selection.selectedItems()")).toStringList(),
             QStringList({"L1", "L2", "42"}));
}

void tst_Scripting::selectionModalRun()
{
    QVERIFY(python.run(QStringLiteral("selection = VeldmarkSelection()\n"
                                      "selection.setAvailableItems({'Kinase panel': ['KIN-01', "
                                      "'KIN-02'], 'ADME': ['Solubility']})\n")));
    QDialog *dialog = dialogNamed(QStringLiteral("selection"));
    QVERIFY(dialog);
    WhenModal user(*dialog, [dialog] {
        auto tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
        tree->topLevelItem(1)->child(1)->setCheckState(0, Qt::Checked);
        QTest::mouseClick(dialog->findChild<QRadioButton *>(QStringLiteral("rbBatch")),
                          Qt::LeftButton);
        auto box = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    QVERIFY(python.run(QStringLiteral(
        "accepted = selection.run()\n"
        "result = (accepted, selection.selectedItems(), selection.aggregationMode())\n")));
    QVERIFY(user.acted());
    QCOMPARE(python.value(QStringLiteral("result")).toList(),
             QVariantList({true, QStringList({"KIN-02"}), QStringLiteral("batch")}));
}

void tst_Scripting::displayDocumentRoundTrip()
{
    QVERIFY(python.run(QStringLiteral(R"(
display = VeldmarkDisplay()
display.setDisplayData(json.dumps({
    'IC50 (nM)': {'alias': 'IC50', 'default_uncertainty': 0.5, 'factor': True, 'selected': False},
    'Solubility': {'include_count': 1, 'note': 'kept'},
}).encode())
written = display.displayData()
document = json.loads(written.data())
checks = (type(written.data()) is bytes, written.data().endswith(b'}\n'), written.size() == len(written.data()),
          written == written.data())
)")));
    QCOMPARE(python.value(QStringLiteral("checks")).toList(),
             QVariantList({true, true, true, true}));
    QCOMPARE(python.value(QStringLiteral("sorted(document)")).toStringList(),
             QStringList({"IC50 (nM)", "Solubility"}));
    QCOMPARE(python.value(QStringLiteral("document['IC50 (nM)']['selected']")), QVariant(false));
    QCOMPARE(python.value(QStringLiteral("document['Solubility']")).toMap(),
             QVariantMap({{"include_count", 1}, {"note", "kept"}, {"selected", true}}));

    QVERIFY(python.run(QStringLiteral("display.setDisplayData(b'not json')\n"
                                      "empty = display.displayData().data()\n")));
    QCOMPARE(python.value(QStringLiteral("empty")).toByteArray(), QByteArray("{\n}\n"));
}

void tst_Scripting::displayModalRun_data()
{
    QTest::addColumn<bool>("pressOk");
    QTest::addColumn<QString>("expectedAlias");
    QTest::newRow("OK saves the panel") << true << "Edited";
    QTest::newRow("Cancel drops the panel edit") << false << "IC50";
}

void tst_Scripting::displayModalRun()
{
    QFETCH(bool, pressOk);
    QFETCH(QString, expectedAlias);

    QVERIFY(python.run(
        QStringLiteral("display = VeldmarkDisplay()\n"
                       "display.setDisplayData(b'{\"IC50 (nM)\": {\"alias\": \"IC50\"}}')\n")));
    QDialog *dialog = dialogNamed(QStringLiteral("display"));
    QVERIFY(dialog);
    WhenModal user(*dialog, [dialog, pressOk] {
        auto name = dialog->findChild<QLineEdit *>(QStringLiteral("lineEditDisplayName"));
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Edited"));
        auto box = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QTest::mouseClick(box->button(pressOk ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
    QVERIFY(python.run(
        QStringLiteral("accepted = display.run()\n"
                       "entry = json.loads(display.displayData().data())['IC50 (nM)']\n")));
    QVERIFY(user.acted());
    QCOMPARE(python.value(QStringLiteral("accepted")), QVariant(pressOk));
    QCOMPARE(python.value(QStringLiteral("entry['alias']")).toString(), expectedAlias);
}

QTEST_MAIN(tst_Scripting)
#include "tst_scripting.moc"
