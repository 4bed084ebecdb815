// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// The display dialog: reading and writing its document, checking and
// searching its assay list, and the memory a large list takes.

#include "benchdata.h"
#include "benchmarks.h"
#include "benchreport.h"
#include "probes.h"
#include "veldmarkdisplay.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QTest>

namespace {

void readDialog(benchmark::State &state, const QByteArray &document)
{
    // Every timed call replaces a full list, as a second query's would.
    VeldmarkDisplay dialog;
    dialog.setDisplayData(document);
    for (auto _ : state)
        dialog.setDisplayData(document);
}

void BM_Read10k(benchmark::State &state)
{
    readDialog(state, document10k());
}
void BM_Read100k(benchmark::State &state)
{
    readDialog(state, document100k());
}

void readFloor(benchmark::State &state, const QByteArray &document)
{
    for (auto _ : state) {
        QVariantMap map = QJsonDocument::fromJson(document).toVariant().toMap();
        benchmark::DoNotOptimize(map);
    }
}

void BM_ReadFloor10k(benchmark::State &state)
{
    readFloor(state, document10k());
}
// Not a row's floor: shows how far the JSON reading alone stays linear.
void BM_ReadFloor100k(benchmark::State &state)
{
    readFloor(state, document100k());
}

void BM_Write10k(benchmark::State &state)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(document10k());
    for (auto _ : state) {
        QByteArray bytes = dialog.displayData();
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_WriteFloor10k(benchmark::State &state)
{
    const QVariantMap map = QJsonDocument::fromJson(document10k()).toVariant().toMap();
    for (auto _ : state) {
        QByteArray bytes = QJsonDocument::fromVariant(map).toJson();
        benchmark::DoNotOptimize(bytes);
    }
}

// "Select all" clicked over 10,000 unchecked assays, until the list is repainted.
void BM_SelectAll(benchmark::State &state)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(uncheckedDocument10k());
    showAndWait(dialog);
    auto selectButton = dialog.findChild<QPushButton *>(QStringLiteral("selectButton"));
    auto clearButton = dialog.findChild<QPushButton *>(QStringLiteral("clearButton"));
    for (auto _ : state) {
        state.PauseTiming();
        clearButton->click();
        settle();
        state.ResumeTiming();
        selectButton->click();
        settle();
    }
}

// One key typed into, or erased from, the search field over 10,000 assays,
// until the filtered list is laid out and repainted.
void searchKeystroke(benchmark::State &state, bool type)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(document10k());
    showAndWait(dialog);
    auto search = dialog.findChild<QLineEdit *>(QStringLiteral("lineEditSearch"));
    search->setFocus();
    settle();
    for (auto _ : state) {
        if (!type) {
            state.PauseTiming();
            QTest::keyClick(search, '5');
            settle();
            state.ResumeTiming();
            QTest::keyClick(search, Qt::Key_Backspace);
            settle();
        } else {
            QTest::keyClick(search, '5');
            settle();
            state.PauseTiming();
            QTest::keyClick(search, Qt::Key_Backspace);
            settle();
            state.ResumeTiming();
        }
    }
}

void BM_SearchType(benchmark::State &state)
{
    searchKeystroke(state, true);
}
void BM_SearchErase(benchmark::State &state)
{
    searchKeystroke(state, false);
}

// "7" typed into the search field over numbered assays and erased again,
// each until the list is laid out and repainted.
void keystrokePair(benchmark::State &state, int count)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(numberedDocument(count));
    showAndWait(dialog);
    auto search = dialog.findChild<QLineEdit *>(QStringLiteral("lineEditSearch"));
    search->setFocus();
    settle();
    for (auto _ : state) {
        QTest::keyClick(search, splittingKey.toLatin1());
        settle();
        QTest::keyClick(search, Qt::Key_Backspace);
        settle();
    }
}

void BM_Keystroke10k(benchmark::State &state)
{
    keystrokePair(state, 10000);
}
void BM_Keystroke100k(benchmark::State &state)
{
    keystrokePair(state, 100000);
}

