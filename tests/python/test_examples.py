"""The two Python examples run and draw their pictures (small versions)."""

import csv
import os
import pathlib
import statistics
import subprocess
import sys

import numpy as np

EXAMPLES = pathlib.Path(__file__).resolve().parents[2] / "examples" / "python"


def run_example(script, *arguments, cwd):
    # The example runs elsewhere: the module's path must not depend on the directory.
    env = dict(os.environ)
    env["PYTHONPATH"] = os.pathsep.join(os.path.abspath(p)
                                        for p in env.get("PYTHONPATH", "").split(os.pathsep) if p)
    done = subprocess.run([sys.executable, str(EXAMPLES / script), *arguments], cwd=cwd,
                          capture_output=True, text=True, timeout=300, env=env)
    assert done.returncode == 0, done.stderr
    return done.stdout


def assert_png(path):
    assert path.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n" and path.stat().st_size > 10000


def test_corrosion_sweep_draws_sagging_and_hogging(tmp_path):
    out = run_example("corrosion_sweep.py", "--max", "1.0", "--output", "sweep.png", cwd=tmp_path)
    rows = [line.split() for line in out.splitlines() if line.startswith("  ") and
            line.split()[0].replace(".", "").isdigit()]
    assert [float(r[0]) for r in rows] == [0.0, 0.5, 1.0]
    sagging = [float(r[1]) for r in rows]
    hogging = [float(r[2]) for r in rows]
    assert sagging == sorted(sagging, reverse=True) and hogging == sorted(hogging, reverse=True)
    assert all(s < h for s, h in zip(sagging, hogging))
    assert_png(tmp_path / "sweep.png")


def test_monte_carlo_on_a_local_cluster_draws_the_histogram(tmp_path):
    out = run_example("monte_carlo.py", "--runs", "60", "--batch", "15", "--output", "mc.png",
                      "--yield-bias", "1.05,1.2", "--web-cov", "0.1", "--corrosion-mean", "1.5",
                      "--design-moment", "7600", "--csv", "runs.csv", cwd=tmp_path)
    assert "60 runs on 2 Dask workers" in out and "stopped" not in out, out
    assert "bias 1.05, 1.20" in out and "web thickness: normal, bias 1.00, CoV 10%" in out
    assert "5 %, 50 %, 95 % fractiles" in out and " GN·m (5 % fractile)" in out, out
    assert_png(tmp_path / "mc.png")
    # Every run's draws and result; the probability of failure and beta follow from them.
    with open(tmp_path / "runs.csv", newline="", encoding="utf-8") as file:
        rows = list(csv.DictReader(file))
    assert [int(r["run"]) for r in rows] == list(range(1, 61))
    moments = np.array([float(r["ultimate_moment_N_mm"]) for r in rows])
    assert np.all(np.abs(moments) > 1e12)
    assert all(float(r["corrosion_wastage_mm"]) > 0 for r in rows)
    failures = int(np.sum(np.abs(moments) < 7600e9))
    assert f"({failures} of 60 runs)" in out, out
    if 0 < failures < 60:
        beta = -statistics.NormalDist().inv_cdf(failures / 60)
        assert f"reliability index beta    {beta:.3f}; 95% interval" in out, out


def test_monte_carlo_axis_unit_fits_the_moments(tmp_path):
    """The box girder's moments are some tens of MN·m: the axis and the figures are in MN·m."""
    out = run_example("monte_carlo.py", "--case", str(EXAMPLES.parent / "box" / "BOX.ana"),
                      "--runs", "8", "--batch", "4", "--workers", "1", "--output", "box.png",
                      cwd=tmp_path)
    assert " MN·m (5 % fractile)" in out and "GN·m" not in out, out


def test_monte_carlo_on_a_running_cluster(tmp_path, monkeypatch):
    from dask.distributed import LocalCluster

    # The cluster's worker processes import tarnova as the example does.
    monkeypatch.setenv("PYTHONPATH", os.pathsep.join(
        os.path.abspath(p) for p in os.environ.get("PYTHONPATH", "").split(os.pathsep) if p))
    with LocalCluster(n_workers=1, threads_per_worker=2, processes=True,
                      dashboard_address=None) as cluster:
        out = run_example("monte_carlo.py", "--runs", "40", "--batch", "10", "--seed", "7",
                          "--scheduler", cluster.scheduler_address, "--output", "mc.png",
                          cwd=tmp_path)
    assert "40 runs on 1 Dask worker " in out, out
    assert_png(tmp_path / "mc.png")
