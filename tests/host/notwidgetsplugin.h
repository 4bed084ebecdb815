// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef NOTWIDGETSPLUGIN_H
#define NOTWIDGETSPLUGIN_H

#include <QObject>

// A valid Qt plug-in whose root object is not a PluginWidgets.
class NotWidgetsPlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.example.NotWidgets")
};

#endif // NOTWIDGETSPLUGIN_H
