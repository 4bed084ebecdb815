# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""The example's column computation, with the expected values worked out by
hand (see the comments)."""

import csv
import json
import math
import os
import re
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "examples"))

from veldmark_columns import (  # noqa: E402
    DEFAULT_NOTE, NOT_POSITIVE_NOTE, build_table, csv_header, csv_rows, format_table, note, read_options,
    summarise, table_cells, write_csv)
from veldmark_service import Measurement, VeldmarkService  # noqa: E402


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


def measurements(assay, values):
    return [Measurement("L", assay, "C1", "C1-01", v) for v in values]


class SummaryTest(unittest.TestCase):
    """One assay's mean and spread, as numbers and as the table and the CSV
    write them."""

    def check(self, values, geometric, default, table, csv_cells, note_text):
        s = summarise(values, geometric, default)
        self.assertEqual(table_cells(s, include_count=False, include_values=False), table)
        options = {"X": {"default_uncertainty": default, "factor": geometric}}
        built = build_table(measurements("X", values), options, "compound")
        self.assertEqual(csv_rows(built), [["C1"] + csv_cells + [note_text]])
        self.assertEqual(note(s), note_text)
        return s

    def test_geometric_pair(self):
        # sqrt(1.09 * 4.13) = sqrt(4.5017) = 2.12172; both values carry 3
        # significant digits. Spread: ln(4.13 / 1.09) = ln(3.78899) = 1.33210,
        # the sample SD of two logarithms is their difference / sqrt(2) =
        # 0.941936, exp(0.941936) = 2.56494.
        s = self.check([1.09, 4.13], True, 0.5, ["2.12", "×2.56"], ["2.1217", "2.5649"], "")
        self.assertAlmostEqual(s.mean, 2.121720999566154, places=12)
        self.assertAlmostEqual(s.spread, 2.5649442376406055, places=12)
        self.assertFalse(s.spread_is_default)

    def test_geometric_spread_is_a_factor_whatever_the_scale(self):
        # 10, 1000, 100: ln values 2.3026, 6.9078, 4.6052; centre 4.6052,
        # deviations -2.3026, +2.3026, 0: SD 2.3026 = ln 10, so a factor of
        # 10 around the geometric mean 100. Whole numbers count to their
        # units, so 1000 shows four digits and the computed
        # 99.99999999999997 is written as 100.0.
        s = self.check([10.0, 1000.0, 100.0], True, 0.0, ["100.0", "×10.00"], ["100.000", "10.0000"], "")
        # Arithmetically: 370, to the units of 1000.
        self.check([10.0, 1000.0, 100.0], False, 0.0, ["370", "547"], ["370.00", "547.45"], "")
        self.assertAlmostEqual(s.spread, 10.0, places=12)

    def test_arithmetic_triple(self):
        # 55.3, 61.2, 59.9: mean 176.4 / 3 = 58.8; deviations -3.5, 2.4, 1.1,
        # squares 12.25 + 5.76 + 1.21 = 19.22, / 2 = 9.61, SD 3.1. The data
        # end at the tenths, so the table does too; the CSV keeps two more.
        s = self.check([55.3, 61.2, 59.9], False, 1.0, ["58.8", "3.1"], ["58.800", "3.100"], "")
        self.assertAlmostEqual(s.mean, 58.8, places=12)
        self.assertAlmostEqual(s.spread, 3.1, places=12)

    def test_digits_are_those_of_the_most_precise_value(self):
        # 12.26 and 7.5 (which may have been reported as 7.50): mean 9.88,
        # SD |12.26 - 7.5| / sqrt(2) = 4.76 / 1.41421 = 3.36583.
        self.check([12.26, 7.5], False, 0.0, ["9.88", "3.37"], ["9.8800", "3.3658"], "")
        # Geometric: 19 (perhaps 19.0) beside 21.3: three digits.
        # sqrt(19 * 21.3) = sqrt(404.7) = 20.117.
        self.check([19.0, 21.3], True, 0.0, ["20.1", "×1.08"], ["20.117", "1.0842"], "")
        # Arithmetic: 0.216 and 0.0288 carry three digits; the sum ends at
        # the thousandths of 0.216. Mean 0.2448 / 2 = 0.1224, SD 0.1872 /
        # 1.41421 = 0.132370.
        self.check([0.216, 0.0288], False, 0.0, ["0.122", "0.132"], ["0.12240", "0.13237"], "")
        # Never more than six significant digits, whatever a value's text.
        self.check([0.1 + 0.2, 0.3], False, 0.0, ["0.300000", "0.000000"], ["0.30000000", "0.00000000"], "")

    def test_single_value_takes_the_default_uncertainty_and_says_so(self):
        # 7 alone: no measured spread, the default 2.5 stands in, written as
        # given.
        s = self.check([7.0], False, 2.5, ["7", "2.5 (default)"], ["7.00", "2.5"], DEFAULT_NOTE)
        self.assertTrue(s.spread_is_default)
        self.assertEqual(s.spread, 2.5)

    def test_default_uncertainty_beside_a_geometric_mean_becomes_a_factor(self):
        # 100 alone with the default 5 (in the assay's unit): coefficient of
        # variation 0.05, exp(sqrt(ln(1 + 0.05^2))) = exp(sqrt(0.0024969)) =
        # exp(0.049969) = 1.05124.
        s = self.check([100.0], True, 5.0, ["100", "×1.05 (default)"], ["100.00", "1.0512"], DEFAULT_NOTE)
        self.assertAlmostEqual(s.spread, 1.0512382890788505, places=12)
        # A default of 0 is no spread at all: a factor of 1.
        self.check([3.5], True, 0.0, ["3.5", "×1.00 (default)"], ["3.500", "1.0000"], DEFAULT_NOTE)

    def test_value_not_above_zero_has_no_geometric_mean(self):
        # ln 0 and ln of a negative value do not exist: no mean, no spread,
        # and a note that says why; the arithmetic mean of the same values
        # is defined.
        for values in ([2.0, 0.0], [-1.5], [3.0, -4.0, 5.0]):
            with self.subTest(values=values):
                s = self.check(values, True, 1.0, ["n/a (value ≤ 0)", ""], ["", ""], NOT_POSITIVE_NOTE)
                self.assertIsNone(s.mean)
                self.assertIsNone(s.spread)
        self.assertEqual(summarise([2.0, 0.0], False, 1.0).mean, 1.0)

    def test_a_value_that_is_not_a_number_spoils_only_its_own_cells(self):
        for geometric in (False, True):
            s = summarise([1.0, float("nan")], geometric, 0.0)
            spread = "×nan" if geometric else "nan"
            self.assertEqual(table_cells(s, include_count=False, include_values=False), ["nan", spread])

    def test_no_values_leave_the_cells_empty(self):
        s = summarise([], True, 3.0)
        self.assertEqual(table_cells(s, include_count=True, include_values=True), ["", "", "0", ""])
        self.assertEqual(note(s), "")

    def test_negative_default_counts_by_its_size(self):
        chosen = read_options({"X": {"default_uncertainty": -2.5}})
        self.assertEqual(chosen[0].default_uncertainty, 2.5)


class ColumnsTest(unittest.TestCase):
    def test_per_compound(self):
        table = build_table(fixture_measurements(), OPTIONS, "compound")
        self.assertEqual(csv_header(table), [
            "Compound", "Potency geo. mean", "Potency geo. SD factor", "Potency note", "Potency n",
            "Potency values", "B solubility arith. mean", "B solubility SD", "B solubility note"])
        # C1 potency 10, 1000, 100: geometric mean 100, SD of the logs ln 10
        # (see SummaryTest). Solubility 7 alone: the default 2.5.
        # C2 potency 4, 16: geometric mean 8 (two significant digits, from
        # 16), factor exp(ln 4 / sqrt 2) = exp(0.980258) = 2.66514.
        # Solubility 3, 5: mean 4, SD sqrt(2) = 1.414, whole numbers so 1 in
        # the table.
        self.assertEqual(csv_rows(table), [
            ["C1", "100.000", "10.0000", "", "3", "10; 1000; 100", "7.00", "2.5", DEFAULT_NOTE],
            ["C2", "8.000", "2.6651", "", "2", "4; 16", "4.00", "1.41", ""],
        ])
        text = format_table(table)
        self.assertIn("geo. mean  geo. SD", text)
        self.assertIn("arith. mean", text)
        self.assertRegex(text, r"C2 +8\.0 +×2\.67 +2 +4; 16 +4 +1")
        self.assertRegex(text, r"C1 +100\.0 +×10\.00 +3 +10; 1000; 100 +7 +2\.5 \(default\)")

    def test_per_batch(self):
        table = build_table(fixture_measurements(), OPTIONS, "batch")
        self.assertEqual(csv_header(table)[:2], ["Compound", "Batch"])
        rows = {row[1]: row for row in csv_rows(table)}
        self.assertEqual(list(rows), ["C1-01", "C1-02", "C2-01", "C2-02"])
        # C1-01 potency 10, 1000: geometric mean 100 (arithmetic would be
        # 505), factor exp(ln 100 / sqrt 2) = exp(3.256340) = 25.9546.
        self.assertEqual(rows["C1-01"][2:5], ["100.000", "25.9546", ""])
        # C1-02 potency 100 alone: the default 5 as a factor; no solubility
        # for this batch leaves its cells empty.
        self.assertEqual(rows["C1-02"][2:10], ["100.00", "1.0512", DEFAULT_NOTE, "1", "100", "", "", ""])
        # C2-02 has solubility only: potency empty with count 0.
        self.assertEqual(rows["C2-02"][2:10], ["", "", "", "0", "", "5.00", "2.5", DEFAULT_NOTE])

    def test_csv_file_holds_header_and_rows(self):
        table = build_table(fixture_measurements(), OPTIONS, "compound")
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "out.csv")
            write_csv(table, path)
            with open(path, encoding="utf-8", newline="") as f:
                self.assertEqual(list(csv.reader(f)), [csv_header(table)] + csv_rows(table))

    def test_no_number_carries_more_digits_than_the_table_allows(self):
        table = build_table(VeldmarkService.sample().fetch("Permeability"),
                            {"Caco-2 Papp A→B": {"factor": True}, "PAMPA Pe": {"factor": False}}, "compound")
        for row in csv_rows(table):
            for cell in row[1:]:
                if cell and cell[0].isdigit():
                    self.assertLessEqual(len(cell.replace(".", "").lstrip("0")), 7, cell)

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

    def test_table_text_wraps_keeps_every_row_and_explains_its_marks(self):
        table = build_table(fixture_measurements(), OPTIONS, "batch")
        text = format_table(table, width=40)
        self.assertEqual(text.count("C1-01"), 2)       # one block per assay
        self.assertIn("×25.95", text)
        self.assertIn("geo. SD: geometric standard deviation, a factor", text)
        self.assertIn("(default): fewer than two values", text)
        self.assertNotIn("n/a (value ≤ 0):", text)

    def test_default_marks_keep_the_numbers_aligned(self):
        table = build_table(fixture_measurements(), OPTIONS, "batch")
        lines = [line for line in format_table(table, width=200).splitlines() if line.startswith("C")]
        ends = {re.search(r"×[0-9.]+", line).end() for line in lines if "×" in line}
        self.assertEqual(len(ends), 1, "\n".join(lines))


class ServiceFileTest(unittest.TestCase):
    def test_a_value_that_is_not_finite_is_refused(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "service.json")
            with open(path, "w", encoding="utf-8") as f:
                f.write('{"measurements": [["L", "A", "C1", "C1-01", NaN]]}')
            with self.assertRaisesRegex(ValueError, "not a finite number"):
                VeldmarkService.from_file(path)


if __name__ == "__main__":
    unittest.main()
