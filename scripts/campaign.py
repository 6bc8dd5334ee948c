#!/usr/bin/env python3
"""Mutation campaign: mutated case files of the examples through Strakon, mutated element curve
files through Pickara and Curvella. Seeded, so every run of the campaign mutates the same way.
Then the edge stage: each plausible range's ends and their neighbours, one field at a time,
through Strakon and Flexura.

Each run must end within its time limit; a run that fails must name the mutated file on standard
error; a run that succeeds must leave no NaN, Inf or asterisk field in any file it writes (the case
results and report files, the element curve files, the trace lixo.tmp, the tripping table AT.T and
Flexura's tables). In the edge stage a value inside its range must run, one beyond it must stop
naming its file.

    scripts/campaign.py BUILD_DIR [--seed N] [--cases 300] [--curves 150] [--no-edges]
"""

import argparse
import os
import random
import re
import shutil
import struct
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

# The rules that tie fields together: a value inside its own range may still be refused by them.
COMBINED = re.compile(rb"plate slenderness|section depth|all elements stand at the same height")

# The plausible ranges, as the options, geometry and properties files hold them: file, record
# (from 1), columns, implied decimals (the field's last digit), lowest, highest, and whether the
# lowest itself is refused. Element fields go into the second element (a stiffened one), property
# fields into set 1, option fields into every case study.
RANGES = [
    (".geo", 6, (1, 7), 1, 10.0, 20000.0, False),         # frame spacing
    (".geo", 6, (8, 14), 1, 10.0, 20000.0, False),        # plate width
    (".geo", 6, (15, 21), 1, 0.0, 500.0, True),           # plate thickness
    (".geo", 6, (22, 28), 1, 0.0, 5000.0, False),         # flange width
    (".geo", 6, (29, 35), 1, 0.0, 500.0, False),          # flange thickness
    (".geo", 6, (36, 42), 1, 0.0, 8000.0, False),         # web height
    (".geo", 6, (43, 49), 1, 0.0, 500.0, False),          # web thickness
    (".geo", 6, (53, 56), 2, -0.99, 9.99, False),         # spare value
    (".geo", 6, (61, 69), 1, -99000.0, 99000.0, False),   # x
    (".geo", 6, (70, 78), 1, -99000.0, 99000.0, False),   # y (the section depth ends first)
    (".geo", 2, (1, 10), 1, -9999999.0, 99999992.0, False),   # header values
    (".geo", 2, (11, 20), 1, -9999999.0, 99999992.0, False),
    (".geo", 2, (21, 30), 1, -9999999.0, 99999992.0, False),
    (".pro", 1, (1, 10), 1, 1.0, 2000.0, False),          # yield stress
    (".pro", 1, (11, 20), 1, 1000.0, 1000000.0, False),   # Young's modulus
    (".ana", None, (7, 11), 2, 0.0, 20.0, False),         # tension block width
    (".ana", None, (12, 16), 1, -99.9, 999.9, False),     # heel
    (".ana", None, (17, 21), 4, 0.0, 0.9999, False),      # initial distortion coefficient
    (".ana", None, (22, 25), 0, -99.0, 999.0, False),     # spare option
]


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


def written(home):
    """Every file a run of the programs writes in a case directory."""
    return [p for p in sorted(home.iterdir()) if p.suffix == ".rst" or p.name.startswith("jc")
            or re.fullmatch(r"\.te.", p.suffix or "") or p.name in ("lixo.tmp", "AT.T")
            or p.suffix == ".csv"]


def echoed_text(home, stem):
    """Records that echo free text (the section title in the trace), not numbers: left out."""
    geo = home / (stem + ".geo")
    if not geo.is_file():
        return set()
    records = re.split(rb"\r\n|\r|\n", geo.read_bytes())
    return {records[0][:80].rstrip()} if records else set()


def judge(label, status, errors, named, results, text_records=frozenset()):
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
            if line.rstrip(b"\r").rstrip() in text_records:
                continue
            if RESULT_BAD.search(line):
                bad.append(f"{label}: {result.name} record {number}: {line.decode('latin-1').rstrip()}")
                break
    return bad


def field_text(value, width, fraction):
    """`value` written with its point for a field of `width` characters, or None if it does not fit."""
    text = f"{value:.{fraction}f}" + ("." if fraction == 0 else "")
    if len(text) > width:
        text = text.replace("0.", ".", 1) if text.startswith(("0.", "-0.")) else text
    return text if len(text) <= width else None


def single(value):
    """`value` as the calculation holds it (single precision)."""
    return struct.unpack("f", struct.pack("f", value))[0]


def beyond(end, step):
    """The first value past `end` by a multiple of ten of `step` that single precision tells apart
    from it (next to 99999992 the floats lie 8 apart)."""
    while single(end + step) == single(end):
        step *= 10
    return end + step


