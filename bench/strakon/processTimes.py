#!/usr/bin/env python3
"""Whole-process times of headless Strakon runs of several builds, runs alternating so that every
build sees the same machine. Each run is started with posix_spawn and reaped with wait4: wall time
from just before the start to the reaping, processor time (user + system of every thread) from
the child's resource usage. No profiler or shell sits in the timed path.

    processTimes.py RUNS WHAT BUILD [BUILD ...]

WHAT is "version" (the program start alone) or the path of a case's .ana file: each build runs it
in a copy of the case's directory of its own, its results rewritten in place as a user's rerun
does them. Prints, per build, medians and quartiles in milliseconds.
"""
import os
import shutil
import tempfile
import statistics
import sys
import time


def run_once(program, args, cwd):
    devnull = os.open(os.devnull, os.O_RDWR)
    try:
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
        old = os.getcwd()
        os.chdir(cwd)
        try:
            start = time.perf_counter()
            pid = os.posix_spawn(program, [program, *args], env,
                                 file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 0),
                                               (os.POSIX_SPAWN_DUP2, devnull, 1),
                                               (os.POSIX_SPAWN_DUP2, devnull, 2)])
            _, status, usage = os.wait4(pid, 0)
            wall = time.perf_counter() - start
        finally:
            os.chdir(old)
    finally:
        os.close(devnull)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{program} {' '.join(args)} ended with status {os.waitstatus_to_exitcode(status)}")
    return wall * 1e3, (usage.ru_utime + usage.ru_stime) * 1e3


def quartiles(values):
    q = statistics.quantiles(values, n=4)
    return f"{statistics.median(values):7.2f} ms ({q[0]:.2f} to {q[2]:.2f})"


def main():
    runs, what, builds = int(sys.argv[1]), sys.argv[2], [os.path.abspath(b) for b in sys.argv[3:]]
    work = tempfile.mkdtemp()
    try:
        places = {}
        for i, b in enumerate(builds):
            if what == "version":
                places[b] = (["--version"], work)
            else:
                case = os.path.join(work, str(i))
                shutil.copytree(os.path.dirname(os.path.abspath(what)), case)
                places[b] = ([os.path.join(case, os.path.basename(what))], case)
        times = {b: ([], []) for b in builds}
        for b in builds:   # one unmeasured run each: files exist and pages are cached, as in a rerun
            run_once(os.path.join(b, "Strakon", "Strakon"), *places[b])
        for _ in range(runs):
            for b in builds:
                wall, cpu = run_once(os.path.join(b, "Strakon", "Strakon"), *places[b])
                times[b][0].append(wall)
                times[b][1].append(cpu)
    finally:
        shutil.rmtree(work)
    for b in builds:
        wall, cpu = times[b]
        print(f"{b}\n    wall {quartiles(wall)}   processor {quartiles(cpu)}   ({runs} runs)")


if __name__ == "__main__":
    main()
