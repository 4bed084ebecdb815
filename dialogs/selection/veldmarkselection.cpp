// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "veldmarkselection.h"
#include "ui_veldmarkselection.h"

#include "screenfit.h"

#include <QPushButton>
#include <QTreeWidgetItemIterator>

namespace {

// Stored under Qt::UserRole; the only thing that tells a library from a group.
QString libraryMarker()
{
    return QStringLiteral("Library");
}

bool isLibrary(const QTreeWidgetItem *item, int column)
{
    return item->data(column, Qt::UserRole).toString() == libraryMarker();
}

bool isTicked(const QTreeWidgetItem *item)
{
    return item->checkState(0) == Qt::Checked;
}

} // namespace

VeldmarkSelection::VeldmarkSelection(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::VeldmarkSelection)
{
    ui->setupUi(this);
    updateOkButton();
    connect(ui->treeWidget, &QTreeWidget::itemChanged, this,
            &VeldmarkSelection::listSelectionChanged);

    const QAbstractItemModel *model = ui->treeWidget->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &VeldmarkSelection::recordInsertedRows);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            &VeldmarkSelection::forgetRemovedRows);
    connect(model, &QAbstractItemModel::modelReset, this, &VeldmarkSelection::recordWholeTree);
}

VeldmarkSelection::~VeldmarkSelection()
{
    // The tree dies later, with the QDialog base, and resets its model on the
    // way; by then the counts are gone.
    disconnect(ui->treeWidget->model(), nullptr, this, nullptr);
    delete ui;
}

void VeldmarkSelection::setVisible(bool visible)
{
    if (visible && !fittedToScreen) {
        create();
        fitIntoScreen(this);
        fittedToScreen = true;
    }
    QDialog::setVisible(visible);
}

bool VeldmarkSelection::run()
{
    return exec() == QDialog::Accepted;
}

// Adds to what is there: earlier groups keep their ticks, and a group name
// given again becomes a second group.
void VeldmarkSelection::setAvailableItems(const QVariantMap &available_items)
{
    for (auto entry = available_items.cbegin(); entry != available_items.cend(); ++entry) {
        auto *group = new QTreeWidgetItem(ui->treeWidget, QStringList(entry.key()));
        const QVariantList libraries = entry.value().toList();
        for (const QVariant &library : libraries) {
            auto *item = new QTreeWidgetItem(group, QStringList(library.toString()));
            item->setCheckState(0, Qt::Unchecked);
            item->setData(0, Qt::UserRole, libraryMarker());
        }
        ui->treeWidget->expandItem(group);
        group->setCheckState(0, Qt::Unchecked);
    }
}

QStringList VeldmarkSelection::selectedItems()
{
    QStringList selected;
    for (QTreeWidgetItemIterator it(ui->treeWidget); *it; ++it) {
        if (isTicked(*it) && isLibrary(*it, 0))
            selected.append((*it)->text(0));
    }
    return selected;
}

QString VeldmarkSelection::aggregationMode()
{
    return ui->rbCompound->isChecked() ? QStringLiteral("compound") : QStringLiteral("batch");
}

// Runs for every change of every item, including those it makes itself; only
// the outermost call propagates, but every call keeps the counts exact.
void VeldmarkSelection::listSelectionChanged(QTreeWidgetItem *item, int column)
{
    recordState(item);
    if (updatingCheckStates)
        return;

    updatingCheckStates = true;
    if (isLibrary(item, column))
        summariseLibraries(item->parent());
    else
        copyStateToLibraries(item);
    updateOkButton();
    updatingCheckStates = false;
}

void VeldmarkSelection::updateOkButton()
{
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(tickedLibraryCount > 0);
}

// A group's libraries are its children, which never have children of their own.
void VeldmarkSelection::copyStateToLibraries(QTreeWidgetItem *group)
{
    const Qt::CheckState state = group->checkState(0);
    for (int i = 0; i < group->childCount(); ++i)
        group->child(i)->setCheckState(0, state);
}

void VeldmarkSelection::summariseLibraries(QTreeWidgetItem *group)
{
    // Only a library placed at the top level from outside has no group.
    if (!group)
        return;

    const int ticked = tickedChildCounts.value(group);
    if (ticked == group->childCount())
        group->setCheckState(0, Qt::Checked);
    else if (ticked == 0)
        group->setCheckState(0, Qt::Unchecked);
    else
        group->setCheckState(0, Qt::PartiallyChecked);
}

void VeldmarkSelection::recordState(const QTreeWidgetItem *item)
{
    const ItemState now{isTicked(item), isLibrary(item, 0)};
    ItemState &was = itemStates[item];
    if (now.ticked != was.ticked)
        tickedChildCounts[item->parent()] += now.ticked ? 1 : -1;
    tickedLibraryCount += int(now.ticked && now.library) - int(was.ticked && was.library);
    was = now;
}

void VeldmarkSelection::recordSubtree(const QTreeWidgetItem *item)
{
    recordState(item);
    for (int i = 0; i < item->childCount(); ++i)
        recordSubtree(item->child(i));
}

void VeldmarkSelection::forgetSubtree(const QTreeWidgetItem *item)
{
    for (int i = 0; i < item->childCount(); ++i)
        forgetSubtree(item->child(i));

    const ItemState was = itemStates.take(item);
    if (was.ticked)
        --tickedChildCounts[item->parent()];
    if (was.ticked && was.library)
        --tickedLibraryCount;
    tickedChildCounts.remove(item);
}

void VeldmarkSelection::recordInsertedRows(const QModelIndex &parent, int first, int last)
{
    const QTreeWidgetItem *parentItem = itemForParentIndex(parent);
    for (int row = first; row <= last; ++row)
        recordSubtree(parentItem->child(row));
}

void VeldmarkSelection::forgetRemovedRows(const QModelIndex &parent, int first, int last)
{
    const QTreeWidgetItem *parentItem = itemForParentIndex(parent);
    for (int row = first; row <= last; ++row)
        forgetSubtree(parentItem->child(row));
}

// Only clear() resets the tree; starting over from what remains keeps this exact.
void VeldmarkSelection::recordWholeTree()
{
    itemStates.clear();
    tickedChildCounts.clear();
    tickedLibraryCount = 0;
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i)
        recordSubtree(ui->treeWidget->topLevelItem(i));
}

QTreeWidgetItem *VeldmarkSelection::itemForParentIndex(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return ui->treeWidget->invisibleRootItem();
    return itemForParentIndex(parent.parent())->child(parent.row());
}
