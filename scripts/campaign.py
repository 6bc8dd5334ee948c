#!/usr/bin/env python3
"""Mutation campaign: mutated case files of the examples through Strakon, mutated element curve
files through Pickara and Curvella. Seeded, so every run of the campaign mutates the same way.

Each run must end within its time limit; a run that fails must name the mutated file on standard
error; a run that succeeds must leave no NaN, Inf or asterisk field in a result file.

    scripts/campaign.py BUILD_DIR [--seed N] [--cases 300] [--curves 150]
"""

import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
EXAMPLES = [("box", "BOX"), ("tanker", "TANKER")]
TIME_LIMIT = 60  # seconds; a run of the tanker takes well under one

# Field columns (from 1, inclusive) of each kind of record.
ANA_HEAD = [(1, 2)]
ANA_CASE = [(1, 2), (3, 4), (5, 6), (7, 11), (12, 16), (17, 21), (22, 25)]
GEO_HEAD = {2: [(1, 10), (11, 20), (21, 30)], 3: [(1, 4)]}
GEO_ELEMENT = [(1, 7), (8, 14), (15, 21), (22, 28), (29, 35), (36, 42), (43, 49), (50, 52), (53, 56),
               (57, 60), (61, 69), (70, 78), (79, 80), (81, 82)]
PRO_SET = [(1, 10), (11, 20)]
CURVE_POSITION = [(1, 10), (11, 20), (21, 30)]
CURVE_VALUES = [(1 + 9 * i, 9 + 9 * i) for i in range(10)]

EXTREMES = ["1E20", "-1E20", "1E38", "-1E38", "0", "-0", "-1", "99999999999999999999", "1E-30", "9E9",
            ".", "-", "NaN", "Inf", "", "7", "600", "601", "-99999", "1.5", "\x00", "\x1b[2J", "****",
            "1E+", "12a", "+", "3.4E38", "999999", "0.0001"]

RESULT_BAD = re.compile(rb"\*|nan|inf", re.IGNORECASE)


def fields_of(kind, index, records):
    if kind == ".ana":
        return ANA_HEAD if index == 0 else ANA_CASE
    if kind == ".geo":
        return GEO_HEAD.get(index + 1, GEO_ELEMENT if index >= 4 else [(1, 80)])
    if kind == ".pro":
        return PRO_SET
    # Curve file: the count, the positions, then step blocks of two head records and values.
    if index == 0:
        return [(1, 4)]
    count = int(records[0].strip() or 0) if records[0].strip().isdigit() else 0
    if index <= count:
        return CURVE_POSITION
    return CURVE_VALUES


def mutate(data, kind, rng):
    """One mutation of the bytes of a file: a field, a byte, or a record."""
    records = data.split(b"\r\n")
    how = rng.choices(["field", "field2", "byte", "truncate", "drop", "repeat"], [6, 2, 2, 1, 1, 1])[0]
    if how == "byte" and data:
        at = rng.randrange(len(data))
        return data[:at] + bytes([rng.randrange(256)]) + data[at + 1:]
    if how == "truncate" and data:
        return data[:rng.randrange(len(data))]
    index = rng.randrange(max(1, len(records) - 1))
    if how == "drop":
        return b"\r\n".join(records[:index] + records[index + 1:])
    if how == "repeat":
        return b"\r\n".join(records[:index + 1] + records[index:])
    for _ in range(2 if how == "field2" else 1):
        index = rng.randrange(max(1, len(records) - 1))
        text = records[index].decode("latin-1")
        first, last = rng.choice(fields_of(kind, index, [r.decode("latin-1") for r in records]))
        width = last - first + 1
        value = rng.choice(EXTREMES + [str(rng.uniform(-1e6, 1e6))[:width]])[:width]
        text = text.ljust(last)
        text = text[:first - 1] + value.rjust(width) + text[last:]
        records[index] = text.encode("latin-1")
    return b"\r\n".join(records)


def run(program, arguments, directory, stdin=b""):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    try:
        done = subprocess.run([str(program)] + arguments, cwd=directory, input=stdin, capture_output=True,
                              timeout=TIME_LIMIT, env=env)
    except subprocess.TimeoutExpired:
        return None, b""
    return done.returncode, done.stderr


