// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "assayfiltermodel.h"

#include <algorithm>

void AssayFilterModel::setSourceModel(QAbstractItemModel *model)
{
    beginResetModel();
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
                &AssayFilterModel::sourceAboutToBeReset);
        connect(model, &QAbstractItemModel::modelReset, this, &AssayFilterModel::sourceReset);
        connect(model, &QAbstractItemModel::rowsInserted, this,
                &AssayFilterModel::sourceRowsInserted);
        connect(model, &QAbstractItemModel::dataChanged, this,
                &AssayFilterModel::sourceDataChanged);
    }
    readSource();
    endResetModel();
}

// The list asks for every row's index and name at each layout: both are
// answered here, without going through the source.
QModelIndex AssayFilterModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column != 0)
        return QModelIndex();
    return createIndex(row, column);
}

QVariant AssayFilterModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole && index.isValid())
        return names.at(sourceRow(index.row()));
    return QAbstractProxyModel::data(index, role);
}

QModelIndex AssayFilterModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int AssayFilterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : front.size() + back.size();
}

int AssayFilterModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

bool AssayFilterModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0 && columnCount(parent) > 0;
}

QModelIndex AssayFilterModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this || !sourceModel())
        return QModelIndex();
    return sourceModel()->index(sourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex AssayFilterModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.parent().isValid())
        return QModelIndex();
    const int row = firstRowFrom(sourceIndex.row());
    if (row == rowCount() || sourceRow(row) != sourceIndex.row())
        return QModelIndex();
    return index(row, sourceIndex.column());
}

// The rows that go are announced before the rows that come, each kind last
// run first, as Qt's sort/filter proxy does.
void AssayFilterModel::setFilterFixedString(const QString &text)
{
    filterText = text;
    const QVector<bool> accepted = acceptedRows();
    removeRejectedRows(accepted);
    insertAcceptedRows(accepted);
}

void AssayFilterModel::sourceAboutToBeReset()
{
    beginResetModel();
}

void AssayFilterModel::sourceReset()
{
    readSource();
    endResetModel();
}

// Rows that arrive between two listed rows are announced as one insertion.
void AssayFilterModel::sourceRowsInserted(const QModelIndex &parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    QVector<QString> arrived;
    arrived.reserve(count);
    QVector<int> shown;
    for (int source = first; source <= last; ++source) {
        arrived.append(sourceModel()->index(source, 0).data().toString());
        if (accepts(arrived.last()))
            shown.append(source);
    }
    names.insert(first, count, QString());
    std::copy(arrived.cbegin(), arrived.cend(), names.begin() + first);

    const int row = firstRowFrom(first);
    for (auto later = front.begin() + row; later != front.end(); ++later)
        *later += count;
    if (shown.isEmpty())
        return;
    beginInsertRows(QModelIndex(), row, row + shown.size() - 1);
    front.insert(row, shown.size(), 0);
    std::copy(shown.cbegin(), shown.cend(), front.begin() + row);
    endInsertRows();
}

// The listed rows between the changed source rows are the changed rows.
void AssayFilterModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                         const QVector<int> &roles)
{
    // Nobody would hear of the change.
    if (topLeft.parent().isValid() || signalsBlocked())
        return;
    const int first = firstRowFrom(topLeft.row());
    const int last = firstRowFrom(bottomRight.row() + 1) - 1;
    if (first <= last)
        Q_EMIT dataChanged(index(first, topLeft.column()), index(last, bottomRight.column()),
                           roles);
}

void AssayFilterModel::readSource()
{
    names.clear();
    front.clear();
    const int count = sourceModel() ? sourceModel()->rowCount() : 0;
    names.reserve(count);
    for (int source = 0; source < count; ++source) {
        names.append(sourceModel()->index(source, 0).data().toString());
        if (accepts(names.last()))
            front.append(source);
    }
}

// Compares case-folded text: a capital I with a dot above (as in İstanbul)
// finds itself, which a search through lower-case forms misses.
bool AssayFilterModel::accepts(const QString &name) const
{
    return filterText.isEmpty() || name.contains(filterText, Qt::CaseInsensitive);
}

QVector<bool> AssayFilterModel::acceptedRows() const
{
    QVector<bool> accepted(names.size());
    for (int source = 0; source < names.size(); ++source)
        accepted[source] = accepts(names.at(source));
    return accepted;
}

void AssayFilterModel::removeRejectedRows(const QVector<bool> &accepted)
{
    int row = front.size();
    while (row > 0) {
        while (row > 0 && accepted.at(front.at(row - 1)))
            --row;
        if (row == 0)
            break;
        const int last = row - 1;
        while (row > 0 && !accepted.at(front.at(row - 1)))
            --row;
        moveToBack(last + 1);
        beginRemoveRows(QModelIndex(), row, last);
        front.resize(row);
        endRemoveRows();
    }
    joinBack();
}

// Walks the source rows from the last, collecting the newly accepted ones
// until a listed row closes their group.
void AssayFilterModel::insertAcceptedRows(const QVector<bool> &accepted)
{
    QVector<int> group;
    int row = front.size();
    for (int source = names.size() - 1; source >= 0; --source) {
        if (row > 0 && front.at(row - 1) == source) {
            insertGroup(row, group);
            --row;
        } else if (accepted.at(source)) {
            group.append(source);
        }
    }
    insertGroup(0, group);
    joinBack();
}

// `sourceRows` is last first, as `back` holds rows.
void AssayFilterModel::insertGroup(int row, QVector<int> &sourceRows)
{
    if (sourceRows.isEmpty())
        return;
    moveToBack(row);
    beginInsertRows(QModelIndex(), row, row + sourceRows.size() - 1);
    back.append(sourceRows);
    endInsertRows();
    sourceRows.clear();
}

void AssayFilterModel::moveToBack(int row)
{
    while (front.size() > row)
        back.append(front.takeLast());
}

void AssayFilterModel::joinBack()
{
    while (!back.isEmpty())
        front.append(back.takeLast());
}

int AssayFilterModel::sourceRow(int row) const
{
    return row < front.size() ? front.at(row) : back.at(back.size() - 1 - (row - front.size()));
}

// The first row whose source row is `sourceRow` or later; the row count when
// there is none.
int AssayFilterModel::firstRowFrom(int sourceRow) const
{
    const auto inFront = std::lower_bound(front.cbegin(), front.cend(), sourceRow);
    if (inFront != front.cend())
        return int(inFront - front.cbegin());
    const auto laterInBack = std::partition_point(
        back.cbegin(), back.cend(), [sourceRow](int source) { return source >= sourceRow; });
    return front.size() + back.size() - int(laterInBack - back.cbegin());
}
