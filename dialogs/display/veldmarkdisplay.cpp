// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "veldmarkdisplay.h"
#include "ui_veldmarkdisplay.h"

#include "assaydelegate.h"
#include "assayfiltermodel.h"
#include "displaydata.h"
#include "screenfit.h"

#include <QDebug>
#include <QDoubleValidator>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLocale>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QStandardItemModel>

namespace {

QStandardItem *newAssayItem(const QString &name, bool checked)
{
    auto item = new QStandardItem(name);
    item->setData(name, Qt::UserRole);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

// The stored uncertainty is read in the C locale, so the field accepts
// exactly that: '.' as the decimal point and no group separators.
QLocale uncertaintyLocale()
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

VeldmarkDisplay::VeldmarkDisplay(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::VeldmarkDisplay)
    , assayModel(new QStandardItemModel(this))
    , proxyModel(new AssayFilterModel(this))
    , assayDelegate(new AssayDelegate(this))
{
    ui->setupUi(this);
    ui->listView->setItemDelegate(assayDelegate);
    // The elided name fills whatever width the label has; as the label's own
    // minimum it would stop the window from ever getting narrower again.
    ui->assayNameLabel->setMinimumWidth(1);

    auto validator = new QDoubleValidator(ui->lineEditUncertainty);
    validator->setBottom(0.0);
    validator->setLocale(uncertaintyLocale());
    ui->lineEditUncertainty->setValidator(validator);

    proxyModel->setSourceModel(assayModel);

    connect(assayModel, &QStandardItemModel::itemChanged, this, &VeldmarkDisplay::selectOnCheck);
    connect(ui->lineEditSearch, &QLineEdit::textChanged, proxyModel,
            &AssayFilterModel::setFilterFixedString);
    ui->lineEditSearch->installEventFilter(this);
    ui->listView->setModel(proxyModel);
    connect(ui->listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &VeldmarkDisplay::selectionChangedSlot);
    connect(ui->selectButton, &QPushButton::clicked, this, &VeldmarkDisplay::selectAllSlot);
    connect(ui->clearButton, &QPushButton::clicked, this, &VeldmarkDisplay::clearSelectionSlot);
}

VeldmarkDisplay::~VeldmarkDisplay()
{
    delete ui;
}

void VeldmarkDisplay::setVisible(bool visible)
{
    if (visible && !fittedToScreen) {
        create();
        fitIntoScreen(this);
        fittedToScreen = true;
    }
    QDialog::setVisible(visible);
}

bool VeldmarkDisplay::run()
{
    return exec() == QDialog::Accepted;
}

void VeldmarkDisplay::setDisplayData(QByteArray display_data)
{
    currentAssay.reset();
    assayModel->clear();
    assayDelegate->forgetSizes();
    // Freed before the new document is read, so that its memory is reused
    // rather than a second copy of a large document being held.
    displayDataMap.clear();
    displayDataMap = DisplayData::read(display_data);

    QList<QStandardItem *> items;
    items.reserve(displayDataMap.size());
    for (auto entry = displayDataMap.cbegin(); entry != displayDataMap.cend(); ++entry)
        items.append(newAssayItem(entry.key(), DisplayData::isSelected(entry.value())));
    // One insertion for the whole list, so the filter and the view take it in
    // one pass instead of once per row.
    assayModel->invisibleRootItem()->appendRows(items);

    const QModelIndex first = proxyModel->index(0, 0);
    if (first.isValid())
        ui->listView->selectionModel()->select(first, QItemSelectionModel::Select);
}

QByteArray VeldmarkDisplay::displayData()
{
    QVector<DisplayData::ListedAssay> assays;
    assays.reserve(assayModel->rowCount());
    for (int row = 0; row < assayModel->rowCount(); ++row) {
        const QStandardItem *item = assayModel->item(row);
        assays.append({item->data(Qt::UserRole).toString(), item->checkState() == Qt::Checked});
    }
    return DisplayData::write(displayDataMap, assays);
}

void VeldmarkDisplay::accept()
{
    saveDisplayData();
    QDialog::accept();
}

// A resize keeps what the user has typed; only the elided name must follow the
// label's new width.
void VeldmarkDisplay::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // Host teams read this line (and "Showing: ") when tracking layout trouble; keep its form.
    qDebug() << "Resizing: " << width() << ", " << ui->lineEditDisplayName->width() << Qt::endl;
    fitAssayName();
}

// Opening the dialog shows the stored entry, so edits of a cancelled run do not
// come back; a show from the window system (a restored window) keeps the fields.
void VeldmarkDisplay::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    qDebug() << "Showing: " << width() << ", " << ui->lineEditDisplayName->width() << Qt::endl;
    if (event->spontaneous())
        fitAssayName();
    else
        loadDisplayData(currentEntry());
}

