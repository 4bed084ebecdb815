// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef VELDMARKDECORATORS_H
#define VELDMARKDECORATORS_H

#include <QObject>

class QWidget;
class ProgressDialog;
class VeldmarkDisplay;
class VeldmarkSelection;

// The Python constructors of the dialog classes: the bridge treats a slot
// named new_<Class> as that class's constructor, and the default argument
// gives each one an overload without a parent.
class VeldmarkDecorators : public QObject
{
    Q_OBJECT

public:
    VeldmarkDecorators();

public Q_SLOTS:
    VeldmarkDisplay *new_VeldmarkDisplay(QWidget *parent = nullptr);
    VeldmarkSelection *new_VeldmarkSelection(QWidget *parent = nullptr);
    ProgressDialog *new_ProgressDialog(QWidget *parent = nullptr);
};

#endif // VELDMARKDECORATORS_H
