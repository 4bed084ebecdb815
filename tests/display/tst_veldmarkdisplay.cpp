// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "veldmarkdisplay.h"
#include "ui_veldmarkdisplay.h"
#include "accessiblenames.h"
#include "displaywidgets.h"
#include "ending.h"
#include "placements.h"
#include "whenmodal.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMetaMethod>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTranslator>

#include <limits>
#include <utility>

namespace {

// The fixture document; the list shows its assays in the order
// "Alpha", "Gamma assay", "beta", "delta".
const QByteArray fourAssays = R"({
    "beta": {"alias": "b-alias", "factor": true, "selected": false},
    "Alpha": {"alias": "a-alias", "default_uncertainty": 0.5, "include_count": true, "note": "kept"},
    "delta": {"selected": true},
    "Gamma assay": {"include_values": true, "selected": "false"}
})";

// Answers every text of the dialog's own context, marked.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        if (qstrcmp(context, "VeldmarkDisplay") != 0)
            return QString();
        return QStringLiteral("<%1>").arg(QString::fromUtf8(sourceText));
    }
};

// The widgets a person sees, and how the tests read and drive them.
struct Widgets : DisplayWidgets
{
    using DisplayWidgets::DisplayWidgets;

    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            names.append(list->model()->index(row, 0).data().toString());
        return names;
    }

    QStringList selected() const
    {
        QStringList names;
        for (const QModelIndex &index : list->selectionModel()->selectedRows())
            names.append(index.data().toString());
        return names;
    }

    QStringList checked() const
    {
        QStringList names;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            if (index.data(Qt::CheckStateRole).toInt() == Qt::Checked)
                names.append(index.data().toString());
        }
        return names;
    }

    QPoint rowCentre(int row) const
    {
        return list->visualRect(list->model()->index(row, 0)).center();
    }

    // Where the style draws the item's check box, as the delegate finds it.
    QPoint checkBoxCentre(int row) const
    {
        QStyleOptionViewItem option;
        option.initFrom(list);
        option.rect = list->visualRect(list->model()->index(row, 0));
        option.features =
            QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        return list->style()
            ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list)
            .center();
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rowCentre(row));
    }

    void clickCheckBox(int row) const
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, checkBoxCentre(row));
    }

    // What the details panel shows: the whole assay name, then its fields.
    QStringList panel() const
    {
        return {assayName->toolTip(),
                displayName->text(),
                uncertainty->text(),
                count->isChecked() ? QStringLiteral("count") : QStringLiteral("no count"),
                values->isChecked() ? QStringLiteral("values") : QStringLiteral("no values"),
                geometric->isChecked() ? QStringLiteral("geometric")
                                       : QStringLiteral("arithmetic")};
    }

    void replaceText(QLineEdit *field, const QString &text) const
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    void clickOk() const
    {
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
};

// A list whose names a key splits into several runs: "1" keeps rows 0, 1,
// 3 and 5, "12" only row 1, "3" rows 4 and 5.
const QByteArray numberedAssays = R"({
    "Assay 1 IC50": {"alias": "one", "note": "kept"},
    "Assay 12 Ki": {"selected": false},
    "Assay 2 IC50": {"alias": "two", "selected": false},
    "Assay 21 Ki": {"alias": "twenty-one"},
    "Assay 3 IC50": {"selected": false},
    "Assay 31 EC50": {"factor": true},
    "Assay 4 Ki": {"selected": false},
    "Assay 5 IC50": {}
})";

// Assays the panel changes when it saves them: too many digits, numbers out
// of a float's range or none at all, text where a number belongs, an entry
// that is no object, and the assay named by the empty string. The list
// shows them as "", "Assay A" to "Assay E", "assay f".
const QByteArray changedByThePanel = R"({
    "": {"alias": "nameless", "selected": false},
    "Assay A": {"alias": "a", "default_uncertainty": 0.123456789, "note": "kept", "selected": false},
    "Assay B": 7,
    "Assay C": {"default_uncertainty": 1e300, "factor": "no", "selected": false},
    "Assay D": {"selected": true, "units": "nM"},
    "Assay E": {"default_uncertainty": "inf", "include_count": 0.4, "include_values": 1, "selected": 0},
    "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": "False"}
})";

// What the list model announces when "Select all" or "Clear" changes the
// check state of these rows of changedByThePanel, row by row.
QStringList announcedChecks(std::initializer_list<int> rows)
{
    const QStringList names = {"",        "Assay A", "Assay B", "Assay C",
                               "Assay D", "Assay E", "assay f"};
    QStringList lines;
    for (int row : rows)
        lines << QStringLiteral("item %1 %2").arg(row).arg(names.at(row))
              << QStringLiteral("changed %1-%1 roles 10").arg(row);
    return lines;
}

// Many assays, each with another mix of the values the panel converts,
// among them an alias longer than the display name field holds.
QByteArray variedAssays()
{
    const QJsonValue uncertainties[] = {0.123456789,
                                        1e300,
                                        -1e300,
                                        1e-50,
                                        1e-40,
                                        -2.5,
                                        2500000.0,
                                        0.1,
                                        QStringLiteral("inf"),
                                        QStringLiteral("-inf"),
                                        QStringLiteral("nan"),
                                        QStringLiteral("0.5"),
                                        QStringLiteral("x"),
                                        true,
                                        QJsonValue::Null,
                                        QJsonArray{1}};
    const QJsonValue aliases[] = {QStringLiteral("plain"),
                                  12.5,
                                  true,
                                  QJsonValue::Null,
                                  QJsonObject{{"a", 1}},
                                  QString(40000, QLatin1Char('w')),
                                  QString(),
                                  QStringLiteral("tab\tand\nline feed")};
    const QJsonValue booleans[] = {true,
                                   false,
                                   0.4,
                                   0.6,
                                   QStringLiteral("false"),
                                   QStringLiteral("no"),
                                   QStringLiteral("0"),
                                   QString(),
                                   QJsonValue::Null};
    QJsonObject document;
    for (int i = 0; i < 48; ++i) {
        const QString name = i == 0 ? QString() : QStringLiteral("Assay %1").arg(i);
        if (i % 11 == 5) {
            document.insert(name, i);
            continue;
        }
        if (i % 11 == 8) {
            document.insert(name, QStringLiteral("text"));
            continue;
        }
        QJsonObject entry{
            {"alias", aliases[i % 8]},          {"default_uncertainty", uncertainties[i % 16]},
            {"include_count", booleans[i % 9]}, {"include_values", booleans[(i + 3) % 9]},
            {"factor", booleans[(i + 5) % 9]},  {"note", i}};
        if (i % 3 != 0)
            entry.insert("selected", i % 3 == 1 ? QJsonValue(false) : QJsonValue("False"));
        if (i % 7 == 6)
            entry.remove("alias");
        document.insert(name, entry);
    }
    return QJsonDocument(document).toJson();
}

// Writes down, in order, what the list hears from its model and its
// selection: row removals and insertions with the names they cover (read
// while the signal is delivered, so the model must answer consistently at
// each step), data changes, resets and layout changes, and every selection
// or current-row change together with the assay the panel shows after it.
class ListLog : public QObject
{
public:
    ListLog(QListView *list, QLabel *assayName)
        : list(list)
        , assayName(assayName)
    {
        QAbstractItemModel *model = list->model();
        connect(
            model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { rows("removing", first, last); });
        connect(
            model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { counted("removed", first, last); });
        connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this,
                [this](const QModelIndex &, int first, int last) {
                    counted("inserting", first, last);
                });
        connect(
            model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { rows("inserted", first, last); });
        connect(model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                       const QVector<int> &roles) {
                    QStringList names;
                    for (int role : roles)
                        names.append(QString::number(role));
                    lines.append(QStringLiteral("changed %1-%2 roles %3")
                                     .arg(topLeft.row())
                                     .arg(bottomRight.row())
                                     .arg(names.join(',')));
                });
        connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this,
                [this] { lines.append("layout changing"); });
        connect(model, &QAbstractItemModel::layoutChanged, this,
                [this] { lines.append("layout changed"); });
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
                [this] { lines.append("resetting"); });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { lines.append("reset"); });
        connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this,
                [this] { lines.append("moving"); });
        QItemSelectionModel *selection = list->selectionModel();
        connect(selection, &QItemSelectionModel::selectionChanged, this, [this] {
            QStringList names;
            for (const QModelIndex &index : this->list->selectionModel()->selectedRows())
                names.append(QStringLiteral("%1 %2").arg(index.row()).arg(index.data().toString()));
            lines.append(QStringLiteral("selected [%1] panel %2")
                             .arg(names.join(", "), this->assayName->text()));
        });
        connect(selection, &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex &current) {
                    lines.append(QStringLiteral("current %1 %2")
                                     .arg(current.row())
                                     .arg(current.data().toString()));
                });
    }

    QStringList take() { return std::exchange(lines, {}); }

private:
    void rows(const char *what, int first, int last)
    {
        QStringList names;
        for (int row = first; row <= last; ++row)
            names.append(list->model()->index(row, 0).data().toString());
        lines.append(QStringLiteral("%1 %2-%3 [%4] of %5")
                         .arg(QLatin1String(what))
                         .arg(first)
                         .arg(last)
                         .arg(names.join(", "))
                         .arg(list->model()->rowCount()));
    }

    void counted(const char *what, int first, int last)
    {
        lines.append(QStringLiteral("%1 %2-%3 of %4")
                         .arg(QLatin1String(what))
                         .arg(first)
                         .arg(last)
                         .arg(list->model()->rowCount()));
    }

    QListView *list;
    QLabel *assayName;
    QStringList lines;
};

