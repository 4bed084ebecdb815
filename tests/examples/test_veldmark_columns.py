"""The example's column computation on the small fixture, with the expected
values worked out by hand (see the comments)."""

import json
import math
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "examples"))

from veldmark_columns import build_table, format_table, mean, read_options, uncertainty  # noqa: E402
from veldmark_service import VeldmarkService  # noqa: E402


def fixture_measurements():
    service = VeldmarkService.from_file(os.path.join(HERE, "fixture.json"))
    return [m for m in service.fetch("Library A1")]


# "A potency" averaged geometrically with its count and values; "B
# solubility" arithmetically with the default uncertainty 2.5.
OPTIONS = {
    "A potency": {"selected": True, "alias": "Potency", "default_uncertainty": 5.0,
                  "include_count": True, "include_values": True, "factor": True},
    "B solubility": {"selected": True, "alias": "", "default_uncertainty": 2.5,
                     "include_count": False, "include_values": False, "factor": False},
    "C binding": {"selected": False},
}


class ColumnsTest(unittest.TestCase):
    def test_per_compound(self):
        table = build_table(fixture_measurements(), OPTIONS, "compound")
        self.assertEqual(table.header, ["Compound", "Potency", "Potency SD", "Potency n", "Potency values",
                                        "B solubility", "B solubility SD"])
        c1, c2 = table.rows
        # C1 potency 10, 1000, 100: geometric mean (10*1000*100)^(1/3) = 100;
        # arithmetic mean 370, squared deviations 129600 + 72900 + 396900 =
        # 599400, / 2 -> SD sqrt(299700).
        self.assertEqual(c1[0], "C1")
        self.assertAlmostEqual(c1[1], 100.0)
        self.assertAlmostEqual(c1[2], math.sqrt(299700))
        self.assertEqual(c1[3:5], [3, "10; 1000; 100"])
        # C1 solubility: one value 7, so the default uncertainty 2.5.
        self.assertEqual(c1[5:7], [7.0, 2.5])
        # C2 potency 4, 16: geometric 8, SD sqrt(72); solubility 3, 5:
        # arithmetic 4 (geometric would be 3.873), SD sqrt(2).
        self.assertAlmostEqual(c2[1], 8.0)
        self.assertAlmostEqual(c2[2], math.sqrt(72))
        self.assertEqual(c2[3:5], [2, "4; 16"])
        self.assertAlmostEqual(c2[5], 4.0)
        self.assertAlmostEqual(c2[6], math.sqrt(2))

    def test_per_batch(self):
        table = build_table(fixture_measurements(), OPTIONS, "batch")
        self.assertEqual(table.header[:2], ["Compound", "Batch"])
        rows = {row[1]: row for row in table.rows}
        self.assertEqual(list(rows), ["C1-01", "C1-02", "C2-01", "C2-02"])
        # C1-01 potency 10, 1000: geometric 100 (arithmetic would be 505),
        # SD sqrt(2 * 495^2).
        self.assertAlmostEqual(rows["C1-01"][2], 100.0)
        self.assertAlmostEqual(rows["C1-01"][3], math.sqrt(2 * 495 ** 2))
        # C1-02 potency: a single value takes the default uncertainty 5; no
        # solubility for this batch leaves its cells empty.
        self.assertEqual(rows["C1-02"][2:6], [100.0, 5.0, 1, "100"])
        self.assertEqual(rows["C1-02"][6:8], [None, None])
        # C2-02 has solubility only: potency empty with count 0.
        self.assertEqual(rows["C2-02"][2:6], [None, None, 0, ""])
        self.assertEqual(rows["C2-02"][6:8], [5.0, 2.5])

    def test_geometric_mean_of_non_positive_values_is_empty(self):
        self.assertIsNone(mean([2.0, 0.0], geometric=True))
        self.assertEqual(mean([2.0, 0.0], geometric=False), 1.0)
        self.assertIsNone(uncertainty([], 3.0))

    def test_options_read_as_the_dialog_reads_them(self):
        document = {
            "b": {"selected": "no", "alias": 12, "default_uncertainty": "0.5", "factor": 1},
            "a": 42,                                   # not an object: every default
            "c": {"selected": "FALSE"},
            "d": {"default_uncertainty": 0.10000000149011612, "alias": "   "},
            "e": {"alias": "12"},                      # same column name as "b"
            "f": {"alias": "Compound"},                # same as the key column
            "g": {"alias": ["x"], "include_count": "0"},
        }
        chosen = {c.assay: c for c in read_options(document)}
        self.assertEqual(sorted(chosen), ["a", "b", "d", "e", "f", "g"])
        self.assertEqual(chosen["a"].alias, "a")
        self.assertFalse(chosen["a"].geometric)
        self.assertEqual(chosen["b"].alias, "12")
        self.assertEqual(chosen["b"].default_uncertainty, 0.5)
        self.assertTrue(chosen["b"].geometric)
        self.assertEqual(chosen["d"].alias, "d")
        self.assertEqual(chosen["d"].default_uncertainty, 0.1)
        self.assertEqual(chosen["e"].alias, "12 [e]")
        self.assertEqual(chosen["f"].alias, "Compound [f]")
        self.assertEqual(chosen["g"].alias, "g")
        self.assertFalse(chosen["g"].include_count)
        self.assertEqual(read_options(json.loads("[]")), [])

    def test_table_text_wraps_and_keeps_every_row(self):
        table = build_table(fixture_measurements(), OPTIONS, "batch")
        text = format_table(table, width=40)
        self.assertEqual(text.count("C1-01"), 2)       # one block per assay
        self.assertIn("geo. mean", text)
        self.assertIn("700", text)


if __name__ == "__main__":
    unittest.main()