// Enter in the search field ends the search, as in any search box, instead of
// accepting the whole dialog; everywhere else it presses the default button.
bool VeldmarkDisplay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->lineEditSearch && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusListFromSearch();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void VeldmarkDisplay::selectionChangedSlot(QItemSelection before, QItemSelection after)
{
    Q_UNUSED(before)
    Q_UNUSED(after)
    if (checkingAll)
        return;
    saveDisplayData();
    const QModelIndexList rows = ui->listView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    currentAssay = rows.first().data(Qt::UserRole).toString();
    loadDisplayData(currentEntry());
}

void VeldmarkDisplay::saveDisplayData()
{
    if (currentAssay)
        DisplayData::store(displayDataMap[*currentAssay], shownPanel());
}

// Works on the unfiltered model, so assays the search text hides change too.
// Unchecking moves nothing.
//
// A changed item makes the list schedule a relayout of every row, which the
// next selection change would carry out at once: once per row, that is
// quadratic. A check state neither changes the filter's verdict nor a row's
// size, so the list only hears of the whole change at the end.
void VeldmarkDisplay::clearSelectionSlot()
{
    {
        const QSignalBlocker quietList(proxyModel);
        for (int row = 0; row < assayModel->rowCount(); ++row)
            assayModel->item(row)->setCheckState(Qt::Unchecked);
    }
    ui->listView->viewport()->update();
}

// Ends as checking each unchecked assay in turn ends: each newly checked
// assay the list shows is selected in its turn (see selectOnCheck()), every
// move saving the panel into the assay it leaves, and the last one is current
// and shown. The list's model announces each check as then, but the
// selection and the panel move only once: an assay the panel only passes
// through is saved as the panel would show it, and that depends on nothing
// but its entry. Setting a state an item already has announces nothing, so
// those items are skipped.
void VeldmarkDisplay::selectAllSlot()
{
    const QScopedValueRollback<bool> checking(checkingAll, true);
    QItemSelectionModel *selection = ui->listView->selectionModel();
    bool first = true;
    // The row whose assay the panel would show by now, once it has moved.
    int passing = -1;
    // The map's keys are the list's names, in the list's order.
    QVariantMap::iterator entry;
    int entryRow = -1;
    const auto saveAsShown = [&](int row) {
        if (entryRow < 0) {
            entry = displayDataMap.begin();
            entryRow = 0;
        }
        for (; entryRow < row && entry != displayDataMap.end(); ++entryRow)
            ++entry;
        const QString name = assayModel->item(row)->data(Qt::UserRole).toString();
        QVariant &stored =
            entry != displayDataMap.end() && entry.key() == name ? *entry : displayDataMap[name];
        // The panel is read first: a copy of the entry's map alive while it
        // is stored would make the store copy the map.
        const DisplayData::Panel shown = asShown(DisplayData::toPanel(stored.toMap()));
        DisplayData::store(stored, shown);
    };
    {
        const QSignalBlocker quietList(proxyModel);
        for (int row = 0; row < assayModel->rowCount(); ++row) {
            QStandardItem *item = assayModel->item(row);
            if (item->checkState() == Qt::Checked)
                continue;
            item->setCheckState(Qt::Checked);
            const QModelIndex shown = proxyModel->mapFromSource(item->index());
            if (!shown.isValid())
                continue;
            // Selecting the row that alone is selected already moves nothing.
            const bool moves = !(first && selection->selectedIndexes() == QModelIndexList{shown});
            first = false;
            if (!moves)
                continue;
            if (passing < 0)
                saveDisplayData();
            else
                saveAsShown(passing);
            passing = row;
        }
    }
    if (passing >= 0) {
        currentAssay = assayModel->item(passing)->data(Qt::UserRole).toString();
        loadDisplayData(currentEntry());
        selection->select(proxyModel->mapFromSource(assayModel->index(passing, 0)),
                          QItemSelectionModel::ClearAndSelect);
    }
    ui->listView->viewport()->update();
}

