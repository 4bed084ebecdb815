// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "veldmarkselection.h"
#include "ui_veldmarkselection.h"
#include "accessiblenames.h"
#include "ending.h"
#include "placements.h"
#include "whenmodal.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMultiMap>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTranslator>
#include <QTreeWidget>

namespace {

// Records every lookup and answers for the dialog's context only, so a test
// sees both what was asked for and which texts took the translation.
class RecordingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        lookups.append(QStringLiteral("%1|%2|%3|%4")
                           .arg(QLatin1String(context), QString::fromUtf8(sourceText),
                                QLatin1String(disambiguation ? "d" : ""))
                           .arg(n));
        if (qstrcmp(context, "VeldmarkSelection") != 0)
            return QString();
        return QStringLiteral("<%1>").arg(QString::fromUtf8(sourceText));
    }

    mutable QStringList lookups;
};

// Two groups of libraries, listed out of order, and a group with none.
QVariantMap workedExampleMap()
{
    return {
        {QStringLiteral("beta"), QVariantList{QStringLiteral("L3")}},
        {QStringLiteral("Alpha"), QVariantList{QStringLiteral("L1"), QStringLiteral("L2")}},
        {QStringLiteral("Zed"), QVariantList{}},
    };
}

} // namespace

class tst_VeldmarkSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void freshDialog();
    void existingObjectNameIsKept();
    void textsGoThroughTranslation();
    void controlsAreNamedAsTheirCaptions();
    void radioButtonsExcludeEachOther();
    void clickingARowSelectsNothing();
    void firstShowKeepsTheFormOnScreen_data();
    void firstShowKeepsTheFormOnScreen();

    void workedExample();
    void propagation_data();
    void propagation();
    void input_data();
    void input();
    void sameMapTwiceGivesIndependentGroups();
    void libraryUnderTwoGroupsIsListedTwice();
    void okFollowsTickedLibraries_data();
    void okFollowsTickedLibraries();
    void okFollowsTickedLibrariesOnARandomWalk();
    void endingTheRun_data();
    void endingTheRun();
    void emptyDialogCannotBeAccepted();

private:
    static QTreeWidget *tree(VeldmarkSelection &dialog);
    static QPushButton *okButton(VeldmarkSelection &dialog);
    static QTreeWidgetItem *itemAt(VeldmarkSelection &dialog, const QString &path);
    static void clickCheckBox(QTreeWidget *tree, QTreeWidgetItem *item);
    static QString layout(VeldmarkSelection &dialog);
    static QString states(VeldmarkSelection &dialog);
    static void showAndFill(VeldmarkSelection &dialog, const QVariantMap &map);
};

QTreeWidget *tst_VeldmarkSelection::tree(VeldmarkSelection &dialog)
{
    return dialog.findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
}

QPushButton *tst_VeldmarkSelection::okButton(VeldmarkSelection &dialog)
{
    auto box = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    return box ? box->button(QDialogButtonBox::Ok) : nullptr;
}

// "2" is the third group, "2/0" its first library.
QTreeWidgetItem *tst_VeldmarkSelection::itemAt(VeldmarkSelection &dialog, const QString &path)
{
    const QStringList rows = path.split(QLatin1Char('/'));
    QTreeWidgetItem *item = tree(dialog)->topLevelItem(rows.at(0).toInt());
    if (item && rows.size() > 1)
        item = item->child(rows.at(1).toInt());
    return item;
}

