#!/usr/bin/env python3
"""Monte Carlo study of the ultimate bending moment with random yield stress and plate thickness.

Each run draws, independently:
  * the yield stress of each steel (property set): lognormal, mean 1.10 x the nominal value of the
    case, coefficient of variation 8 %, one draw per steel and run (the whole grade varies together);
  * the plate thickness of every element: normal, mean the nominal thickness, standard deviation
    4 % of it, cut off at 3 standard deviations (one draw per element and run).
Everything else is the case as given (the tanker example's first case study by default: sagging,
SHED). The runs go to a Dask cluster in batches: by default a LocalCluster of --workers processes
on this machine, or any running cluster with --scheduler ADDRESS (its workers must import tarnova).
Writes the histogram of the ultimate moment (PNG) and prints its statistics. A run that stops
(CollapseError) is counted and reported, never dropped silently.

    PYTHONPATH=build/python /usr/bin/python3 examples/python/monte_carlo.py --runs 10000
"""

import argparse
import math
import pathlib
import sys
import time

import numpy as np

import tarnova

HERE = pathlib.Path(__file__).resolve().parent

YIELD_BIAS, YIELD_COV = 1.10, 0.08
THICKNESS_COV, THICKNESS_CUT = 0.04, 3.0


def sample_batch(case: tarnova.Case, seed: int, batch: int, count: int):
    """Ultimate moments of `count` random runs (NaN for a run that stopped) and the stop messages.
    The draws depend only on the seed and the batch number, so a study is reproducible whatever
    the cluster."""
    rng = np.random.default_rng([seed, batch])
    sigma = math.sqrt(math.log1p(YIELD_COV ** 2))
    mu = np.log(YIELD_BIAS * case.yield_stress.astype(np.float64)) - sigma ** 2 / 2
    thickness = case.plate_thickness.astype(np.float64)
    moments = np.full(count, np.nan)
    stops = []
    run_case = case.copy()
    for i in range(count):
        run_case.yield_stress = rng.lognormal(mu, sigma).astype(np.float32)
        factor = np.clip(rng.normal(1.0, THICKNESS_COV, thickness.size),
                         1.0 - THICKNESS_CUT * THICKNESS_COV, 1.0 + THICKNESS_CUT * THICKNESS_COV)
        run_case.plate_thickness = (thickness * factor).astype(np.float32)
        try:
            moments[i] = tarnova.run(run_case, threads=1)[0].ultimate_moment
        except tarnova.CollapseError as stop:
            stops.append(str(stop))
    return moments, stops


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--case", default=HERE.parent / "tanker" / "TANKER.ana", type=pathlib.Path,
                        help="any file of the case (default: the tanker example)")
    parser.add_argument("--study", type=int, default=1, help="case study to vary (default 1)")
    parser.add_argument("--runs", type=int, default=10000, help="number of runs (default 10000)")
    parser.add_argument("--batch", type=int, default=250, help="runs per Dask task (default 250)")
    parser.add_argument("--seed", type=int, default=2026, help="random seed (default 2026)")
    parser.add_argument("--workers", type=int, default=2,
                        help="worker processes of the local cluster (default 2)")
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="use a running Dask cluster (e.g. tcp://10.0.0.5:8786) instead")
    parser.add_argument("--output", default="monte_carlo.png", type=pathlib.Path,
                        help="the histogram (PNG; default monte_carlo.png)")
    args = parser.parse_args()

    from dask.distributed import Client, LocalCluster

    case = tarnova.read_case(args.case)
    if not 1 <= args.study <= len(case.studies):
        parser.error(f"the case has case studies 1 to {len(case.studies)}")
    case.studies = [case.studies[args.study - 1]]
    nominal = tarnova.run(case)[0].ultimate_moment

    started = time.perf_counter()
    if args.scheduler:
        client = Client(args.scheduler)
        cluster = None
    else:
        cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True,
                               dashboard_address=None)
        client = Client(cluster)
    try:
        shared = client.scatter(case, broadcast=True)
        sizes = [min(args.batch, args.runs - start) for start in range(0, args.runs, args.batch)]
        futures = [client.submit(sample_batch, shared, args.seed, batch, size, pure=False)
                   for batch, size in enumerate(sizes)]
        batches = client.gather(futures)
        workers = len(client.scheduler_info()["workers"])
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    elapsed = time.perf_counter() - started

    moments = np.concatenate([m for m, _ in batches])
    stops = [s for _, batch_stops in batches for s in batch_stops]
    done = moments[~np.isnan(moments)]
    print(f"{case.name}, case study {args.study}: {args.runs} runs on {workers} Dask "
          f"worker{'s' if workers != 1 else ''} "
          f"in {elapsed:.1f} s ({args.runs / elapsed:.0f} runs per second)")
    print(f"  yield stress: lognormal, mean {YIELD_BIAS:.2f} x nominal, CoV {YIELD_COV:.0%}, "
          f"per steel; plate thickness: normal, CoV {THICKNESS_COV:.0%}, per element")
    if stops:
        print(f"  {len(stops)} runs stopped (CollapseError), e.g.: {stops[0]}")
    if done.size == 0:
        print("  no run finished")
        return 1
    fractiles = np.percentile(done, [5, 50, 95])
    print(f"  nominal ultimate moment   {nominal:.4e} N.mm")
    print(f"  mean                      {done.mean():.4e} N.mm")
    print(f"  standard deviation        {done.std(ddof=1):.4e} N.mm "
          f"(CoV {done.std(ddof=1) / done.mean():.2%})")
    print(f"  smallest, largest         {done.min():.4e}, {done.max():.4e} N.mm")
    print(f"  5 %, 50 %, 95 % fractiles {fractiles[0]:.4e}, {fractiles[1]:.4e}, "
          f"{fractiles[2]:.4e} N.mm")
    print(f"  runs below nominal        {np.mean(done < nominal):.1%}")

    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    figure, axes = plt.subplots(figsize=(7.5, 4.8), dpi=100)
    axes.hist(done / 1e12, bins=60, color="#4878a8", edgecolor="white", linewidth=0.4)
    for value, style, label in ((nominal, "-", "nominal"), (done.mean(), "--", "mean"),
                                (fractiles[0], ":", "5 % fractile")):
        axes.axvline(value / 1e12, color="black", linestyle=style, label=f"{label} {value:.3e}")
    axes.set_xlabel("ultimate bending moment (10¹² N·mm)")
    axes.set_ylabel("runs")
    axes.set_title(f"{case.name}, case study {args.study}: {done.size} runs, "
                   f"CoV {done.std(ddof=1) / done.mean():.1%}")
    axes.legend()
    figure.tight_layout()
    figure.savefig(args.output)
    print(f"picture: {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