// Writes down, in order, every change a model announces: data changes with
// their rows and roles, the items a QStandardItemModel reports changed, and
// any row, layout or reset announcement.
class ModelLog : public QObject
{
public:
    explicit ModelLog(QAbstractItemModel *model)
    {
        connect(model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                       const QVector<int> &roles) {
                    QStringList names;
                    for (int role : roles)
                        names.append(QString::number(role));
                    lines.append(QStringLiteral("changed %1-%2 roles %3")
                                     .arg(topLeft.row())
                                     .arg(bottomRight.row())
                                     .arg(names.join(',')));
                });
        if (auto items = qobject_cast<QStandardItemModel *>(model)) {
            connect(items, &QStandardItemModel::itemChanged, this, [this](QStandardItem *item) {
                lines.append(QStringLiteral("item %1 %2").arg(item->row()).arg(item->text()));
            });
        }
        const auto announced = [this](const char *what) {
            return [this, what] { lines.append(QLatin1String(what)); };
        };
        connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, announced("inserting"));
        connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, announced("removing"));
        connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this, announced("moving"));
        connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this,
                announced("layout changing"));
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, announced("resetting"));
        connect(model, &QAbstractItemModel::headerDataChanged, this, announced("header changed"));
    }

    QStringList take() { return std::exchange(lines, {}); }

private:
    QStringList lines;
};

QAbstractItemModel *assayListModel(QListView *list)
{
    auto filter = qobject_cast<QAbstractProxyModel *>(list->model());
    return filter ? filter->sourceModel() : nullptr;
}

QJsonObject writtenEntry(VeldmarkDisplay &dialog, const QString &name)
{
    return QJsonDocument::fromJson(dialog.displayData()).object().value(name).toObject();
}

} // namespace

class tst_VeldmarkDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void form();
    void formTexts_data();
    void formTexts();
    void detailsGrid_data();
    void detailsGrid();
    void existingObjectNameIsKept();
    void slotsInMethodTableOrder();
    void aggregationChoicesExcludeEachOther();
    void listNeverOpensAnEditor();
    void controlsAreNamedAsTheirCaptions();
    void accessibleNamesGoThroughTranslation_data();
    void accessibleNamesGoThroughTranslation();

    void shownBeforeAnyDocument();
    void firstRowCurrentAfterSetDisplayData();
    void switchingRowsSavesTheRowLeft();
    void checkingByCheckBoxMakesCurrent_data();
    void checkingByCheckBoxMakesCurrent();
    void uncheckingMovesNothing();
    void clearNeverMovesTheSelection();
    void selectAll_data();
    void selectAll();
    void search_data();
    void search();
    void emptySelectionKeepsEditingLastCurrent_data();
    void emptySelectionKeepsEditingLastCurrent();
    void secondSetDisplayDataDropsEdits();
    void longNameIsElided();
    void longNameStaysReachableInList();
    void enterInSearchMovesToTheList_data();
    void enterInSearchMovesToTheList();
    void enterElsewherePressesOk_data();
    void enterElsewherePressesOk();
    void searchKeystrokesRecorded();
    void checksOverHiddenRowsRecorded();
    void documentReadUnderSearchRecorded();
    void checkAllRecorded_data();
    void checkAllRecorded();
    void selectAllAsCheckingEachInTurn_data();
    void selectAllAsCheckingEachInTurn();

    void endingRun_data();
    void endingRun();
    void openingAgainShowsStoredEntry();
    void debugLineFormat();
    void firstShowFitsTheScreen_data();
    void firstShowFitsTheScreen();

    void resizeKeepsTypedInput_data();
    void resizeKeepsTypedInput();
    void uncertaintyFieldTakesCLocaleNumbers_data();
    void uncertaintyFieldTakesCLocaleNumbers();
    void typedUncertaintyBeyondFloatRangeStaysFinite();
    void assayNamedByEmptyStringIsEditedAndSaved();
    void noCurrentAssayIsNotTheEmptyName();

private:
    struct CheckedOutcome
    {
        QByteArray written;
        QStringList panel;
        QStringList selected;
        QStringList checked;
        QStringList announced;
    };
    void checkEveryAssay(const QString &search, const QString &before, bool bySelectAll,
                         CheckedOutcome &outcome);
    void expectLine(const char *prefix, int dialogWidth, int fieldWidth);
    void showDialog(VeldmarkDisplay &dialog);
    // The opening most tests share: the dialog reads the document and is
    // shown and exposed, with every widget a person uses in it.
    bool open(VeldmarkDisplay &dialog, const QByteArray &document);
    // Width of the display name field once the layout has fitted a dialog of
    // the given width; measured once on a dialog of its own.
    QHash<int, int> fieldWidth;
    QLocale defaultLocale;
};

void tst_VeldmarkDisplay::expectLine(const char *prefix, int dialogWidth, int fieldWidth)
{
    const QString text = QStringLiteral("%1  %2 ,  %3 \n")
                             .arg(QLatin1String(prefix))
                             .arg(dialogWidth)
                             .arg(fieldWidth);
    QTest::ignoreMessage(QtDebugMsg, text.toUtf8().constData());
}

