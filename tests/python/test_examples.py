"""The two Python examples run and draw their pictures (small versions)."""

import os
import pathlib
import subprocess
import sys

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
                      cwd=tmp_path)
    assert "60 runs on 2 Dask workers" in out and "stopped" not in out, out
    assert "5 %, 50 %, 95 % fractiles" in out
    assert_png(tmp_path / "mc.png")


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
