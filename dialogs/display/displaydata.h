// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef DISPLAYDATA_H
#define DISPLAYDATA_H

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

// The display data document: a JSON object from assay name to assay entry,
// read into a QVariantMap while the display dialog is open and written back
// with each assay's check state as "selected".
namespace DisplayData {

// The values of the details panel for one assay, as its widgets hold them.
struct Panel
{
    QString displayName;
    QString uncertainty;
    bool includeCount = false;
    bool includeValues = false;
    bool geometricMean = false;
};

// One row of the assay list, in list order.
struct ListedAssay
{
    QString name;
    bool checked = true;
};

// Anything but a JSON object reads as a document without assays.
QVariantMap read(const QByteArray &document);

// An entry without "selected", or one that is not an object, is checked.
bool isSelected(const QVariant &entry);

Panel toPanel(const QVariantMap &entry);

// The five members the panel edits; every other member of the old entry goes.
QVariantMap fromPanel(const Panel &panel);

// Makes `entry` fromPanel(panel). An entry that is an object keeps its map,
// dropping its other members and setting the five in place: saving many
// entries then allocates and frees a fraction of what new maps would.
void store(QVariant &entry, const Panel &panel);

// Indented JSON, members sorted; each listed assay's stored entry (empty when
// missing or not an object) with "selected" set from its check state.
QByteArray write(const QVariantMap &entries, const QVector<ListedAssay> &assays);

} // namespace DisplayData

#endif // DISPLAYDATA_H
