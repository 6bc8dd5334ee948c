#!/usr/bin/env python3
"""Ultimate bending moment against corrosion allowance, sagging and hogging.

Reads a case (the tanker example by default), keeps the options of its first case study and
builds, in memory, one case study per corrosion allowance from 0 to --max mm in steps of 0.5 mm
(the options file's corrosion code), each sagging (heel 0) and hogging (heel 180). One call runs
them all, in parallel threads; the picture goes to --output (PNG) and the table to standard output.

    PYTHONPATH=build/python /usr/bin/python3 examples/python/corrosion_sweep.py
"""

import argparse
import dataclasses
import pathlib
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import tarnova  # noqa: E402

HERE = pathlib.Path(__file__).resolve().parent


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--case", default=HERE.parent / "tanker" / "TANKER.ana", type=pathlib.Path,
                        help="any file of the case (default: the tanker example)")
    parser.add_argument("--max", type=float, default=3.0,
                        help="largest corrosion allowance, mm (default 3.0)")
    parser.add_argument("--output", default="corrosion_sweep.png", type=pathlib.Path,
                        help="the picture (PNG; default corrosion_sweep.png)")
    parser.add_argument("--threads", type=int, default=None,
                        help="threads for the case studies (default: one per processor)")
    args = parser.parse_args()

    case = tarnova.read_case(args.case)
    base = case.studies[0]
    codes = range(0, int(round(args.max / 0.5)) + 1)
    case.studies = [dataclasses.replace(base, corrosion=code, heel=heel)
                    for code in codes for heel in (0.0, 180.0)]
    results = tarnova.run(case, threads=args.threads)

    allowance = [0.5 * code for code in codes]
    sagging = [r.ultimate_moment for r in results[0::2]]
    hogging = [r.ultimate_moment for r in results[1::2]]
    plastic = [r.plastic_moment for r in results[0::2]]

    print(f"{case.name}: {case.element_count} elements, E/B/T {base.behaviour}, "
          f"{'SHED' if base.shedding == 1 else 'CONST'}, tension block {base.tension_block_width}")
    print("  corrosion (mm)   sagging (N.mm)   hogging (N.mm)   plastic (N.mm)")
    for c, s, h, p in zip(allowance, sagging, hogging, plastic):
        print(f"  {c:14.1f} {s:16.4e} {h:16.4e} {p:16.4e}")

    figure, axes = plt.subplots(figsize=(7.5, 4.8), dpi=100)
    axes.plot(allowance, [m / 1e12 for m in hogging], "o-", label="hogging (heel 180°)")
    axes.plot(allowance, [m / 1e12 for m in sagging], "s-", label="sagging (heel 0°)")
    axes.plot(allowance, [m / 1e12 for m in plastic], ":", color="grey", label="plastic moment")
    axes.set_xlabel("corrosion allowance (mm off plate and web, twice that off flanges)")
    axes.set_ylabel("ultimate bending moment (10¹² N·mm)")
    axes.set_title(f"{case.name}: ultimate moment against corrosion allowance")
    axes.grid(True, alpha=0.3)
    axes.legend()
    figure.tight_layout()
    figure.savefig(args.output)
    print(f"picture: {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
