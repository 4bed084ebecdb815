// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "pluginwidgets.h"

#include <QCoreApplication>
#include <QPluginLoader>

#include <cstdio>

// Loads the plug-in that find_package(VeldmarkWidgets) names and asks it for
// the host's interface, as a host does before it registers the classes.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QPluginLoader loader(QStringLiteral(VELDMARK_PLUGIN));
    if (!qobject_cast<PluginWidgets *>(loader.instance())) {
        std::fprintf(stderr, "%s\n", qPrintable(loader.errorString()));
        return 1;
    }
    std::printf("%s\n", VELDMARK_PLUGIN);
    return 0;
}
