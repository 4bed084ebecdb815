# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""Example query: Veldmark assay results as columns of the host's data set.

Run by the host, which registers the dialogs before it runs the script:

    veldmark-script-host examples/veldmark_query.py [--fixture FILE] [OUTPUT_FOLDER]

1. VeldmarkSelection: the user ticks libraries and chooses per compound or
   per batch.
2. ProgressDialog: the results are fetched library by library; Cancel stops.
3. VeldmarkDisplay: the user picks the assays to bring in and their options.
4. The columns are computed, written to OUTPUT_FOLDER/veldmark_results.csv
   (default folder: ./veldmark-results) and printed as a table.

--fixture FILE loads the service's data from a JSON file instead of the
built-in sample (see veldmark_service.VeldmarkService.from_file).
"""

import json
import os
import sys

from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection


def _add_own_folder_to_path():
    # The host runs the script without putting its folder on sys.path.
    here = globals().get("__file__") or (sys.argv[0] if sys.argv else "")
    folder = os.path.dirname(os.path.abspath(here)) if here else os.getcwd()
    if folder not in sys.path:
        sys.path.insert(0, folder)


_add_own_folder_to_path()

from veldmark_columns import build_table, csv_header, format_table, write_csv  # noqa: E402
from veldmark_service import VeldmarkService  # noqa: E402

USAGE = "usage: veldmark_query.py [--fixture FILE] [OUTPUT_FOLDER]"

# ProgressDialog's dots wrap at 40 characters, and a message that long or
# longer never animates; at most 34 leaves room for six dots or more.
PROGRESS_MESSAGE_LENGTH = 34


def parse_arguments(argv):
    """(fixture path or None, output folder) from the script's arguments."""
    fixture, folder = None, None
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--fixture" and args:
            fixture = args.pop(0)
        elif arg in ("-h", "--help") or arg.startswith("-") or folder is not None:
            raise SystemExit(USAGE)
        else:
            folder = arg
    return fixture, folder or "veldmark-results"


def choose_libraries(service):
    """(libraries, aggregation mode), or None when the user cancels."""
    dialog = VeldmarkSelection()
    dialog.setAvailableItems(service.library_groups())
    if not dialog.run():
        return None
    return list(dialog.selectedItems()), dialog.aggregationMode()


def _qt_length(text):
    # Qt counts UTF-16 code units: a character beyond U+FFFF counts two.
    return len(text.encode("utf-16-le")) // 2


def progress_message(library, number, count):
    """'3/38 Kinase panel – BRAF V600E': the library's place in the fetch and
    its name, cut short with '…' where the whole would be too long to
    animate."""
    counter = f"{number}/{count} "
    message = counter + library
    if _qt_length(message) <= PROGRESS_MESSAGE_LENGTH:
        return message
    name = library
    while name and _qt_length(counter + name + "…") > PROGRESS_MESSAGE_LENGTH:
        name = name[:-1]
    return counter + name.rstrip() + "…"


def fetch(service, libraries):
    """All measurements of the libraries, or None when the user cancels."""
    progress = ProgressDialog()
    progress.show()
    found = []
    for number, library in enumerate(libraries, 1):
        progress.setMessage(progress_message(library, number, len(libraries)))
        for record in service.fetch(library):
            found.append(record)
            progress.tick()
            if progress.cancelled():
                return None
    progress.accept()  # closes it; close() would count as Cancel
    return found


def display_document(service, measurements):
    """The display data document for the assays found: every assay checked,
    named with its unit, potencies and rates averaged geometrically."""
    document = {}
    for name in sorted({m.assay for m in measurements}):
        assay = service.assay(name)
        unit = assay.unit if assay else ""
        document[name] = {
            "selected": True,
            "alias": f"{name} [{unit}]" if unit else name,
            "default_uncertainty": assay.typical_error if assay else 0.0,
            "include_count": False,
            "include_values": False,
            "factor": bool(assay and assay.log_normal),
        }
    return document


def choose_columns(document):
    """The user's version of the document, or None when the user cancels."""
    dialog = VeldmarkDisplay()
    dialog.setDisplayData(json.dumps(document, ensure_ascii=False).encode("utf-8"))
    if not dialog.run():
        return None
    return json.loads(dialog.displayData().data())


def main(argv):
    fixture, folder = parse_arguments(argv)
    service = VeldmarkService.from_file(fixture) if fixture else VeldmarkService.sample()

    chosen = choose_libraries(service)
    if chosen is None:
        print("Query cancelled: no libraries chosen.")
        return
    libraries, aggregation = chosen

    measurements = fetch(service, libraries)
    if measurements is None:
        print("Query cancelled while fetching results.")
        return
    if not measurements:
        print(f"No results in {', '.join(libraries)}.")
        return

    document = choose_columns(display_document(service, measurements))
    if document is None:
        print("Query cancelled: no assays chosen.")
        return

    table = build_table(measurements, document, aggregation)
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "veldmark_results.csv")
    write_csv(table, path)
    print(format_table(table))
    print(f"\n{len(table.rows)} rows per {aggregation}, {len(csv_header(table))} columns, "
          f"from {len(measurements)} measurements in {len(libraries)} "
          f"{'library' if len(libraries) == 1 else 'libraries'}.")
    print(f"CSV written to {os.path.abspath(path)}")


if __name__ == "__main__":
    main(sys.argv[1:])
