// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PLUGINWIDGETS_H
#define PLUGINWIDGETS_H

#include <QtPlugin>

// The host's plug-in interface: after initialising its Python bridge, the
// host calls registerClasses() once on each plug-in's root object.
class PluginWidgets
{
public:
    virtual ~PluginWidgets() { }
    virtual void registerClasses() = 0;
};

// Compared byte for byte by the host: "Pyton" is its spelling.
Q_DECLARE_INTERFACE(PluginWidgets, "Kestrane-Pyton-Qt-Widgets/1.0")

#endif // PLUGINWIDGETS_H
