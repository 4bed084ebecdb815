// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#include "PythonQt.h"

#include "probeplugin.h"

#include <QCloseEvent>
#include <QGuiApplication>

#include <cstdio>

HostProbe::HostProbe(QWidget *parent)
    : QDialog(parent)
{ }

HostProbe::~HostProbe()
{
    std::fprintf(stderr, "HostProbe destroyed %s the application\n",
                 QCoreApplication::instance() ? "before" : "after");
}

QString HostProbe::greet(const QString &name)
{
    return QStringLiteral("hello %1").arg(name);
}

QString HostProbe::platformName()
{
    return QGuiApplication::platformName();
}

void HostProbe::log(const QString &text)
{
    qDebug("debug: %s", qPrintable(text));
    qWarning("warning: %s", qPrintable(text));
    qCritical("critical: %s", qPrintable(text));
}

void HostProbe::closeEvent(QCloseEvent *event)
{
    if (closable)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void ProbePlugin::registerClasses()
{
    PythonQt::self()->registerClass(&HostProbe::staticMetaObject, "Probe");
    PythonQt::self()->addDecorators(new ProbeDecorators);
}
