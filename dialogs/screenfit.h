// SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
// SPDX-License-Identifier: BSD-3-Clause

#ifndef SCREENFIT_H
#define SCREENFIT_H

class QWidget;

// Call just before a window is shown for the first time, once it has been
// created (QWidget::create(), which showing does first thing anyway: the
// platform can tell only an existing window's frame). Shrinks it, frame
// included, to the available area of the screen it opens on (its form's size
// is kept wherever that fits; never below what its layout needs), and moves a
// window placed beforehand back onto that area. A window that Qt places
// itself is centred inside that area by QDialog.
void fitIntoScreen(QWidget *window);

#endif // SCREENFIT_H
