// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// The selection dialog: filling its tree and ticking a group.

#include "benchdata.h"
#include "benchmarks.h"
#include "benchreport.h"
#include "veldmarkselection.h"

#include <QTreeWidget>

#include <memory>

namespace {

void BM_Fill(benchmark::State &state)
{
    const QVariantMap &map = libraries();
    for (auto _ : state) {
        state.PauseTiming();
        auto dialog = std::make_unique<VeldmarkSelection>();
        state.ResumeTiming();
        dialog->setAvailableItems(map);
        state.PauseTiming();
        dialog.reset();
        state.ResumeTiming();
    }
}

// The same tree, item for item, with nothing listening to it.
void BM_FillFloor(benchmark::State &state)
{
    const QString marker = QStringLiteral("Library");
    const QVariantMap &map = libraries();
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = std::make_unique<QTreeWidget>();
        tree->setHeaderHidden(true);
        state.ResumeTiming();
        for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
            auto group = new QTreeWidgetItem(tree.get(), QStringList(entry.key()));
            const QVariantList names = entry.value().toList();
            for (const QVariant &name : names) {
                auto item = new QTreeWidgetItem(group, QStringList(name.toString()));
                item->setCheckState(0, Qt::Unchecked);
                item->setData(0, Qt::UserRole, marker);
            }
            tree->expandItem(group);
            group->setCheckState(0, Qt::Unchecked);
        }
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
}

// Ticking and unticking a group of 500 in turn, as its box's click does,
// until the tree is repainted.
void BM_TickGroup(benchmark::State &state)
{
    VeldmarkSelection dialog;
    dialog.setAvailableItems(libraries());
    showAndWait(dialog);
    QTreeWidgetItem *group =
        dialog.findChild<QTreeWidget *>(QStringLiteral("treeWidget"))->topLevelItem(0);
    bool tick = true;
    for (auto _ : state) {
        group->setCheckState(0, tick ? Qt::Checked : Qt::Unchecked);
        settle();
        tick = !tick;
    }
    if (dialog.selectedItems().size() > 500)
        state.SkipWithError("group ticks reached other groups");
}

} // namespace

void addSelectionBenchmarks(BenchTable &table)
{
    table.benchmark("BM_Fill", BM_Fill);
    table.benchmark("BM_FillFloor", BM_FillFloor);
    table.ratio("fill", "BM_Fill", "BM_FillFloor", 5.0);

    table.benchmark("BM_TickGroup", BM_TickGroup);
    table.absolute("tick group", "BM_TickGroup", 20e-3);
}
