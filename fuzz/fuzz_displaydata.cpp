// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "displaywidgets.h"
#include "fuzzapplication.h"
#include "veldmarkdisplay.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>

#include <cmath>

// Input: a display data document, then optionally a NUL byte and one byte per
// panel interaction. The document goes through setDisplayData, the
// interactions through the widgets, and displayData must stay sound.
namespace {

const char *const uncertaintyTexts[] = {
    "", "0", "0.1", "2.5e+06", "1e39", "-1e39", "1e400", "-2", "inf", "nan", "0,5", "abc",
};
const char *const displayNames[] = {"", "IC50", "\xc3\xa9t\xc3\xa9", "null"};
const char *const searchTexts[] = {"", "a", "A", "IC", "zzz"};

template<typename T, size_t N> T pick(const T (&table)[N], uchar byte)
{
    return table[byte % N];
}

struct Panel : DisplayWidgets
{
    using DisplayWidgets::DisplayWidgets;

    void act(uchar byte)
    {
        const uchar arg = byte >> 4;
        QAbstractItemModel *rows = list->model();
        switch (byte & 0x0f) {
        case 0:
        case 1:
            if (rows->rowCount() > 0)
                list->selectionModel()->select(rows->index(arg % rows->rowCount(), 0),
                                               QItemSelectionModel::ClearAndSelect);
            break;
        case 2:
            if (rows->rowCount() > 0) {
                const QModelIndex row = rows->index(arg % rows->rowCount(), 0);
                const bool checked = row.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                rows->setData(row, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
            }
            break;
        case 3:
            displayName->setText(pick(displayNames, arg));
            break;
        case 4:
            uncertainty->setText(pick(uncertaintyTexts, arg));
            break;
        case 5:
            count->toggle();
            break;
        case 6:
            values->toggle();
            break;
        case 7:
            (arg & 1 ? geometric : arithmetic)->setChecked(true);
            break;
        case 8:
            selectAll->click();
            break;
        case 9:
            clear->click();
            break;
        case 10:
            search->setText(pick(searchTexts, arg));
            break;
        case 11:
            QMetaObject::invokeMethod(list->window(), "accept");
            break;
        default:
            break;
        }
    }
};

// Every number of the input is still a finite number at the same place in
// the output, unless its entry was replaced from the panel.
void checkNumbersKept(const QJsonValue &in, const QJsonValue &out)
{
    if (in.isDouble()) {
        FUZZ_CHECK(out.isDouble() && std::isfinite(out.toDouble()), "number kept");
    } else if (in.isObject() && out.isObject()) {
        const QJsonObject inObject = in.toObject();
        const QJsonObject outObject = out.toObject();
        for (auto it = inObject.begin(); it != inObject.end(); ++it) {
            if (outObject.contains(it.key()))
                checkNumbersKept(it.value(), outObject.value(it.key()));
        }
    } else if (in.isArray() && out.isArray() && in.toArray().size() == out.toArray().size()) {
        for (int i = 0; i < in.toArray().size(); ++i)
            checkNumbersKept(in.toArray().at(i), out.toArray().at(i));
    }
}

bool isSavedEntry(const QJsonObject &entry)
{
    return entry.size() == 6 && entry.value("default_uncertainty").isDouble()
        && entry.value("alias").isString();
}

void checkDocument(const QByteArray &input, const QByteArray &output)
{
    const QJsonDocument written = QJsonDocument::fromJson(output);
    FUZZ_CHECK(written.isObject(), "output is a JSON object");
    const QJsonObject assays = written.object();

    const QJsonDocument read = QJsonDocument::fromJson(input);
    const QJsonObject given = read.isObject() ? read.object() : QJsonObject();
    FUZZ_CHECK(assays.keys() == given.keys(), "assay names are those of the input");

    for (auto it = assays.begin(); it != assays.end(); ++it) {
        FUZZ_CHECK(it.value().isObject(), "every entry is an object");
        const QJsonObject entry = it.value().toObject();
        FUZZ_CHECK(entry.value("selected").isBool(), "every entry carries selected");
        if (entry.contains("default_uncertainty")
            && !given.value(it.key()).toObject().contains("default_uncertainty"))
            FUZZ_CHECK(isSavedEntry(entry), "uncertainty only from the input or the panel");
        if (isSavedEntry(entry)) {
            FUZZ_CHECK(std::isfinite(entry.value("default_uncertainty").toDouble()),
                       "saved uncertainty finite");
            continue;
        }
        // "selected" is always rewritten as a boolean, and an entry that is
        // not an object becomes one.
        QJsonObject kept = given.value(it.key()).toObject();
        kept.remove("selected");
        checkNumbersKept(kept, entry);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input = splitFuzzInput(data, size, 64);
    const QByteArray &document = input.given;

    // setDisplayData starts over from any state, as a script relies on; only
    // the search text is the user's and stays, so it is reset here. Reusing
    // the dialogs keeps the run fast.
    static VeldmarkDisplay dialog;
    static VeldmarkDisplay again;
    static Panel panel(dialog);
    panel.search->clear();
    dialog.setDisplayData(document);
    for (char byte : input.actions)
        panel.act(uchar(byte));

    const QByteArray output = dialog.displayData();
    checkDocument(document, output);

    again.setDisplayData(output);
    FUZZ_CHECK(again.displayData() == output, "reading the output back writes the same bytes");
    return 0;
}
