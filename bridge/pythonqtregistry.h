// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PYTHONQTREGISTRY_H
#define PYTHONQTREGISTRY_H

#include "PythonQtSystem.h"

#include <QByteArray>
#include <QVector>

// Read-only view of the bridge's registry, for tests.
namespace PythonQtRegistry {

struct RegisteredClass
{
    QByteArray className;
    QByteArray package;
};

// Classes passed to registerClass(), each once, in the order of their first
// registration; bases registered on the way are not listed.
PYTHONQT_EXPORT QVector<RegisteredClass> registeredClasses();
// Package a class (registered or a base of one) lives in; empty if unknown.
PYTHONQT_EXPORT QByteArray packageOf(const char *className);
// Decorator objects handed to addDecorators() that the bridge holds.
PYTHONQT_EXPORT int decoratorCount();

} // namespace PythonQtRegistry

#endif // PYTHONQTREGISTRY_H