// A first show lays the dialog out after its pending resize event, so that
// event still sees the field at Qt's initial widget width of 100.
void tst_VeldmarkDisplay::showDialog(VeldmarkDisplay &dialog)
{
    expectLine("Resizing:", 793, 100);
    expectLine("Showing:", 793, fieldWidth.value(793));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

bool tst_VeldmarkDisplay::open(VeldmarkDisplay &dialog, const QByteArray &document)
{
    dialog.setDisplayData(document);
    showDialog(dialog);
    return !QTest::currentTestFailed() && Widgets(dialog).complete();
}

void tst_VeldmarkDisplay::initTestCase()
{
    defaultLocale = QLocale();
    VeldmarkDisplay probe;
    const QRegularExpression anyLine(QStringLiteral("^(Resizing|Showing):  \\d+ ,  \\d+ \n$"));
    QTest::ignoreMessage(QtDebugMsg, anyLine);
    QTest::ignoreMessage(QtDebugMsg, anyLine);
    probe.show();
    QVERIFY(QTest::qWaitForWindowExposed(&probe));
    const QLineEdit *field = probe.findChild<QLineEdit *>("lineEditDisplayName");
    QVERIFY(field);
    fieldWidth.insert(793, field->width());
    QTest::ignoreMessage(QtDebugMsg, anyLine);
    probe.resize(1200, 796);
    fieldWidth.insert(1200, field->width());
    QVERIFY(fieldWidth.value(1200) > fieldWidth.value(793));
}

void tst_VeldmarkDisplay::cleanup()
{
    QLocale::setDefault(defaultLocale);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_VeldmarkDisplay::form()
{
    VeldmarkDisplay dialog;
    Widgets w(dialog);
    QVERIFY(w.complete());
    QCOMPARE(dialog.objectName(), QStringLiteral("VeldmarkDisplay"));
    QCOMPARE(dialog.size(), QSize(793, 796));
    QCOMPARE(w.list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(w.list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(w.assayName->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(w.assayName->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(w.assayName->maximumSize(), QSize(16777215, 20));
    QVERIFY(w.arithmetic->isChecked());
    QVERIFY(!w.geometric->isChecked());
    QVERIFY(!w.count->isChecked());
    QVERIFY(!w.values->isChecked());
    QVERIFY(w.displayName->text().isEmpty());
    QVERIFY(w.uncertainty->text().isEmpty());
    QCOMPARE(w.buttons->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(w.buttons->orientation(), Qt::Horizontal);

    auto *groupBox = dialog.findChild<QGroupBox *>("groupBox");
    auto *aggregation = dialog.findChild<QGroupBox *>("groupBox_2");
    QVERIFY(groupBox && aggregation);
    QCOMPARE(aggregation->parentWidget(), groupBox);
    QCOMPARE(w.geometric->parentWidget(), aggregation);
    QCOMPARE(w.displayName->parentWidget(), groupBox);
    QCOMPARE(w.list->parentWidget(), &dialog);

    auto *buttonColumn = dialog.findChild<QVBoxLayout *>("verticalLayout_2");
    auto *aggregationColumn = dialog.findChild<QVBoxLayout *>("verticalLayout");
    QVERIFY(buttonColumn && aggregationColumn);
    QSpacerItem *pushUp = buttonColumn->itemAt(2)->spacerItem();
    QSpacerItem *below = aggregationColumn->itemAt(2)->spacerItem();
    QVERIFY(pushUp && below);
    QCOMPARE(pushUp->sizeHint(), QSize(20, 40));
    QCOMPARE(pushUp->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(below->sizeHint(), QSize(20, 40));
    QCOMPARE(below->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
}

void tst_VeldmarkDisplay::formTexts_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("text");

    QTest::newRow("window title") << "VeldmarkDisplay" << QByteArray("windowTitle")
                                  << "Veldmark Data";
    QTest::newRow("search caption") << "label" << QByteArray("text") << "Available assays";
    QTest::newRow("search tool tip")
        << "lineEditSearch" << QByteArray("toolTip") << "Enter text to search assay list";
    QTest::newRow("search placeholder")
        << "lineEditSearch" << QByteArray("placeholderText") << "Type here to search assay list";
    QTest::newRow("select all") << "selectButton" << QByteArray("text") << "Select all";
    QTest::newRow("select all tool tip")
        << "selectButton" << QByteArray("toolTip") << "Select all available assays";
    QTest::newRow("clear") << "clearButton" << QByteArray("text") << "Clear";
    QTest::newRow("clear tool tip")
        << "clearButton" << QByteArray("toolTip") << "Clear all selections";
    QTest::newRow("details") << "groupBox" << QByteArray("title") << "Details:";
    QTest::newRow("display name caption") << "label_2" << QByteArray("text") << "Display name:";
    QTest::newRow("uncertainty caption")
        << "label_3" << QByteArray("text") << "Default uncertainty:";
    QTest::newRow("assay name caption") << "label_4" << QByteArray("text") << "Assay name:";
    QTest::newRow("display name tool tip")
        << "lineEditDisplayName" << QByteArray("toolTip")
        << "Specify the column name for Kestrane to use for this assay";
    QTest::newRow("uncertainty tool tip")
        << "lineEditUncertainty" << QByteArray("toolTip")
        << "Specify a value to use for uncertainty when there are insufficient data to calculate a "
           "standard deviation";
    QTest::newRow("uncertainty placeholder")
        << "lineEditUncertainty" << QByteArray("placeholderText") << "0.0";
    QTest::newRow("assay name") << "assayNameLabel" << QByteArray("text") << "TextLabel";
    QTest::newRow("count") << "cbDisplayCount" << QByteArray("text")
                           << "Display count (n) of all individual values in separate column";
    QTest::newRow("values") << "cbDisplayValues" << QByteArray("text")
                            << "Display all individual values in separate column";
    QTest::newRow("aggregation") << "groupBox_2" << QByteArray("title") << "Aggregation:";
    QTest::newRow("arithmetic") << "rbArithmetic" << QByteArray("text") << "Arithmetic mean";
    QTest::newRow("arithmetic tool tip")
        << "rbArithmetic" << QByteArray("toolTip")
        << "Calculate the arithmetic mean of all values when aggregating data";
    QTest::newRow("geometric") << "rbgeometric" << QByteArray("text") << "Geometric mean";
    QTest::newRow("geometric tool tip")
        << "rbgeometric" << QByteArray("toolTip")
        << "Calculate the geometric mean of all values when aggregating data";
}

void tst_VeldmarkDisplay::formTexts()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, property);
    QFETCH(QString, text);

    VeldmarkDisplay dialog;
    QObject *target = object == dialog.objectName() ? &dialog : dialog.findChild<QObject *>(object);
    QVERIFY(target);
    QCOMPARE(target->property(property.constData()).toString(), text);
}

void tst_VeldmarkDisplay::detailsGrid_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("assay name caption") << "label_4" << 0 << 0;
    QTest::newRow("assay name") << "assayNameLabel" << 0 << 2;
    QTest::newRow("display name caption") << "label_2" << 1 << 0;
    QTest::newRow("display name") << "lineEditDisplayName" << 1 << 2;
    QTest::newRow("uncertainty caption") << "label_3" << 2 << 0;
    QTest::newRow("uncertainty") << "lineEditUncertainty" << 2 << 2;
}

void tst_VeldmarkDisplay::detailsGrid()
{
    QFETCH(QString, widget);

    VeldmarkDisplay dialog;
    auto *grid = dialog.findChild<QGridLayout *>("gridLayout");
    QVERIFY(grid);
    QCOMPARE(grid->count(), 6);
    const int index = grid->indexOf(dialog.findChild<QWidget *>(widget));
    QVERIFY(index >= 0);
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    QTEST(row, "row");
    QTEST(column, "column");
    QCOMPARE(rowSpan, 1);
    QCOMPARE(columnSpan, 1);
}

void tst_VeldmarkDisplay::existingObjectNameIsKept()
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("assayOptions"));
    Ui::VeldmarkDisplay form;
    form.setupUi(&dialog);
    QCOMPARE(dialog.objectName(), QStringLiteral("assayOptions"));
    QCOMPARE(form.rbgeometric->objectName(), QStringLiteral("rbgeometric"));
    QCOMPARE(form.verticalLayout_3->objectName(), QStringLiteral("verticalLayout_3"));
    QCOMPARE(dialog.layout(), form.verticalLayout_3);
    QCOMPARE(form.groupBox->layout(), form.horizontalLayout);
}

void tst_VeldmarkDisplay::slotsInMethodTableOrder()
{
    VeldmarkDisplay dialog;
    const QMetaObject *meta = dialog.metaObject();
    QCOMPARE(meta->className(), "VeldmarkDisplay");
    QCOMPARE(dialog.qt_metacast("VeldmarkDisplay"), static_cast<void *>(&dialog));

    const QList<QPair<QByteArray, QMetaMethod::Access>> expected = {
        {"run()", QMetaMethod::Public},
        {"setDisplayData(QByteArray)", QMetaMethod::Public},
        {"displayData()", QMetaMethod::Public},
        {"accept()", QMetaMethod::Protected},
        {"resizeEvent(QResizeEvent*)", QMetaMethod::Protected},
        {"showEvent(QShowEvent*)", QMetaMethod::Protected},
        {"selectionChangedSlot(QItemSelection,QItemSelection)", QMetaMethod::Private},
        {"saveDisplayData()", QMetaMethod::Private},
        {"clearSelectionSlot()", QMetaMethod::Private},
        {"selectAllSlot()", QMetaMethod::Private},
        {"selectOnCheck(QStandardItem*)", QMetaMethod::Private},
    };
    QCOMPARE(meta->methodCount() - meta->methodOffset(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QMetaMethod method = meta->method(meta->methodOffset() + i);
        QCOMPARE(method.methodSignature(), expected.at(i).first);
        QCOMPARE(method.access(), expected.at(i).second);
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
    }
    QCOMPARE(meta->method(meta->methodOffset()).typeName(), "bool");
    QCOMPARE(meta->method(meta->methodOffset() + 1).parameterNames(),
             QList<QByteArray>{"display_data"});
    QCOMPARE(meta->method(meta->methodOffset() + 2).typeName(), "QByteArray");
}

void tst_VeldmarkDisplay::aggregationChoicesExcludeEachOther()
{
    VeldmarkDisplay dialog;
    showDialog(dialog);
    Widgets w(dialog);
    QVERIFY(w.complete());

    QTest::mouseClick(w.geometric, Qt::LeftButton);
    QVERIFY(w.geometric->isChecked());
    QVERIFY(!w.arithmetic->isChecked());
    QTest::mouseClick(w.count, Qt::LeftButton);
    QVERIFY(w.count->isChecked());
    QVERIFY(!w.values->isChecked());
    QVERIFY(w.geometric->isChecked());
    QTest::mouseClick(w.arithmetic, Qt::LeftButton);
    QVERIFY(w.arithmetic->isChecked());
    QVERIFY(!w.geometric->isChecked());
    QVERIFY(w.count->isChecked());
}

void tst_VeldmarkDisplay::listNeverOpensAnEditor()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, Qt::NoModifier, w.rowCentre(1));
    QTest::keyClick(w.list, Qt::Key_F2);
    QTest::keyClicks(w.list, "renamed");
    QVERIFY(!w.list->viewport()->findChild<QLineEdit *>());
    QCOMPARE(w.listed(), QStringList({"Alpha", "Gamma assay", "beta", "delta"}));
}

// Without names of their own, the two detail fields would both be announced
// by their group's title, "Details:", and the search field and the list by
// nothing.
void tst_VeldmarkDisplay::controlsAreNamedAsTheirCaptions()
{
    VeldmarkDisplay dialog;
    const QStringList names = accessibleNamesInTabOrder(dialog);
    QCOMPARE(names,
             (QStringList{"Search assay list", "Available assays", "Select all", "Clear",
                          "Display name:", "Default uncertainty:",
                          "Display count (n) of all individual values in separate column",
                          "Display all individual values in separate column", "Arithmetic mean",
                          "Geometric mean", "OK", "Cancel"}));
    for (const QString &name : names)
        QVERIFY(!name.isEmpty());
    Widgets w(dialog);
    QVERIFY(w.complete());
    QVERIFY(accessibleName(w.displayName) != accessibleName(w.uncertainty));
}

void tst_VeldmarkDisplay::accessibleNamesGoThroughTranslation_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");

    QTest::newRow("search field") << "lineEditSearch" << "Search assay list";
    QTest::newRow("assay list") << "listView" << "Available assays";
    QTest::newRow("display name") << "lineEditDisplayName" << "Display name:";
    QTest::newRow("uncertainty") << "lineEditUncertainty" << "Default uncertainty:";
}

// Translated with the dialog's context, as its visible texts are; those stay.
void tst_VeldmarkDisplay::accessibleNamesGoThroughTranslation()
{
    QFETCH(QString, object);
    QFETCH(QString, name);

    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    VeldmarkDisplay dialog;
    QCoreApplication::removeTranslator(&translator);

    auto *widget = dialog.findChild<QWidget *>(object);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), QStringLiteral("<%1>").arg(name));
    QCOMPARE(dialog.findChild<QLabel *>("label_2")->text(), QStringLiteral("<Display name:>"));
}

void tst_VeldmarkDisplay::shownBeforeAnyDocument()
{
    VeldmarkDisplay dialog;
    Widgets w(dialog);
    QVERIFY(w.complete());
    QCOMPARE(w.assayName->text(), QStringLiteral("TextLabel"));
    QTest::mouseClick(w.geometric, Qt::LeftButton);

    showDialog(dialog);
    QCOMPARE(w.assayName->text(), QString());
    QCOMPARE(w.assayName->toolTip(), QString());
    QCOMPARE(w.uncertainty->text(), QStringLiteral("0"));
    QVERIFY(w.arithmetic->isChecked());
    QVERIFY(w.listed().isEmpty());
    QCOMPARE(dialog.displayData(), QByteArray("{\n}\n"));
}

