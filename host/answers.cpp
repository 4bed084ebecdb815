// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "answers.h"

#include "hostmessages.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QObject>
#include <QSet>

#include <climits>
#include <cmath>

namespace {

const QString selectionClass = QStringLiteral("VeldmarkSelection");
const QString displayClass = QStringLiteral("VeldmarkDisplay");
const QString progressClass = QStringLiteral("ProgressDialog");

// "answer 2 (VeldmarkDisplay)", or "answer 2" while its class is not known.
QString answerName(int number, const QString &dialogClass)
{
    if (dialogClass.isEmpty())
        return QStringLiteral("answer %1").arg(number);
    return QStringLiteral("answer %1 (%2)").arg(number).arg(dialogClass);
}

QString describe(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QStringLiteral("the number %1").arg(value.toDouble());
    case QJsonValue::String:
        return quoted(value.toString());
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    default:
        return QStringLiteral("nothing");
    }
}

// Reads one answer, keeping the path to the field at hand for messages.
class AnswerReader
{
public:
    explicit AnswerReader(int number)
        : number(number)
    { }

    std::optional<DialogAnswer> read(const QJsonValue &value)
    {
        if (!value.isObject())
            return fail(QStringLiteral("expected an object with a \"dialog\" key, found %1")
                            .arg(describe(value)));
        const QJsonObject object = value.toObject();
        const QJsonValue dialog = object.value(QLatin1String("dialog"));
        if (!dialog.isString() || !Answers::dialogClasses().contains(dialog.toString())) {
            path = QStringList{QStringLiteral("dialog")};
            return fail(
                QStringLiteral("expected %1, found %2")
                    .arg(listOf(Answers::dialogClasses()),
                         dialog.isUndefined() ? QStringLiteral("nothing") : describe(dialog)));
        }
        dialogClass = dialog.toString();
        DialogAnswer answer;
        answer.number = number;
        const bool ok = dialogClass == selectionClass ? readSelection(object, &answer.choice)
            : dialogClass == displayClass             ? readDisplay(object, &answer.choice)
                                                      : readProgress(object, &answer.choice);
        if (!ok)
            return std::nullopt;
        return answer;
    }

    QString error;

private:
    using Choice = decltype(DialogAnswer::choice);

    bool readSelection(const QJsonObject &object, Choice *choice)
    {
        SelectionAnswer answer;
        if (!onlyKeys(object, {"dialog", "tick", "aggregation", "press"})
            || !readNames(object, QStringLiteral("tick"), &answer.tick)
            || !readChoice(object, QStringLiteral("aggregation"), QStringList{"compound", "batch"},
                           false, &answer.aggregation)
            || !readPress(object, &answer.press))
            return false;
        *choice = answer;
        return true;
    }

    bool readDisplay(const QJsonObject &object, Choice *choice)
    {
        DisplayAnswer answer;
        if (!onlyKeys(object, {"dialog", "uncheck", "check", "assays", "press"})
            || !readNamesOrAll(object, QStringLiteral("uncheck"), &answer.uncheck,
                               &answer.uncheckAll)
            || !readNamesOrAll(object, QStringLiteral("check"), &answer.check, &answer.checkAll))
            return false;
        // A set: files list tens of thousands of names.
        const QSet<QString> unchecked(answer.uncheck.cbegin(), answer.uncheck.cend());
        for (const QString &name : qAsConst(answer.check)) {
            if (unchecked.contains(name)) {
                path = QStringList{QStringLiteral("check")};
                return failed(QStringLiteral("%1 is also in \"uncheck\"").arg(quoted(name)));
            }
        }
        if (!readPanels(object, &answer.panels) || !readPress(object, &answer.press))
            return false;
        *choice = answer;
        return true;
    }

    bool readProgress(const QJsonObject &object, Choice *choice)
    {
        if (!onlyKeys(object, {"dialog", "cancel_after_ticks"}))
            return false;
        ProgressAnswer answer;
        const QJsonValue ticks = object.value(QLatin1String("cancel_after_ticks"));
        if (!ticks.isUndefined()) {
            path = QStringList{QStringLiteral("cancel_after_ticks")};
            const double count = ticks.toDouble(-1);
            if (!ticks.isDouble() || count < 1 || count > INT_MAX || std::floor(count) != count)
                return failed(
                    QStringLiteral("expected a whole number of ticks, 1 or more, found %1")
                        .arg(describe(ticks)));
            answer.cancelAfterTicks = int(count);
        }
        *choice = answer;
        return true;
    }

