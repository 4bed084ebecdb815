// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef PYTHONQTSYSTEM_H
#define PYTHONQTSYSTEM_H

// CPython's headers name a struct member "slots"; an includer that did not
// build with QT_NO_KEYWORDS may already have Qt's macro of that name.
#pragma push_macro("slots")
#undef slots
#include <Python.h>
#pragma pop_macro("slots")

#include <QtGlobal>

#if defined(PYTHONQT_EXPORTS)
#define PYTHONQT_EXPORT Q_DECL_EXPORT
#else
#define PYTHONQT_EXPORT Q_DECL_IMPORT
#endif

#endif // PYTHONQTSYSTEM_H