void tst_VeldmarkDisplay::firstRowCurrentAfterSetDisplayData()
{
    VeldmarkDisplay dialog;
    Widgets w(dialog);
    QVERIFY(w.complete());
    dialog.setDisplayData(fourAssays);

    QCOMPARE(w.listed(), QStringList({"Alpha", "Gamma assay", "beta", "delta"}));
    QCOMPARE(w.checked(), QStringList({"Alpha", "delta"}));
    QCOMPARE(w.selected(), QStringList{"Alpha"});
    QVERIFY(!w.list->currentIndex().isValid());
    QCOMPARE(w.assayName->text(), QStringLiteral("Alpha"));
    QCOMPARE(w.assayName->toolTip(), QStringLiteral("Alpha"));
    QCOMPARE(w.displayName->text(), QStringLiteral("a-alias"));
    QCOMPARE(w.uncertainty->text(), QStringLiteral("0.5"));
    QVERIFY(w.count->isChecked());
    QVERIFY(!w.values->isChecked());
    QVERIFY(w.arithmetic->isChecked());

    // Nothing is saved yet: every entry comes back as read, with "selected".
    const QJsonObject alpha = writtenEntry(dialog, "Alpha");
    QCOMPARE(alpha.value("note").toString(), QStringLiteral("kept"));
    QCOMPARE(alpha.value("selected").toBool(), true);
    QCOMPARE(alpha.size(), 5);
    QCOMPARE(writtenEntry(dialog, "Gamma assay").value("selected").toBool(), false);
}

void tst_VeldmarkDisplay::switchingRowsSavesTheRowLeft()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    w.replaceText(w.displayName, "Alpha column");
    w.replaceText(w.uncertainty, "0.1");
    QTest::mouseClick(w.count, Qt::LeftButton);
    QTest::mouseClick(w.geometric, Qt::LeftButton);
    QCOMPARE(writtenEntry(dialog, "Alpha").value("alias").toString(), QStringLiteral("a-alias"));

    w.clickRow(2);
    QCOMPARE(w.selected(), QStringList{"beta"});
    QCOMPARE(w.assayName->text(), QStringLiteral("beta"));
    QCOMPARE(w.displayName->text(), QStringLiteral("b-alias"));
    QVERIFY(w.geometric->isChecked());

    const QJsonObject saved = QJsonDocument::fromJson(R"({"alias": "Alpha column",
        "default_uncertainty": 0.10000000149011612, "factor": true, "include_count": false,
        "include_values": false, "selected": true})")
                                  .object();
    QCOMPARE(writtenEntry(dialog, "Alpha"), saved);
    QVERIFY(dialog.displayData().contains("\"default_uncertainty\": 0.10000000149011612,"));

    w.clickRow(0);
    QCOMPARE(w.displayName->text(), QStringLiteral("Alpha column"));
    QCOMPARE(w.uncertainty->text(), QStringLiteral("0.1"));
    QVERIFY(!w.count->isChecked());
    QVERIFY(w.geometric->isChecked());
    QCOMPARE(writtenEntry(dialog, "beta").size(), 6);
}

void tst_VeldmarkDisplay::checkingByCheckBoxMakesCurrent_data()
{
    QTest::addColumn<bool>("byKey");

    QTest::newRow("mouse on the check box") << false;
    QTest::newRow("space on the current row") << true;
}

void tst_VeldmarkDisplay::checkingByCheckBoxMakesCurrent()
{
    QFETCH(bool, byKey);

    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    if (byKey) {
        // Ctrl-click empties the selection but leaves "Gamma assay" the
        // list's current row, so only the check itself can select it again.
        w.clickRow(1);
        w.clickRow(1, Qt::ControlModifier);
        QVERIFY(w.selected().isEmpty());
        QCOMPARE(w.list->currentIndex().row(), 1);
        QSignalSpy selectionChanged(w.list->selectionModel(),
                                    &QItemSelectionModel::selectionChanged);
        QTest::keyClick(w.list, Qt::Key_Space);
        QCOMPARE(selectionChanged.count(), 1);
    } else {
        w.clickCheckBox(1);
    }
    QCOMPARE(w.checked(), QStringList({"Alpha", "Gamma assay", "delta"}));
    QCOMPARE(w.selected(), QStringList{"Gamma assay"});
    QCOMPARE(w.assayName->text(), QStringLiteral("Gamma assay"));
    QVERIFY(w.values->isChecked());
}

void tst_VeldmarkDisplay::uncheckingMovesNothing()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    w.replaceText(w.displayName, "typed");
    QSignalSpy selectionChanged(w.list->selectionModel(), &QItemSelectionModel::selectionChanged);
    w.clickCheckBox(0);
    QCOMPARE(w.checked(), QStringList{"delta"});
    QCOMPARE(selectionChanged.count(), 0);
    QCOMPARE(w.selected(), QStringList{"Alpha"});
    QCOMPARE(w.displayName->text(), QStringLiteral("typed"));
    QCOMPARE(writtenEntry(dialog, "Alpha").value("alias").toString(), QStringLiteral("a-alias"));
}

void tst_VeldmarkDisplay::clearNeverMovesTheSelection()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    w.clickRow(3);
    w.replaceText(w.displayName, "typed");
    QTest::keyClicks(w.search, "elt");
    QCOMPARE(w.listed(), QStringList{"delta"});

    QSignalSpy selectionChanged(w.list->selectionModel(), &QItemSelectionModel::selectionChanged);
    QTest::mouseClick(w.clear, Qt::LeftButton);
    QCOMPARE(selectionChanged.count(), 0);
    QCOMPARE(w.displayName->text(), QStringLiteral("typed"));
    QCOMPARE(w.assayName->text(), QStringLiteral("delta"));

    w.replaceText(w.search, "");
    QVERIFY(w.checked().isEmpty());
    for (const char *name : {"Alpha", "Gamma assay", "beta", "delta"})
        QCOMPARE(writtenEntry(dialog, name).value("selected").toBool(), false);
}

void tst_VeldmarkDisplay::selectAll_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("saved");

    // The panel moves through each newly checked assay, saving the one left.
    QTest::newRow("some checked") << fourAssays << ""
                                  << "beta" << QStringList({"Alpha", "Gamma assay"});
    QTest::newRow("all checked") << QByteArray(R"({"a": {}, "b": {}, "c": {}})") << ""
                                 << "a" << QStringList();
    QTest::newRow("search hides the last unchecked") << fourAssays << "g"
                                                     << "Gamma assay" << QStringList{"Alpha"};
    QTest::newRow("search hides all unchecked") << fourAssays << "lph"
                                                << "Alpha" << QStringList();
}

void tst_VeldmarkDisplay::selectAll()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, search);
    QFETCH(QString, current);
    QFETCH(QStringList, saved);

    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, document));
    Widgets w(dialog);
    QTest::keyClicks(w.search, search);
    const QStringList visible = w.listed();

    QTest::mouseClick(w.selectAll, Qt::LeftButton);
    QCOMPARE(w.checked(), visible);
    QCOMPARE(w.assayName->text(), current);
    QCOMPARE(w.selected(), QStringList{current});

    const QStringList savedMembers = {"alias",         "default_uncertainty", "factor",
                                      "include_count", "include_values",      "selected"};
    const QJsonObject written = QJsonDocument::fromJson(dialog.displayData()).object();
    QCOMPARE(written.size(), QJsonDocument::fromJson(document).object().size());
    for (auto entry = written.begin(); entry != written.end(); ++entry) {
        const QJsonObject members = entry.value().toObject();
        QVERIFY2(members.value("selected").toBool(), qPrintable(entry.key()));
        QCOMPARE(members.keys() == savedMembers, saved.contains(entry.key()));
    }
}

void tst_VeldmarkDisplay::search_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");

    const QStringList all = {"Lab ABC test", "a*c", "a.c", "abc", "other", "xAbCx"};
    QTest::newRow("nothing typed") << "" << all;
    QTest::newRow("lower case finds upper case")
        << "abc" << QStringList({"Lab ABC test", "abc", "xAbCx"});
    QTest::newRow("upper case finds lower case")
        << "ABC" << QStringList({"Lab ABC test", "abc", "xAbCx"});
    QTest::newRow("inner substring") << "b ab" << QStringList{"Lab ABC test"};
    QTest::newRow("dot is no wildcard") << "a.c" << QStringList{"a.c"};
    QTest::newRow("star is no wildcard") << "a*c" << QStringList{"a*c"};
    QTest::newRow("no match") << "zz" << QStringList();
}

void tst_VeldmarkDisplay::search()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);

    VeldmarkDisplay dialog;
    QVERIFY(open(dialog,
                 R"({"abc": {}, "Lab ABC test": {}, "xAbCx": {}, "a.c": {}, "a*c": {}, )"
                 R"("other": {}})"));
    Widgets w(dialog);
    QTest::keyClicks(w.search, typed);
    QCOMPARE(w.listed(), listed);
    QCOMPARE(dialog.displayData().count("\"selected\": true"), 6);
}

// The list may remember row sizes between layouts; the scroll range must
// still follow the rows shown and the list's font.
void tst_VeldmarkDisplay::longNameStaysReachableInList()
{
    const QString name =
        QStringLiteral("Inhibition of recombinant human kinase activity, ").repeated(6);
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog,
                 QJsonDocument(QJsonObject{{name, QJsonObject()}, {"short", QJsonObject()}})
                     .toJson()));
    Widgets w(dialog);
    const QScrollBar *scroll = w.list->horizontalScrollBar();
    const auto reach = [&] { return scroll->maximum() + w.list->viewport()->width(); };

    QTRY_VERIFY(reach() > w.list->fontMetrics().horizontalAdvance(name));
    const int normalReach = reach();

    QTest::keyClicks(w.search, "sh");
    QTRY_COMPARE(scroll->maximum(), 0);
    w.replaceText(w.search, "");
    QTRY_COMPARE(reach(), normalReach);

    QFont larger = w.list->font();
    larger.setPointSize(larger.pointSize() * 2);
    w.list->setFont(larger);
    QTRY_VERIFY(reach() > w.list->fontMetrics().horizontalAdvance(name));
    QVERIFY(reach() > normalReach);
}