    bool readPanels(const QJsonObject &object, QList<AssayPanelAnswer> *panels)
    {
        const QJsonValue assays = object.value(QLatin1String("assays"));
        if (assays.isUndefined())
            return true;
        path = QStringList{QStringLiteral("assays")};
        if (!assays.isObject())
            return failed(
                QStringLiteral(
                    "expected an object from assay name to what to do in its details, found %1")
                    .arg(describe(assays)));
        const QJsonObject details = assays.toObject();
        for (auto it = details.begin(); it != details.end(); ++it) {
            path = QStringList{QStringLiteral("assays"), it.key()};
            if (!it.value().isObject())
                return failed(
                    QStringLiteral("expected an object, found %1").arg(describe(it.value())));
            AssayPanelAnswer panel;
            panel.assay = it.key();
            if (!readPanel(it.value().toObject(), &panel))
                return false;
            panels->append(panel);
        }
        return true;
    }

    bool readPanel(const QJsonObject &object, AssayPanelAnswer *panel)
    {
        const QStringList parent = path;
        if (!onlyKeys(
                object,
                {"display_name", "default_uncertainty", "include_count", "include_values", "mean"},
                QStringLiteral("the details of an assay take")))
            return false;
        for (const QString &key : object.keys()) {
            path = parent + QStringList(key);
            const QJsonValue value = object.value(key);
            if (key == QLatin1String("display_name")) {
                if (!value.isString())
                    return failed(
                        QStringLiteral("expected a string, found %1").arg(describe(value)));
                panel->displayName = value.toString();
            } else if (key == QLatin1String("default_uncertainty")) {
                if (value.isDouble())
                    panel->defaultUncertainty =
                        QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
                else if (value.isString())
                    panel->defaultUncertainty = value.toString();
                else
                    return failed(
                        QStringLiteral(
                            "expected the text to type, as a string or a number, found %1")
                            .arg(describe(value)));
            } else if (key == QLatin1String("mean")) {
                if (value != QJsonValue(QLatin1String("arithmetic"))
                    && value != QJsonValue(QLatin1String("geometric")))
                    return failed(
                        QStringLiteral("expected \"arithmetic\" or \"geometric\", found %1")
                            .arg(describe(value)));
                panel->geometricMean = value.toString() == QLatin1String("geometric");
            } else {
                if (!value.isBool())
                    return failed(
                        QStringLiteral("expected true or false, found %1").arg(describe(value)));
                (key == QLatin1String("include_count") ? panel->includeCount
                                                       : panel->includeValues) = value.toBool();
            }
        }
        return true;
    }

    bool readPress(const QJsonObject &object, DialogButton *press)
    {
        QString button;
        if (!readChoice(object, QStringLiteral("press"), QStringList{"OK", "Cancel"}, true,
                        &button))
            return false;
        *press = button == QLatin1String("OK") ? DialogButton::Ok : DialogButton::Cancel;
        return true;
    }

