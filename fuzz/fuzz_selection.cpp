// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "fuzzapplication.h"
#include "veldmarkselection.h"

#include <QDialogButtonBox>
#include <QJsonDocument>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVariant>

// Input: a JSON object standing for the available-items map a script passes
// (group name to list of libraries; any JSON value gets in), then optionally
// a NUL byte and one byte per tick. Each tick toggles one item as a click
// does; 0xff hands the same map over once more.
namespace {

QList<QTreeWidgetItem *> itemsInOrder(QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        items.append(*it);
    return items;
}

void toggle(QTreeWidgetItem *item)
{
    item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

Qt::CheckState summary(const QTreeWidgetItem *group)
{
    int ticked = 0;
    for (int i = 0; i < group->childCount(); ++i)
        ticked += group->child(i)->checkState(0) == Qt::Checked;
    if (ticked == 0)
        return Qt::Unchecked;
    return ticked == group->childCount() ? Qt::Checked : Qt::PartiallyChecked;
}

void checkInvariants(VeldmarkSelection &dialog, QTreeWidget *tree, QPushButton *ok)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *group = tree->topLevelItem(i);
        // A group without libraries is only a heading: the user may tick it.
        if (group->childCount() > 0)
            FUZZ_CHECK(group->checkState(0) == summary(group),
                       "group state summarises its libraries");
        for (int j = 0; j < group->childCount(); ++j)
            FUZZ_CHECK(group->child(j)->childCount() == 0, "libraries have no children");
    }
    FUZZ_CHECK(ok->isEnabled() == !dialog.selectedItems().isEmpty(),
               "OK enabled exactly with a selection");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input = splitFuzzInput(data, size, 256);
    const QVariantMap available = QJsonDocument::fromJson(input.given).toVariant().toMap();

    VeldmarkSelection dialog;
    auto tree = dialog.findChild<QTreeWidget *>("treeWidget");
    QPushButton *ok =
        dialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok);

    dialog.setAvailableItems(available);
    checkInvariants(dialog, tree, ok);
    QList<QTreeWidgetItem *> items = itemsInOrder(tree);
    for (char byte : input.actions) {
        if (uchar(byte) == 0xff) {
            dialog.setAvailableItems(available);
            items = itemsInOrder(tree);
        } else if (!items.isEmpty()) {
            toggle(items.at(uchar(byte) % items.size()));
        }
        checkInvariants(dialog, tree, ok);
    }
    return 0;
}
