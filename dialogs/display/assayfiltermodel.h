// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ASSAYFILTERMODEL_H
#define ASSAYFILTERMODEL_H

#include <QAbstractProxyModel>
#include <QString>
#include <QVector>

// The assay list as the search text leaves it: the source rows whose name
// (display text) contains the text, ignoring letter case, in source order.
//
// A keystroke can hide or show thousands of separate runs of rows. The list
// hears of each run as a removal or insertion of its own, last run first, as
// from Qt's sort/filter proxy; that is what moves its current row to a
// neighbour, and the selection and the details panel with it. While the runs
// are announced the rows are held in two parts, those before the run in
// hand and those after it, last first, so that announcing a run costs in
// proportion to the run rather than to the list.
//
// The source has one column, the names, and only ever gets reset, filled
// and its check states changed: the names are read as rows arrive and kept.
class AssayFilterModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    using QAbstractProxyModel::QAbstractProxyModel;

    void setSourceModel(QAbstractItemModel *model) override;

    QModelIndex index(int row, int column,
                      const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;

public Q_SLOTS:
    void setFilterFixedString(const QString &text);

private:
    void sourceAboutToBeReset();
    void sourceReset();
    void sourceRowsInserted(const QModelIndex &parent, int first, int last);
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                           const QVector<int> &roles);

    void readSource();
    bool accepts(const QString &name) const;
    QVector<bool> acceptedRows() const;
    void removeRejectedRows(const QVector<bool> &accepted);
    void insertAcceptedRows(const QVector<bool> &accepted);
    void insertGroup(int row, QVector<int> &sourceRows);
    void moveToBack(int row);
    void joinBack();
    int sourceRow(int row) const;
    int firstRowFrom(int sourceRow) const;

    QString filterText;
    // The display text of every source row.
    QVector<QString> names;
    // The source row of each row: the first rows in order, and while runs are
    // announced the remaining rows in `back`, last row first.
    QVector<int> front;
    QVector<int> back;
};

#endif // ASSAYFILTERMODEL_H
