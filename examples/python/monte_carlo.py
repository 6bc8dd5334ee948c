#!/usr/bin/env python3
"""Monte Carlo study of the ultimate bending moment with random strength and scantlings.

Each run draws, independently, with the bias (mean over nominal) and coefficient of variation
(CoV) of each variable set by an option:
  * yield stress of each steel (property set): lognormal, one draw per steel and run (a grade
    varies as a whole); --yield-bias and --yield-cov take one value, or one per steel
    separated by commas (default 1.10 and 8 %);
  * plate thickness of every element: normal, one draw per element (default bias 1.00, CoV 4 %);
  * stiffener web thickness of every stiffened element: normal, one draw per element (default
    bias 1.00, CoV 4 %);
  * corrosion wastage: one thickness loss per run, lognormal around --corrosion-mean mm (default
    0: none) times its bias, taken off plates and webs, twice off flanges, as the calculator takes
    its allowance.
Normal draws are cut off at --cut standard deviations (default 3); a thickness never falls below
5 % of its nominal value. Everything else is the case as given (the tanker example's first case
study by default: sagging, SHED).

The runs go to a Dask cluster in batches: by default a LocalCluster of --workers processes on this
machine, or any running cluster with --scheduler ADDRESS (its workers must import tarnova).
Prints the statistics and the characteristic value (5 % fractile); given --design-moment, the
probability of failure (ultimate moment below the design moment) and the reliability index beta
with its confidence interval. Writes each run's draws and result to CSV (--csv) and the
histogram (PNG), in MN·m or GN·m as the moments need. A run that stops (CollapseError) is counted,
written with its message and reported, never dropped silently.

    PYTHONPATH=build/python /usr/bin/python3 examples/python/monte_carlo.py --runs 10000 \\
        --design-moment 7000 --csv runs.csv
"""

import argparse
import csv
import math
import pathlib
import statistics
import sys
import time

import numpy as np

import tarnova

HERE = pathlib.Path(__file__).resolve().parent
N_MM_PER_MN_M = 1e9     # 1 MN·m = 10⁹ N·mm
THICKNESS_FLOOR = 0.05  # no thickness drawn below 5 % of its nominal value


def lognormal_parameters(mean, cov):
    """mu and sigma of the lognormal with this mean and coefficient of variation."""
    sigma = np.sqrt(np.log1p(np.square(cov)))
    return np.log(mean) - sigma ** 2 / 2, sigma


def sample_batch(case, model, seed, batch, first, count):
    """`count` random runs, numbered from first + 1: their draws and ultimate moments (NaN for a run that stopped, with its
    message). The draws depend only on the seed and the batch number, so a study is reproducible
    whatever the cluster."""
    rng = np.random.default_rng([seed, batch])
    cut = model["cut"]
    steels = case.yield_stress.astype(np.float64)
    yield_mu, yield_sigma = lognormal_parameters(model["yield_bias"] * steels, model["yield_cov"])
    plate = case.plate_thickness.astype(np.float64)
    web = case.web_thickness.astype(np.float64)
    flange = case.flange_thickness.astype(np.float64)
    corrosion_mean = model["corrosion_mean"] * model["corrosion_bias"]
    if corrosion_mean > 0:
        corrosion_mu, corrosion_sigma = lognormal_parameters(corrosion_mean, model["corrosion_cov"])

    def normal_factor(bias, cov, size):
        z = np.clip(rng.standard_normal(size), -cut, cut)
        return bias * (1.0 + cov * z)

    # The draws in the order of the runs, then every run of the batch in one call to the engine
    # (interpreter lock released): the per-run cost in Python is only the drawing.
    yield_stress = np.empty((count, steels.size))
    plate_factor = np.empty((count, plate.size))
    web_factor = np.empty((count, web.size))
    wastage = np.zeros(count)
    for i in range(count):
        yield_stress[i] = rng.lognormal(yield_mu, yield_sigma)
        plate_factor[i] = normal_factor(model["plate_bias"], model["plate_cov"], plate.size)
        web_factor[i] = normal_factor(model["web_bias"], model["web_cov"], web.size)
        if corrosion_mean > 0:
            wastage[i] = rng.lognormal(corrosion_mu, corrosion_sigma)
    lost = wastage[:, np.newaxis]
    moments, stops = tarnova.run_samples(case, {
        "yield_stress": yield_stress.astype(np.float32),
        "plate_thickness": np.maximum(plate * plate_factor - lost, THICKNESS_FLOOR * plate).astype(np.float32),
        "web_thickness": np.maximum(web * web_factor - lost, THICKNESS_FLOOR * web).astype(np.float32),
        "flange_thickness": np.maximum(flange - 2 * lost, THICKNESS_FLOOR * flange).astype(np.float32)},
        threads=1)
    stiffened = web > 0
    rows = []
    for i in range(count):
        rows.append((first + i + 1, *yield_stress[i], float(plate_factor[i].mean()),
                     float(web_factor[i][stiffened].mean()) if np.any(stiffened) else 1.0,
                     float(wastage[i]), float(moments[i, 0]), stops[i]))
    return rows


