# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# The top-level module of the host's Python bridge. The classes of each
# package registered with the bridge live in a submodule: Kestrane.pyi.
from . import Kestrane as Kestrane
