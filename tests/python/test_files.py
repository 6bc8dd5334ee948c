"""Reading and running equal the calculator's files, to the printed digits, on every example."""

import filecmp
import shutil

import numpy as np
import pytest

import tarnova
from tarnova._tarnova import format_record

from conftest import CASES, copy_case, records, run_strakon


def results_file_name(study: tarnova.Study) -> str:
    """The case results file's name for options whose codes are digits (all the examples')."""
    distortion = int(float(np.float32(study.distortion)) * 10000.0)
    return (f"jc{study.behaviour}{study.shedding}{study.corrosion}"
            f"{int(np.float32(study.tension_block_width))}{distortion:02d}"[:8]
            + f".{int(np.float32(study.heel)):03d}"[:4])


def case_blocks(lines: list, head: str) -> list:
    """Indices of the lines that start with `head`."""
    return [i for i, line in enumerate(lines) if line.startswith(head)]


@pytest.fixture(scope="module", params=CASES)
def example(request, strakon_runs):
    case_file = strakon_runs[request.param]
    case = tarnova.read_case(case_file)
    return case_file, case, tarnova.run(case)


def test_read_case_holds_the_files(example):
    case_file, case, _ = example
    geometry = records(case_file.with_suffix(".geo"))
    assert case.title == geometry[0][:80].ljust(80)
    assert case.headings == geometry[3][:80].ljust(80)
    assert case.element_count == len(geometry) - 4
    widths = [7] * 7 + [3, 4, 4, 9, 9, 2, 2]
    for n, record in enumerate(geometry[4:]):
        at = 0
        for field, width in zip(tarnova.SECTION_FIELDS, widths):
            text = record[at:at + width].strip() or "0"
            at += width
            assert getattr(case, field)[n] == np.float32(text), f"element {n + 1}, {field}"
    options = records(case_file)
    assert len(case.studies) == int(options[0][:2])
    for study, record in zip(case.studies, options[1:]):
        line = format_record("(3I2,F5.2,F5.1,F5.4,F4.0)",
                             [study.behaviour, study.shedding, study.corrosion,
                              study.tension_block_width, study.heel, study.distortion, study.spare])
        assert float(line[6:11]) == float(record[6:11])
        assert line[:6] == record[:6]


def test_results_equal_the_case_results_files(example):
    case_file, case, results = example
    assert [r.study for r in results] == list(range(1, len(case.studies) + 1))
    for r in results:
        lines = records(case_file.parent / results_file_name(r.options))
        rows = lines[-tarnova.STEP_COUNT:]
        for k in range(tarnova.STEP_COUNT):
            expected = format_record("(I4,4E13.4,2F8.0)",
                                     [k + 1, r.curvature[k], r.moment_x[k], r.moment_y[k],
                                      r.moment[k], r.axis_x[k], r.axis_y[k]])
            assert rows[k] == expected, f"study {r.study}, step {k + 1}"
        properties = format_record("(E9.4,2F7.0,5E11.5)",
                                   [r.area, r.neutral_axis_x, r.neutral_axis_y, r.deck_modulus,
                                    r.elastic_moment, r.vertical_inertia, r.horizontal_inertia,
                                    r.bottom_modulus])
        assert properties in lines, f"study {r.study}"


def test_results_equal_the_report(example):
    case_file, case, results = example
    report = records(case_file.with_suffix(".rst"))
    ultimate = [report[i + 1] for i in case_blocks(report, "   X  Ultimate Bending Moment")]
    plastic = [report[i + 1] for i in case_blocks(report, "  PLASTIC BEND. Mom.")]
    assert len(ultimate) == len(plastic) == len(results)
    for r, ultimate_line, plastic_line in zip(results, ultimate, plastic):
        assert ultimate_line == format_record(
            "(5E15.6)", [r.ultimate_moment_x, r.ultimate_moment_y, r.ultimate_moment,
                         r.section_modulus, r.ultimate_curvature]), f"study {r.study}"
        largest = np.float32(max(case.yield_stress[np.unique(case.property_set.astype(int)) - 1]))
        assert plastic_line == format_record(
            "(E13.6,'(N.mm)',8X,F6.0,'(mm)',5X,E13.6,'(mm3)')",
            [r.plastic_moment, r.plastic_neutral_axis,
             float(np.float32(r.plastic_moment) / largest)]), f"study {r.study}"


def test_results_equal_the_element_curve_files(example):
    case_file, case, results = example
    n = case.element_count
    for r in results:
        lines = records(case_file.parent / f"{case_file.stem}.te{chr(64 + r.study)}")
        per_list = -(-n // 10)
        block = 2 + 2 * per_list
        assert len(lines) == 1 + n + tarnova.STEP_COUNT * block
        assert r.strain_ratio.shape == r.stress.shape == (tarnova.STEP_COUNT, n)
        for k in range(tarnova.STEP_COUNT):
            at = 1 + n + k * block
            assert lines[at][24:47] == format_record("(' Curvatura=',E12.4)", [r.curvature[k]])
            assert lines[at + 1] == format_record("(3E12.4)",
                                                  [r.moment[k], r.moment_x[k], r.moment_y[k]])
            for values, first in ((r.strain_ratio[k], at + 2), (r.stress[k], at + 2 + per_list)):
                for i in range(per_list):
                    expected = format_record("(10E9.3)", [float(v) for v in values[10 * i:10 * i + 10]])
                    assert lines[first + i] == expected, f"study {r.study}, step {k + 1}"


@pytest.mark.parametrize("name", CASES)
def test_run_files_writes_what_strakon_writes(name, strakon_runs, tmp_path):
    theirs = strakon_runs[name].parent
    ours = copy_case(name, tmp_path / "case")
    results = tarnova.run_files(ours)
    written = sorted(p.name for p in theirs.iterdir())
    assert sorted(p.name for p in ours.parent.iterdir()) == written
    for file in written:
        if file.endswith(".rst"):
            # The report's second record holds the date of the run.
            mine, strakon = records(ours.parent / file), records(theirs / file)
            assert mine[0] == strakon[0] and mine[2:] == strakon[2:]
            assert mine[1][:-8] == strakon[1][:-8]
        else:
            assert filecmp.cmp(ours.parent / file, theirs / file, shallow=False), file
    in_memory = tarnova.run(tarnova.read_case(ours))
    for a, b in zip(results, in_memory):
        assert np.array_equal(a.moment, b.moment) and np.array_equal(a.stress, b.stress)


def test_run_files_leaves_the_working_directory(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    case_file = copy_case("BOX", tmp_path / "box")
    before = sorted(p.name for p in tmp_path.iterdir())
    tarnova.run_files(case_file)
    assert sorted(p.name for p in tmp_path.iterdir()) == before


def test_shared_case_results_file_is_said_as_strakon_says_it(tmp_path):
    """Tension-block widths 4.0 and 4.5 give one case results file name: the later case study
    rewrites the earlier one's file, and both programs say so."""
    texts = []
    for where in ("strakon", "module"):
        case_file = copy_case("BOX", tmp_path / where)
        case_file.write_bytes(b" 2\n 3 1 0 4.00  0.0    0  0.\n 3 1 0 4.50  0.0    0  0.\n")
        if where == "strakon":
            done = run_strakon(case_file)
            assert done.returncode == 0
            texts.append([line for line in done.stderr.decode().splitlines()
                          if line.startswith("Warning: case studies")])
        else:
            results = tarnova.run_files(case_file)
            assert results[0].warnings == []
            texts.append(results[1].warnings)
    assert len(texts[0]) == 1 and texts[0] == texts[1]
    assert "jc3104" in texts[1][0]
