#!/usr/bin/env python3
"""Speed of the Python module, medians over repeated runs:

  1. one case study of the 600-element girder (examples/large/LARGE.sec, built by Sagoma) through tarnova.run, no
     files (target: at most 15 ms; a Python Smith-method code takes about 1.0 s per curve);
  2. 1,000 runs of the tanker's first case study from 2 Python threads (target: at least 250
     runs per second);
  3. the Monte Carlo example, 10,000 runs on a 2-worker local Dask cluster, cluster start-up
     included (target: at most 2 minutes).

    PYTHONPATH=build/python /usr/bin/python3 bench/python/bench.py [--build build] [--quick]
"""

import argparse
import concurrent.futures
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import tarnova

ROOT = pathlib.Path(__file__).resolve().parents[2]
PEER_SECONDS = 1.0   # a Python Smith-method code, one 600-element moment-curvature curve


def timed(call, repeats, processor=None):
    """Median and best wall time; with a list `processor`, the median processor time (user and
    system, all threads of this process) is appended to it: a busy machine does not inflate it."""
    times, cpu = [], []
    for _ in range(repeats):
        start, start_cpu = time.perf_counter(), time.process_time()
        call()
        times.append(time.perf_counter() - start)
        cpu.append(time.process_time() - start_cpu)
    if processor is not None:
        processor.append(statistics.median(cpu))
    return statistics.median(times), min(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=ROOT / "build", type=pathlib.Path)
    parser.add_argument("--quick", action="store_true",
                        help="fewer repetitions, and 1,000 Monte Carlo runs instead of 10,000")
    args = parser.parse_args()
    repeats = 5 if args.quick else 31

    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        shutil.copy(ROOT / "examples" / "large" / "LARGE.sec", work)
        subprocess.run([args.build / "Sagoma" / "Sagoma", "--force", str(work / "LARGE.sec")], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        large = tarnova.read_case(work / "LARGE.ana")
        tanker = tarnova.read_case(ROOT / "examples" / "tanker" / "TANKER.ana")
    tanker.studies = tanker.studies[:1]
    print(f"tarnova on {os.cpu_count()} processors, Python {sys.version.split()[0]}")

    load = os.getloadavg()[0]
    print(f"load average at start: {load:.1f} (other work on the machine slows the wall times)")
    tarnova.run(large)
    cpu = []
    median, best = timed(lambda: tarnova.run(large, threads=1), repeats, cpu)
    print(f"1. one case study of {large.element_count} elements, no files: median "
          f"{median * 1000:.2f} ms (best {best * 1000:.2f} ms; processor time {cpu[0] * 1000:.2f} ms) "
          f"over {repeats} runs; target 15 ms; {PEER_SECONDS / median:.0f} times faster than the "
          f"Smith-method peer's {PEER_SECONDS:.1f} s")

    runs = 1000
    def thousand():
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            for _ in pool.map(lambda _: tarnova.run(tanker, threads=1), range(runs)):
                pass
    cpu = []
    median, best = timed(thousand, 3 if args.quick else 7, cpu)
    print(f"2. {runs} runs of the tanker's first case study ({tanker.element_count} elements) from "
          f"2 threads: median {runs / median:.0f} runs per second ({median:.2f} s; best "
          f"{runs / best:.0f}/s); processor time {cpu[0] / runs * 1000:.2f} ms per run, "
          f"{2 * runs / cpu[0]:.0f} runs per second on 2 free processors; target 250/s")

    mc_runs = 1000 if args.quick else 10000
    example = ROOT / "examples" / "python" / "monte_carlo.py"
    with tempfile.TemporaryDirectory() as work:
        def monte_carlo():
            subprocess.run([sys.executable, str(example), "--runs", str(mc_runs), "--workers", "2",
                            "--output", str(pathlib.Path(work) / "mc.png")],
                           check=True, stdout=subprocess.DEVNULL)
        median, best = timed(monte_carlo, 1 if args.quick else 3)
    print(f"3. Monte Carlo example, {mc_runs} runs on a 2-worker local cluster: median "
          f"{median:.1f} s (best {best:.1f} s; {mc_runs / median:.0f} runs per second); "
          f"target 120 s")


if __name__ == "__main__":
    main()