def judge(label, status, errors, named, results):
    """The failures of one run, as text lines."""
    if status is None:
        return [f"{label}: did not end within {TIME_LIMIT} s"]
    if status < 0 or status > 3:
        return [f"{label}: status {status}\n{errors.decode('latin-1')[-3000:]}"]
    if status != 0:
        if named.encode() not in errors:
            return [f"{label}: status {status} without naming {named}\n{errors.decode('latin-1')[-2000:]}"]
        return []
    bad = []
    for result in results:
        for number, line in enumerate(result.read_bytes().split(b"\n"), 1):
            if RESULT_BAD.search(line):
                bad.append(f"{label}: {result.name} record {number}: {line.decode('latin-1').rstrip()}")
                break
    return bad


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path)
    parser.add_argument("--seed", type=int, default=20261208)
    parser.add_argument("--cases", type=int, default=300)
    parser.add_argument("--curves", type=int, default=150)
    args = parser.parse_args()
    args.build = args.build.resolve()
    strakon = args.build / "Strakon" / "Strakon"
    pickara = args.build / "Pickara" / "Pickara"
    curvella = args.build / "Curvella" / "Curvella"
    rng = random.Random(args.seed)
    failures = []
    counts = {"Strakon": [0, 0], "Pickara": [0, 0], "Curvella": [0, 0]}   # runs, non-zero statuses
    with tempfile.TemporaryDirectory(prefix="campaign-") as scratch:
        scratch = Path(scratch)
        # Curve files of the examples as Strakon writes them.
        curves = []
        for folder, stem in EXAMPLES:
            home = scratch / f"clean-{stem}"
            home.mkdir()
            for ext in (".ana", ".geo", ".pro"):
                shutil.copy(ROOT / "examples" / folder / (stem + ext), home)
            status, errors = run(strakon, [str(home / (stem + ".ana"))], home)
            if status != 0:
                sys.exit(f"the example {stem} does not run: {errors.decode('latin-1')}")
            curves += sorted(home.glob(stem + ".te?"))

        for i in range(args.cases):
            folder, stem = rng.choice(EXAMPLES)
            kind = rng.choice([".ana", ".geo", ".pro"])
            home = scratch / f"case{i}"
            home.mkdir()
            for ext in (".ana", ".geo", ".pro"):
                shutil.copy(ROOT / "examples" / folder / (stem + ext), home)
            target = home / (stem + kind)
            target.write_bytes(mutate(target.read_bytes(), kind, rng))
            status, errors = run(strakon, [str(home / (stem + ".ana"))], home)
            counts["Strakon"][0] += 1
            counts["Strakon"][1] += status != 0
            results = [p for p in home.iterdir() if p.suffix == ".rst" or p.name.startswith("jc")
                       or re.fullmatch(r"\.te.", p.suffix or "")]
            failures += judge(f"Strakon case {i} ({stem}{kind})", status, errors, stem + kind, results)
            if status == 0 or not failures:
                shutil.rmtree(home)

        for i in range(args.curves):
            source = rng.choice(curves)
            home = scratch / f"curve{i}"
            home.mkdir()
            stem = source.stem
            shutil.copy(source.parent / (stem + ".geo"), home)
            target = home / source.name
            target.write_bytes(mutate(source.read_bytes(), ".te", rng))
            element = str(rng.randint(1, 28)).encode() + b"\n"   # an element of either example
            status, errors = run(pickara, [str(target)], home, element)
            counts["Pickara"][0] += 1
            counts["Pickara"][1] += status != 0
            failures += judge(f"Pickara curve {i} ({source.name})", status, errors, source.name,
                              [p for p in home.glob("nElem.txt")])
            status, errors = run(curvella, [str(target)], home)
            counts["Curvella"][0] += 1
            counts["Curvella"][1] += status != 0
            failures += judge(f"Curvella curve {i} ({source.name})", status, errors, source.name,
                              [p for p in home.glob("Element.*")])
            shutil.rmtree(home)

    for line in failures:
        print(line)
    for program, (runs, failed) in counts.items():
        print(f"{program}: {runs} mutated runs, {failed} ended with a failure status naming the file")
    print(f"campaign: {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
