// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef VELDMARKSELECTION_H
#define VELDMARKSELECTION_H

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QModelIndex;
class QTreeWidgetItem;

namespace Ui {
class VeldmarkSelection;
}

// The user ticks the service's libraries to search, listed under group
// headings in a checkable tree, and chooses whether results are aggregated
// per compound or per batch. A script fills it, runs it and reads the choice.
class VeldmarkSelection : public QDialog
{
    Q_OBJECT

public:
    explicit VeldmarkSelection(QWidget *parent = nullptr);
    ~VeldmarkSelection() override;

    // Fits the window into its screen's available area the first time it is shown.
    void setVisible(bool visible) override;

public Q_SLOTS:
    // Scripts call these by name and signature, in this meta-object order: leave them as they are.
    bool run();
    // Scripts see the parameter name "available_items" in their error messages.
    void setAvailableItems(const QVariantMap &available_items);
    QStringList selectedItems(); // not const: the published signature
    QString aggregationMode(); // not const: the published signature

private Q_SLOTS:
    void listSelectionChanged(QTreeWidgetItem *item, int column);

private:
    struct ItemState
    {
        bool ticked = false;
        bool library = false;
    };

    void updateOkButton();
    void copyStateToLibraries(QTreeWidgetItem *group);
    void summariseLibraries(QTreeWidgetItem *group);

    void recordState(const QTreeWidgetItem *item);
    void recordSubtree(const QTreeWidgetItem *item);
    void forgetSubtree(const QTreeWidgetItem *item);
    void recordInsertedRows(const QModelIndex &parent, int first, int last);
    void forgetRemovedRows(const QModelIndex &parent, int first, int last);
    void recordWholeTree();
    QTreeWidgetItem *itemForParentIndex(const QModelIndex &parent) const;

    Ui::VeldmarkSelection *ui;
    bool updatingCheckStates = false;
    bool fittedToScreen = false;

    // The state of every item in the tree as the tree last reported it, kept
    // up to date on each item change, insertion and removal. The OK button and
    // a group's summary follow from these counts, so handling one change costs
    // the same however many libraries the tree holds.
    QHash<const QTreeWidgetItem *, ItemState> itemStates;
    QHash<const QTreeWidgetItem *, int> tickedChildCounts;
    int tickedLibraryCount = 0;
};

#endif // VELDMARKSELECTION_H
