// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "plausibleanswers.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

std::optional<DialogAnswer> PlausibleAnswers::answer(const QDialog *dialog) const
{
    const QString dialogClass = Answers::dialogClassOf(dialog);
    DialogAnswer answer;
    if (dialogClass == QLatin1String("VeldmarkSelection")) {
        answer.choice = selection(dialog);
    } else if (dialogClass == QLatin1String("VeldmarkDisplay")) {
        answer.choice = display(dialog);
    } else if (dialogClass == QLatin1String("ProgressDialog")) {
        ProgressAnswer progress;
        progress.cancelOnceMessageShows = press(dialogClass) == DialogButton::Cancel;
        answer.choice = progress;
    } else {
        return std::nullopt;
    }
    return answer;
}

SelectionAnswer PlausibleAnswers::selection(const QDialog *dialog) const
{
    SelectionAnswer answer;
    if (const auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("treeWidget"))) {
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *group = tree->topLevelItem(i);
            if (group->childCount() > 0) {
                answer.tick.append(group->text(0));
                break;
            }
        }
    }
    if (aggregation == Aggregation::Batch
        && dialog->findChild<QRadioButton *>(QStringLiteral("rbBatch")))
        answer.aggregation = QStringLiteral("batch");
    answer.press = press(QStringLiteral("VeldmarkSelection"));
    return answer;
}

DisplayAnswer PlausibleAnswers::display(const QDialog *dialog) const
{
    AssayPanelAnswer panel;
    if (dialog->findChild<QLineEdit *>(QStringLiteral("lineEditDisplayName")))
        panel.displayNameEnding = QStringLiteral(" (edited)");
    if (dialog->findChild<QCheckBox *>(QStringLiteral("cbDisplayCount")))
        panel.includeCount = true;
    if (dialog->findChild<QCheckBox *>(QStringLiteral("cbDisplayValues")))
        panel.includeValues = true;
    if (dialog->findChild<QRadioButton *>(QStringLiteral("rbgeometric")))
        panel.geometricMean = true;
    DisplayAnswer answer;
    answer.panels.append(panel);
    answer.press = press(QStringLiteral("VeldmarkDisplay"));
    return answer;
}

DialogButton PlausibleAnswers::press(const QString &dialogClass) const
{
    return dialogClass == cancelIn ? DialogButton::Cancel : DialogButton::Ok;
}