// Clicks where the view draws the item's check box, as the user would.
void tst_VeldmarkSelection::clickCheckBox(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.rect = tree->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    option.checkState = item->checkState(0);
    const QRect box =
        tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

// The tree's texts: "Alpha(L1,L2) Zed() beta(L3)".
QString tst_VeldmarkSelection::layout(VeldmarkSelection &dialog)
{
    QStringList groups;
    for (int i = 0; i < tree(dialog)->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *group = tree(dialog)->topLevelItem(i);
        QStringList libraries;
        for (int j = 0; j < group->childCount(); ++j)
            libraries.append(group->child(j)->text(0));
        groups.append(group->text(0) + QLatin1Char('(') + libraries.join(QLatin1Char(','))
                      + QLatin1Char(')'));
    }
    return groups.join(QLatin1Char(' '));
}

// Every item's box in tree order: '+' ticked, '~' partially ticked, '-' unticked.
QString tst_VeldmarkSelection::states(VeldmarkSelection &dialog)
{
    QStringList marks;
    for (QTreeWidgetItemIterator it(tree(dialog)); *it; ++it) {
        const char *mark = "-";
        if ((*it)->checkState(0) == Qt::Checked)
            mark = "+";
        else if ((*it)->checkState(0) == Qt::PartiallyChecked)
            mark = "~";
        marks.append((*it)->text(0) + QLatin1String(mark));
    }
    return marks.join(QLatin1Char(' '));
}

void tst_VeldmarkSelection::showAndFill(VeldmarkSelection &dialog, const QVariantMap &map)
{
    dialog.setAvailableItems(map);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

void tst_VeldmarkSelection::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_VeldmarkSelection::freshDialog()
{
    VeldmarkSelection dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("VeldmarkSelection"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Veldmark Libraries"));
    QCOMPARE(dialog.size(), QSize(400, 300));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("label"))->text(),
             QStringLiteral("Libraries:"));
    QCOMPARE(dialog.findChild<QGroupBox *>(QStringLiteral("groupBox"))->title(),
             QStringLiteral("Aggregation:"));

    QTreeWidget *treeWidget = tree(dialog);
    QVERIFY(treeWidget);
    QCOMPARE(treeWidget->columnCount(), 1);
    QCOMPARE(treeWidget->headerItem()->text(0), QStringLiteral("1"));
    QCOMPARE(treeWidget->selectionMode(), QAbstractItemView::NoSelection);
    QCOMPARE(treeWidget->topLevelItemCount(), 0);

    auto compound = dialog.findChild<QRadioButton *>(QStringLiteral("rbCompound"));
    auto batch = dialog.findChild<QRadioButton *>(QStringLiteral("rbBatch"));
    QCOMPARE(compound->text(), QStringLiteral("Compound"));
    QCOMPARE(batch->text(), QStringLiteral("Batch"));
    QVERIFY(compound->isChecked());
    QVERIFY(!batch->isChecked());
    QCOMPARE(dialog.aggregationMode(), QStringLiteral("compound"));

    auto box = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    QCOMPARE(box->orientation(), Qt::Horizontal);
    QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QVERIFY(!okButton(dialog)->isEnabled());
    QVERIFY(box->button(QDialogButtonBox::Cancel)->isEnabled());
    QVERIFY(dialog.selectedItems().isEmpty());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!treeWidget->header()->isVisible());
    QVERIFY(box->button(QDialogButtonBox::Cancel)->isVisible());
    QCOMPARE(okButton(dialog)->y(), box->button(QDialogButtonBox::Cancel)->y());
    QVERIFY(compound->x() < batch->x());
}

void tst_VeldmarkSelection::existingObjectNameIsKept()
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("librariesForQuery"));
    Ui::VeldmarkSelection form;
    form.setupUi(&dialog);
    QCOMPARE(dialog.objectName(), QStringLiteral("librariesForQuery"));
    QCOMPARE(form.treeWidget->objectName(), QStringLiteral("treeWidget"));
    QCOMPARE(form.verticalLayout->objectName(), QStringLiteral("verticalLayout"));
    QCOMPARE(form.horizontalLayout->objectName(), QStringLiteral("horizontalLayout"));
    QCOMPARE(form.horizontalLayout->count(), 3);
    QCOMPARE(form.horizontalLayout->itemAt(2)->spacerItem(), form.horizontalSpacer);
    QCOMPARE(form.horizontalSpacer->sizeHint(), QSize(40, 20));
    QCOMPARE(form.horizontalSpacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(form.rbCompound->parent(), form.groupBox);
    QCOMPARE(form.rbBatch->parent(), form.groupBox);
}

