// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef VELDMARKPLUGIN_H
#define VELDMARKPLUGIN_H

#include "pluginwidgets.h"

#include <QObject>

// The root object the host obtains from the plug-in loader. The IID is Qt
// Designer's custom-widget identifier, which the host's loader expects.
class VeldmarkPlugin : public QObject, public PluginWidgets
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface" FILE
                          "veldmarkplugin.json")
    Q_INTERFACES(PluginWidgets)

public:
    VeldmarkPlugin();

    void registerClasses() override;
};

#endif // VELDMARKPLUGIN_H
