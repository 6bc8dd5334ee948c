"""Runs from several Python threads at once are safe and give the results of a lone run."""

import concurrent.futures
import threading

import numpy as np
import pytest

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
    case.studies = case.studies * 3   # 24 case studies: each run lasts some milliseconds
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


def test_run_samples_equal_lone_runs_with_their_stops(tmp_path):
    """Each sample gives the ultimate moments, or the stop message, of a run of its own case;
    unusable input or samples end the call as they end a run."""
    from test_errors import soft_case

    tanker = tarnova.read_case(copy_case("TANKER", tmp_path))
    rng = np.random.default_rng(5)
    count = 6
    plate = (tanker.plate_thickness * rng.uniform(0.8, 1.2, (count, tanker.element_count))).astype(np.float32)
    steel = (tanker.yield_stress * rng.uniform(0.9, 1.1, (count, len(tanker.yield_stress)))).astype(np.float32)
    soft = soft_case()
    softened = np.array([[206000 / 30, 206000], [206000, 206000]], np.float32)   # the first stops
    for case, samples in ((tanker, {"plate_thickness": plate, "yield_stress": steel}),
                          (soft, {"youngs_modulus": softened})):
        moments, stops = tarnova.run_samples(case, samples, threads=2)
        rows = len(next(iter(samples.values())))
        assert moments.shape == (rows, len(case.studies)) and len(stops) == rows
        for i in range(rows):
            alone = case.copy()
            for field, values in samples.items():
                setattr(alone, field, values[i])
            try:
                expected, stop = [r.ultimate_moment for r in tarnova.run(alone, threads=1)], ""
            except tarnova.CollapseError as error:
                expected, stop = [np.nan] * len(case.studies), str(error)
            assert stops[i] == stop
            np.testing.assert_array_equal(moments[i], np.array(expected, np.float32))
    assert stops == [stops[0], ""] and "no equilibrium" in stops[0]

    for samples, error, message in (
            ({"plate_thickness": plate[:, :5]}, ValueError, "one row of"),
            ({"kind": np.zeros((1, tanker.element_count))}, ValueError, "kind cannot be sampled"),
            ({"plate_thickness": plate, "yield_stress": steel[:2]}, ValueError, "2 samples"),
            ({"plate_thickness": np.where(np.arange(count)[:, None] == 2, np.nan, plate)}, ValueError,
             "sample 3, value 1 is nan"),
            ({"plate_thickness": np.where(np.arange(count)[:, None] == 1, 0, plate)}, ValueError,
             "plate thickness 0 of element 1"),
            ({}, ValueError, "no sampled column")):
        with pytest.raises(error, match=message):
            tarnova.run_samples(tanker, samples)