// An assay hidden by the search text has no row to select; the selection is
// then left as it is.
void VeldmarkDisplay::selectOnCheck(QStandardItem *item)
{
    if (checkingAll || item->checkState() != Qt::Checked)
        return;
    const QModelIndex row = proxyModel->mapFromSource(item->index());
    if (row.isValid())
        ui->listView->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect);
}

void VeldmarkDisplay::loadDisplayData(const QVariantMap &entry)
{
    fitAssayName();
    const DisplayData::Panel panel = DisplayData::toPanel(entry);
    ui->lineEditDisplayName->setText(panel.displayName);
    ui->lineEditUncertainty->setText(panel.uncertainty);
    ui->cbDisplayCount->setChecked(panel.includeCount);
    ui->cbDisplayValues->setChecked(panel.includeValues);
    (panel.geometricMean ? ui->rbgeometric : ui->rbArithmetic)->setChecked(true);
}

DisplayData::Panel VeldmarkDisplay::shownPanel() const
{
    DisplayData::Panel panel;
    panel.displayName = ui->lineEditDisplayName->text();
    panel.uncertainty = ui->lineEditUncertainty->text();
    panel.includeCount = ui->cbDisplayCount->isChecked();
    panel.includeValues = ui->cbDisplayValues->isChecked();
    panel.geometricMean = ui->rbgeometric->isChecked();
    return panel;
}

// What shownPanel() gives once loadDisplayData() has shown `panel`: a field
// keeps no more than its maximum length and gives empty text, never null;
// the boxes and the aggregation pair keep what they are set to.
DisplayData::Panel VeldmarkDisplay::asShown(DisplayData::Panel panel) const
{
    const auto fieldText = [](const QLineEdit *field, const QString &text) {
        return text.isNull() ? QStringLiteral("") : text.left(field->maxLength());
    };
    panel.displayName = fieldText(ui->lineEditDisplayName, panel.displayName);
    panel.uncertainty = fieldText(ui->lineEditUncertainty, panel.uncertainty);
    return panel;
}

void VeldmarkDisplay::fitAssayName()
{
    const QString name = currentAssay.value_or(QString());
    QLabel *label = ui->assayNameLabel;
    label->setText(label->fontMetrics().elidedText(name, Qt::ElideRight, label->width()));
    label->setToolTip(name);
}

QVariantMap VeldmarkDisplay::currentEntry() const
{
    return currentAssay ? displayDataMap.value(*currentAssay).toMap() : QVariantMap();
}

// The list's keyboard focus lands on the selected row, or on the first row
// the search left when none is selected, which then becomes current.
void VeldmarkDisplay::focusListFromSearch()
{
    QItemSelectionModel *selection = ui->listView->selectionModel();
    const QModelIndexList selected = selection->selectedRows();
    if (!selected.isEmpty())
        selection->setCurrentIndex(selected.first(), QItemSelectionModel::NoUpdate);
    else if (const QModelIndex first = proxyModel->index(0, 0); first.isValid())
        selection->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    ui->listView->setFocus(Qt::OtherFocusReason);
}
