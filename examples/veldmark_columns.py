# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""The columns a query adds to the host's data set, from the user's choices.

Pure Python (standard library only), so it can be tried without the host:

    rows = [Measurement(...), ...]            # what the service returned
    options = json.loads(display.displayData().data())
    table = build_table(rows, options, "compound")
    write_csv(table, "results.csv")
    print(format_table(table))

For every assay the user checked ("selected") the CSV has three columns,
and optionally two more:

- the mean: "<alias> geo. mean" when "factor" is true, "<alias> arith. mean"
  otherwise;
- its spread: beside a geometric mean "<alias> geo. SD factor", the
  geometric standard deviation (exp of the sample standard deviation of the
  values' natural logarithms, a dimensionless factor >= 1); beside an
  arithmetic mean "<alias> SD", the sample standard deviation (n - 1 in the
  denominator), in the assay's unit;
- "<alias> note": empty when the spread was measured; "default uncertainty,
  not measured" when there are fewer than two values and the assay's
  "default_uncertainty" stands in for the spread; "value ≤ 0: no geometric
  mean" when a geometric mean meets a value that has no logarithm, and the
  mean and spread are then left empty (the table writes "n/a (value ≤ 0)");
- "<alias> n": the number of values, when "include_count" is true;
- "<alias> values": the individual values, "; "-separated in the order the
  service reported them, when "include_values" is true.

The printed table writes a geometric SD as "×2.56" and a default as
"2.5 (default)", and ends with a legend for the marks it used.

Beside a geometric mean the default uncertainty, a standard deviation in the
assay's unit, is turned into the factor it amounts to at the one value x:
exp(sqrt(ln(1 + (u / x)^2))), the log-normal spread with that coefficient of
variation (about 1 + u / x for small u), so that a column never mixes
factors with absolute spreads.

Numbers carry no more digits than the data. The values carry as many
significant digits as the most precise of them shows (a number cannot show
its trailing zeros: a reported 4.80 arrives as 4.8), at most six. A
geometric mean has that many significant digits; an arithmetic mean and its
SD end where the largest value's digits end, a sum being as precise as its
coarsest term; a geometric SD has two decimals. The CSV keeps two digits
more than the printed table.

The alias is the assay name when "alias" is empty. Values are grouped per
compound or per batch (the selection dialog's aggregation mode).
"""

import csv
import math
import struct
from collections import namedtuple
from decimal import Decimal

Table = namedtuple("Table", "keys assays rows")
Table.__doc__ = """keys: the names of the key columns ("Compound", and "Batch");
assays: the selected assays as AssayColumns, in column order;
rows: per compound or batch in ascending order, (key values, [Summary per assay])."""

AssayColumns = namedtuple("AssayColumns", "assay alias geometric default_uncertainty include_count include_values")

Summary = namedtuple("Summary", "values geometric mean spread spread_is_default mean_places spread_places")
Summary.__doc__ = """One assay's values for one compound or batch, summarised.

values: the individual values, in the service's order.
geometric: the mean is geometric and the spread a factor.
mean: the arithmetic or geometric mean; None without values, and None for a
    geometric mean of values that are not all positive.
spread: the sample SD, or the geometric SD (a factor); None where the mean is.
spread_is_default: the spread is the assay's default uncertainty, because
    there are fewer than two values.
mean_places, spread_places: the decimal places the printed table shows
    (negative: rounded to tens, hundreds, ...)."""

DEFAULT_NOTE = "default uncertainty, not measured"
NOT_POSITIVE_NOTE = "value ≤ 0: no geometric mean"

FACTOR_PLACES = 2        # a geometric SD is shown as ×2.56
MAX_DIGITS = 6           # even when a value's text has more (0.30000000000000004)
CSV_EXTRA_PLACES = 2     # guard digits for calculations on the CSV


def read_options(document):
    """The selected assays of a display data document (a dict, as parsed
    from ``displayData()``), as AssayColumns in ascending name order.

    Members are read as the dialog reads them, so a hand-written document
    with odd values still gives a defined result: a missing "selected"
    counts as true, a non-numeric uncertainty as 0, an entry that is not an
    object as an entry with every default. A negative uncertainty counts by
    its size: a spread has no sign.
    """
    if not isinstance(document, dict):
        return []
    chosen = []
    for assay in sorted(document):
        entry = document[assay]
        if not isinstance(entry, dict):
            entry = {}
        if not _flag(entry.get("selected", True)):
            continue
        alias = entry.get("alias")
        alias = alias if isinstance(alias, str) else ("" if alias is None else _text(alias))
        chosen.append(AssayColumns(
            assay=assay,
            alias=alias if alias.strip() else assay,
            geometric=_flag(entry.get("factor", False)),
            default_uncertainty=abs(_number(entry.get("default_uncertainty", 0))),
            include_count=_flag(entry.get("include_count", False)),
            include_values=_flag(entry.get("include_values", False)),
        ))
    return _unique_aliases(chosen)


def build_table(measurements, document, aggregation):
    """The host's columns: one row per compound (aggregation "compound") or
    per batch (anything else, normally "batch"), in ascending order, for the
    compounds or batches that have a value of at least one selected assay."""
    per_batch = aggregation != "compound"
    assays = read_options(document)
    wanted = {a.assay for a in assays}

    values: dict[tuple, list] = {}  # (row key, assay) -> [value, ...]
    keys = set()
    for m in measurements:
        if m.assay not in wanted:
            continue
        key = (m.compound, m.batch) if per_batch else (m.compound,)
        keys.add(key)
        values.setdefault((key, m.assay), []).append(m.value)

    rows = [(key, [summarise(values.get((key, a.assay), []), a.geometric, a.default_uncertainty)
                   for a in assays])
            for key in sorted(keys)]
    return Table(["Compound", "Batch"] if per_batch else ["Compound"], assays, rows)


def summarise(values, geometric, default_uncertainty):
    """The mean and spread of one assay's values (see Summary)."""
    values = list(values)
    if not values or (geometric and any(v <= 0 for v in values)):
        return Summary(values, geometric, None, None, False, None, None)
    if geometric:
        return _geometric_summary(values, default_uncertainty)
    return _arithmetic_summary(values, default_uncertainty)


def _arithmetic_summary(values, default_uncertainty):
    centre = math.fsum(values) / len(values)
    places = _decimals_of_largest(values, _data_digits(values))
    if len(values) < 2:
        return Summary(values, False, centre, default_uncertainty, True, places,
                       _decimals_as_given(default_uncertainty))
    sd = math.sqrt(math.fsum((v - centre) ** 2 for v in values) / (len(values) - 1))
    return Summary(values, False, centre, sd, False, places, places)


def _geometric_summary(values, default_uncertainty):
    logs = [math.log(v) for v in values]
    centre = math.fsum(logs) / len(logs)
    # A single value is its own mean, without a round trip through log and exp.
    mean = values[0] if len(values) == 1 else math.exp(centre)
    places = _places_for_significant_digits(mean, _data_digits(values))
    if len(values) < 2:
        factor = math.exp(math.sqrt(math.log1p((default_uncertainty / mean) ** 2)))
        return Summary(values, True, mean, factor, True, places, FACTOR_PLACES)
    sd_of_logs = math.sqrt(math.fsum((x - centre) ** 2 for x in logs) / (len(logs) - 1))
    return Summary(values, True, mean, math.exp(sd_of_logs), False, places, FACTOR_PLACES)


def note(summary):
    """The CSV's note on a summary: why a spread or a mean is not what it
    seems, or empty."""
    if summary.geometric and summary.mean is None and summary.values:
        return NOT_POSITIVE_NOTE
    return DEFAULT_NOTE if summary.spread_is_default else ""


def csv_header(table):
    header = list(table.keys)
    for a in table.assays:
        if a.geometric:
            header += [f"{a.alias} geo. mean", f"{a.alias} geo. SD factor"]
        else:
            header += [f"{a.alias} arith. mean", f"{a.alias} SD"]
        header.append(f"{a.alias} note")
        if a.include_count:
            header.append(f"{a.alias} n")
        if a.include_values:
            header.append(f"{a.alias} values")
    return header


def csv_rows(table):
    """The CSV's rows as text: numbers with two more digits than the table,
    a default uncertainty as the document gave it, missing cells empty."""
    rows = []
    for key, summaries in table.rows:
        row = list(key)
        for a, s in zip(table.assays, summaries):
            row.append(_fixed(s.mean, s.mean_places, CSV_EXTRA_PLACES))
            given = s.spread_is_default and not s.geometric
            row.append(_fixed(s.spread, s.spread_places, 0 if given else CSV_EXTRA_PLACES))
            row.append(note(s))
            if a.include_count:
                row.append(str(len(s.values)))
            if a.include_values:
                row.append(_values_text(s.values))
        rows.append(row)
    return rows


def write_csv(table, path):
    """Writes the table as UTF-8 CSV."""
    with open(path, "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f)
        writer.writerow(csv_header(table))
        writer.writerows(csv_rows(table))


def table_cells(summary, include_count, include_values):
    """One assay's cells in the printed table: the mean, the spread ("×"
    before a factor, "(default)" after a default uncertainty), and the count
    and the values when asked for."""
    s = summary
    if s.mean is None:
        cells = ["n/a (value ≤ 0)" if s.values else "", ""]
    else:
        cells = [_fixed(s.mean, s.mean_places),
                 ("×" if s.geometric else "") + _fixed(s.spread, s.spread_places)
                 + (" (default)" if s.spread_is_default else "")]
    if include_count:
        cells.append(str(len(s.values)))
    if include_values:
        cells.append(_values_text(s.values))
    return cells


def format_table(table, width=100, max_cell=30, max_title=48):
    """A plain-text table for a terminal, and a legend for the marks it
    uses. Each assay's alias heads its columns; long texts end in an
    ellipsis, and the assays are wrapped into blocks no wider than
    ``width``, each block repeating the compound (and batch) columns."""
    keys = len(table.keys)
    short = list(table.keys)
    numeric = [False] * keys
    groups = []
    for a in table.assays:
        names = ["geo. mean", "geo. SD"] if a.geometric else ["arith. mean", "SD"]
        if a.include_count:
            names.append("n")
        if a.include_values:
            names.append("values")
        groups.append((a.alias, names))
        short += names
        numeric += [name != "values" for name in names]

    body = []
    for key, summaries in table.rows:
        cells = list(key)
        for a, s in zip(table.assays, summaries):
            cells += table_cells(s, a.include_count, a.include_values)
        body.append([_cut(cell, max_cell) for cell in cells])
    _align_default_marks(body, short)
    widths = [max([len(short[i])] + [len(r[i]) for r in body]) for i in range(len(short))]

    spans, start = [], keys
    for alias, names in groups:
        columns = list(range(start, start + len(names)))
        start += len(names)
        # Widen the first column so the alias fits above the assay's columns.
        missing = min(len(alias), max_title) - (sum(widths[i] for i in columns) + 2 * (len(columns) - 1))
        if missing > 0:
            widths[columns[0]] += missing
        spans.append((_cut(alias, max_title), columns))

    def cell(text, i):
        return text.rjust(widths[i]) if numeric[i] else text.ljust(widths[i])

    def block(assays):
        columns = list(range(keys)) + [i for _, group in assays for i in group]
        titles = ["".ljust(widths[i]) for i in range(keys)]
        titles += [alias.ljust(sum(widths[i] for i in group) + 2 * (len(group) - 1)) for alias, group in assays]
        lines = ["  ".join(titles).rstrip(),
                 "  ".join(cell(short[i], i) for i in columns).rstrip(),
                 "  ".join("-" * widths[i] for i in columns)]
        lines += ["  ".join(cell(r[i], i) for i in columns).rstrip() for r in body]
        return "\n".join(lines)

    keys_width = sum(widths[i] + 2 for i in range(keys))
    blocks: list[str] = []
    current: list[tuple] = []
    size = keys_width
    for alias, group in spans:
        needed = sum(widths[i] + 2 for i in group)
        if current and size + needed > width + 2:
            blocks.append(block(current))
            current, size = [], keys_width
        current.append((alias, group))
        size += needed
    blocks.append(block(current))
    return "\n\n".join(blocks + [legend(table)]).rstrip()


def legend(table):
    """What the table's heads and marks mean, for those it uses."""
    summaries = [s for _, row in table.rows for s in row]
    lines = []
    if any(a.geometric for a in table.assays):
        lines.append("geo. SD: geometric standard deviation, a factor: most values lie between "
                     "the geometric mean ÷ the factor and × the factor.")
    if not all(a.geometric for a in table.assays):
        lines.append("SD: sample standard deviation, in the assay's unit.")
    if any(s.spread_is_default for s in summaries):
        lines.append("(default): fewer than two values; the assay's default uncertainty stands in "
                     "for the spread (beside a geometric mean, as the factor it amounts to at that value).")
    if any(note(s) == NOT_POSITIVE_NOTE for s in summaries):
        lines.append("n/a (value ≤ 0): a geometric mean needs values above zero.")
    return "\n".join(lines)


def _align_default_marks(body, short):
    # A spread column with "(default)" cells pads the others to the same
    # width, so that the numbers stay right-aligned above one another.
    mark = " (default)"
    for i in range(len(short)):
        if short[i] not in ("SD", "geo. SD"):
            continue
        if any(row[i].endswith(mark) for row in body):
            for row in body:
                if row[i] and not row[i].endswith(mark):
                    row[i] += " " * len(mark)


def _fixed(value, places, extra=0):
    """The value rounded to ``places`` decimals plus ``extra`` (negative
    places round to tens, hundreds, ...); empty for None."""
    if value is None:
        return ""
    places += extra
    text = f"{round(value, places):.{max(places, 0)}f}"
    return text[1:] if text.startswith("-") and float(text) == 0 else text  # no "-0.0"


def _plain(value):
    # The shortest text that reads back as the value, without a trailing ".0".
    text = repr(float(value))
    return text[:-2] if text.endswith(".0") else text


def _values_text(values):
    return "; ".join(_plain(v) for v in values)


def _digits(value):
    """How many significant digits the value shows, as the shortest text
    that reads back as it: 1.09 shows 3, 0.05 shows 1. A whole number counts
    down to its units (1200 shows 4): its text cannot say more."""
    d = Decimal(repr(float(value))).normalize().as_tuple()
    if not isinstance(d.exponent, int):  # NaN or infinity: no digits to count
        return MAX_DIGITS
    return len(d.digits) + max(d.exponent, 0)


def _data_digits(values):
    # A number cannot show its trailing zeros (a reported 4.80 arrives as
    # 4.8), so the values carry as many digits as the most precise shows.
    return min(max(_digits(v) for v in values), MAX_DIGITS)


def _decimals_of_largest(values, digits):
    # A sum is only as precise as its coarsest term: the largest value, at
    # the data's number of digits.
    largest = max(values, key=abs)
    return _places_for_significant_digits(largest, digits)


def _places_for_significant_digits(value, digits):
    if value == 0 or not math.isfinite(value):
        return 0
    places = digits - 1 - math.floor(math.log10(abs(value)))
    # Rounding may carry into the next power of ten (99.97 to two digits is
    # 100): one place fewer keeps the number of digits.
    if abs(round(value, places)) >= 10.0 ** (digits - places):
        places -= 1
    return places


def _decimals_as_given(value):
    # A default uncertainty is written as the document gave it.
    exponent = Decimal(repr(float(value))).normalize().as_tuple().exponent
    return -exponent if value and isinstance(exponent, int) else 0


def _unique_aliases(columns):
    # Two assays given the same display name (or one named like a key
    # column) would share a column name; the later ones get their assay name
    # added so that no column is lost or merged.
    seen = {"Compound", "Batch"}
    result = []
    for c in columns:
        alias = c.alias
        if alias in seen:
            alias = f"{alias} [{c.assay}]"
        seen.add(alias)
        result.append(c._replace(alias=alias))
    return result


def _flag(value):
    # The dialog's boolean reading: numbers by rounding, strings unless
    # empty, "0" or "false"; anything else false.
    if isinstance(value, bool):
        return value
    if isinstance(value, (int, float)):
        return not math.isnan(value) and round(value) != 0
    if isinstance(value, str):
        return value not in ("", "0") and value.lower() != "false"
    return False


def _number(value):
    """A finite number, 0 otherwise. The dialog keeps uncertainties as 32-bit
    floats (a typed 0.1 comes back as 0.10000000149011612); they are read
    back as the shortest decimal that gives the same float."""
    if isinstance(value, bool):
        return 1.0 if value else 0.0
    if isinstance(value, str):
        try:
            value = float(value)
        except ValueError:
            return 0.0
    if not isinstance(value, (int, float)) or not math.isfinite(value):
        return 0.0
    return _shortest_float32(float(value))


def _shortest_float32(value):
    try:
        single = struct.unpack("f", struct.pack("f", value))[0]
    except OverflowError:
        return value
    if single != value:
        return value
    for digits in range(1, 10):
        text = f"{value:.{digits}g}"
        if struct.unpack("f", struct.pack("f", float(text)))[0] == single:
            return float(text)
    return value


def _text(value):
    # As the dialog shows a non-text alias: numbers and booleans as text,
    # anything else empty.
    if isinstance(value, (list, dict)):
        return ""
    if isinstance(value, bool):
        return "true" if value else "false"
    if isinstance(value, float) and value.is_integer():
        return str(int(value))
    return str(value)


def _cut(text, width):
    return text if len(text) <= width else text[: width - 1] + "…"
