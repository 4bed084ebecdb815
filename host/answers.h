// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef ANSWERS_H
#define ANSWERS_H

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

class QObject;

// The button that ends a dialog.
enum class DialogButton { Ok, Cancel };

// What the simulated user does in the details panel of one assay.
struct AssayPanelAnswer
{
    // The assay to select first; none for the one the panel shows.
    std::optional<QString> assay;
    std::optional<QString> displayName;
    // Typed after the display name the panel shows, not over it.
    std::optional<QString> displayNameEnding;
    std::optional<QString> defaultUncertainty;
    std::optional<bool> includeCount;
    std::optional<bool> includeValues;
    std::optional<bool> geometricMean;
};

// VeldmarkSelection: groups or libraries to tick, and the aggregation
// ("compound", "batch", or empty to leave it as it is).
struct SelectionAnswer
{
    QStringList tick;
    QString aggregation;
    DialogButton press = DialogButton::Ok;
};

// ProgressDialog: only Cancel ends it, pressed during a tick.
struct ProgressAnswer
{
    // Press Cancel during this tick; 0 never presses it.
    int cancelAfterTicks = 0;
    // Press Cancel as soon as the script's message shows.
    bool cancelOnceMessageShows = false;
    static constexpr DialogButton press = DialogButton::Cancel;
};

// VeldmarkDisplay, done in this order: unchecks, checks, panels.
struct DisplayAnswer
{
    bool uncheckAll = false;
    QStringList uncheck;
    bool checkAll = false;
    QStringList check;
    QList<AssayPanelAnswer> panels;
    DialogButton press = DialogButton::Ok;
};

// What the simulated user does in one dialog, read from an answers file or
// made up as the dialog shows.
struct DialogAnswer
{
    // Where the answer stands in the file, counted from 1.
    int number = 0;
    // In the order of Answers::dialogClasses().
    std::variant<SelectionAnswer, ProgressAnswer, DisplayAnswer> choice;

    // "VeldmarkSelection", "ProgressDialog" or "VeldmarkDisplay".
    QString dialog() const;
    DialogButton press() const;
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
    // Which of them `object` is, or an empty string.
    static QString dialogClassOf(const QObject *object);

    // No answers file needs more; a larger one (or /dev/zero) is refused
    // before it is read.
    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;
};

#endif // ANSWERS_H