// A key that splits the list into runs: the list hears of each run it loses or
// regains, and the selection follows the current row to a neighbour when
// that row goes, saving the panel into the assay left behind.
void tst_VeldmarkDisplay::enterInSearchMovesToTheList_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("selected");

    QTest::newRow("Return, search hides the selected row")
        << Qt::Key_Return << "gam" << "Gamma assay";
    QTest::newRow("keypad Enter, search hides the selected row")
        << Qt::Key_Enter << "ta" << "beta";
    QTest::newRow("Return, selected row still shown") << Qt::Key_Return << "al" << "Alpha";
    QTest::newRow("Return, nothing typed") << Qt::Key_Return << "" << "Alpha";
}

// The user types a search and presses Enter, as in any search box: the list
// takes the focus, its first shown row selected if none is, and the dialog
// stays open. Enter in the list then presses OK.
void tst_VeldmarkDisplay::enterInSearchMovesToTheList()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, search);
    QFETCH(QString, selected);

    VeldmarkDisplay dialog;
    dialog.setDisplayData(fourAssays);
    Widgets w(dialog);
    QVERIFY(w.complete());

    bool openAfterEnter = false;
    bool listFocused = false;
    QStringList selectedAfterEnter;
    QString currentAfterEnter;
    expectLine("Resizing:", 793, 100);
    expectLine("Showing:", 793, fieldWidth.value(793));
    WhenModal user(dialog, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(w.search, Qt::LeftButton);
        QTest::keyClicks(w.search, search);
        QTest::keyClick(w.search, key,
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        openAfterEnter = dialog.isVisible();
        listFocused = w.list->hasFocus();
        selectedAfterEnter = w.selected();
        currentAfterEnter = w.assayName->text();
        QTest::keyClick(w.list, Qt::Key_Return);
    });
    QVERIFY(dialog.run());
    QVERIFY(user.acted());

    QVERIFY(openAfterEnter);
    QVERIFY(listFocused);
    QCOMPARE(selectedAfterEnter, QStringList(selected));
    QCOMPARE(currentAfterEnter, selected);
    QCOMPARE(w.list->currentIndex().data().toString(), selected);
}

void tst_VeldmarkDisplay::enterElsewherePressesOk_data()
{
    QTest::addColumn<QString>("widget");

    QTest::newRow("display name field") << "lineEditDisplayName";
    QTest::newRow("uncertainty field") << "lineEditUncertainty";
    QTest::newRow("assay list") << "listView";
}

void tst_VeldmarkDisplay::enterElsewherePressesOk()
{
    QFETCH(QString, widget);

    VeldmarkDisplay dialog;
    dialog.setDisplayData(fourAssays);
    auto *target = dialog.findChild<QWidget *>(widget);
    QVERIFY(target);

    expectLine("Resizing:", 793, 100);
    expectLine("Showing:", 793, fieldWidth.value(793));
    WhenModal user(dialog, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *view = qobject_cast<QAbstractItemView *>(target);
        QTest::mouseClick(view ? view->viewport() : target, Qt::LeftButton);
        QVERIFY(target->hasFocus());
        QTest::keyClick(target, Qt::Key_Return);
    });
    QVERIFY(dialog.run());
    QVERIFY(user.acted());
}

void tst_VeldmarkDisplay::searchKeystrokesRecorded()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, numberedAssays));
    Widgets w(dialog);
    w.clickRow(2);
    w.replaceText(w.displayName, "two, edited");
    ListLog log(w.list, w.assayName);

    QTest::keyClick(w.search, '1');
    QCOMPARE(log.take(),
             QStringList({"removing 6-7 [Assay 4 Ki, Assay 5 IC50] of 8", "removed 6-7 of 6",
                          "removing 4-4 [Assay 3 IC50] of 6", "removed 4-4 of 5",
                          "selected [3 Assay 21 Ki] panel Assay 21 Ki", "current 3 Assay 21 Ki",
                          "removing 2-2 [Assay 2 IC50] of 5", "removed 2-2 of 4"}));
    QCOMPARE(w.listed(),
             QStringList({"Assay 1 IC50", "Assay 12 Ki", "Assay 21 Ki", "Assay 31 EC50"}));
    QCOMPARE(w.selected(), QStringList{"Assay 21 Ki"});
    QTest::keyClick(w.search, '2');
    QCOMPARE(log.take(),
             QStringList({"selected [1 Assay 12 Ki] panel Assay 12 Ki", "current 1 Assay 12 Ki",
                          "removing 2-3 [Assay 21 Ki, Assay 31 EC50] of 4", "removed 2-3 of 2",
                          "removing 0-0 [Assay 1 IC50] of 2", "removed 0-0 of 1"}));
    QCOMPARE(w.listed(), QStringList{"Assay 12 Ki"});
    QCOMPARE(w.selected(), QStringList{"Assay 12 Ki"});
    QTest::keyClick(w.search, Qt::Key_Backspace);
    QCOMPARE(log.take(),
             QStringList({"inserting 1-2 of 1", "inserted 1-2 [Assay 21 Ki, Assay 31 EC50] of 3",
                          "inserting 0-0 of 3", "inserted 0-0 [Assay 1 IC50] of 4"}));
    QCOMPARE(w.selected(), QStringList{"Assay 12 Ki"});
    QTest::keyClick(w.search, Qt::Key_Backspace);
    QCOMPARE(log.take(),
             QStringList({"inserting 4-5 of 4", "inserted 4-5 [Assay 4 Ki, Assay 5 IC50] of 6",
                          "inserting 3-3 of 6", "inserted 3-3 [Assay 3 IC50] of 7",
                          "inserting 2-2 of 7", "inserted 2-2 [Assay 2 IC50] of 8"}));
    QCOMPARE(w.selected(), QStringList{"Assay 12 Ki"});
    QCOMPARE(dialog.displayData(),
             QJsonDocument::fromJson(R"({
        "Assay 1 IC50": {"alias": "one", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay 12 Ki": {"selected": false},
        "Assay 2 IC50": {"alias": "two, edited", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": false},
        "Assay 21 Ki": {"alias": "twenty-one", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay 3 IC50": {"selected": false},
        "Assay 31 EC50": {"factor": true, "selected": true},
        "Assay 4 Ki": {"selected": false},
        "Assay 5 IC50": {"selected": true}
    })")
                 .toJson());
}

// Checks by box, "Select all" and "Clear" while the search hides rows: hidden
// assays change too, only rows the list shows can become selected.
void tst_VeldmarkDisplay::checksOverHiddenRowsRecorded()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, numberedAssays));
    Widgets w(dialog);
    ListLog log(w.list, w.assayName);

    QTest::keyClicks(w.search, "3");
    QCOMPARE(
        log.take(),
        QStringList({"removing 6-7 [Assay 4 Ki, Assay 5 IC50] of 8", "removed 6-7 of 6",
                     "selected [] panel Assay 1 IC50",
                     "removing 0-3 [Assay 1 IC50, Assay 12 Ki, Assay 2 IC50, Assay 21 Ki] of 6",
                     "removed 0-3 of 2"}));
    w.clickCheckBox(0);
    QCOMPARE(log.take(),
             QStringList({"selected [0 Assay 3 IC50] panel Assay 3 IC50", "changed 0-0 roles 10"}));
    QCOMPARE(w.checked(), QStringList({"Assay 3 IC50", "Assay 31 EC50"}));
    w.clickCheckBox(0);
    QCOMPARE(log.take(), QStringList{"changed 0-0 roles 10"});
    QTest::mouseClick(w.clear, Qt::LeftButton);
    QCOMPARE(log.take(), QStringList());
    QCOMPARE(w.checked(), QStringList());
    QTest::mouseClick(w.selectAll, Qt::LeftButton);
    QCOMPARE(log.take(), QStringList{"selected [1 Assay 31 EC50] panel Assay 31 EC50"});
    QCOMPARE(w.selected(), QStringList{"Assay 31 EC50"});
    QTest::mouseClick(w.clear, Qt::LeftButton);
    QCOMPARE(log.take(), QStringList());
    w.replaceText(w.search, "Ki");
    QCOMPARE(
        log.take(),
        QStringList({"inserting 2-3 of 2", "inserted 2-3 [Assay 4 Ki, Assay 5 IC50] of 4",
                     "inserting 0-3 of 4",
                     "inserted 0-3 [Assay 1 IC50, Assay 12 Ki, Assay 2 IC50, Assay 21 Ki] of 8",
                     "removing 7-7 [Assay 5 IC50] of 8", "removed 7-7 of 7",
                     "selected [] panel Assay 31 EC50",
                     "removing 4-5 [Assay 3 IC50, Assay 31 EC50] of 7", "removed 4-5 of 5",
                     "removing 2-2 [Assay 2 IC50] of 5", "removed 2-2 of 4",
                     "removing 0-0 [Assay 1 IC50] of 4", "removed 0-0 of 3"}));
    QCOMPARE(w.checked(), QStringList());
    w.clickCheckBox(1);
    QCOMPARE(log.take(),
             QStringList({"selected [1 Assay 21 Ki] panel Assay 21 Ki", "changed 1-1 roles 10"}));
    w.replaceText(w.search, "");
    QCOMPARE(log.take(),
             QStringList({"inserting 3-3 of 3", "inserted 3-3 [Assay 5 IC50] of 4",
                          "inserting 2-3 of 4", "inserted 2-3 [Assay 3 IC50, Assay 31 EC50] of 6",
                          "inserting 1-1 of 6", "inserted 1-1 [Assay 2 IC50] of 7",
                          "inserting 0-0 of 7", "inserted 0-0 [Assay 1 IC50] of 8"}));
    QCOMPARE(w.checked(), QStringList{"Assay 21 Ki"});
    QCOMPARE(w.selected(), QStringList{"Assay 21 Ki"});
    QCOMPARE(dialog.displayData(),
             QJsonDocument::fromJson(R"({
        "Assay 1 IC50": {"alias": "one", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": false},
        "Assay 12 Ki": {"selected": false},
        "Assay 2 IC50": {"alias": "two", "selected": false},
        "Assay 21 Ki": {"alias": "twenty-one", "selected": true},
        "Assay 3 IC50": {"alias": "", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": false},
        "Assay 31 EC50": {"alias": "", "default_uncertainty": 0, "factor": true, "include_count": false, "include_values": false, "selected": false},
        "Assay 4 Ki": {"selected": false},
        "Assay 5 IC50": {"selected": false}
    })")
                 .toJson());
}

