// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "answeringuser.h"

#include "dialogguard.h"
#include "hostmessages.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// A few of the names a dialog has, for a message about one it lacks.
QString someOf(const QStringList &names)
{
    const int shown = 8;
    QStringList list;
    for (const QString &name : names.mid(0, shown))
        list.append(quoted(name));
    if (names.size() > shown)
        list.append(QStringLiteral("and %1 more").arg(names.size() - shown));
    return list.isEmpty() ? QStringLiteral("nothing") : list.join(QStringLiteral(", "));
}

// "1 dialog", "3 dialogs".
QString counted(int count, const char *noun)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(noun), count == 1 ? "" : "s");
}

QString className(const QObject *object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

void sendKey(QWidget *widget, int key, Qt::KeyboardModifiers modifiers,
             const QString &text = QString())
{
    QKeyEvent pressEvent(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent releaseEvent(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &pressEvent);
    QCoreApplication::sendEvent(widget, &releaseEvent);
}

void typeText(QLineEdit *edit, const QString &text)
{
    for (const QChar c : text)
        sendKey(edit, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

} // namespace

AnsweringUser::AnsweringUser(const QList<DialogAnswer> &answers, const QString &pictureFolder,
                             QObject *parent)
    : AnsweringUser(pictureFolder, parent)
{
    this->answers = answers;
    // A modal dialog of any other class would wait for ever, and so would a
    // progress dialog run with exec(): its answer presses Cancel during a
    // tick, and nothing ticks a dialog that waits.
    qApp->installEventFilter(&otherDialogs);
    connect(&otherDialogs, &ModalWaitWatcher::waiting, this, &AnsweringUser::refuseOtherDialog);
}

AnsweringUser::AnsweringUser(const PlausibleAnswers &plausible, const QString &pictureFolder,
                             QObject *parent)
    : AnsweringUser(pictureFolder, parent)
{
    this->plausible = plausible;
}

AnsweringUser::AnsweringUser(const QString &pictureFolder, QObject *parent)
    : QObject(parent)
    , pictureFiles(pictureFolder)
    , otherDialogs({QStringLiteral("VeldmarkSelection"), QStringLiteral("VeldmarkDisplay")})
{
    // Every tick() processes events once, and so wakes the event dispatcher
    // once, whether or not its text changed.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this,
            &AnsweringUser::countTick);
}

bool AnsweringUser::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // A show from the window system (a restored window) opens nothing.
        if (auto *dialog = qobject_cast<QDialog *>(watched);
            dialog && dialog->isWindow() && !event->spontaneous()) {
            if (plausible)
                openedPlausibly(dialog);
            else
                opened(dialog);
        }
        break;
    case QEvent::LayoutRequest:
    case QEvent::UpdateRequest:
        // A ticking progress dialog relayouts and repaints at every tick.
        // By index: a press may open another dialog, which is watched too.
        for (int i = 0; i < progressDialogs.size(); ++i) {
            WatchedProgress &watchedProgress = progressDialogs[i];
            if (watchedProgress.guard.guards(watched) && watchedProgress.guard.dialog()
                && pictureProgressOnceMessageShows(watchedProgress))
                break;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void AnsweringUser::opened(QDialog *dialog)
{
    const QString answerable = Answers::dialogClassOf(dialog);
    if (answerable.isEmpty())
        return;
    ++openedDialogs;
    if (stopped) {
        fail(dialog,
             QStringLiteral("dialog %1 (%2) opened after the script was stopped")
                 .arg(openedDialogs)
                 .arg(answerable));
        return;
    }
    if (nextAnswer >= answers.size()) {
        fail(dialog,
             QStringLiteral("dialog %1 (%2) opened, but there is no answer left for it")
                 .arg(openedDialogs)
                 .arg(answerable));
        return;
    }
    const DialogAnswer answer = answers.at(nextAnswer++);
    if (answer.dialog() != answerable) {
        fail(dialog,
             QStringLiteral("answer %1 is for a %2, but dialog %3 is a %4")
                 .arg(answer.number)
                 .arg(answer.dialog())
                 .arg(openedDialogs)
                 .arg(answerable));
        return;
    }
    if (std::holds_alternative<ProgressAnswer>(answer.choice))
        watchProgress(dialog, answer);
    else
        answerOnceShown(dialog, answer);
}

void AnsweringUser::openedPlausibly(QDialog *dialog)
{
    if (!dialog->inherits("ProgressDialog")) {
        answerOnceShown(dialog, std::nullopt);
        return;
    }
    // Shown again before its message showed, it is still the one watched.
    if (dialog->findChild<QLabel *>(QStringLiteral("label")) && !watchedUnpictured(dialog))
        watchProgress(dialog, *plausible->answer(dialog));
    cancelIfRun(dialog);
}

// Acts once the show has finished and the dialog runs its event loop, as a
// person would; the plausible answer is made up then, for the dialog as it
// shows.
void AnsweringUser::answerOnceShown(QDialog *dialog, const std::optional<DialogAnswer> &given)
{
    const DialogGuard guard(dialog);
    QTimer::singleShot(0, this, [this, guard, given] {
        QDialog *shown = guard.dialog();
        if (!shown || !shown->isVisible())
            return;
        const std::optional<DialogAnswer> answer = given ? given : plausible->answer(shown);
        if (!answer) {
            // No class of ours: a modal one would keep the script waiting.
            if (shown->isModal()) {
                pictureFiles.take(shown);
                shown->reject();
            }
        } else if (std::holds_alternative<SelectionAnswer>(answer->choice)) {
            answerSelection(shown, *answer);
        } else {
            answerDisplay(shown, *answer);
        }
    });
}

void AnsweringUser::answerSelection(QDialog *dialog, const DialogAnswer &answer)
{
    const SelectionAnswer &selection = std::get<SelectionAnswer>(answer.choice);
    auto *tree = widget<QTreeWidget>(dialog, "treeWidget", answer);
    if (!tree)
        return;
    for (const QString &name : selection.tick) {
        const QList<QTreeWidgetItem *> items =
            tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        if (items.isEmpty()) {
            QStringList listed;
            for (QTreeWidgetItemIterator it(tree); *it; ++it)
                listed.append((*it)->text(0));
            fail(dialog,
                 QStringLiteral(
                     "%1, field \"tick\": the dialog has no group or library %2; it lists %3")
                     .arg(answer.name(), quoted(name), someOf(listed)));
            return;
        }
        // A click on the box of an unticked or partly ticked item ticks it.
        for (QTreeWidgetItem *item : items) {
            if (item->checkState(0) != Qt::Checked)
                item->setCheckState(0, Qt::Checked);
        }
    }
    if (!selection.aggregation.isEmpty()) {
        const char *button =
            selection.aggregation == QLatin1String("batch") ? "rbBatch" : "rbCompound";
        if (!setChecked(dialog, button, true, answer))
            return;
    }
    pictureFiles.take(dialog);
    press(dialog, answer);
}

void AnsweringUser::answerDisplay(QDialog *dialog, const DialogAnswer &answer)
{
    auto *list = widget<QListView>(dialog, "listView", answer);
    if (!list || !list->model() || !setAssayChecks(dialog, list, answer))
        return;
    for (const AssayPanelAnswer &panel : std::get<DisplayAnswer>(answer.choice).panels) {
        if (!answerPanel(dialog, list, panel, answer))
            return;
    }
    pictureFiles.take(dialog);
    press(dialog, answer);
}

bool AnsweringUser::setAssayChecks(QDialog *dialog, QListView *list, const DialogAnswer &answer)
{
    struct Step
    {
        bool all;
        const QStringList &names;
        const char *allButton;
        Qt::CheckState state;
        const char *field;
    };
    const DisplayAnswer &display = std::get<DisplayAnswer>(answer.choice);
    for (const Step &step :
         {Step{display.uncheckAll, display.uncheck, "clearButton", Qt::Unchecked, "uncheck"},
          Step{display.checkAll, display.check, "selectButton", Qt::Checked, "check"}}) {
        if (step.all) {
            auto *button = widget<QPushButton>(dialog, step.allButton, answer);
            if (!button)
                return false;
            button->click();
        }
        for (const QString &name : step.names) {
            const QModelIndex index = findAssay(
                dialog, list, name,
                QStringLiteral("%1, field \"%2\"").arg(answer.name(), QLatin1String(step.field)));
            if (!index.isValid())
                return false;
            // A click on an assay's box selects its row and toggles the box.
            list->setCurrentIndex(index);
            if (index.data(Qt::CheckStateRole).toInt() != step.state)
                list->model()->setData(index, step.state, Qt::CheckStateRole);
        }
    }
    return true;
}

bool AnsweringUser::answerPanel(QDialog *dialog, QListView *list, const AssayPanelAnswer &panel,
                                const DialogAnswer &answer)
{
    // Without an assay to select, the panel is edited as it shows.
    const QString where = panel.assay
        ? QStringLiteral("%1, field \"assays\" / %2").arg(answer.name(), quoted(*panel.assay))
        : answer.name();
    if (panel.assay) {
        const QModelIndex index = findAssay(dialog, list, *panel.assay, where);
        if (!index.isValid())
            return false;
        list->setCurrentIndex(index);
    }
    if (panel.displayNameEnding) {
        QLineEdit *edit = field(dialog, "lineEditDisplayName", where);
        if (!edit)
            return false;
        edit->setFocus();
        edit->end(false);
        typeText(edit, *panel.displayNameEnding);
    }
    if (panel.displayName
        && !replaceText(dialog, "lineEditDisplayName", *panel.displayName,
                        where + QStringLiteral(" / \"display_name\"")))
        return false;
    if (panel.defaultUncertainty
        && !replaceText(dialog, "lineEditUncertainty", *panel.defaultUncertainty,
                        where + QStringLiteral(" / \"default_uncertainty\"")))
        return false;
    if (panel.includeCount && !setChecked(dialog, "cbDisplayCount", *panel.includeCount, answer))
        return false;
    if (panel.includeValues && !setChecked(dialog, "cbDisplayValues", *panel.includeValues, answer))
        return false;
    if (panel.geometricMean
        && !setChecked(dialog, *panel.geometricMean ? "rbgeometric" : "rbArithmetic", true, answer))
        return false;
    return true;
}

QModelIndex AnsweringUser::findAssay(QDialog *dialog, QListView *list, const QString &name,
                                     const QString &where)
{
    // Answers name tens of thousands of assays: rows are looked up by name,
    // and listed again only when the list no longer matches what was seen.
    const QAbstractItemModel *model = list->model();
    QPersistentModelIndex found = assayRows.value(name);
    if (!found.isValid() || found.model() != model || found.data().toString() != name) {
        assayRows.clear();
        for (int row = model->rowCount() - 1; row >= 0; --row) {
            const QModelIndex index = model->index(row, 0);
            assayRows.insert(index.data().toString(), index);
        }
        found = assayRows.value(name);
    }
    if (found.isValid())
        return found;
    QStringList listed;
    for (int row = 0; row < model->rowCount(); ++row)
        listed.append(model->index(row, 0).data().toString());
    fail(dialog,
         QStringLiteral("%1: the dialog lists no assay %2; it lists %3")
             .arg(where, quoted(name), someOf(listed)));
    return {};
}

QLineEdit *AnsweringUser::field(QDialog *dialog, const char *name, const QString &where)
{
    auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name));
    if (!edit)
        fail(dialog,
             QStringLiteral("%1: the dialog has no QLineEdit \"%2\"")
                 .arg(where, QLatin1String(name)));
    return edit;
}

bool AnsweringUser::replaceText(QDialog *dialog, const char *name, const QString &text,
                                const QString &where)
{
    QLineEdit *edit = field(dialog, name, where);
    if (!edit)
        return false;
    edit->setFocus();
    sendKey(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        sendKey(edit, Qt::Key_Backspace, Qt::NoModifier);
    else
        typeText(edit, text);
    if (edit->text() != text) {
        fail(dialog,
             QStringLiteral("%1: typed %2, but the field shows %3")
                 .arg(where, quoted(text), quoted(edit->text())));
        return false;
    }
    return true;
}

bool AnsweringUser::setChecked(QDialog *dialog, const char *button, bool checked,
                               const DialogAnswer &answer)
{
    auto *box = widget<QAbstractButton>(dialog, button, answer);
    if (!box)
        return false;
    if (box->isChecked() != checked)
        box->click();
    return true;
}

void AnsweringUser::press(QDialog *dialog, const DialogAnswer &answer)
{
    auto *box = widget<QDialogButtonBox>(dialog, "buttonBox", answer);
    if (!box)
        return;
    const bool ok = answer.press() == DialogButton::Ok;
    QAbstractButton *button = box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    const QString label = ok ? QStringLiteral("OK") : QStringLiteral("Cancel");
    if (!button || !button->isVisible()) {
        fail(dialog, QStringLiteral("%1: the dialog has no %2 button").arg(answer.name(), label));
        return;
    }
    if (!button->isEnabled()) {
        fail(dialog,
             QStringLiteral("%1: cannot press %2, it is disabled").arg(answer.name(), label));
        return;
    }
    button->click();
}

void AnsweringUser::watchProgress(QDialog *dialog, const DialogAnswer &answer)
{
    auto *label = widget<QLabel>(dialog, "label", answer);
    if (!label)
        return;
    progressDialogs.append(
        {DialogGuard(dialog), answer, label->text(), QThread::currentThread()->loopLevel()});
}

bool AnsweringUser::watchedUnpictured(const QDialog *dialog) const
{
    return std::any_of(progressDialogs.cbegin(), progressDialogs.cend(),
                       [dialog](const WatchedProgress &watched) {
                           return watched.guard.guards(dialog) && !watched.pictured;
                       });
}

// A progress dialog is shown and ticked; one run with exec() waits for a
// Cancel that no tick will bring, so the plausible user presses it, as a
// person would who sees the window doing nothing.
void AnsweringUser::cancelIfRun(QDialog *dialog)
{
    const int showLevel = QThread::currentThread()->loopLevel();
    const DialogGuard guard(dialog);
    QTimer::singleShot(0, this, [this, guard, showLevel] {
        QDialog *shown = guard.dialog();
        if (!shown || !shown->isVisible() || !shown->isModal()
            || QThread::currentThread()->loopLevel() <= showLevel)
            return;
        for (WatchedProgress &watched : progressDialogs) {
            if (watched.guard.guards(shown))
                watched.pictured = true;
        }
        pictureFiles.take(shown);
        press(shown, *plausible->answer(shown));
    });
}

// True when it pressed Cancel.
bool AnsweringUser::pictureProgressOnceMessageShows(WatchedProgress &watched)
{
    // The script sets its message after show() and ticks to repaint it; the
    // form's own text, with or without dots, is not worth a picture.
    QDialog *dialog = watched.guard.dialog();
    auto *label = dialog->findChild<QLabel *>(QStringLiteral("label"));
    if (watched.pictured || !label || label->text().startsWith(watched.formText))
        return false;
    watched.pictured = true;
    pictureFiles.take(dialog);
    if (!std::get<ProgressAnswer>(watched.answer.choice).cancelOnceMessageShows)
        return false;
    watched.cancelled = true;
    press(dialog, watched.answer);
    return true;
}

void AnsweringUser::countTick()
{
    for (WatchedProgress &watched : progressDialogs) {
        QDialog *dialog = watched.guard.dialog();
        if (!dialog || !dialog->isVisible() || watched.cancelled)
            continue;
        // The event loop of a dialog run meanwhile wakes the dispatcher too.
        if (QThread::currentThread()->loopLevel() != watched.loopLevel)
            continue;
        ++watched.ticks;
        if (watched.ticks != std::get<ProgressAnswer>(watched.answer.choice).cancelAfterTicks)
            continue;
        watched.cancelled = true;
        if (!watched.pictured) {
            watched.pictured = true;
            pictureFiles.take(dialog);
        }
        press(dialog, watched.answer);
        return;
    }
}

QStringList AnsweringUser::unusedAnswers() const
{
    QStringList messages;
    for (const WatchedProgress &watched : progressDialogs) {
        const int cancelAfterTicks =
            std::get<ProgressAnswer>(watched.answer.choice).cancelAfterTicks;
        if (cancelAfterTicks > 0 && !watched.cancelled)
            messages.append(
                QStringLiteral("%1: Cancel after %2 was never pressed: the dialog was ticked %3")
                    .arg(watched.answer.name(), counted(cancelAfterTicks, "tick"),
                         counted(watched.ticks, "time")));
    }
    for (int i = nextAnswer; i < answers.size(); ++i)
        messages.append(QStringLiteral("%1 was not used: the script opened %2")
                            .arg(answers.at(i).name(), counted(openedDialogs, "dialog")));
    return messages;
}

template<class Widget>
Widget *AnsweringUser::widget(QDialog *dialog, const char *name, const DialogAnswer &answer)
{
    auto *found = dialog->findChild<Widget *>(QLatin1String(name));
    if (!found)
        fail(dialog,
             QStringLiteral("%1: the dialog has no %2 \"%3\"")
                 .arg(answer.name(), QString::fromLatin1(Widget::staticMetaObject.className()),
                      QLatin1String(name)));
    return found;
}

void AnsweringUser::fail(QDialog *dialog, const QString &message)
{
    // A plausible answer names only what the dialog has; what still does
    // not fit, a disabled OK, a person would leave by closing the dialog.
    if (plausible) {
        dialog->reject();
        return;
    }
    stopped = true;
    // The dialog may still be inside show(); its event loop ends it.
    const DialogGuard guard(dialog);
    QTimer::singleShot(0, this, [guard] {
        QDialog *failedDialog = guard.dialog();
        if (failedDialog && failedDialog->isVisible())
            failedDialog->reject();
    });
    Q_EMIT failed(message);
}

void AnsweringUser::refuseOtherDialog(QWidget *window)
{
    stopped = true;
    Q_EMIT failed(
        QStringLiteral("the script waits in a modal %1 (%2), which an answers file cannot answer")
            .arg(className(window), quoted(window->windowTitle())));
    window->close();
}
