// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PROBEPLUGIN_H
#define PROBEPLUGIN_H

#include "pluginwidgets.h"

#include <QDialog>
#include <QObject>

// A dialog a script constructs through the test plug-in; it says on stderr
// whether the application still existed when it was destroyed.
class HostProbe : public QDialog
{
    Q_OBJECT

public:
    explicit HostProbe(QWidget *parent = nullptr);
    ~HostProbe() override;

public Q_SLOTS:
    QString greet(const QString &name);
    QString platformName();
    // One debug, one warning and one critical message with the text.
    void log(const QString &text);
    // Unclosable, the dialog ignores close requests, as one that asks
    // before closing does when told no.
    void setClosable(bool closable) { this->closable = closable; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool closable = true;
};

class ProbeDecorators : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    HostProbe *new_HostProbe(QWidget *parent = nullptr) { return new HostProbe(parent); }
};

class ProbePlugin : public QObject, public PluginWidgets
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "Kestrane-Pyton-Qt-Widgets/1.0")
    Q_INTERFACES(PluginWidgets)

public:
    void registerClasses() override;
};

#endif // PROBEPLUGIN_H