// A new document read while the search hides some of its assays.
void tst_VeldmarkDisplay::documentReadUnderSearchRecorded()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, numberedAssays));
    Widgets w(dialog);
    QTest::keyClicks(w.search, "i");
    ListLog log(w.list, w.assayName);

    dialog.setDisplayData(numberedAssays);
    QCOMPARE(log.take(),
             QStringList({"resetting", "reset", "inserting 0-6 of 0",
                          "inserted 0-6 [Assay 1 IC50, Assay 12 Ki, Assay 2 IC50, Assay 21 Ki, "
                          "Assay 3 IC50, Assay 4 Ki, Assay 5 IC50] of 7",
                          "selected [0 Assay 1 IC50] panel Assay 1 IC50"}));
    QCOMPARE(w.listed(),
             QStringList({"Assay 1 IC50", "Assay 12 Ki", "Assay 2 IC50", "Assay 21 Ki",
                          "Assay 3 IC50", "Assay 4 Ki", "Assay 5 IC50"}));
    w.replaceText(w.search, "zz");
    QCOMPARE(log.take(),
             QStringList({"inserting 5-5 of 7", "inserted 5-5 [Assay 31 EC50] of 8",
                          "selected [] panel Assay 1 IC50",
                          "removing 0-7 [Assay 1 IC50, Assay 12 Ki, Assay 2 IC50, Assay 21 Ki, "
                          "Assay 3 IC50, Assay 31 EC50, Assay 4 Ki, Assay 5 IC50] of 8",
                          "removed 0-7 of 0"}));
    dialog.setDisplayData(numberedAssays);
    QCOMPARE(log.take(), QStringList({"resetting", "reset"}));
    w.replaceText(w.search, "");
    QCOMPARE(log.take(),
             QStringList({"inserting 0-7 of 0",
                          "inserted 0-7 [Assay 1 IC50, Assay 12 Ki, Assay 2 IC50, Assay 21 Ki, "
                          "Assay 3 IC50, Assay 31 EC50, Assay 4 Ki, Assay 5 IC50] of 8"}));
    QCOMPARE(w.selected(), QStringList());
}

namespace {

// What a person may have done before pressing "Select all" or "Clear".
void actBefore(const Widgets &w, const QString &before)
{
    if (before == "edited") {
        w.replaceText(w.displayName, "typed first");
        w.replaceText(w.uncertainty, "0.25");
        QTest::mouseClick(w.geometric, Qt::LeftButton);
    } else if (before == "row clicked") {
        QVERIFY(w.listed().contains("Assay C"));
        w.clickRow(w.listed().indexOf("Assay C"));
        w.replaceText(w.displayName, "typed first");
    } else if (before == "cleared") {
        QTest::mouseClick(w.clear, Qt::LeftButton);
    } else if (before == "current box clicked") {
        const QModelIndexList rows = w.list->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        const int state = rows.first().data(Qt::CheckStateRole).toInt();
        w.list->scrollTo(rows.first());
        w.clickCheckBox(rows.first().row());
        QCOMPARE(rows.first().data(Qt::CheckStateRole).toInt(), Qt::Checked - state);
    } else {
        QVERIFY2(before.isEmpty(), qPrintable(before));
    }
}

} // namespace

