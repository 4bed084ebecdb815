// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef VELDMARKDISPLAY_H
#define VELDMARKDISPLAY_H

#include <QByteArray>
#include <QDialog>
#include <QItemSelection>
#include <QString>
#include <QVariantMap>

#include <optional>

class AssayDelegate;
class AssayFilterModel;
class QResizeEvent;
class QShowEvent;
class QStandardItem;
class QStandardItemModel;

namespace DisplayData {
struct Panel;
}

namespace Ui {
class VeldmarkDisplay;
}

// The assay display options: a searchable, checkable list of the assays a
// query found and a details panel for the current assay's options, read from
// and written to the display data document.
class VeldmarkDisplay : public QDialog
{
    Q_OBJECT

public:
    explicit VeldmarkDisplay(QWidget *parent = nullptr);
    ~VeldmarkDisplay() override;

    // Fits the window into its screen's available area the first time it is shown.
    void setVisible(bool visible) override;

public Q_SLOTS:
    // Scripts call these by name and signature, in this meta-object order: leave them as they are.
    bool run();
    void setDisplayData(QByteArray display_data); // by value; scripts' errors name "display_data"
    QByteArray displayData(); // not const: the published signature

protected Q_SLOTS:
    // Slots so they keep their places in the meta-object; protected, so scripts cannot call them.
    void accept() override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void selectionChangedSlot(QItemSelection before, QItemSelection after);
    void saveDisplayData();
    void clearSelectionSlot();
    void selectAllSlot();
    void selectOnCheck(QStandardItem *item);

private:
    void loadDisplayData(const QVariantMap &entry);
    DisplayData::Panel shownPanel() const;
    DisplayData::Panel asShown(DisplayData::Panel panel) const;
    void fitAssayName();
    QVariantMap currentEntry() const;
    void focusListFromSearch();

    Ui::VeldmarkDisplay *ui;
    QVariantMap displayDataMap;
    // Empty while no assay is current; an assay may be named by the empty string.
    std::optional<QString> currentAssay;
    // While "Select all" or "Clear" changes check states, the selection, the
    // current assay and the panel move only as that slot moves them.
    bool checkingAll = false;
    QStandardItemModel *assayModel = nullptr;
    AssayFilterModel *proxyModel = nullptr;
    AssayDelegate *assayDelegate = nullptr;
    bool fittedToScreen = false;
};

#endif // VELDMARKDISPLAY_H
