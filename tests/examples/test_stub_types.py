# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""Type-checks the examples and the guide's complete example against the
editor stub with mypy, and shows that the stub refuses the mistakes the
bridge would let through or reject only at run time.

Usage: test_stub_types.py CACHE_FOLDER (mypy's cache; the build folder's)."""

import os
import re
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
STUBS = os.path.join(ROOT, "plugin", "stubs")
EXAMPLES = os.path.join(ROOT, "examples")
GUIDE = os.path.join(ROOT, "docs", "scripting.md")
CACHE = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(tempfile.gettempdir(), "veldmark-mypy-cache")

IMPORTS = ("import json\nfrom typing import Dict, Sequence\n"
           "from PythonQt.Kestrane import ProgressDialog, VeldmarkDisplay, VeldmarkSelection\n"
           "from PythonQt.QtCore import QByteArray\n")

# Each script holds one mistake, on the line marked "# wrong".
WRONG = {
    "keyword argument": "ProgressDialog().setMessage(message='Fetching')  # wrong",
    "keyword parent": "ProgressDialog(parent=None)  # wrong",
    "library list as a bare str": "VeldmarkSelection().setAvailableItems({'ADME': 'Solubility'})  # wrong",
    "library lists as bare strs in a map of str": "VeldmarkSelection().setAvailableItems(dict(ADME='Solubility'))  # wrong",
    "a map of library sets": "VeldmarkSelection().setAvailableItems({'ADME': {'Solubility'}})  # wrong",
    "libraries as a list, not a map": "VeldmarkSelection().setAvailableItems(['Solubility'])  # wrong",
    "number where a str is wanted": "ProgressDialog().setMessage(42)  # wrong",
    "None where a str is wanted": "ProgressDialog().setWindowTitle(None)  # wrong",
    "str where a bool is wanted": "ProgressDialog().setEnabled('no')  # wrong",
    "document as a dict": "VeldmarkDisplay().setDisplayData({'Caco-2': {}})  # wrong",
    "bytes() of a byte array": "bytes(VeldmarkDisplay().displayData())  # wrong",
    "len() of a byte array": "len(VeldmarkDisplay().displayData())  # wrong",
    "QByteArray from the package": "from PythonQt.Kestrane import QByteArray  # wrong",
    "a parent that is not a widget": "VeldmarkDisplay(42)  # wrong",
    "selected items as a list": "items: list = VeldmarkSelection().selectedItems()  # wrong",
    "QObject from the package": "from PythonQt.Kestrane import QObject  # wrong",
}

# The same calls written as the guide says: no error.
RIGHT = """
groups: dict[str, list[str]] = {"ADME": ["Solubility"], "Safety": []}
selection = VeldmarkSelection()
selection.setAvailableItems(groups)
selection.setAvailableItems({"ADME": ("Solubility", "Permeability"), "Safety": []})
declared: Dict[str, Sequence[str]] = {"ADME": ["Solubility"], "Safety": ("hERG",)}
selection.setAvailableItems(declared)
libraries: tuple[str, ...] = selection.selectedItems()
progress = ProgressDialog(selection)
progress.setMessage("Fetching " + ", ".join(libraries))
progress.setEnabled(True)
display = VeldmarkDisplay(None)
display.setDisplayData(json.dumps({"Caco-2": {}}).encode("utf-8"))
display.setDisplayData("{}")
choices = json.loads(display.displayData().data())
same: bool = display.displayData() == b"{}"
document: QByteArray = display.displayData()
display.setDisplayData(document)
display.setDisplayData(QByteArray(b"{}"))
display.setDisplayData(QByteArray("{}"))
empty: bool = QByteArray().isEmpty() and document.size() > 0
"""


def mypy(files):
    """mypy's error lines for the files, as {file name: [(line, message)]}.
    Run with settings of its own: no configuration found near the files
    changes what it checks."""
    folder = os.path.dirname(files[0])
    config = os.path.join(folder, "mypy.ini")
    with open(config, "w", encoding="utf-8") as f:
        f.write("[mypy]\n")
    environment = dict(os.environ, MYPYPATH=STUBS)
    result = subprocess.run(
        [sys.executable, "-m", "mypy", "--cache-dir", CACHE, "--python-version", "3.11",
         "--check-untyped-defs", "--show-error-codes", "--no-error-summary", "--no-color-output",
         "--config-file", config, *files],
        capture_output=True, text=True, env=environment, cwd=folder)
    if result.returncode not in (0, 1) or result.stderr.strip():
        raise AssertionError(f"mypy did not run: {result.returncode}\n{result.stdout}\n{result.stderr}")
    errors = {}
    for line in result.stdout.splitlines():
        match = re.match(r"(.+?):(\d+): error: (.*)", line)
        if match:
            errors.setdefault(os.path.basename(match[1]), []).append((int(match[2]), match[3]))
    return errors


def guide_example():
    with open(GUIDE, encoding="utf-8") as f:
        text = f.read()
    section = text.index("\n## A complete example\n")
    return re.compile(r"```python\n(.*?)```", re.S).search(text, section)[1]


class StubTypesTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = folder.name

    def write(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def test_examples_and_guide_pass(self):
        examples = [os.path.join(EXAMPLES, name) for name in sorted(os.listdir(EXAMPLES)) if name.endswith(".py")]
        self.assertIn(os.path.join(EXAMPLES, "veldmark_query.py"), examples)
        guide = self.write("guide_example.py", guide_example())
        right = self.write("right.py", IMPORTS + RIGHT)
        self.assertEqual(mypy([guide, right] + examples), {})

    def test_mistakes_are_caught_where_they_are(self):
        files = {}
        for number, (case, script) in enumerate(WRONG.items()):
            files[f"wrong_{number}.py"] = case
            self.write(f"wrong_{number}.py", IMPORTS + script + "\n")
        errors = mypy([os.path.join(self.folder, name) for name in files])
        wrong_line = IMPORTS.count("\n") + 1
        for name, case in files.items():
            with self.subTest(case):
                found = errors.get(name, [])
                self.assertTrue(found, f"mypy accepts: {WRONG[case]}")
                self.assertEqual({line for line, _ in found}, {wrong_line}, found)


if __name__ == "__main__":
    unittest.main()
