# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# A str where QFont.setFamilies() wants a list of family names, and a point
# size of inf or nan, which Qt keeps and rounds later.
from PythonQt.Kestrane import ProgressDialog
from observe import show

f = ProgressDialog().font
for expression in ["f.setFamilies('Serif')", "f.families()", "f.setFamilies(('Serif',))",
                   "f.families()", "f.setPointSizeF(float('nan'))", "f.setPointSizeF(float('inf'))",
                   "f.pointSizeF()"]:
    show(expression, lambda: eval(expression))