void tst_VeldmarkSelection::textsGoThroughTranslation()
{
    RecordingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    VeldmarkSelection dialog;
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("<Select Veldmark Libraries>"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("label"))->text(),
             QStringLiteral("<Libraries:>"));
    QCOMPARE(dialog.findChild<QGroupBox *>(QStringLiteral("groupBox"))->title(),
             QStringLiteral("<Aggregation:>"));
    QCOMPARE(dialog.findChild<QRadioButton *>(QStringLiteral("rbCompound"))->text(),
             QStringLiteral("<Compound>"));
    QCOMPARE(dialog.findChild<QRadioButton *>(QStringLiteral("rbBatch"))->text(),
             QStringLiteral("<Batch>"));
    QCOMPARE(tree(dialog)->headerItem()->text(0), QStringLiteral("1"));
    QCOMPARE(accessibleName(tree(dialog)), QStringLiteral("<Libraries:>"));

    QStringList ownLookups;
    for (const QString &lookup : qAsConst(translator.lookups)) {
        if (lookup.startsWith(QLatin1String("VeldmarkSelection|")))
            ownLookups.append(lookup);
    }
    QCOMPARE(ownLookups,
             (QStringList{
                 QStringLiteral("VeldmarkSelection|Select Veldmark Libraries||-1"),
                 QStringLiteral("VeldmarkSelection|Libraries:||-1"),
                 QStringLiteral("VeldmarkSelection|Libraries:||-1"),
                 QStringLiteral("VeldmarkSelection|Aggregation:||-1"),
                 QStringLiteral("VeldmarkSelection|Compound||-1"),
                 QStringLiteral("VeldmarkSelection|Batch||-1"),
             }));
}

// The "Libraries:" caption is not the tree's buddy: without a name of its
// own the tree would be announced with none.
void tst_VeldmarkSelection::controlsAreNamedAsTheirCaptions()
{
    VeldmarkSelection dialog;
    QCOMPARE(accessibleNamesInTabOrder(dialog),
             (QStringList{"Libraries:", "Compound", "Batch", "OK", "Cancel"}));
}

void tst_VeldmarkSelection::radioButtonsExcludeEachOther()
{
    VeldmarkSelection dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto compound = dialog.findChild<QRadioButton *>(QStringLiteral("rbCompound"));
    auto batch = dialog.findChild<QRadioButton *>(QStringLiteral("rbBatch"));

    QTest::mouseClick(batch, Qt::LeftButton);
    QVERIFY(batch->isChecked());
    QVERIFY(!compound->isChecked());
    QCOMPARE(dialog.aggregationMode(), QStringLiteral("batch"));

    QTest::mouseClick(compound, Qt::LeftButton);
    QVERIFY(compound->isChecked());
    QVERIFY(!batch->isChecked());
    QCOMPARE(dialog.aggregationMode(), QStringLiteral("compound"));
}

void tst_VeldmarkSelection::clickingARowSelectsNothing()
{
    VeldmarkSelection dialog;
    showAndFill(dialog, workedExampleMap());
    QTreeWidget *treeWidget = tree(dialog);
    QTreeWidgetItem *l1 = itemAt(dialog, QStringLiteral("0/0"));

    const QRect row = treeWidget->visualItemRect(l1);
    QTest::mouseClick(treeWidget->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(row.right() - 5, row.center().y()));

    QVERIFY(treeWidget->selectedItems().isEmpty());
    QVERIFY(!l1->isSelected());
    QCOMPARE(l1->checkState(0), Qt::Unchecked);
    QVERIFY(!okButton(dialog)->isEnabled());
}

void tst_VeldmarkSelection::firstShowKeepsTheFormOnScreen_data()
{
    addPlacementRows();
}