def wilson_interval(failures, runs, confidence):
    """Confidence interval of a probability estimated as failures / runs (Wilson score)."""
    z = statistics.NormalDist().inv_cdf(0.5 + confidence / 2)
    p = failures / runs
    centre = (p + z * z / (2 * runs)) / (1 + z * z / runs)
    half = z * math.sqrt(p * (1 - p) / runs + z * z / (4 * runs * runs)) / (1 + z * z / runs)
    return max(centre - half, 0.0), min(centre + half, 1.0)


def beta_of(probability):
    """Reliability index of a probability of failure: -Phi^-1(pf); inf for 0, -inf for 1."""
    if probability <= 0:
        return math.inf
    if probability >= 1:
        return -math.inf
    return -statistics.NormalDist().inv_cdf(probability)


def moment_unit(values_n_mm):
    """MN·m, or GN·m when the moments reach a thousand MN·m: (name, N·mm per unit)."""
    if np.nanmedian(np.abs(values_n_mm)) >= 1000 * N_MM_PER_MN_M:
        return "GN·m", 1000 * N_MM_PER_MN_M
    return "MN·m", N_MM_PER_MN_M


def per_steel(text, steels, name, parser):
    values = [float(v) for v in text.split(",")]
    if len(values) == 1:
        values *= steels
    if len(values) != steels:
        parser.error(f"{name}: one value, or one per steel ({steels}), not {len(values)}")
    return np.array(values)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--case", default=HERE.parent / "tanker" / "TANKER.ana", type=pathlib.Path,
                        help="any file of the case (default: the tanker example)")
    parser.add_argument("--study", type=int, default=1, help="case study to vary (default 1)")
    parser.add_argument("--runs", type=int, default=10000, help="number of runs (default 10000)")
    parser.add_argument("--batch", type=int, default=250, help="runs per Dask task (default 250)")
    parser.add_argument("--seed", type=int, default=2026, help="random seed (default 2026)")
    parser.add_argument("--yield-bias", default="1.10", help="yield stress bias, or one per steel "
                        "separated by commas (default 1.10)")
    parser.add_argument("--yield-cov", default="0.08", help="yield stress CoV, or one per steel "
                        "(default 0.08)")
    parser.add_argument("--plate-bias", type=float, default=1.0, help="plate thickness bias (1.0)")
    parser.add_argument("--plate-cov", type=float, default=0.04, help="plate thickness CoV (0.04)")
    parser.add_argument("--web-bias", type=float, default=1.0, help="stiffener web thickness bias (1.0)")
    parser.add_argument("--web-cov", type=float, default=0.04, help="stiffener web thickness CoV (0.04)")
    parser.add_argument("--corrosion-mean", type=float, default=0.0,
                        help="nominal corrosion wastage, mm (default 0: none)")
    parser.add_argument("--corrosion-bias", type=float, default=1.0, help="corrosion bias (1.0)")
    parser.add_argument("--corrosion-cov", type=float, default=0.5, help="corrosion CoV (0.5)")
    parser.add_argument("--cut", type=float, default=3.0,
                        help="normal draws cut off at this many standard deviations (default 3)")
    parser.add_argument("--design-moment", type=float, metavar="MN_M",
                        help="design bending moment, MN·m (magnitude): gives the probability of "
                             "failure and the reliability index")
    parser.add_argument("--confidence", type=float, default=0.95,
                        help="confidence of the interval of beta (default 0.95)")
    parser.add_argument("--workers", type=int, default=2,
                        help="worker processes of the local cluster (default 2)")
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="use a running Dask cluster (e.g. tcp://10.0.0.5:8786) instead")
    parser.add_argument("--csv", type=pathlib.Path,
                        help="each run's draws and ultimate moment (default: not written)")
    parser.add_argument("--output", default="monte_carlo.png", type=pathlib.Path,
                        help="the histogram (PNG; default monte_carlo.png)")
    args = parser.parse_args()
    if args.runs < 1 or args.batch < 1:
        parser.error("--runs and --batch must be at least 1")
    for name in ("plate_bias", "web_bias", "corrosion_bias"):
        if getattr(args, name) <= 0:
            parser.error(f"--{name.replace('_', '-')} must be positive")
    for name in ("plate_cov", "web_cov", "corrosion_cov", "corrosion_mean", "cut"):
        if getattr(args, name) < 0:
            parser.error(f"--{name.replace('_', '-')} must not be negative")
    if not 0 < args.confidence < 1:
        parser.error("--confidence must lie between 0 and 1")

    from dask.distributed import Client, LocalCluster

    case = tarnova.read_case(args.case)
    if not 1 <= args.study <= len(case.studies):
        parser.error(f"the case has case studies 1 to {len(case.studies)}")
    case.studies = [case.studies[args.study - 1]]
    steels = len(case.yield_stress)
    model = {"yield_bias": per_steel(args.yield_bias, steels, "--yield-bias", parser),
             "yield_cov": per_steel(args.yield_cov, steels, "--yield-cov", parser),
             "plate_bias": args.plate_bias, "plate_cov": args.plate_cov,
             "web_bias": args.web_bias, "web_cov": args.web_cov,
             "corrosion_mean": args.corrosion_mean, "corrosion_bias": args.corrosion_bias,
             "corrosion_cov": args.corrosion_cov, "cut": args.cut}
    if np.any(model["yield_bias"] <= 0) or np.any(model["yield_cov"] < 0):
        parser.error("yield stress biases must be positive and CoVs not negative")
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
        starts = range(0, args.runs, args.batch)
        futures = [client.submit(sample_batch, shared, model, args.seed, batch, start,
                                 min(args.batch, args.runs - start), pure=False)
                   for batch, start in enumerate(starts)]
        rows = [row for batch in client.gather(futures) for row in batch]
        workers = len(client.scheduler_info()["workers"])
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    elapsed = time.perf_counter() - started

    moments = np.array([row[-2] for row in rows])
    stops = [row[-1] for row in rows if row[-1]]
    done = np.abs(moments[~np.isnan(moments)])
    print(f"{case.name}, case study {args.study}: {args.runs} runs on {workers} Dask "
          f"worker{'s' if workers != 1 else ''} "
          f"in {elapsed:.1f} s ({args.runs / elapsed:.0f} runs per second)")
    print("  yield stress: lognormal, per steel, bias "
          + ", ".join(f"{b:.2f}" for b in model["yield_bias"]) + ", CoV "
          + ", ".join(f"{c:.0%}" for c in model["yield_cov"]))
    print(f"  plate thickness: normal, bias {args.plate_bias:.2f}, CoV {args.plate_cov:.0%}; "
          f"web thickness: normal, bias {args.web_bias:.2f}, CoV {args.web_cov:.0%}; per element")
    if args.corrosion_mean > 0:
        print(f"  corrosion wastage: lognormal, {args.corrosion_mean:g} mm x bias "
              f"{args.corrosion_bias:.2f}, CoV {args.corrosion_cov:.0%}, per run")
    if args.csv:
        with open(args.csv, "w", newline="", encoding="utf-8") as file:
            writer = csv.writer(file)
            writer.writerow(["run"] + [f"yield_stress_{k + 1}_N_mm2" for k in range(steels)]
                            + ["plate_thickness_factor_mean", "web_thickness_factor_mean",
                               "corrosion_wastage_mm", "ultimate_moment_N_mm", "stopped"])
            for row in rows:
                writer.writerow([row[0]] + [f"{v:.6g}" for v in row[1:-2]]
                                + ["" if math.isnan(row[-2]) else f"{row[-2]:.7e}", row[-1]])
        print(f"  runs: {args.csv}")
    if stops:
        print(f"  {len(stops)} runs stopped (CollapseError; left out of the statistics), "
              f"e.g.: {stops[0]}")
    if done.size == 0:
        print("  no run finished")
        return 1
    unit, scale = moment_unit(done)
    fractiles = np.percentile(done, [5, 50, 95])
    mean, deviation = done.mean(), done.std(ddof=1) if done.size > 1 else 0.0
    print(f"  nominal ultimate moment   {abs(nominal) / scale:.4g} {unit}")
    print(f"  mean                      {mean / scale:.4g} {unit}")
    print(f"  standard deviation        {deviation / scale:.4g} {unit} (CoV {deviation / mean:.2%})")
    print(f"  smallest, largest         {done.min() / scale:.4g}, {done.max() / scale:.4g} {unit}")
    print(f"  5 %, 50 %, 95 % fractiles {fractiles[0] / scale:.4g}, {fractiles[1] / scale:.4g}, "
          f"{fractiles[2] / scale:.4g} {unit}")
    print(f"  characteristic value      {fractiles[0] / scale:.4g} {unit} (5 % fractile)")
    print(f"  runs below nominal        {np.mean(done < abs(nominal)):.1%}")
    if args.design_moment is not None:
        design = abs(args.design_moment) * N_MM_PER_MN_M
        failures = int(np.sum(done < design))
        pf = failures / done.size
        low, high = wilson_interval(failures, done.size, args.confidence)
        print(f"  design moment             {design / scale:.4g} {unit}")
        print(f"  probability of failure    {pf:.3e} ({failures} of {done.size} runs); "
              f"{args.confidence:.0%} interval {low:.3e} to {high:.3e}")
        shown = "inf" if math.isinf(beta_of(pf)) else f"{beta_of(pf):.3f}"
        print(f"  reliability index beta    {shown}; {args.confidence:.0%} interval "
              f"{beta_of(high):.3f} to {'inf' if math.isinf(beta_of(low)) else f'{beta_of(low):.3f}'}")
        if failures == 0:
            print(f"  no run failed: beta is at least {beta_of(high):.3f}; more runs narrow it")

    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    figure, axes = plt.subplots(figsize=(7.5, 4.8), dpi=100)
    axes.hist(done / scale, bins=60, color="#4878a8", edgecolor="white", linewidth=0.4)
    lines = [(abs(nominal), "-", "nominal"), (mean, "--", "mean"),
             (fractiles[0], ":", "characteristic (5 %)")]
    if args.design_moment is not None:
        lines.append((abs(args.design_moment) * N_MM_PER_MN_M, "-.", "design"))
    for value, style, label in lines:
        axes.axvline(value / scale, color="black", linestyle=style,
                     label=f"{label} {value / scale:.4g} {unit}")
    axes.set_xlabel(f"ultimate bending moment ({unit})")
    axes.set_ylabel("runs")
    axes.set_title(f"{case.name}, case study {args.study}: {done.size} runs, "
                   f"CoV {deviation / mean:.1%}")
    axes.legend()
    figure.tight_layout()
    figure.savefig(args.output)
    print(f"picture: {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
