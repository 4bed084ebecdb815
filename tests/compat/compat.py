#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

"""Runs the compatibility scripts through the stand-in host and compares what
they print.

  compat.py check  --host H --plugins P [script...]
      each script through H against its file in expected/; exit 1 on a
      difference, 77 when every script given is one H must not run.
  compat.py compare --host H --plugins P --reference-host R --reference-plugins RP [script...]
      each script through H (our bridge) and R (the real PythonQt): shows
      where they differ and where R no longer prints its expected file.
  compat.py record --host H --plugins P --reference-host R --reference-plugins RP [script...]
      writes expected/: from R, except the deliberate differences, from H.

Add --reference to check when H is built against the real PythonQt.
Deliberate differences are listed, with their reason, in deliberate.txt."""

import argparse
import difflib
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
EXPECTED = HERE / "expected"
DELIBERATE = HERE / "deliberate.txt"
# The conformance matrix: generated calls, one theme a script (matrix/README.md).
MATRIX = HERE / "matrix"
# Matrix themes that still differ only by what our bridge does not offer yet;
# CTest leaves them out and compare reports them without failing.
PENDING = MATRIX / "pending.txt"
HELPERS = {"compat.py", "observe.py", "matrix.py"}
SKIPPED = 77
# A script that holds this line runs its dialogs modally, answered by the
# host's simulated user.
SIMULATED_USER = "# compat: simulated user"


def scripts(names):
    """The scripts named (as "x.py" or "matrix/x.py"), or all of them."""
    if names:
        return [HERE / name for name in names]
    return [p for folder in (HERE, MATRIX) for p in sorted(folder.glob("*.py")) if p.name not in HELPERS]


def key(script):
    """A script's name in deliberate.txt and pending.txt: "x.py", "matrix/x.py"."""
    return script.relative_to(HERE).as_posix()


def pending():
    """{matrix theme: what it still lacks}."""
    entries = {}
    for line in PENDING.read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            name, reason = line.split(None, 1)
            entries[name] = reason.strip()
    return entries


def deliberate():
    """{script name: (kind, reason)}; kind "crash": the real PythonQt crashes
    on it, so it is not run there; "differs": it runs on both, differently."""
    entries = {}
    for line in DELIBERATE.read_text(encoding="utf-8").splitlines():
        # "matrix:" lines leave out single calls: matrix/matrix.py reads them.
        if not line.strip() or line.startswith(("#", "matrix:")):
            continue
        name, kind, reason = line.split(None, 2)
        if kind not in ("crash", "differs"):
            raise SystemExit(f"{DELIBERATE}: unknown kind {kind!r} for {name}")
        entries[name] = (kind, reason.strip())
    return entries


def run(host, plugins, script):
    """What the host prints running a copy of script (the real PythonQt
    writes a .pyc beside the file it runs): stdout, stderr, exit status."""
    with tempfile.TemporaryDirectory(prefix="compat-") as folder:
        work = Path(folder)
        shutil.copy(script, work / script.name)
        shutil.copy(HERE / "observe.py", work / "observe.py")
        if script.parent == MATRIX:
            shutil.copy(MATRIX / "matrix.py", work / "matrix.py")
            shutil.copy(DELIBERATE, work / "deliberate.txt")
        runtime = work / "runtime"
        runtime.mkdir(mode=0o700)
        environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", PYTHONPATH=str(work),
                           PYTHONDONTWRITEBYTECODE="1", XDG_RUNTIME_DIR=str(runtime))
        try:
            command = [str(host.resolve()), "--plugins", str(plugins.resolve())]
            if SIMULATED_USER in script.read_text(encoding="utf-8"):
                pictures = work / "pictures"
                pictures.mkdir()
                command += ["--simulated-user", str(pictures)]
            done = subprocess.run(command + [str(work / script.name)],
                                  cwd=work, env=environment, capture_output=True, timeout=120)
            out, err, status = done.stdout, done.stderr, done.returncode
        except subprocess.TimeoutExpired as timeout:
            out, err, status = timeout.stdout or b"", timeout.stderr or b"", "timeout"
        text = out.decode("utf-8", "replace")
        errors = err.decode("utf-8", "replace")
        if errors:
            text += "--- stderr\n" + errors
        if not text.endswith("\n"):
            text += "\n"
        if isinstance(status, int) and status < 0:
            status = signal.Signals(-status).name
        text += f"--- exit {status}\n"
        return normalise(text, folder)