void tst_VeldmarkDisplay::checkAllRecorded_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("announced");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QStringList>("panel");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<int>("currentRow");

    QTest::newRow("select all") << "select all"
                                << ""
                                << "" << announcedChecks({0, 1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.12345699965953827, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": false, "include_count": false, "include_values": true, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"assay f", "12.5", "-2.5", "no count", "no values", "arithmetic"})
                                << QStringList{"assay f"} << -1;
    QTest::newRow("select all, edited")
        << "select all"
        << ""
        << "edited" << announcedChecks({0, 1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "typed first", "default_uncertainty": 0.25, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.12345699965953827, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": false, "include_count": false, "include_values": true, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"assay f", "12.5", "-2.5", "no count", "no values", "arithmetic"})
        << QStringList{"assay f"} << -1;
    QTest::newRow("select all, row clicked")
        << "select all"
        << ""
        << "row clicked" << announcedChecks({0, 1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.12345699965953827, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"alias": "typed first", "default_uncertainty": 3.402820018375656e+38, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": false, "include_count": false, "include_values": true, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"assay f", "12.5", "-2.5", "no count", "no values", "arithmetic"})
        << QStringList{"assay f"} << 3;
    QTest::newRow("select all, cleared")
        << "select all"
        << ""
        << "cleared" << announcedChecks({0, 1, 2, 3, 4, 5, 6}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.12345699965953827, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay B": {"alias": "", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay C": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay D": {"alias": "", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay E": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": false, "include_count": false, "include_values": true, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"assay f", "12.5", "-2.5", "no count", "no values", "arithmetic"})
        << QStringList{"assay f"} << -1;
    QTest::newRow("select all, current box clicked")
        << "select all"
        << ""
        << "current box clicked" << announcedChecks({1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.12345699965953827, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": false, "include_count": false, "include_values": true, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"assay f", "12.5", "-2.5", "no count", "no values", "arithmetic"})
        << QStringList{"assay f"} << -1;
    QTest::newRow("select all, search a")
        << "select all"
        << "a"
        << "" << announcedChecks({0, 1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.12345699965953827, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": false, "include_count": false, "include_values": true, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"assay f", "12.5", "-2.5", "no count", "no values", "arithmetic"})
        << QStringList{"assay f"} << -1;
    QTest::newRow("select all, search c, edited")
        << "select all"
        << "c"
        << "edited" << announcedChecks({0, 1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "typed first", "default_uncertainty": 0.25, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.123456789, "note": "kept", "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"default_uncertainty": 1e+300, "factor": "no", "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"default_uncertainty": "inf", "include_count": 0.4, "include_values": 1, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"Assay C", "", "3.40282e+38", "no count", "no values", "geometric"})
        << QStringList{"Assay C"} << -1;
    QTest::newRow("select all, search zz, edited")
        << "select all"
        << "zz"
        << "edited" << announcedChecks({0, 1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.123456789, "note": "kept", "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"default_uncertainty": 1e+300, "factor": "no", "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"default_uncertainty": "inf", "include_count": 0.4, "include_values": 1, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"", "typed first", "0.25", "no count", "no values", "geometric"})
        << QStringList() << -1;
    QTest::newRow("select all, search assay, row clicked")
        << "select all"
        << "assay"
        << "row clicked" << announcedChecks({0, 1, 3, 5, 6}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay A": {"alias": "a", "default_uncertainty": 0.12345699965953827, "factor": false, "include_count": false, "include_values": false, "selected": true},
        "Assay B": {"selected": true},
        "Assay C": {"alias": "typed first", "default_uncertainty": 3.402820018375656e+38, "factor": true, "include_count": false, "include_values": false, "selected": true},
        "Assay D": {"selected": true, "units": "nM"},
        "Assay E": {"alias": "", "default_uncertainty": 3.402820018375656e+38, "factor": false, "include_count": false, "include_values": true, "selected": true},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": true}
    })") << QStringList({"assay f", "12.5", "-2.5", "no count", "no values", "arithmetic"})
        << QStringList{"assay f"} << 2;
    QTest::newRow("clear, edited") << "clear"
                                   << ""
                                   << "edited" << announcedChecks({2, 4}) << QByteArray(R"({
        "": {"alias": "nameless", "selected": false},
        "Assay A": {"alias": "a", "default_uncertainty": 0.123456789, "note": "kept", "selected": false},
        "Assay B": {"selected": false},
        "Assay C": {"default_uncertainty": 1e+300, "factor": "no", "selected": false},
        "Assay D": {"selected": false, "units": "nM"},
        "Assay E": {"default_uncertainty": "inf", "include_count": 0.4, "include_values": 1, "selected": false},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": false}
    })") << QStringList({"", "typed first", "0.25", "no count", "no values", "geometric"})
                                   << QStringList{""} << -1;
    QTest::newRow("clear, search c, row clicked")
        << "clear"
        << "c"
        << "row clicked" << announcedChecks({2, 4}) << QByteArray(R"({
        "": {"alias": "nameless", "default_uncertainty": 0, "factor": false, "include_count": false, "include_values": false, "selected": false},
        "Assay A": {"alias": "a", "default_uncertainty": 0.123456789, "note": "kept", "selected": false},
        "Assay B": {"selected": false},
        "Assay C": {"default_uncertainty": 1e+300, "factor": "no", "selected": false},
        "Assay D": {"selected": false, "units": "nM"},
        "Assay E": {"default_uncertainty": "inf", "include_count": 0.4, "include_values": 1, "selected": false},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": false}
    })")
        << QStringList(
               {"Assay C", "typed first", "3.40282e+38", "no count", "no values", "geometric"})
        << QStringList{"Assay C"} << 0;
    QTest::newRow("clear, cleared") << "clear"
                                    << ""
                                    << "cleared" << QStringList() << QByteArray(R"({
        "": {"alias": "nameless", "selected": false},
        "Assay A": {"alias": "a", "default_uncertainty": 0.123456789, "note": "kept", "selected": false},
        "Assay B": {"selected": false},
        "Assay C": {"default_uncertainty": 1e+300, "factor": "no", "selected": false},
        "Assay D": {"selected": false, "units": "nM"},
        "Assay E": {"default_uncertainty": "inf", "include_count": 0.4, "include_values": 1, "selected": false},
        "assay f": {"alias": 12.5, "default_uncertainty": -2.5, "selected": false}
    })") << QStringList({"", "nameless", "0", "no count", "no values", "arithmetic"})
                                    << QStringList{""} << -1;
}

// "Select all" and "Clear" as the row-by-row loop did them: what the list
// model announces, what is written, where the panel and the selection end.
void tst_VeldmarkDisplay::checkAllRecorded()
{
    QFETCH(QString, button);
    QFETCH(QString, search);
    QFETCH(QString, before);

    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, changedByThePanel));
    Widgets w(dialog);
    QTest::keyClicks(w.search, search);
    actBefore(w, before);
    if (QTest::currentTestFailed())
        return;
    ModelLog announced(assayListModel(w.list));
    ModelLog filtered(w.list->model());

    QTest::mouseClick(button == "clear" ? w.clear : w.selectAll, Qt::LeftButton);
    const QStringList announcedLines = announced.take();
    QTEST(announcedLines, "announced");
    QCOMPARE(filtered.take(), QStringList());
    QFETCH(QByteArray, written);
    QCOMPARE(dialog.displayData(), QJsonDocument::fromJson(written).toJson());
    QTEST(w.panel(), "panel");
    QCOMPARE(w.assayName->text(), w.assayName->toolTip());
    QTEST(w.selected(), "selected");
    QTEST(w.list->currentIndex().row(), "currentRow");
}

void tst_VeldmarkDisplay::selectAllAsCheckingEachInTurn_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("before");

    QTest::newRow("every assay listed") << ""
                                        << "";
    QTest::newRow("panel edited first") << ""
                                        << "edited";
    QTest::newRow("current assay unchecked by its box first") << ""
                                                              << "current box clicked";
    QTest::newRow("all cleared first") << ""
                                       << "cleared";
    QTest::newRow("search hides some") << "1"
                                       << "edited";
    QTest::newRow("search hides the current assay") << "2"
                                                    << "";
    QTest::newRow("search hides every assay") << "zz"
                                              << "edited";
}

// "Select all" ends where a person ends who checks each unchecked assay in
// list order by its box; assays the search hides have no box to click and
// are checked in the model, as "Select all" checks them.
void tst_VeldmarkDisplay::selectAllAsCheckingEachInTurn()
{
    QFETCH(QString, search);
    QFETCH(QString, before);

    CheckedOutcome bySelectAll;
    checkEveryAssay(search, before, true, bySelectAll);
    if (QTest::currentTestFailed())
        return;
    CheckedOutcome byHand;
    checkEveryAssay(search, before, false, byHand);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(!bySelectAll.announced.isEmpty());
    QCOMPARE(bySelectAll.announced, byHand.announced);
    QCOMPARE(bySelectAll.written, byHand.written);
    QCOMPARE(bySelectAll.panel, byHand.panel);
    QCOMPARE(bySelectAll.selected, byHand.selected);
    QCOMPARE(bySelectAll.checked, byHand.checked);
    QCOMPARE(bySelectAll.written.count("\"selected\": true"), 48);
}

void tst_VeldmarkDisplay::checkEveryAssay(const QString &search, const QString &before,
                                          bool bySelectAll, CheckedOutcome &outcome)
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, variedAssays()));
    Widgets w(dialog);
    QTest::keyClicks(w.search, search);
    actBefore(w, before);
    if (QTest::currentTestFailed())
        return;
    QAbstractItemModel *model = assayListModel(w.list);
    auto filter = qobject_cast<QAbstractProxyModel *>(w.list->model());
    QVERIFY(model && filter);
    ModelLog announced(model);

    if (bySelectAll) {
        QTest::mouseClick(w.selectAll, Qt::LeftButton);
    } else {
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex source = model->index(row, 0);
            if (source.data(Qt::CheckStateRole).toInt() == Qt::Checked)
                continue;
            const QModelIndex shown = filter->mapFromSource(source);
            if (shown.isValid()) {
                w.list->scrollTo(shown);
                w.clickCheckBox(shown.row());
            } else {
                QVERIFY(model->setData(source, Qt::Checked, Qt::CheckStateRole));
            }
            QCOMPARE(source.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        }
    }
    outcome.announced = announced.take();
    outcome.written = dialog.displayData();
    outcome.panel = w.panel();
    outcome.selected = w.selected();
    w.replaceText(w.search, "");
    outcome.checked = w.checked();
}

void tst_VeldmarkDisplay::emptySelectionKeepsEditingLastCurrent_data()
{
    QTest::addColumn<bool>("bySearch");

    QTest::newRow("ctrl-click on the selected row") << false;
    // Only while the list has no current row: the view moves the selection
    // to a neighbour when the current row disappears.
    QTest::newRow("search text hides the selected row") << true;
}

void tst_VeldmarkDisplay::emptySelectionKeepsEditingLastCurrent()
{
    QFETCH(bool, bySearch);

    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    if (bySearch)
        QTest::keyClicks(w.search, "ta");
    else
        w.clickRow(0, Qt::ControlModifier);
    QVERIFY(w.selected().isEmpty());
    QCOMPARE(w.assayName->text(), QStringLiteral("Alpha"));
    QCOMPARE(w.displayName->text(), QStringLiteral("a-alias"));

    w.replaceText(w.displayName, "Alpha, later");
    w.clickRow(w.listed().indexOf("beta"));
    QCOMPARE(w.assayName->text(), QStringLiteral("beta"));
    const QJsonObject alpha = writtenEntry(dialog, "Alpha");
    QCOMPARE(alpha.value("alias").toString(), QStringLiteral("Alpha, later"));
    QVERIFY(!alpha.contains("note"));
}

void tst_VeldmarkDisplay::secondSetDisplayDataDropsEdits()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    w.clickRow(2);
    w.replaceText(w.displayName, "unsaved");
    dialog.setDisplayData(fourAssays);
    QCOMPARE(w.selected(), QStringList{"Alpha"});
    QCOMPARE(w.displayName->text(), QStringLiteral("a-alias"));
    QCOMPARE(writtenEntry(dialog, "beta").value("alias").toString(), QStringLiteral("b-alias"));

    dialog.setDisplayData(R"({"zeta": {"alias": "z"}, "eta": {}})");
    QCOMPARE(w.listed(), QStringList({"eta", "zeta"}));
    QCOMPARE(w.assayName->text(), QStringLiteral("eta"));
    QCOMPARE(dialog.displayData(),
             QByteArray("{\n    \"eta\": {\n        \"selected\": true\n    },\n"
                        "    \"zeta\": {\n        \"alias\": \"z\",\n"
                        "        \"selected\": true\n    }\n}\n"));
}

void tst_VeldmarkDisplay::longNameIsElided()
{
    const QString name =
        QStringLiteral("Inhibition of recombinant human kinase activity, ").repeated(6);
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, QJsonDocument(QJsonObject{{name, QJsonObject()}}).toJson()));
    Widgets w(dialog);

    const QString narrow = w.assayName->text();
    QVERIFY2(narrow.endsWith(QChar(0x2026)), qPrintable(narrow));
    QVERIFY(name.startsWith(narrow.chopped(1)));
    QCOMPARE(w.assayName->toolTip(), name);

    expectLine("Resizing:", 1200, fieldWidth.value(1200));
    dialog.resize(1200, 796);
    const QString wide = w.assayName->text();
    QVERIFY2(wide.endsWith(QChar(0x2026)), qPrintable(wide));
    QVERIFY(wide.size() > narrow.size());
    QVERIFY(name.startsWith(wide.chopped(1)));
    QCOMPARE(w.assayName->toolTip(), name);

    // The name fitted to a wide window must not keep the window wide.
    dialog.layout()->activate();
    const int narrowest = VeldmarkDisplay().minimumSizeHint().width();
    QCOMPARE(dialog.minimumSizeHint().width(), narrowest);
    QTest::ignoreMessage(
        QtDebugMsg,
        QRegularExpression(QStringLiteral("^Resizing:  %1 ,  \\d+ \n$").arg(narrowest)));
    dialog.resize(narrowest, 796);
    QCOMPARE(dialog.width(), narrowest);
    QVERIFY(w.assayName->text().size() < narrow.size());
}

void tst_VeldmarkDisplay::endingRun_data()
{
    addEndingRows();
}

