// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ASSAYDELEGATE_H
#define ASSAYDELEGATE_H

#include <QFont>
#include <QHash>
#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

class QStyle;

// Draws the assay list's rows as the standard delegate does, and remembers
// each name's row size. The list lays out every row whenever the search text
// changes its rows; measuring and shaping thousands of names on each
// keystroke would cost far more than filtering them. The rows differ only in
// their text, so a name's size stays valid until the font or style changes.
class AssayDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // For a new list, so that names no longer listed are not kept.
    void forgetSizes();

private:
    mutable QHash<QString, QSize> sizes;
    mutable QFont measuredFont;
    mutable QSize measuredDecorationSize;
    mutable const QStyle *measuredStyle = nullptr;
};

#endif // ASSAYDELEGATE_H