def normalise(text, folder):
    text = text.replace(folder + "/", "").replace(folder, ".")
    return re.sub(r"0x[0-9a-fA-F]+", "0x?", text)


def diff(expected, actual, expected_name, actual_name):
    return "".join(difflib.unified_diff(expected.splitlines(True), actual.splitlines(True),
                                        expected_name, actual_name))


def expected_file(script):
    return script.parent / "expected" / (script.stem + ".txt")


def check(args):
    known = deliberate()
    failed = ran = 0
    for script in scripts(args.scripts):
        if args.reference and key(script) in known:
            print(f"{key(script)}: skipped, our bridge differs on purpose: {known[key(script)][1]}")
            continue
        ran += 1
        if not expected_file(script).exists():
            failed += 1
            print(f"{key(script)}: no {expected_file(script).relative_to(HERE).as_posix()} (compat.sh --record writes it)")
            continue
        actual = run(args.host, args.plugins, script)
        expected = expected_file(script).read_text(encoding="utf-8")
        if actual != expected:
            failed += 1
            print(f"{key(script)}: differs from {expected_file(script).relative_to(HERE).as_posix()}")
            print(diff(expected, actual, "expected", "printed"))
        else:
            print(f"{key(script)}: as expected")
    if failed:
        return 1
    return 0 if ran else SKIPPED


def compare(args):
    known = deliberate()
    waiting = pending()
    failed = []
    for script in scripts(args.scripts):
        kind, reason = known.get(key(script), (None, None))
        ours = run(args.host, args.plugins, script)
        if kind == "crash":
            print(f"== {key(script)}: ours only, the real PythonQt crashes: {reason}")
            continue
        real = run(args.reference_host, args.reference_plugins, script)
        difference = diff(real, ours, "real PythonQt", "our bridge")
        if not difference:
            print(f"== {key(script)}: same")
        elif key(script) in waiting:
            print(f"== {key(script)}: differs, pending: {waiting[key(script)]}")
            print(difference)
        elif kind == "differs":
            print(f"== {key(script)}: differs on purpose: {reason}")
            print(difference)
        else:
            failed.append(key(script))
            print(f"== {key(script)}: DIFFERS")
            print(difference)
        expected = expected_file(script)
        if kind is None and (not expected.exists() or expected.read_text(encoding="utf-8") != real):
            failed.append(key(script))
            print(f"== {key(script)}: the real PythonQt no longer prints {expected.relative_to(HERE).as_posix()}"
                  " (compat.sh --record writes it again)")
    if failed:
        print("Differences in: " + " ".join(sorted(set(failed))))
        return 1
    print("No differences but the deliberate ones.")
    return 0


def record(args):
    known = deliberate()
    for script in scripts(args.scripts):
        if key(script) in known:
            text, source = run(args.host, args.plugins, script), "our bridge"
        else:
            text, source = run(args.reference_host, args.reference_plugins, script), "the real PythonQt"
        expected_file(script).parent.mkdir(exist_ok=True)
        expected_file(script).write_text(text, encoding="utf-8")
        print(f"{expected_file(script).relative_to(HERE).as_posix()}: from {source}")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=("check", "compare", "record"))
    parser.add_argument("--host", type=Path, required=True)
    parser.add_argument("--plugins", type=Path, required=True)
    parser.add_argument("--reference-host", type=Path)
    parser.add_argument("--reference-plugins", type=Path)
    parser.add_argument("--reference", action="store_true",
                        help="the host is built against the real PythonQt")
    parser.add_argument("scripts", nargs="*")
    args = parser.parse_intermixed_args()
    if args.mode != "check" and not (args.reference_host and args.reference_plugins):
        parser.error(f"{args.mode} needs --reference-host and --reference-plugins")
    return {"check": check, "compare": compare, "record": record}[args.mode](args)


if __name__ == "__main__":
    sys.exit(main())
