# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""The example query's progress messages: each one short enough for the
progress dialog's dots, which wrap at 40 characters (as Qt counts them, in
UTF-16 code units) and never show on a message of 40 or more."""

import os
import sys
import types
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "examples"))

# The script imports the dialogs from the host's bridge, which is not here;
# the messages need none of them.
_bridge = types.ModuleType("PythonQt")
_bridge.Kestrane = types.ModuleType("PythonQt.Kestrane")
for _name in ("ProgressDialog", "VeldmarkDisplay", "VeldmarkSelection"):
    setattr(_bridge.Kestrane, _name, None)
sys.modules.setdefault("PythonQt", _bridge)
sys.modules.setdefault("PythonQt.Kestrane", _bridge.Kestrane)

from veldmark_query import progress_message  # noqa: E402
from veldmark_service import VeldmarkService  # noqa: E402

DOTS_WRAP_AT = 40


def qt_length(text):
    return len(text.encode("utf-16-le")) // 2


class ProgressMessages(unittest.TestCase):
    def assertAnimates(self, message):
        self.assertLess(qt_length(message), DOTS_WRAP_AT, message)

    def test_every_sample_library_with_every_count(self):
        libraries = VeldmarkService.sample().libraries()
        for count in (1, len(libraries), 999):
            for number, library in enumerate(libraries, 1):
                message = progress_message(library, number, count)
                self.assertAnimates(message)
                self.assertTrue(message.startswith(f"{number}/{count} "), message)

    def test_a_name_that_fits_is_kept_whole(self):
        self.assertEqual(progress_message("Kinase panel – BRAF V600E", 3, 38),
                         "3/38 Kinase panel – BRAF V600E")

    def test_a_long_name_is_cut_with_an_ellipsis(self):
        message = progress_message("Metabolic stability – hepatocytes", 31, 38)
        self.assertAnimates(message)
        self.assertEqual(message, "31/38 Metabolic stability – hepat…")

    def test_characters_beyond_the_basic_plane_count_twice(self):
        # Forty code points, eighty UTF-16 code units; fourteen of them and
        # the ellipsis fit behind the counter.
        message = progress_message("\N{TEST TUBE}" * 40, 1, 2)
        self.assertAnimates(message)
        self.assertEqual(message, "1/2 " + "\N{TEST TUBE}" * 14 + "…")


if __name__ == "__main__":
    unittest.main()
