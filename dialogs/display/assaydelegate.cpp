// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "assaydelegate.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>

QSize AssayDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    if (option.font != measuredFont || option.decorationSize != measuredDecorationSize
        || style != measuredStyle) {
        sizes.clear();
        measuredFont = option.font;
        measuredDecorationSize = option.decorationSize;
        measuredStyle = style;
    }

    const QString name = index.data(Qt::DisplayRole).toString();
    auto known = sizes.constFind(name);
    if (known == sizes.cend())
        known = sizes.insert(name, QStyledItemDelegate::sizeHint(option, index));
    return *known;
}

void AssayDelegate::forgetSizes()
{
    sizes.clear();
}
