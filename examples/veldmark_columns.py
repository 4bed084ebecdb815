"""The columns a query adds to the host's data set, from the user's choices.

Pure Python (standard library only), so it can be tried without the host:

    rows = [Measurement(...), ...]            # what the service returned
    options = json.loads(display.displayData().data())
    table = build_table(rows, options, "compound")
    write_csv(table, "results.csv")
    print(format_table(table))

For every assay the user checked ("selected") there are two columns, the
mean and its uncertainty, and optionally two more:

- "<alias>": the arithmetic mean of the values, or the geometric mean when
  "factor" is true (empty when a geometric mean meets a value <= 0, which
  has no logarithm);
- "<alias> SD": the sample standard deviation of the values (n - 1 in the
  denominator), or the assay's "default_uncertainty" when there are fewer
  than two values;
- "<alias> n": the number of values, when "include_count" is true;
- "<alias> values": the individual values, "; "-separated in the order the
  service reported them, when "include_values" is true.

The alias is the assay name when "alias" is empty. Values are grouped per
compound or per batch (the selection dialog's aggregation mode).
"""

import csv
import math
import struct
from collections import namedtuple

Table = namedtuple("Table", "header rows keys groups")
Table.__doc__ = """header: column names; rows: lists of cells (str, int, float or None);
keys: how many leading columns name the row (compound, and batch);
groups: per assay, in header order, (alias, short names of its columns)."""

AssayColumns = namedtuple("AssayColumns", "assay alias geometric default_uncertainty include_count include_values")


def read_options(document):
    """The selected assays of a display data document (a dict, as parsed
    from ``displayData()``), as AssayColumns in ascending name order.

    Members are read as the dialog reads them, so a hand-written document
    with odd values still gives a defined result: a missing "selected"
    counts as true, a non-numeric uncertainty as 0, an entry that is not an
    object as an entry with every default.
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
            default_uncertainty=_number(entry.get("default_uncertainty", 0)),
            include_count=_flag(entry.get("include_count", False)),
            include_values=_flag(entry.get("include_values", False)),
        ))
    return _unique_aliases(chosen)


def build_table(measurements, document, aggregation):
    """The host's columns: one row per compound (aggregation "compound") or
    per batch (anything else, normally "batch"), in ascending order, for the
    compounds or batches that have a value of at least one selected assay."""
    per_batch = aggregation != "compound"
    columns = read_options(document)
    wanted = {c.assay for c in columns}

    values = {}  # (row key, assay) -> [value, ...]
    keys = set()
    for m in measurements:
        if m.assay not in wanted:
            continue
        key = (m.compound, m.batch) if per_batch else (m.compound,)
        keys.add(key)
        values.setdefault((key, m.assay), []).append(m.value)

    header = ["Compound", "Batch"] if per_batch else ["Compound"]
    groups = []
    for c in columns:
        short = ["geo. mean" if c.geometric else "mean", "SD"]
        header += [c.alias, c.alias + " SD"]
        if c.include_count:
            short.append("n")
            header.append(c.alias + " n")
        if c.include_values:
            short.append("values")
            header.append(c.alias + " values")
        groups.append((c.alias, short))

    rows = []
    for key in sorted(keys):
        row = list(key)
        for c in columns:
            found = values.get((key, c.assay), [])
            row += [mean(found, c.geometric), uncertainty(found, c.default_uncertainty)]
            if c.include_count:
                row.append(len(found))
            if c.include_values:
                row.append("; ".join(format_number(v) for v in found))
        rows.append(row)
    return Table(header, rows, 2 if per_batch else 1, groups)


def mean(values, geometric):
    """Arithmetic or geometric mean; None without values, and None for a
    geometric mean of values that are not all positive."""
    if not values:
        return None
    if geometric:
        if any(v <= 0 for v in values):
            return None
        if len(values) == 1:
            return values[0]  # exactly, without a round trip through log and exp
        return math.exp(math.fsum(math.log(v) for v in values) / len(values))
    return math.fsum(values) / len(values)


def uncertainty(values, default):
    """Sample standard deviation, or the default with fewer than two values;
    None without values."""
    if not values:
        return None
    if len(values) < 2:
        return default
    centre = math.fsum(values) / len(values)
    return math.sqrt(math.fsum((v - centre) ** 2 for v in values) / (len(values) - 1))


def format_number(value, digits=6):
    if value is None:
        return ""
    if isinstance(value, int):
        return str(value)
    return f"{value:.{digits}g}"


def write_csv(table, path):
    """Writes the table as UTF-8 CSV; numbers at full precision, missing
    cells empty."""
    with open(path, "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f)
        writer.writerow(table.header)
        for row in table.rows:
            writer.writerow(["" if cell is None else (repr(cell) if isinstance(cell, float) else cell)
                             for cell in row])


def format_table(table, width=100, digits=4, max_cell=30, max_title=48):
    """A plain-text table for a terminal. Each assay's alias heads its
    columns; numbers show four significant digits, long texts end in an
    ellipsis, and the assays are wrapped into blocks no wider than ``width``,
    each block repeating the compound (and batch) columns."""
    keys = table.header[:table.keys]
    body = [[_cut(cell if isinstance(cell, str) else format_number(cell, digits), max_cell)
             for cell in row] for row in table.rows]
    short = keys + [name for _, names in table.groups for name in names]
    widths = [max([len(short[i])] + [len(r[i]) for r in body]) for i in range(len(short))]
    numeric = [all(_is_number(row[i]) for row in table.rows) for i in range(len(short))]

    spans, start = [], table.keys
    for alias, names in table.groups:
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
        columns = list(range(table.keys)) + [i for _, group in assays for i in group]
        titles = ["".ljust(widths[i]) for i in range(table.keys)]
        titles += [alias.ljust(sum(widths[i] for i in group) + 2 * (len(group) - 1)) for alias, group in assays]
        lines = ["  ".join(titles).rstrip(),
                 "  ".join(cell(short[i], i) for i in columns).rstrip(),
                 "  ".join("-" * widths[i] for i in columns)]
        lines += ["  ".join(cell(r[i], i) for i in columns).rstrip() for r in body]
        return "\n".join(lines)

    keys_width = sum(widths[i] + 2 for i in range(table.keys))
    blocks, current, size = [], [], keys_width
    for alias, group in spans:
        needed = sum(widths[i] + 2 for i in group)
        if current and size + needed > width + 2:
            blocks.append(block(current))
            current, size = [], keys_width
        current.append((alias, group))
        size += needed
    blocks.append(block(current))
    return "\n\n".join(blocks)


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


def _is_number(cell):
    return cell is None or (isinstance(cell, (int, float)) and not isinstance(cell, bool))


def _cut(text, width):
    return text if len(text) <= width else text[: width - 1] + "…"
