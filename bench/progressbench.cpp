// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

// The progress dialog: one tick.

#include "benchdata.h"
#include "benchmarks.h"
#include "benchreport.h"
#include "progressdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString progressMessage = QStringLiteral("Fetching assay results from Veldmark");

void BM_Tick(benchmark::State &state)
{
    ProgressDialog dialog;
    showAndWait(dialog);
    dialog.setMessage(progressMessage);
    for (auto _ : state)
        dialog.tick();
}

// The same window by hand: a label in a box layout above OK and Cancel, its
// text grown by one dot per step, then one pass through the event loop.
void BM_TickFloor(benchmark::State &state)
{
    QDialog dialog;
    auto layout = new QVBoxLayout(&dialog);
    auto label = new QLabel(progressMessage, &dialog);
    layout->addWidget(label);
    auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setVisible(false);
    layout->addWidget(buttons);
    dialog.resize(400, 65);
    showAndWait(dialog);
    for (auto _ : state) {
        QString text = label->text() + QLatin1Char('.');
        if (text.size() > 40)
            text = progressMessage;
        label->setText(text);
        QCoreApplication::processEvents();
    }
}

// Qt's own progress dialog; modal, so that setValue() processes events.
void BM_TickPeer(benchmark::State &state)
{
    QProgressDialog dialog(progressMessage, QStringLiteral("Cancel"), 0, 100);
    dialog.setModal(true);
    dialog.setMinimumDuration(0);
    showAndWait(dialog);
    int value = 0;
    for (auto _ : state) {
        value = (value + 1) % 100;
        dialog.setValue(value);
    }
}

} // namespace

void addProgressBenchmarks(BenchTable &table)
{
    table.benchmark("BM_Tick", BM_Tick);
    table.benchmark("BM_TickFloor", BM_TickFloor);
    table.benchmark("BM_TickPeer", BM_TickPeer);
    // Against the same window by hand, with Qt's own progress dialog shown
    // beside it, and at most 50 us whatever the floor.
    table.row([](const Results &t) {
        const double tick = t["BM_Tick"];
        Row row = ratioRow(QStringLiteral("tick"), tick, t["BM_TickFloor"], 1.2);
        row.floor +=
            QStringLiteral(" (QProgressDialog::setValue %1)").arg(timeText(t["BM_TickPeer"]));
        row.goal += QStringLiteral(", <= 50.0 us");
        row.met = row.met && tick <= 50e-6;
        return row;
    });
}
