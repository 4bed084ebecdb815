// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PLAUSIBLEANSWERS_H
#define PLAUSIBLEANSWERS_H

#include "answers.h"

#include <QString>

#include <optional>

class QDialog;

// The answers the simulated user makes up when no answers file says what to
// do, one for each dialog as it shows. VeldmarkSelection: tick the first
// library group that has libraries (and Batch when asked), then OK.
// ProgressDialog: let it run. VeldmarkDisplay: type " (edited)" after the
// display name of the assay the panel shows, tick both column boxes, choose
// the geometric mean, then OK. Asked to, the user presses Cancel instead in
// the dialogs of one class; a progress dialog as soon as its message shows.
// An answer names only widgets the dialog has.
class PlausibleAnswers
{
public:
    enum class Aggregation { Compound, Batch };

    // `cancelIn`: the class name of the dialogs to cancel, e.g.
    // "ProgressDialog", or none.
    explicit PlausibleAnswers(Aggregation aggregation = Aggregation::Compound,
                              const QString &cancelIn = QString())
        : aggregation(aggregation)
        , cancelIn(cancelIn)
    { }

    // Nothing for a dialog of another class.
    std::optional<DialogAnswer> answer(const QDialog *dialog) const;

private:
    SelectionAnswer selection(const QDialog *dialog) const;
    DisplayAnswer display(const QDialog *dialog) const;
    DialogButton press(const QString &dialogClass) const;

    Aggregation aggregation = Aggregation::Compound;
    QString cancelIn;
};

#endif // PLAUSIBLEANSWERS_H