// The size of the assay list in a dialog as it first opens.
QSize shownListSize()
{
    static const QSize size = [] {
        VeldmarkDisplay dialog;
        showAndWait(dialog);
        return dialog.findChild<QListView *>(QStringLiteral("listView"))->size();
    }();
    return size;
}

QStringList matching(const QStringList &names, const QString &text)
{
    QStringList matches;
    for (const QString &name : names) {
        if (name.contains(text, Qt::CaseInsensitive))
            matches.append(name);
    }
    return matches;
}

// The least a filtered list can do: decide which names match and show them
// in a bare list whose rows all have one size, for the key and for none.
void keystrokeFloor(benchmark::State &state, int count)
{
    const QStringList names = QJsonDocument::fromJson(numberedDocument(count)).object().keys();
    QStringListModel model(names);
    QListView view;
    view.setUniformItemSizes(true);
    view.setModel(&model);
    view.resize(shownListSize());
    showAndWait(view);
    for (auto _ : state) {
        model.setStringList(matching(names, splittingKey));
        settle();
        model.setStringList(matching(names, QString()));
        settle();
    }
}

void BM_KeystrokeFloor10k(benchmark::State &state)
{
    keystrokeFloor(state, 10000);
}
void BM_KeystrokeFloor100k(benchmark::State &state)
{
    keystrokeFloor(state, 100000);
}

// "Select all" or "Clear" clicked over 100,000 assays none or all of which
// are checked, until the list is repainted.
void checkAll100k(benchmark::State &state, bool check)
{
    VeldmarkDisplay dialog;
    dialog.setDisplayData(uncheckedNumberedDocument100k());
    showAndWait(dialog);
    auto selectButton = dialog.findChild<QPushButton *>(QStringLiteral("selectButton"));
    auto clearButton = dialog.findChild<QPushButton *>(QStringLiteral("clearButton"));
    QPushButton *measured = check ? selectButton : clearButton;
    QPushButton *undo = check ? clearButton : selectButton;
    for (auto _ : state) {
        state.PauseTiming();
        undo->click();
        settle();
        state.ResumeTiming();
        measured->click();
        settle();
    }
}

void BM_SelectAll100k(benchmark::State &state)
{
    checkAll100k(state, true);
}
void BM_Clear100k(benchmark::State &state)
{
    checkAll100k(state, false);
}

// The least "Select all" must do: check every item of a bare checkable
// model, nothing connected, and rewrite every entry as the five members a
// saved panel holds, the uncertainty through the field's six-digit text and
// back. The entries are rewritten in place, as the dialog's are once saved.
void selectAllFloor(benchmark::State &state, const QByteArray &document)
{
    QVariantMap entries = QJsonDocument::fromJson(document).toVariant().toMap();
    QStandardItemModel model;
    QList<QStandardItem *> items;
    for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
        auto item = new QStandardItem(entry.key());
        item->setData(entry.key(), Qt::UserRole);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        items.append(item);
    }
    model.invisibleRootItem()->appendRows(items);
    const QString alias = QStringLiteral("alias");
    const QString uncertainty = QStringLiteral("default_uncertainty");
    const QString includeCount = QStringLiteral("include_count");
    const QString includeValues = QStringLiteral("include_values");
    const QString factor = QStringLiteral("factor");
    for (auto _ : state) {
        state.PauseTiming();
        for (QStandardItem *item : qAsConst(items))
            item->setCheckState(Qt::Unchecked);
        state.ResumeTiming();
        for (QStandardItem *item : qAsConst(items))
            item->setCheckState(Qt::Checked);
        for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
            const QVariantMap members = entry.value().toMap();
            const QString shown =
                QString::number(double(members.value(uncertainty).toFloat()), 'g', 6);
            *entry = QVariantMap{
                {alias, members.value(alias).toString()},
                {includeCount, members.value(includeCount).toBool()},
                {includeValues, members.value(includeValues).toBool()},
                {uncertainty, shown.toFloat()},
                {factor, members.value(factor).toBool()},
            };
        }
    }
}