    bool readChoice(const QJsonObject &object, const QString &key, const QStringList &choices,
                    bool required, QString *result)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined() && !required)
            return true;
        path = QStringList{key};
        if (!value.isString() || !choices.contains(value.toString()))
            return failed(
                QStringLiteral("expected %1, found %2")
                    .arg(listOf(choices),
                         value.isUndefined() ? QStringLiteral("nothing") : describe(value)));
        *result = value.toString();
        return true;
    }

    bool readNames(const QJsonObject &object, const QString &key, QStringList *names)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined())
            return true;
        path = QStringList{key};
        if (!value.isArray())
            return failed(
                QStringLiteral("expected an array of names, found %1").arg(describe(value)));
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i) {
            if (!array.at(i).isString()) {
                path = QStringList{key, QString::number(i + 1)};
                return failed(
                    QStringLiteral("expected a name, found %1").arg(describe(array.at(i))));
            }
            names->append(array.at(i).toString());
        }
        return true;
    }

    bool readNamesOrAll(const QJsonObject &object, const QString &key, QStringList *names,
                        bool *all)
    {
        const QJsonValue value = object.value(key);
        if (value == QJsonValue(QLatin1String("all"))) {
            *all = true;
            return true;
        }
        if (!value.isUndefined() && !value.isArray()) {
            path = QStringList{key};
            return failed(QStringLiteral("expected \"all\" or an array of assay names, found %1")
                              .arg(describe(value)));
        }
        return readNames(object, key, names);
    }

    bool onlyKeys(const QJsonObject &object, std::initializer_list<const char *> known,
                  const QString &what = QString())
    {
        QStringList allowed;
        for (const char *key : known)
            allowed.append(QLatin1String(key));
        for (const QString &key : object.keys()) {
            if (!allowed.contains(key)) {
                path.append(key);
                return failed(
                    QStringLiteral("unknown key; %1 %2")
                        .arg(what.isEmpty()
                                 ? QStringLiteral("an answer for %1 takes").arg(dialogClass)
                                 : what,
                             listOf(allowed)));
            }
        }
        return true;
    }

    static QString listOf(const QStringList &choices)
    {
        QStringList shown;
        for (const QString &choice : choices)
            shown.append(quoted(choice));
        if (shown.size() < 2)
            return shown.join(QString());
        const QString last = shown.takeLast();
        return shown.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
    }

    bool failed(const QString &message)
    {
        QStringList fields;
        for (const QString &field : qAsConst(path))
            fields.append(quoted(field));
        error = answerName(number, dialogClass)
            + (fields.isEmpty() ? QString()
                                : QStringLiteral(", field ") + fields.join(QStringLiteral(" / ")))
            + QStringLiteral(": ") + message;
        return false;
    }

    std::optional<DialogAnswer> fail(const QString &message)
    {
        failed(message);
        return std::nullopt;
    }

    int number = 0;
    QString dialogClass;
    QStringList path;
};

QString lineAndColumn(const QByteArray &json, int offset)
{
    // The parser reports the offset just past the character it stopped at.
    const QByteArray before = json.left(qMax(0, offset - 1));
    const int lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, column %2")
        .arg(before.count('\n') + 1)
        .arg(QString::fromUtf8(before.mid(lineStart)).size() + 1);
}

// Qt's message, with what was expected where Qt names the wrong thing: an
// object "unterminated" by a missing comma or an unquoted key, an "object"
// missing after a comma in an array.
QString syntaxError(const QByteArray &json, const QJsonParseError &error)
{
    QString message = error.errorString();
    if (error.error == QJsonParseError::UnterminatedObject) {
        int previous = error.offset - 2;
        while (previous >= 0 && QByteArray(" \t\r\n").contains(json.at(previous)))
            --previous;
        const bool keyExpected =
            previous < 0 || json.at(previous) == '{' || json.at(previous) == ',';
        message += keyExpected ? QStringLiteral(": expected a key in double quotes")
                               : QStringLiteral(": expected \",\" or \"}\"");
    } else if (error.error == QJsonParseError::MissingObject) {
        message += QStringLiteral(": expected another value after \",\", or no \",\" before the "
                                  "closing bracket");
    }
    return message;
}

// QJsonDocument keeps the last of two equal keys in an object without a
// word; this finds the first key given twice in a document that parsed, as
// the path to it (keys, and array positions counted from 1). Keys compare
// decoded, so "a\u0073says" repeats "assays".
class RepeatedKeyScan
{
public:
    explicit RepeatedKeyScan(const QByteArray &json)
        : json(json)
    { }

    // Empty when every object's keys differ.
    QStringList find()
    {
        while (at < json.size()) {
            const char c = json.at(at++);
            switch (c) {
            case '{':
            case '[':
                open(c == '{');
                break;
            case '}':
            case ']':
                frames.pop_back();
                break;
            case ',':
                if (frames.back().object)
                    frames.back().keyNext = true;
                else
                    ++frames.back().index;
                break;
            case '"': {
                const QString text = readString();
                Frame &frame = frames.back();
                if (frame.object && frame.keyNext) {
                    frame.keyNext = false;
                    frame.key = text;
                    if (frame.keys.contains(text))
                        return path();
                    frame.keys.insert(text);
                }
                break;
            }
            default:
                break;
            }
        }
        return {};
    }

private:
    struct Frame
    {
        bool object = false;
        bool keyNext = false;
        QString key;
        int index = 1;
        QSet<QString> keys;
    };