// The form's 400 x 300 fits the offscreen platform's 800 x 600 screen: the
// size stays, the place moves onto the screen.
void tst_VeldmarkSelection::firstShowKeepsTheFormOnScreen()
{
    QFETCH(bool, placed);
    QFETCH(QPoint, position);

    VeldmarkSelection dialog;
    if (placed)
        dialog.move(position);
    showAndFill(dialog, workedExampleMap());

    QVERIFY(dialog.screen()->availableGeometry().contains(dialog.frameGeometry()));
    QCOMPARE(dialog.size(), QSize(400, 300));
}

void tst_VeldmarkSelection::workedExample()
{
    VeldmarkSelection dialog;
    showAndFill(dialog, workedExampleMap());
    QTreeWidget *treeWidget = tree(dialog);
    QTreeWidgetItem *alpha = itemAt(dialog, QStringLiteral("0"));
    QTreeWidgetItem *l1 = itemAt(dialog, QStringLiteral("0/0"));
    QTreeWidgetItem *l2 = itemAt(dialog, QStringLiteral("0/1"));
    QTreeWidgetItem *zed = itemAt(dialog, QStringLiteral("1"));
    QTreeWidgetItem *beta = itemAt(dialog, QStringLiteral("2"));

    QCOMPARE(layout(dialog), QStringLiteral("Alpha(L1,L2) Zed() beta(L3)"));
    QCOMPARE(states(dialog), QStringLiteral("Alpha- L1- L2- Zed- beta- L3-"));
    QVERIFY(alpha->isExpanded());
    QVERIFY(beta->isExpanded());
    QVERIFY(!okButton(dialog)->isEnabled());

    clickCheckBox(treeWidget, l1);
    QCOMPARE(states(dialog), QStringLiteral("Alpha~ L1+ L2- Zed- beta- L3-"));
    QVERIFY(okButton(dialog)->isEnabled());
    QCOMPARE(dialog.selectedItems(), QStringList{QStringLiteral("L1")});

    clickCheckBox(treeWidget, alpha);
    QCOMPARE(states(dialog), QStringLiteral("Alpha+ L1+ L2+ Zed- beta- L3-"));
    QCOMPARE(dialog.selectedItems(), (QStringList{QStringLiteral("L1"), QStringLiteral("L2")}));

    clickCheckBox(treeWidget, beta);
    QCOMPARE(states(dialog), QStringLiteral("Alpha+ L1+ L2+ Zed- beta+ L3+"));
    QCOMPARE(dialog.selectedItems(),
             (QStringList{QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3")}));

    clickCheckBox(treeWidget, l2);
    QCOMPARE(states(dialog), QStringLiteral("Alpha~ L1+ L2- Zed- beta+ L3+"));
    QCOMPARE(dialog.selectedItems(), (QStringList{QStringLiteral("L1"), QStringLiteral("L3")}));

    clickCheckBox(treeWidget, zed);
    QCOMPARE(states(dialog), QStringLiteral("Alpha~ L1+ L2- Zed+ beta+ L3+"));
    QCOMPARE(dialog.selectedItems(), (QStringList{QStringLiteral("L1"), QStringLiteral("L3")}));
    QVERIFY(okButton(dialog)->isEnabled());

    // A window's modality only takes effect when it is shown again.
    dialog.hide();
    WhenModal choose(dialog, [&dialog] {
        QTest::mouseClick(dialog.findChild<QRadioButton *>(QStringLiteral("rbBatch")),
                          Qt::LeftButton);
        QTest::mouseClick(okButton(dialog), Qt::LeftButton);
    });
    QVERIFY(dialog.run());
    QVERIFY(choose.acted());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.aggregationMode(), QStringLiteral("batch"));
    QCOMPARE(dialog.selectedItems(), (QStringList{QStringLiteral("L1"), QStringLiteral("L3")}));
}

void tst_VeldmarkSelection::propagation_data()
{
    // One group "G" of three libraries and a group "Other" of one; clicks
    // name an item by its place, "0" the group G and "0/1" its second library.
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("expectedStates");
    QTest::addColumn<bool>("okEnabled");

    QTest::newRow("one of three ticked") << QStringList{"0/0"} << "G~ a+ b- c- Other- x-" << true;
    QTest::newRow("two of three ticked")
        << QStringList{"0/0", "0/2"} << "G~ a+ b- c+ Other- x-" << true;
    QTest::newRow("all three ticked")
        << QStringList{"0/0", "0/1", "0/2"} << "G+ a+ b+ c+ Other- x-" << true;
    QTest::newRow("all three ticked, then unticked")
        << QStringList{"0/0", "0/1", "0/2", "0/2", "0/0", "0/1"} << "G- a- b- c- Other- x-"
        << false;
    QTest::newRow("partially ticked group clicked")
        << QStringList{"0/1", "0"} << "G+ a+ b+ c+ Other- x-" << true;
    QTest::newRow("partially ticked group clicked twice")
        << QStringList{"0/1", "0", "0"} << "G- a- b- c- Other- x-" << false;
    QTest::newRow("group clicked twice keeps another group's library")
        << QStringList{"1/0", "0/1", "0", "0"} << "G- a- b- c- Other+ x+" << true;
    QTest::newRow("only ticked library unticked")
        << QStringList{"0/1", "0/1"} << "G- a- b- c- Other- x-" << false;
    QTest::newRow("ticked group, one library unticked")
        << QStringList{"0", "0/1"} << "G~ a+ b- c+ Other- x-" << true;
    QTest::newRow("ticked group, its libraries unticked one by one")
        << QStringList{"0", "0/0", "0/1", "0/2"} << "G- a- b- c- Other- x-" << false;
    QTest::newRow("group of one follows its library")
        << QStringList{"1/0"} << "G- a- b- c- Other+ x+" << true;
}

void tst_VeldmarkSelection::propagation()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, expectedStates);
    QFETCH(bool, okEnabled);

    VeldmarkSelection dialog;
    showAndFill(dialog,
                {
                    {QStringLiteral("G"),
                     QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
                    {QStringLiteral("Other"), QStringList{QStringLiteral("x")}},
                });

    for (const QString &path : qAsConst(clicks)) {
        QTreeWidgetItem *item = itemAt(dialog, path);
        const Qt::CheckState before = item->checkState(0);
        clickCheckBox(tree(dialog), item);
        QVERIFY2(item->checkState(0) != before,
                 qPrintable(QStringLiteral("click on %1 missed").arg(path)));
    }

    QCOMPARE(states(dialog), expectedStates);
    QCOMPARE(okButton(dialog)->isEnabled(), okEnabled);
    QCOMPARE(!dialog.selectedItems().isEmpty(), okEnabled);
}

void tst_VeldmarkSelection::input_data()
{
    QTest::addColumn<QVariantMap>("map");
    QTest::addColumn<QString>("expectedLayout");

    QTest::newRow("keys in code-unit order") << workedExampleMap() << "Alpha(L1,L2) Zed() beta(L3)";
    QTest::newRow("empty map") << QVariantMap() << "";
    QTest::newRow("single string instead of a list")
        << QVariantMap{{"G", QStringLiteral("L1")}} << "G()";
    QTest::newRow("empty list") << QVariantMap{{"G", QVariantList()}} << "G()";
    QTest::newRow("string list") << QVariantMap{{"G", QStringList{"b", "a"}}} << "G(b,a)";
    QTest::newRow("number element")
        << QVariantMap{{"G", QVariantList{42, QStringLiteral("L1")}}} << "G(42,L1)";
    QTest::newRow("element without a string form")
        << QVariantMap{{"G", QVariantList{QVariantMap{{"x", 1}}}}} << "G()";
    QTest::newRow("number value") << QVariantMap{{"G", 7}} << "G()";
    QTest::newRow("invalid value") << QVariantMap{{"G", QVariant()}} << "G()";
    QTest::newRow("empty group name") << QVariantMap{{"", QVariantList{"L1"}}} << "(L1)";
    QTest::newRow("same library twice in a group")
        << QVariantMap{{"G", QVariantList{"L1", "L1"}}} << "G(L1,L1)";

    // A map with a repeated key keeps each of its values.
    QMultiMap<QString, QVariant> repeated;
    repeated.insert(QStringLiteral("G"), QVariantList{"first"});
    repeated.insert(QStringLiteral("G"), QVariantList{"second"});
    QTest::newRow("repeated key") << QVariantMap(repeated) << "G(second) G(first)";
}

void tst_VeldmarkSelection::input()
{
    QFETCH(QVariantMap, map);
    QFETCH(QString, expectedLayout);

    VeldmarkSelection dialog;
    dialog.setAvailableItems(map);

    QCOMPARE(layout(dialog), expectedLayout);
    QVERIFY(!okButton(dialog)->isEnabled());
    QVERIFY(dialog.selectedItems().isEmpty());
    for (QTreeWidgetItemIterator it(tree(dialog)); *it; ++it) {
        const QTreeWidgetItem *item = *it;
        const bool library = item->parent() != nullptr;
        QCOMPARE(item->type(), int(QTreeWidgetItem::Type));
        QCOMPARE(item->data(0, Qt::CheckStateRole), QVariant(int(Qt::Unchecked)));
        QCOMPARE(item->data(0, Qt::UserRole),
                 library ? QVariant(QStringLiteral("Library")) : QVariant());
        QCOMPARE(item->isExpanded(), !library);
        QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
        QVERIFY(!(item->flags() & Qt::ItemIsUserTristate));
    }
}

void tst_VeldmarkSelection::sameMapTwiceGivesIndependentGroups()
{
    VeldmarkSelection dialog;
    showAndFill(dialog, workedExampleMap());
    clickCheckBox(tree(dialog), itemAt(dialog, QStringLiteral("0/1")));

    dialog.setAvailableItems(workedExampleMap());

    QCOMPARE(layout(dialog),
             QStringLiteral("Alpha(L1,L2) Zed() beta(L3) Alpha(L1,L2) Zed() beta(L3)"));
    QCOMPARE(states(dialog),
             QStringLiteral("Alpha~ L1- L2+ Zed- beta- L3- Alpha- L1- L2- Zed- beta- L3-"));
    QVERIFY(okButton(dialog)->isEnabled());

    clickCheckBox(tree(dialog), itemAt(dialog, QStringLiteral("3/0")));
    QCOMPARE(states(dialog),
             QStringLiteral("Alpha~ L1- L2+ Zed- beta- L3- Alpha~ L1+ L2- Zed- beta- L3-"));
    QCOMPARE(dialog.selectedItems(), (QStringList{QStringLiteral("L2"), QStringLiteral("L1")}));

    clickCheckBox(tree(dialog), itemAt(dialog, QStringLiteral("0/1")));
    QCOMPARE(states(dialog),
             QStringLiteral("Alpha- L1- L2- Zed- beta- L3- Alpha~ L1+ L2- Zed- beta- L3-"));
    QVERIFY(okButton(dialog)->isEnabled());
}

void tst_VeldmarkSelection::libraryUnderTwoGroupsIsListedTwice()
{
    VeldmarkSelection dialog;
    showAndFill(dialog,
                {
                    {QStringLiteral("Assays"),
                     QVariantList{QStringLiteral("Shared"), QStringLiteral("Own")}},
                    {QStringLiteral("Batches"), QVariantList{QStringLiteral("Shared")}},
                });

    clickCheckBox(tree(dialog), itemAt(dialog, QStringLiteral("1/0")));
    clickCheckBox(tree(dialog), itemAt(dialog, QStringLiteral("0/0")));
    QCOMPARE(dialog.selectedItems(),
             (QStringList{QStringLiteral("Shared"), QStringLiteral("Shared")}));

    clickCheckBox(tree(dialog), itemAt(dialog, QStringLiteral("1")));
    QCOMPARE(states(dialog), QStringLiteral("Assays~ Shared+ Own- Batches- Shared-"));
    QCOMPARE(dialog.selectedItems(), QStringList{QStringLiteral("Shared")});
    QVERIFY(okButton(dialog)->isEnabled());
}

// Steps: "click P" clicks the box of the item at place P; "set P +/-" sets a
// state as a script would; "rename P" changes a text; "refill" adds the map
// again; "take P" and "delete P" remove an item, "lift P" moves a library to
// the top level and "clear" empties the tree, as a script reaching into the
// tree could.
void tst_VeldmarkSelection::okFollowsTickedLibraries_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expectedSelection");

    QTest::newRow("group ticked, then unticked")
        << QStringList{"click 0", "click 0"} << QStringList();
    QTest::newRow("ticks made by the group are counted")
        << QStringList{"click 0", "click 0/0"} << QStringList{"b"};
    QTest::newRow("library already ticked when its group is ticked")
        << QStringList{"click 0/0", "click 0", "click 0"} << QStringList();
    QTest::newRow("ticked library renamed")
        << QStringList{"click 0/0", "rename 0/0", "click 0/0"} << QStringList();
    QTest::newRow("ticked library renamed twice, then unticked by its group")
        << QStringList{"click 0", "rename 0/1", "rename 0/1", "click 0"} << QStringList();
    QTest::newRow("refill keeps the old tick")
        << QStringList{"click 0/1", "refill", "click 2/1", "click 0/1"} << QStringList{"b"};
    QTest::newRow("refill, then the old tick removed")
        << QStringList{"click 0/1", "refill", "click 0/1"} << QStringList();
    QTest::newRow("empty group ticked") << QStringList{"click 1"} << QStringList();
    QTest::newRow("script ticks and unticks")
        << QStringList{"set 0/0 +", "set 0/0 +", "set 0/0 -"} << QStringList();
    QTest::newRow("script sets a state the group already gave")
        << QStringList{"click 0", "set 0/1 +", "click 0/0"} << QStringList{"b"};
    QTest::newRow("group with a ticked library taken out")
        << QStringList{"click 0/0", "take 0", "click 0"} << QStringList();
    QTest::newRow("ticked library deleted")
        << QStringList{"click 0/0", "click 0/1", "delete 0/0", "click 0/0"} << QStringList();
    QTest::newRow("library without a group clicked")
        << QStringList{"lift 0/0", "click 2"} << QStringList{"a"};
    QTest::newRow("library without a group clicked twice")
        << QStringList{"lift 0/0", "click 2", "click 2"} << QStringList();
    QTest::newRow("tree cleared, then filled again")
        << QStringList{"click 0", "clear", "refill"} << QStringList();
    QTest::newRow("tree cleared, refilled and ticked")
        << QStringList{"click 0", "clear", "refill", "click 0/1"} << QStringList{"b"};
}