void BM_SelectAllFloor10k(benchmark::State &state)
{
    selectAllFloor(state, uncheckedDocument10k());
}
void BM_SelectAllFloor100k(benchmark::State &state)
{
    selectAllFloor(state, uncheckedNumberedDocument100k());
}

} // namespace

void addDisplayBenchmarks(BenchTable &table)
{
    table.benchmark("BM_Read10k", BM_Read10k);
    table.benchmark("BM_ReadFloor10k", BM_ReadFloor10k);
    table.ratio("read 10k", "BM_Read10k", "BM_ReadFloor10k", 3.0);

    table.benchmark("BM_Read100k", BM_Read100k, 1);
    table.benchmark("BM_ReadFloor100k", BM_ReadFloor100k, 1);
    // Against ten times the 10,000 read: reading stays linear.
    table.row([](const Results &t) {
        const double read10k = t["BM_Read10k"];
        const double readFloor10k = t["BM_ReadFloor10k"];
        const double readFloor100k = t["BM_ReadFloor100k"];
        Row row =
            ratioRow(QStringLiteral("read 100k"), t["BM_Read100k"], read10k > 0 ? 10 * read10k : -1,
                     1.2, QStringLiteral("10 x %1").arg(timeText(read10k)));
        if (readFloor10k > 0 && readFloor100k > 0)
            row.floor += QStringLiteral(" (JSON alone: %1 of 10 x)")
                             .arg(readFloor100k / (10 * readFloor10k), 0, 'f', 2);
        return row;
    });

    table.benchmark("BM_Write10k", BM_Write10k);
    table.benchmark("BM_WriteFloor10k", BM_WriteFloor10k);
    table.ratio("write 10k", "BM_Write10k", "BM_WriteFloor10k", 2.0);

    table.benchmark("BM_SelectAll", BM_SelectAll, 5);
    table.benchmark("BM_SelectAllFloor10k", BM_SelectAllFloor10k, 5);
    table.ratio("select all", "BM_SelectAll", "BM_SelectAllFloor10k", 2.0);

    table.benchmark("BM_SearchType", BM_SearchType);
    table.benchmark("BM_SearchErase", BM_SearchErase);
    // The worse of typing and erasing.
    table.row([](const Results &t) {
        return absoluteRow(QStringLiteral("search"), qMax(t["BM_SearchType"], t["BM_SearchErase"]),
                           20e-3);
    });

    table.benchmark("BM_Keystroke10k", BM_Keystroke10k);
    table.benchmark("BM_KeystrokeFloor10k", BM_KeystrokeFloor10k);
    table.ratio("keys 10k", "BM_Keystroke10k", "BM_KeystrokeFloor10k", 10.0);

    table.benchmark("BM_Keystroke100k", BM_Keystroke100k, 1);
    table.benchmark("BM_KeystrokeFloor100k", BM_KeystrokeFloor100k, 10);
    table.ratio("keys 100k", "BM_Keystroke100k", "BM_KeystrokeFloor100k", 10.0);

    table.probe("PeakDialog100k", [] { return peakKiB("dialog"); });
    table.probe("PeakFloor100k", [] { return peakKiB("floor"); });
    table.row([](const Results &t) {
        return memoryRow(QStringLiteral("peak 100k"), t["PeakDialog100k"], t["PeakFloor100k"], 1.3);
    });

    table.benchmark("BM_SelectAll100k", BM_SelectAll100k, 1);
    table.benchmark("BM_SelectAllFloor100k", BM_SelectAllFloor100k, 1);
    table.ratio("select 100k", "BM_SelectAll100k", "BM_SelectAllFloor100k", 2.0);

    table.benchmark("BM_Clear100k", BM_Clear100k, 1);
    table.absolute("clear 100k", "BM_Clear100k", 1.0);
}
