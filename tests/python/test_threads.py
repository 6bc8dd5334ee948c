"""Runs from several Python threads at once are safe and give the results of a lone run."""

import concurrent.futures
import threading

import numpy as np

import tarnova

from conftest import copy_case


def test_runs_from_several_threads_equal_lone_runs(tmp_path):
    tanker = tarnova.read_case(copy_case("TANKER", tmp_path / "tanker"))
    box = tarnova.read_case(copy_case("BOX", tmp_path / "box"))
    cases = []
    for i in range(16):
        case = (tanker if i % 2 else box).copy()
        case.plate_thickness -= np.float32(0.25 * (i % 4))
        cases.append(case)
    alone = [tarnova.run(case, threads=1) for case in cases]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        together = list(pool.map(lambda c: tarnova.run(c, threads=2), cases))
    for a, b in zip(alone, together):
        for x, y in zip(a, b):
            assert np.array_equal(x.moment, y.moment) and np.array_equal(x.stress, y.stress)
            assert x.ultimate_moment == y.ultimate_moment


def test_engine_runs_without_the_interpreter_lock(tmp_path):
    """While one thread is inside the engine, another thread keeps running Python code. Only ticks
    taken while the worker is inside a run count: with the lock held there could be at most a tick
    or two at each run's edges, however fast the engine is."""
    case = tarnova.read_case(copy_case("TANKER", tmp_path))
    done = threading.Event()
    inside = threading.Event()
    runs = 10
    ticks = 0

    def run():
        for _ in range(runs):
            inside.set()
            tarnova.run(case, threads=1)
            inside.clear()
        done.set()

    worker = threading.Thread(target=run)
    worker.start()
    while not done.is_set():
        if inside.is_set():
            ticks += 1
        done.wait(0.001)
    worker.join()
    assert ticks > 3 * runs


def test_run_files_from_several_threads_write_each_case_alone(tmp_path):
    cases = [copy_case("BOX", tmp_path / f"box{i}") for i in range(4)]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        results = list(pool.map(tarnova.run_files, cases))
    first = sorted((cases[0].parent).iterdir())
    for case_file, result in zip(cases[1:], results[1:]):
        assert [r.ultimate_moment for r in result] == [r.ultimate_moment for r in results[0]]
        for file in first:
            if file.suffix != ".rst":
                assert (case_file.parent / file.name).read_bytes() == file.read_bytes(), file.name