def edge_values(lowest, highest, fraction, above_lowest):
    """(value, where) for each end of a range ("end"), its neighbour inside ("inside") and its
    neighbour outside ("outside")."""
    step = 10.0 ** -fraction
    low = lowest + step if above_lowest else lowest
    return [(low, "end"), (low + step, "inside"), (highest - step, "inside"), (highest, "end"),
            (lowest if above_lowest else beyond(lowest, -step), "outside"), (beyond(highest, step), "outside")]


def set_columns(record, first, last, text):
    width = last - first + 1
    record = record.ljust(last)
    return record[:first - 1] + text.rjust(width) + record[last:]


def edge_stage(strakon, flexura, scratch, failures, counts):
    """Each range's ends and neighbours, one field at a time, on both examples."""
    for folder, stem in EXAMPLES:
        for kind, record, (first, last), fraction, lowest, highest, above in RANGES:
            # The box carries every field; the tanker (eight case studies, 120 elements) the
            # options, which reach every case study, and the properties.
            if stem == "TANKER" and kind == ".geo":
                continue
            for value, where in edge_values(lowest, highest, fraction, above):
                text = field_text(value, last - first + 1, fraction)
                if text is None:
                    continue
                home = scratch / f"edge-{stem}-{kind[1:]}{first}-{text}"
                home.mkdir()
                for ext in (".ana", ".geo", ".pro"):
                    shutil.copy(ROOT / "examples" / folder / (stem + ext), home)
                target = home / (stem + kind)
                records = target.read_bytes().decode("latin-1").split("\r\n")
                numbers = range(1, int(records[0][:2]) + 1) if record is None else [record - 1]
                for n in numbers:
                    records[n] = set_columns(records[n], first, last, text)
                target.write_bytes("\r\n".join(records).encode("latin-1"))
                label = f"edge {stem}{kind} columns {first}-{last} = {text!r}"
                status, errors = run(strakon, [str(home / (stem + ".ana"))], home)
                counts["edge Strakon"][0] += 1
                counts["edge Strakon"][1] += status != 0
                if where == "outside":
                    if status != 1 or (stem + kind).encode() not in errors:
                        failures.append(f"{label}: beyond the range, status {status}\n"
                                        f"{errors.decode('latin-1')[-1000:]}")
                    shutil.rmtree(home)
                    continue
                if status == 1 and (stem + kind).encode() in errors and COMBINED.search(errors):
                    shutil.rmtree(home)   # inside its own range, refused by a rule that ties fields
                    continue
                if status != 0:
                    failures.append(f"{label}: inside the range, status {status}\n{errors.decode('latin-1')[-1000:]}")
                    continue
                # Flexura at the ends only: its pictures cost the most under the sanitizers.
                if where == "end":
                    status, errors = run(flexura, [str(home / (stem + ".ana"))], home)
                    counts["edge Flexura"][0] += 1
                    counts["edge Flexura"][1] += status != 0
                    if status != 0:
                        failures.append(f"{label}: Flexura status {status}\n{errors.decode('latin-1')[-1000:]}")
                        continue
                before = len(failures)
                failures += judge(label, status, errors, stem + kind, written(home), echoed_text(home, stem))
                if len(failures) == before:
                    shutil.rmtree(home)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path)
    parser.add_argument("--seed", type=int, default=20261208)
    parser.add_argument("--cases", type=int, default=300)
    parser.add_argument("--curves", type=int, default=150)
    parser.add_argument("--no-edges", action="store_true", help="leave out the edge stage")
    args = parser.parse_args()
    args.build = args.build.resolve()
    strakon = args.build / "Strakon" / "Strakon"
    pickara = args.build / "Pickara" / "Pickara"
    curvella = args.build / "Curvella" / "Curvella"
    flexura = args.build / "Flexura" / "Flexura"
    rng = random.Random(args.seed)
    failures = []
    counts = {"Strakon": [0, 0], "Pickara": [0, 0], "Curvella": [0, 0], "edge Strakon": [0, 0],
              "edge Flexura": [0, 0]}   # runs, non-zero statuses
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
            failures += judge(f"Strakon case {i} ({stem}{kind})", status, errors, stem + kind, written(home),
                              echoed_text(home, stem))
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

        if not args.no_edges:
            edge_stage(strakon, flexura, scratch, failures, counts)

    for line in failures:
        print(line)
    for program, (runs, failed) in counts.items():
        what = "edge-value" if program.startswith("edge") else "mutated"
        print(f"{program}: {runs} {what} runs, {failed} ended with a failure status naming the file")
    print(f"campaign: {len(failures)} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
