// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef SCRIPTHOST_H
#define SCRIPTHOST_H

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// What the host does between creating its application and ending: load the
// plug-ins, let them register their classes, run one script.
class ScriptHost : public QObject
{
    Q_OBJECT

public:
    // Needs PythonQt::init() first.
    explicit ScriptHost(QObject *parent = nullptr);
    // Drops what the script left behind, while the application still exists.
    ~ScriptHost() override;

    // Lets every plug-in in the folder register its classes; reports each
    // one that cannot be loaded or cast on stderr and goes on with the others.
    void loadPlugins(const QString &folder);
    // The process's exit status: 0, 1 after an exception, or the status of
    // the first sys.exit(), from the script or one of its callbacks.
    int runScript(const QString &path, const QStringList &arguments);

    // Drops what the script left behind; false when a callback that ran
    // meanwhile failed.
    bool dropScriptObjects();

    // False, with `error` saying why, when the script cannot be read at all.
    static bool canRead(const QString &path, QString *error);

private:
    void setArgv(const QString &path, const QStringList &arguments);

    std::optional<int> systemExitCode;
};

#endif // SCRIPTHOST_H
