// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef SEQUENCEREADING_H
#define SEQUENCEREADING_H

#include "PythonQtSystem.h"

// PythonQt reads a sequence that is neither a list nor a tuple (a script's
// Sequence or Mapping class) item by item, by index: one whose items cannot
// be read so (a mapping indexed by 0, 1, ...) makes some of its calls fail
// where ours, which iterates, would not.
namespace SequenceReading {
// True, with the error of reading it pending, when such a sequence fails so.
bool failsByIndex(PyObject *value);
// True, with the error pending, when the value or any list, tuple or dict
// inside it holds such a sequence.
bool holdsFailingSequence(PyObject *value);
} // namespace SequenceReading

#endif // SEQUENCEREADING_H
