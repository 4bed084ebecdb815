// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ANSWERS_H
#define ANSWERS_H

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the simulated user does in the details panel of one assay.
struct AssayPanelAnswer
{
    QString assay;
    std::optional<QString> displayName;
    std::optional<QString> defaultUncertainty;
    std::optional<bool> includeCount;
    std::optional<bool> includeValues;
    std::optional<bool> geometricMean;
};

// What the simulated user does in one dialog, read from an answers file.
struct DialogAnswer
{
    enum class Button { Ok, Cancel };

    // Where the answer stands in the file, counted from 1.
    int number = 0;
    // "VeldmarkSelection", "ProgressDialog" or "VeldmarkDisplay".
    QString dialog;
    // The button that ends the dialog; Cancel for a progress dialog.
    Button press = Button::Ok;

    // VeldmarkSelection: groups or libraries to tick, and the aggregation
    // ("compound", "batch", or empty to leave it as it is).
    QStringList tick;
    QString aggregation;

    // VeldmarkDisplay, done in this order: unchecks, checks, panels.
    bool uncheckAll = false;
    QStringList uncheck;
    bool checkAll = false;
    QStringList check;
    QList<AssayPanelAnswer> panels;

    // ProgressDialog: press Cancel during this tick; 0 never presses it.
    int cancelAfterTicks = 0;

    // "answer 2 (VeldmarkDisplay)", how messages name the answer.
    QString name() const;
};

// An answers file: a JSON array with one object per dialog the script opens,
// in order. Everything is checked when it is read, so a mistyped key or
// value stops the run before the script starts.
class Answers
{
public:
    // The answers, or nothing with `error` saying what is wrong and where.
    static std::optional<QList<DialogAnswer>> fromJson(const QByteArray &json, QString *error);
    static std::optional<QList<DialogAnswer>> load(const QString &path, QString *error);

    static const QStringList &dialogClasses();

    // No answers file needs more; a larger one (or /dev/zero) is refused
    // before it is read.
    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;
};

#endif // ANSWERS_H