    void open(bool object)
    {
        Frame frame;
        frame.object = object;
        frame.keyNext = object;
        frames.push_back(frame);
    }

    QStringList path() const
    {
        QStringList fields;
        for (const Frame &frame : frames)
            fields.append(frame.object ? frame.key : QString::number(frame.index));
        return fields;
    }

    // From just past the opening quote to just past the closing one; the
    // document parsed, so every escape is complete.
    QString readString()
    {
        QString text;
        int runStart = at;
        auto flushRun = [&] {
            text += QString::fromUtf8(json.constData() + runStart, at - runStart);
        };
        while (json.at(at) != '"') {
            if (json.at(at) != '\\') {
                ++at;
                continue;
            }
            flushRun();
            const char escaped = json.at(at + 1);
            at += 2;
            if (escaped == 'u') {
                // Surrogate pairs come as two escapes, one UTF-16 unit each.
                text += QChar(ushort(json.mid(at, 4).toUShort(nullptr, 16)));
                at += 4;
            } else if (const int named = QByteArray("bfnrt").indexOf(escaped); named >= 0) {
                text += QLatin1Char("\b\f\n\r\t"[named]);
            } else {
                text += QLatin1Char(escaped); // '"', '\\' or '/'
            }
            runStart = at;
        }
        flushRun();
        ++at;
        return text;
    }

    const QByteArray &json;
    int at = 0;
    QList<Frame> frames;
};

QString repeatedKey(const QJsonArray &answers, const QStringList &path)
{
    const int number = path.constFirst().toInt();
    const QJsonValue dialog = answers.at(number - 1).toObject().value(QLatin1String("dialog"));
    const QString dialogClass =
        Answers::dialogClasses().contains(dialog.toString()) ? dialog.toString() : QString();
    QStringList fields;
    for (const QString &field : path.mid(1))
        fields.append(quoted(field));
    return QStringLiteral("%1, field %2: given twice; each key goes once in an object")
        .arg(answerName(number, dialogClass), fields.join(QStringLiteral(" / ")));
}

} // namespace

QString DialogAnswer::dialog() const
{
    return Answers::dialogClasses().at(int(choice.index()));
}

DialogButton DialogAnswer::press() const
{
    return std::visit([](const auto &answer) { return answer.press; }, choice);
}

QString DialogAnswer::name() const
{
    return answerName(number, dialog());
}

const QStringList &Answers::dialogClasses()
{
    static const QStringList classes{selectionClass, progressClass, displayClass};
    return classes;
}

QString Answers::dialogClassOf(const QObject *object)
{
    for (const QString &name : dialogClasses()) {
        if (object->inherits(qPrintable(name)))
            return name;
    }
    return QString();
}

std::optional<QList<DialogAnswer>> Answers::fromJson(const QByteArray &json, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("%1: %2").arg(lineAndColumn(json, parseError.offset),
                                              syntaxError(json, parseError));
        return std::nullopt;
    }
    if (!document.isArray()) {
        *error = QStringLiteral(
            "expected an array of answers, one for each dialog the script opens, found an object");
        return std::nullopt;
    }
    const QJsonArray array = document.array();
    if (const QStringList repeated = RepeatedKeyScan(json).find(); !repeated.isEmpty()) {
        *error = repeatedKey(array, repeated);
        return std::nullopt;
    }
    QList<DialogAnswer> answers;
    for (int i = 0; i < array.size(); ++i) {
        AnswerReader reader(i + 1);
        const std::optional<DialogAnswer> answer = reader.read(array.at(i));
        if (!answer) {
            *error = reader.error;
            return std::nullopt;
        }
        answers.append(*answer);
    }
    return answers;
}

std::optional<QList<DialogAnswer>> Answers::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // Read one byte past the limit to tell a file at the limit from a larger one.
    const QByteArray json = file.read(maxFileSize + 1);
    if (json.size() > maxFileSize) {
        *error = QStringLiteral("%1: larger than %2 MiB, which no answers file needs")
                     .arg(path)
                     .arg(maxFileSize / (1024 * 1024));
        return std::nullopt;
    }
    std::optional<QList<DialogAnswer>> answers = fromJson(json, error);
    if (!answers)
        *error = QStringLiteral("%1: %2").arg(path, *error);
    return answers;
}