void tst_VeldmarkDisplay::endingRun()
{
    QFETCH(Ending, ending);
    QFETCH(bool, accepted);

    VeldmarkDisplay dialog;
    dialog.setDisplayData(fourAssays);
    Widgets w(dialog);
    QVERIFY(w.complete());

    expectLine("Resizing:", 793, 100);
    expectLine("Showing:", 793, fieldWidth.value(793));
    WhenModal user(dialog, [&] {
        w.replaceText(w.displayName, "saved by leaving");
        w.clickCheckBox(2);
        w.replaceText(w.displayName, "typed last");
        endDialog(dialog, ending);
    });
    QCOMPARE(dialog.run(), accepted);
    QVERIFY(user.acted());
    QVERIFY(!dialog.isVisible());

    QCOMPARE(writtenEntry(dialog, "Alpha").value("alias").toString(),
             QStringLiteral("saved by leaving"));
    QCOMPARE(writtenEntry(dialog, "beta").value("selected").toBool(), true);
    QCOMPARE(writtenEntry(dialog, "beta").value("alias").toString(),
             accepted ? QStringLiteral("typed last") : QStringLiteral("b-alias"));
}

void tst_VeldmarkDisplay::openingAgainShowsStoredEntry()
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(fourAssays);
    Widgets w(dialog);
    QVERIFY(w.complete());

    expectLine("Resizing:", 793, 100);
    expectLine("Showing:", 793, fieldWidth.value(793));
    {
        WhenModal user(dialog, [&] {
            w.replaceText(w.displayName, "cancelled edit");
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QVERIFY(!dialog.run());
        QVERIFY(user.acted());
    }
    QCOMPARE(w.displayName->text(), QStringLiteral("cancelled edit"));

    expectLine("Showing:", 793, fieldWidth.value(793));
    QString shown;
    WhenModal user(dialog, [&] {
        shown = w.displayName->text();
        w.clickOk();
    });
    QVERIFY(dialog.run());
    QVERIFY(user.acted());
    QCOMPARE(shown, QStringLiteral("a-alias"));
}

void tst_VeldmarkDisplay::debugLineFormat()
{
    // Every resize and show writes a line, also with nothing loaded.
    VeldmarkDisplay dialog;
    QTest::ignoreMessage(QtDebugMsg, "Resizing:  793 ,  100 \n");
    expectLine("Showing:", 793, fieldWidth.value(793));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    expectLine("Resizing:", 1200, fieldWidth.value(1200));
    dialog.resize(1200, 796);
    expectLine("Resizing:", 793, fieldWidth.value(793));
    dialog.resize(793, 796);
}

void tst_VeldmarkDisplay::firstShowFitsTheScreen_data()
{
    addPlacementRows();
}

// The form is 793 x 796; Qt 5's offscreen platform has one screen of
// 800 x 600, as wide as the form but lower.
void tst_VeldmarkDisplay::firstShowFitsTheScreen()
{
    QFETCH(bool, placed);
    QFETCH(QPoint, position);

    VeldmarkDisplay dialog;
    dialog.setDisplayData(fourAssays);
    Widgets w(dialog);
    QVERIFY(w.complete());
    const QRect available = dialog.screen()->availableGeometry();
    QVERIFY2(available.width() > 793 && available.height() < 796,
             "needs a screen as wide as the form and lower than it");

    if (placed)
        dialog.move(position);
    showDialog(dialog);

    QVERIFY(available.contains(dialog.frameGeometry()));
    QCOMPARE(dialog.width(), 793);
    QVERIFY(dialog.height() < 796);
    for (const QAbstractButton *button : w.buttons->buttons())
        QVERIFY(available.contains(QRect(button->mapToGlobal(QPoint()), button->size())));
}

void tst_VeldmarkDisplay::resizeKeepsTypedInput_data()
{
    QTest::addColumn<bool>("restore");

    QTest::newRow("window resized") << false;
    QTest::newRow("window restored from minimised") << true;
}

void tst_VeldmarkDisplay::resizeKeepsTypedInput()
{
    QFETCH(bool, restore);

    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, fourAssays));
    Widgets w(dialog);

    w.replaceText(w.displayName, "typed name");
    w.replaceText(w.uncertainty, "2.5");
    QTest::mouseClick(w.values, Qt::LeftButton);
    QTest::mouseClick(w.geometric, Qt::LeftButton);

    if (restore) {
        dialog.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(dialog.isMinimized());
        expectLine("Showing:", 793, fieldWidth.value(793));
        dialog.setWindowState(Qt::WindowNoState);
        QTRY_VERIFY(!dialog.isMinimized());
    } else {
        expectLine("Resizing:", 1200, fieldWidth.value(1200));
        dialog.resize(1200, 796);
    }

    QCOMPARE(w.assayName->text(), QStringLiteral("Alpha"));
    QCOMPARE(w.displayName->text(), QStringLiteral("typed name"));
    QCOMPARE(w.uncertainty->text(), QStringLiteral("2.5"));
    QVERIFY(w.values->isChecked());
    QVERIFY(w.geometric->isChecked());

    w.clickOk();
    const QJsonObject alpha = writtenEntry(dialog, "Alpha");
    QCOMPARE(alpha.value("alias").toString(), QStringLiteral("typed name"));
    QCOMPARE(alpha.value("default_uncertainty").toDouble(), 2.5);
    QCOMPARE(alpha.value("include_values").toBool(), true);
    QCOMPARE(alpha.value("factor").toBool(), true);
}

void tst_VeldmarkDisplay::uncertaintyFieldTakesCLocaleNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<float>("stored");

    QTest::newRow("decimal point") << "0.5"
                                   << "0.5" << 0.5f;
    QTest::newRow("decimal comma refused") << "0,5"
                                           << "05" << 5.0f;
    QTest::newRow("group separator refused") << "1,000.5"
                                             << "1000.5" << 1000.5f;
    QTest::newRow("German grouping refused") << "1.000,5"
                                             << "1.0005" << 1.0005f;
    QTest::newRow("minus sign refused") << "-2"
                                        << "2" << 2.0f;
    QTest::newRow("exponent") << "1e-3"
                              << "1e-3" << 1e-3f;
    QTest::newRow("left empty") << ""
                                << "" << 0.0f;
}

// The user's locale is German, where ',' is the decimal point.
void tst_VeldmarkDisplay::uncertaintyFieldTakesCLocaleNumbers()
{
    QFETCH(QString, typed);
    QFETCH(float, stored);

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, R"({"a": {}, "b": {}})"));
    Widgets w(dialog);

    w.uncertainty->clear();
    QTest::keyClicks(w.uncertainty, typed);
    QTEST(w.uncertainty->text(), "shown");
    w.clickRow(1);
    QCOMPARE(writtenEntry(dialog, "a").value("default_uncertainty").toDouble(), double(stored));
}

void tst_VeldmarkDisplay::typedUncertaintyBeyondFloatRangeStaysFinite()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, R"({"a": {}, "b": {"default_uncertainty": 1e300}})"));
    Widgets w(dialog);

    w.replaceText(w.uncertainty, "1e39");
    QCOMPARE(w.uncertainty->text(), QStringLiteral("1e39"));
    w.clickRow(1);
    QCOMPARE(w.uncertainty->text(), QStringLiteral("3.40282e+38"));
    w.clickOk();

    const QByteArray written = dialog.displayData();
    QVERIFY2(!written.contains("null"), written.constData());
    QCOMPARE(writtenEntry(dialog, "a").value("default_uncertainty").toDouble(),
             double(std::numeric_limits<float>::max()));
    QVERIFY(writtenEntry(dialog, "b").value("default_uncertainty").toDouble() > 3.4e38);
}

void tst_VeldmarkDisplay::assayNamedByEmptyStringIsEditedAndSaved()
{
    VeldmarkDisplay dialog;
    QVERIFY(open(dialog, R"({"": {"alias": "nameless", "selected": false}, "b": {}})"));
    Widgets w(dialog);

    QCOMPARE(w.listed(), QStringList({"", "b"}));
    QCOMPARE(w.selected(), QStringList{""});
    QCOMPARE(w.assayName->text(), QString());
    QCOMPARE(w.displayName->text(), QStringLiteral("nameless"));

    w.replaceText(w.displayName, "left behind");
    w.clickRow(1);
    QCOMPARE(writtenEntry(dialog, "").value("alias").toString(), QStringLiteral("left behind"));
    QCOMPARE(writtenEntry(dialog, "").value("selected").toBool(), false);

    w.clickCheckBox(0);
    QCOMPARE(w.selected(), QStringList{""});
    QCOMPARE(w.displayName->text(), QStringLiteral("left behind"));
    w.replaceText(w.displayName, "accepted");
    w.clickOk();
    QCOMPARE(writtenEntry(dialog, "").value("alias").toString(), QStringLiteral("accepted"));
    QCOMPARE(writtenEntry(dialog, "").value("selected").toBool(), true);
    QCOMPARE(writtenEntry(dialog, "b").size(), 6);
}

// With the search hiding every assay, a new document leaves no assay current:
// the panel is then nobody's, not the entry of the assay named "".
void tst_VeldmarkDisplay::noCurrentAssayIsNotTheEmptyName()
{
    VeldmarkDisplay dialog;
    Widgets w(dialog);
    QVERIFY(w.complete());
    QTest::keyClicks(w.search, "zz");
    dialog.setDisplayData(R"({"": {"alias": "nameless"}})");
    QVERIFY(w.selected().isEmpty());

    showDialog(dialog);
    QCOMPARE(w.displayName->text(), QString());
    w.replaceText(w.displayName, "nobody's");
    w.clickOk();
    QCOMPARE(writtenEntry(dialog, ""), QJsonObject({{"alias", "nameless"}, {"selected", true}}));
}

QTEST_MAIN(tst_VeldmarkDisplay)
#include "tst_veldmarkdisplay.moc"