void tst_VeldmarkSelection::okFollowsTickedLibraries()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expectedSelection);

    const QVariantMap map{
        {QStringLiteral("G"), QStringList{QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("H"), QStringList()},
    };
    VeldmarkSelection dialog;
    showAndFill(dialog, map);
    QTreeWidget *treeWidget = tree(dialog);

    for (const QString &step : qAsConst(steps)) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QString &action = words.at(0);
        QTreeWidgetItem *item = words.size() > 1 ? itemAt(dialog, words.at(1)) : nullptr;
        QVERIFY2(item || words.size() == 1, qPrintable(step));
        if (action == QLatin1String("click"))
            clickCheckBox(treeWidget, item);
        else if (action == QLatin1String("set"))
            item->setCheckState(0, words.at(2) == QLatin1String("+") ? Qt::Checked : Qt::Unchecked);
        else if (action == QLatin1String("rename"))
            item->setText(0, item->text(0) + QLatin1Char('\''));
        else if (action == QLatin1String("refill"))
            dialog.setAvailableItems(map);
        else if (action == QLatin1String("take"))
            delete treeWidget->takeTopLevelItem(treeWidget->indexOfTopLevelItem(item));
        else if (action == QLatin1String("delete"))
            delete item;
        else if (action == QLatin1String("lift"))
            treeWidget->addTopLevelItem(
                item->parent()->takeChild(item->parent()->indexOfChild(item)));
        else if (action == QLatin1String("clear"))
            treeWidget->clear();
        else
            QFAIL(qPrintable(step));
    }

    QCOMPARE(dialog.selectedItems(), expectedSelection);
    QCOMPARE(okButton(dialog)->isEnabled(), !expectedSelection.isEmpty());
}

