// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "scriptuser.h"

#include "answeringuser.h"
#include "answers.h"
#include "hostmessages.h"
#include "modalwaitwatcher.h"
#include "scriptinterrupt.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

#include <cstdio>

namespace {

void listPictures(const QStringList &pictures)
{
    if (pictures.isEmpty()) {
        std::printf("\nNo dialog was shown, so there are no pictures.\n");
        std::fflush(stdout);
        return;
    }
    std::printf("\nPictures of the dialogs:\n");
    for (const QString &path : pictures)
        std::printf("  %s\n", QDir::toNativeSeparators(path).toUtf8().constData());
    std::fflush(stdout);
}

bool withoutDisplay()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

ScriptUser::ScriptUser(const HostOptions &options, QObject *parent)
    : QObject(parent)
    , options(options)
{ }

ScriptUser::~ScriptUser() = default;

bool ScriptUser::start()
{
    if (!options.simulatedUser.isEmpty()) {
        const PlausibleAnswers plausible(options.simulatedBatch
                                             ? PlausibleAnswers::Aggregation::Batch
                                             : PlausibleAnswers::Aggregation::Compound,
                                         options.simulatedCancel);
        answeringUser.reset(new AnsweringUser(plausible, options.simulatedUser));
        qApp->installEventFilter(answeringUser.data());
    } else if (!options.answers.isEmpty()) {
        QString error;
        const std::optional<QList<DialogAnswer>> answers = Answers::load(options.answers, &error);
        if (!answers) {
            report(error);
            return false;
        }
        answeringUser.reset(new AnsweringUser(*answers, options.pictures));
        connect(answeringUser.data(), &AnsweringUser::failed, this, [this](const QString &message) {
            stopScript(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(options.answers), message));
        });
        qApp->installEventFilter(answeringUser.data());
    } else if (withoutDisplay()) {
        noOne.reset(new ModalWaitWatcher);
        connect(noOne.data(), &ModalWaitWatcher::waiting, this, &ScriptUser::refuseUnanswerable);
        qApp->installEventFilter(noOne.data());
    }
    return true;
}

int ScriptUser::finish(int scriptStatus)
{
    withdrawScriptInterrupt();
    int status = stopped ? refusedStatus : scriptStatus;
    if (answeringUser) {
        // After a misfit the answers left say nothing of the script.
        const QStringList unused = stopped ? QStringList() : answeringUser->unusedAnswers();
        for (const QString &message : unused)
            report(
                QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(options.answers), message));
        // A script that failed on its own keeps its status.
        if (!unused.isEmpty() && status == 0)
            status = refusedStatus;
        // The plausible user always saves pictures.
        if (!options.pictures.isEmpty() || !options.simulatedUser.isEmpty())
            listPictures(answeringUser->pictures());
    }
    return status;
}

void ScriptUser::stopScript(const QString &message)
{
    // The first reason is the one: dialogs cancelled after it follow from it.
    if (!stopped)
        report(message);
    stopped = true;
    interruptScript();
}

void ScriptUser::refuseUnanswerable(QWidget *window)
{
    stopScript(
        QStringLiteral(
            "the script waits in the modal dialog %1 (%2), but without a display no one can "
            "answer it; give the answers with --answers FILE (see \"Testing a script without a "
            "display\" in docs/scripting.md)")
            .arg(QString::fromLatin1(window->metaObject()->className()),
                 quoted(window->windowTitle())));
    window->close();
}
