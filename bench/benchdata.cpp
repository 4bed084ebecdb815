// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "benchdata.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

const char *const targets[] = {"hERG",  "CYP3A4", "CYP2D6",        "EGFR",   "BRAF V600E",
                               "PDE4B", "Nav1.5", "GABA-A alpha1", "5-HT2B", "muscarinic M1"};
const char *const methods[] = {"IC50", "Ki", "EC50", "% inhibition at 10 uM", "Kd"};
const char *const systems[] = {"patch clamp, CHO cells", "fluorescence polarisation",
                               "radioligand binding, rat cortex membranes",
                               "TR-FRET, recombinant human enzyme", "cell viability, HepG2, 72 h"};

// Names as a query returns them: an identifier, a target, a read-out and the
// assay system; every 97th one is far wider than the list.
QString assayName(int i)
{
    QString name = QStringLiteral("VM-%1 %2 %3 (%4)")
                       .arg(i, 6, 10, QLatin1Char('0'))
                       .arg(QLatin1String(targets[i % 10]), QLatin1String(methods[i % 5]),
                            QLatin1String(systems[(i / 5) % 5]));
    if (i % 97 == 0)
        name += QStringLiteral(", replicate series with extended protocol notes and a very long"
                               " description that no list is wide enough to show");
    return name;
}

// Names as a person might key them in: a number, a read-out and a unit.
// A digit typed into the search splits these into thousands of runs.
QString numberedAssayName(int i)
{
    return QStringLiteral("Assay %1 %2 (%3)")
        .arg(i)
        .arg(QLatin1String(methods[i % 3 == 0 ? 0 : i % 5]),
             QLatin1String(i % 4 == 0 ? "nM" : "uM"));
}

QByteArray assayDocument(int count, bool selected, QString (*name)(int) = assayName)
{
    QJsonObject document;
    for (int i = 0; i < count; ++i) {
        QJsonObject entry{
            {QStringLiteral("selected"), selected},
            {QStringLiteral("alias"),
             QStringLiteral("%1 %2").arg(QLatin1String(targets[i % 10]),
                                         QLatin1String(methods[i % 5]))},
            {QStringLiteral("default_uncertainty"), 0.05 * (i % 7)},
            {QStringLiteral("include_count"), i % 2 == 0},
            {QStringLiteral("include_values"), i % 3 == 0},
            {QStringLiteral("factor"), i % 5 != 2},
            {QStringLiteral("units"), QStringLiteral("uM")},
            {QStringLiteral("n_results"), 1 + i % 40},
        };
        document.insert(name(i), entry);
    }
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

} // namespace

const QByteArray &document10k()
{
    static const QByteArray document = assayDocument(10000, true);
    return document;
}

const QByteArray &document100k()
{
    static const QByteArray document = assayDocument(100000, true);
    return document;
}

const QByteArray &numberedDocument(int count)
{
    static QHash<int, QByteArray> documents;
    if (!documents.contains(count))
        documents.insert(count, assayDocument(count, true, numberedAssayName));
    return documents[count];
}

const QByteArray &uncheckedNumberedDocument100k()
{
    static const QByteArray document = assayDocument(100000, false, numberedAssayName);
    return document;
}

const QByteArray &uncheckedDocument10k()
{
    static const QByteArray document = assayDocument(10000, false);
    return document;
}

const QVariantMap &libraries()
{
    static const QVariantMap map = [] {
        QVariantMap groups;
        for (int g = 0; g < 20; ++g) {
            QStringList names;
            for (int i = 0; i < 500; ++i)
                names.append(QStringLiteral("Library %1-%2 (%3)")
                                 .arg(g)
                                 .arg(i, 3, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(targets[i % 10])));
            groups.insert(QStringLiteral("Group %1").arg(g, 2, 10, QLatin1Char('0')), names);
        }
        return groups;
    }();
    return map;
}

void makeBenchData()
{
    document10k();
    document100k();
    uncheckedDocument10k();
    numberedDocument(10000);
    numberedDocument(100000);
    uncheckedNumberedDocument100k();
    libraries();
}