// Random clicks, script ticks, renames and refills on a tree with repeated
// names and an empty group: after each step OK shows whether a library is ticked.
void tst_VeldmarkSelection::okFollowsTickedLibrariesOnARandomWalk()
{
    const QVariantMap map{
        {QStringLiteral("A"),
         QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("x")}},
        {QStringLiteral("B"), QStringList{QStringLiteral("x")}},
        {QStringLiteral("C"), QStringList()},
    };
    VeldmarkSelection dialog;
    showAndFill(dialog, map);
    QTreeWidget *treeWidget = tree(dialog);
    QRandomGenerator random(20261209);

    for (int step = 0; step < 300; ++step) {
        QList<QTreeWidgetItem *> items;
        for (QTreeWidgetItemIterator it(treeWidget); *it; ++it)
            items.append(*it);
        QTreeWidgetItem *item = items.at(random.bounded(items.size()));
        const bool library = item->parent() != nullptr;

        const int choice = random.bounded(20);
        if (choice < 14)
            clickCheckBox(treeWidget, item);
        else if (choice < 17)
            item->setCheckState(0, random.bounded(2) ? Qt::Checked : Qt::Unchecked);
        else if (choice < 19 && library)
            item->setText(0, item->text(0));
        else if (choice == 19 && items.size() < 40)
            dialog.setAvailableItems(map);

        QCOMPARE(okButton(dialog)->isEnabled(), !dialog.selectedItems().isEmpty());
        for (int i = 0; i < treeWidget->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *group = treeWidget->topLevelItem(i);
            int ticked = 0;
            for (int j = 0; j < group->childCount(); ++j)
                ticked += group->child(j)->checkState(0) == Qt::Checked;
            if (group->childCount() == 0)
                continue;
            const Qt::CheckState summary = ticked == group->childCount() ? Qt::Checked
                : ticked == 0                                            ? Qt::Unchecked
                                                                         : Qt::PartiallyChecked;
            QCOMPARE(group->checkState(0), summary);
        }
    }
}

