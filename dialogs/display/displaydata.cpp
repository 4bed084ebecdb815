// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "displaydata.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <utility>

namespace DisplayData {

namespace {

const QString selectedKey = QStringLiteral("selected");
const QString aliasKey = QStringLiteral("alias");
const QString uncertaintyKey = QStringLiteral("default_uncertainty");
const QString includeCountKey = QStringLiteral("include_count");
const QString includeValuesKey = QStringLiteral("include_values");
const QString factorKey = QStringLiteral("factor");

// The uncertainty is held as a 32-bit float. Infinity would be written by the
// JSON writer as null (read back as 0), so out-of-range values stop at the
// largest finite float of their sign, and NaN counts as no number at all.
float finiteUncertainty(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return 0.0f;
    if (value > largest)
        return float(largest);
    if (value < -largest)
        return float(-largest);
    return float(value);
}

// QVariant's own reading: true, a non-zero number, or a string other than "",
// "0" and "false" (any case) counts as set.
bool readBoolean(const QVariant &value)
{
    return value.toBool();
}

} // namespace

QVariantMap read(const QByteArray &document)
{
    return QJsonDocument::fromJson(document).toVariant().toMap();
}

bool isSelected(const QVariant &entry)
{
    const QVariantMap members = entry.toMap();
    const auto selected = members.constFind(selectedKey);
    return selected == members.cend() || readBoolean(*selected);
}

// One walk over the members finds the five: "Select all" reads every entry,
// and a lookup for each would compare far more keys.
Panel toPanel(const QVariantMap &entry)
{
    const QVariant none;
    const QVariant *alias = &none;
    const QVariant *uncertainty = &none;
    const QVariant *includeCount = &none;
    const QVariant *includeValues = &none;
    const QVariant *factor = &none;
    for (auto member = entry.cbegin(); member != entry.cend(); ++member) {
        const QString &key = member.key();
        if (key == aliasKey)
            alias = &member.value();
        else if (key == uncertaintyKey)
            uncertainty = &member.value();
        else if (key == includeCountKey)
            includeCount = &member.value();
        else if (key == includeValuesKey)
            includeValues = &member.value();
        else if (key == factorKey)
            factor = &member.value();
    }
    Panel panel;
    panel.displayName = alias->toString();
    // As QString::arg() formats "%1" with 'g', without parsing a pattern.
    panel.uncertainty = QString::number(double(finiteUncertainty(uncertainty->toDouble())), 'g', 6);
    panel.includeCount = readBoolean(*includeCount);
    panel.includeValues = readBoolean(*includeValues);
    panel.geometricMean = readBoolean(*factor);
    return panel;
}

QVariantMap fromPanel(const Panel &panel)
{
    return {
        {aliasKey, panel.displayName},
        {includeCountKey, panel.includeCount},
        {includeValuesKey, panel.includeValues},
        {uncertaintyKey, finiteUncertainty(panel.uncertainty.toDouble())},
        {factorKey, panel.geometricMean},
    };
}

// One walk over the entry's members, in key order: the five are set where
// they are, inserted where they are missing, and every other member goes.
void store(QVariant &entry, const Panel &panel)
{
    if (entry.userType() != QMetaType::QVariantMap) {
        entry = fromPanel(panel);
        return;
    }
    const std::pair<const QString &, QVariant> saved[] = {
        {aliasKey, panel.displayName},
        {uncertaintyKey, finiteUncertainty(panel.uncertainty.toDouble())},
        {factorKey, panel.geometricMean},
        {includeCountKey, panel.includeCount},
        {includeValuesKey, panel.includeValues},
    };
    auto &members = *static_cast<QVariantMap *>(entry.data());
    auto member = members.begin();
    for (const auto &[key, value] : saved) {
        while (member != members.end() && member.key() < key)
            member = members.erase(member);
        if (member != members.end() && member.key() == key)
            member.value() = value;
        else
            member = members.insert(member, key, value);
        ++member;
    }
    while (member != members.end())
        member = members.erase(member);
}

// Converts entry by entry instead of building a second variant map of the
// whole document: that copy would cost as much as the conversion itself.
QByteArray write(const QVariantMap &entries, const QVector<ListedAssay> &assays)
{
    QJsonObject document;
    for (const ListedAssay &assay : assays) {
        QJsonObject entry = QJsonObject::fromVariantMap(entries.value(assay.name).toMap());
        entry.insert(selectedKey, assay.checked);
        document.insert(assay.name, entry);
    }
    return QJsonDocument(document).toJson();
}

} // namespace DisplayData
