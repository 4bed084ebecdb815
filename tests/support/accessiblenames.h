// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ACCESSIBLENAMES_H
#define ACCESSIBLENAMES_H

#include <QAccessible>
#include <QStringList>
#include <QWidget>

// The name Qt's accessibility tree gives the widget, which a screen reader
// announces.
inline QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("(none)");
}

// What a screen reader announces as the user tabs through the dialog: the
// name of each control that takes the focus.
inline QStringList accessibleNamesInTabOrder(QWidget &dialog)
{
    QStringList names;
    for (QWidget *widget = dialog.nextInFocusChain(); widget != &dialog;
         widget = widget->nextInFocusChain()) {
        if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(&dialog))
            continue;
        names.append(accessibleName(widget));
    }
    return names;
}

#endif // ACCESSIBLENAMES_H
