// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef DISPLAYWIDGETS_H
#define DISPLAYWIDGETS_H

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

// The display dialog's widgets a person uses, found by object name, as its
// tests and its fuzzer drive them.
struct DisplayWidgets
{
    explicit DisplayWidgets(QWidget &dialog)
        : search(dialog.findChild<QLineEdit *>("lineEditSearch"))
        , list(dialog.findChild<QListView *>("listView"))
        , selectAll(dialog.findChild<QPushButton *>("selectButton"))
        , clear(dialog.findChild<QPushButton *>("clearButton"))
        , assayName(dialog.findChild<QLabel *>("assayNameLabel"))
        , displayName(dialog.findChild<QLineEdit *>("lineEditDisplayName"))
        , uncertainty(dialog.findChild<QLineEdit *>("lineEditUncertainty"))
        , count(dialog.findChild<QCheckBox *>("cbDisplayCount"))
        , values(dialog.findChild<QCheckBox *>("cbDisplayValues"))
        , arithmetic(dialog.findChild<QRadioButton *>("rbArithmetic"))
        , geometric(dialog.findChild<QRadioButton *>("rbgeometric"))
        , buttons(dialog.findChild<QDialogButtonBox *>("buttonBox"))
    { }

    bool complete() const
    {
        return search && list && selectAll && clear && assayName && displayName && uncertainty
            && count && values && arithmetic && geometric && buttons;
    }

    QLineEdit *search;
    QListView *list;
    QPushButton *selectAll;
    QPushButton *clear;
    QLabel *assayName;
    QLineEdit *displayName;
    QLineEdit *uncertainty;
    QCheckBox *count;
    QCheckBox *values;
    QRadioButton *arithmetic;
    QRadioButton *geometric;
    QDialogButtonBox *buttons;
};

#endif // DISPLAYWIDGETS_H