void tst_VeldmarkSelection::endingTheRun_data()
{
    addEndingRows();
}

void tst_VeldmarkSelection::endingTheRun()
{
    QFETCH(Ending, ending);
    QFETCH(bool, accepted);

    VeldmarkSelection dialog;
    dialog.setAvailableItems(workedExampleMap());
    WhenModal end(dialog, [&dialog, ending] {
        clickCheckBox(tree(dialog), itemAt(dialog, QStringLiteral("2")));
        endDialog(dialog, ending);
    });

    QCOMPARE(dialog.run(), accepted);
    QVERIFY(end.acted());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.selectedItems(), QStringList{QStringLiteral("L3")});
    QCOMPARE(dialog.aggregationMode(), QStringLiteral("compound"));
}

void tst_VeldmarkSelection::emptyDialogCannotBeAccepted()
{
    VeldmarkSelection dialog;
    dialog.setAvailableItems({});
    bool stillOpenAfterEnter = false;
    WhenModal end(dialog, [&dialog, &stillOpenAfterEnter] {
        QTest::keyClick(&dialog, Qt::Key_Return);
        QTest::mouseClick(okButton(dialog), Qt::LeftButton);
        stillOpenAfterEnter = dialog.isVisible();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });

    QVERIFY(!dialog.run());
    QVERIFY(end.acted());
    QVERIFY(stillOpenAfterEnter);
    QVERIFY(dialog.selectedItems().isEmpty());
}

QTEST_MAIN(tst_VeldmarkSelection)
#include "tst_veldmarkselection.moc"
