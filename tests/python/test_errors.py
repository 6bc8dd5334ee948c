"""Bad input raises ValueError naming the element and the field; a stop of the calculation raises
CollapseError naming the case study and the step. The interpreter goes on in every case."""

import os

import numpy as np
import pytest

import tarnova

from conftest import copy_case, records, run_strakon
from test_memory import small_girder


def changed(field, element, value, corrosion=0):
    case = small_girder()
    getattr(case, field)[element - 1] = value
    case.studies = [tarnova.Study(3, 1, corrosion, 4.5)]
    return case


@pytest.mark.parametrize("field, element, value, corrosion, words", [
    ("property_set", 5, 7.0, 0, "property set"),
    ("property_set", 2, 1.5, 0, "property set"),
    ("plate_width", 9, 0.0, 0, "plate width"),
    ("frame_spacing", 3, -100.0, 0, "frame spacing"),
    ("plate_thickness", 11, 0.0, 0, "plate thickness"),
    ("plate_thickness", 4, 3.0, 8, "plate thickness"),
    ("flange_width", 3, 1e20, 0, "flange width 1e+20"),
    ("y", 6, -1e30, 0, "y -1e+30"),
    ("plate_width", 1, np.nan, 0, "plate_width"),
    ("y", 7, np.nan, 0, "y"),
    ("x", 12, np.inf, 0, "x"),
    ("web_height", 2, -np.inf, 0, "web_height"),
])
def test_bad_element_value_is_a_value_error(field, element, value, corrosion, words):
    with pytest.raises(ValueError) as raised:
        tarnova.run(changed(field, element, value, corrosion))
    message = str(raised.value)
    assert words in message and f"element {element}" in message, message
    assert "record" not in message, "a case in memory has no records"


def test_bad_property_set_is_a_value_error():
    case = small_girder()
    case.youngs_modulus[1] = 0.0
    with pytest.raises(ValueError, match="property set 2"):
        tarnova.run(case)
    case = small_girder()
    case.yield_stress[0] = np.nan
    with pytest.raises(ValueError, match="yield_stress of property set 1 is nan"):
        tarnova.run(case)
    case = small_girder()
    case.studies[2].heel = float("inf")
    with pytest.raises(ValueError, match="heel of case study 3 is inf"):
        tarnova.run(case)


@pytest.mark.parametrize("build, words", [
    (lambda c: setattr(c, "x", c.x[:-1]), "x"),
    (lambda c: setattr(c, "y", np.zeros((2, 12), np.float32)), "y"),
    (lambda c: setattr(c, "youngs_modulus", c.youngs_modulus[:1]), "youngs_modulus"),
    (lambda c: setattr(c, "studies", []), "case stud"),
    (lambda c: [setattr(c, f, getattr(c, f)[:0]) for f in tarnova.SECTION_FIELDS], "element"),
    (lambda c: [setattr(c, f, np.resize(getattr(c, f), 601)) for f in tarnova.SECTION_FIELDS],
     "600"),
])
def test_unusable_case_is_a_value_error(build, words):
    case = small_girder()
    build(case)
    with pytest.raises(ValueError, match=words):
        tarnova.run(case)


def test_case_fields_are_checked_when_built():
    with pytest.raises(ValueError, match="missing: .*plate_width"):
        tarnova.Case({"x": [0.0]}, [235.0], [206000.0])
    with pytest.raises(ValueError, match="unknown.*thickness"):
        tarnova.Case({"thickness": [1.0]}, [235.0], [206000.0])
    with pytest.raises(ValueError, match="orientation must hold whole numbers"):
        section = small_girder().section
        section["orientation"] = section["orientation"] + 0.5
        tarnova.Case(section, [235.0, 315.0], [206000.0, 206000.0])


def test_unreadable_record_names_file_record_and_columns(tmp_path):
    case_file = copy_case("BOX", tmp_path)
    geometry = case_file.with_suffix(".geo")
    lines = geometry.read_bytes().decode("latin-1").splitlines()
    lines[6] = lines[6][:7] + "  abc  " + lines[6][14:]
    geometry.write_bytes(("\n".join(lines) + "\n").encode("latin-1"))
    for call in (tarnova.read_case, tarnova.run_files):
        with pytest.raises(ValueError) as raised:
            call(case_file)
        message = str(raised.value)
        assert "BOX.geo" in message and "7" in message and "abc" in message, message


def test_element_count_that_differs_from_the_declared_is_a_value_error(tmp_path):
    case_file = copy_case("BOX", tmp_path)
    geometry = case_file.with_suffix(".geo")
    lines = geometry.read_bytes().decode("latin-1").splitlines()
    lines[2] = f"{int(lines[2][:4]) + 1:4d}" + lines[2][4:]
    geometry.write_bytes(("\n".join(lines) + "\n").encode("latin-1"))
    with pytest.raises(ValueError, match="declares"):
        tarnova.run_files(case_file)


def test_missing_file_is_file_not_found(tmp_path):
    case_file = copy_case("BOX", tmp_path)
    case_file.with_suffix(".pro").unlink()
    for call in (tarnova.read_case, tarnova.run_files):
        with pytest.raises(FileNotFoundError, match="BOX.pro"):
            call(case_file)


def soft_case():
    """Two plates whose steel is 30 times softer than that of a small third one: every elastic
    estimate moves the neutral axis a fraction of the way to balance, and under vertical bending
    60 moves never get there. Bent about the vertical axis (heel 90) the case converges."""
    section = {"frame_spacing": [2400.0] * 3, "plate_width": [800.0, 800.0, 10.0],
               "plate_thickness": [16.0, 16.0, 10.0], "x": [0.0, 800.0, 400.0],
               "y": [0.0, 1000.0, 0.0], "property_set": [1.0, 1.0, 2.0],
               "orientation": [0, 0, 0], "kind": [1, 1, 1]}
    return tarnova.Case(section, [235.0, 235.0], [206000.0 / 30, 206000.0],
                        [tarnova.Study(1, 1, 0, 0.0, 90.0), tarnova.Study(1, 1, 0, 0.0, 0.0)])


def test_stop_of_the_calculation_is_a_collapse_error():
    with pytest.raises(tarnova.CollapseError) as raised:
        tarnova.run(soft_case())
    error = raised.value
    assert isinstance(error, RuntimeError)
    assert (error.study, error.step) == (2, 1)
    assert "case study 2" in str(error) and "step 1" in str(error)
    # The interpreter and the module go on.
    assert tarnova.run(small_girder())[0].ultimate_moment > 0


def test_bad_property_set_in_files_is_read_and_rejected_by_the_run(tmp_path):
    case_file = copy_case("BOX", tmp_path)
    geometry = case_file.with_suffix(".geo")
    lines = geometry.read_bytes().decode("latin-1").splitlines()
    lines[5] = lines[5][:49] + " 7." + lines[5][52:]
    geometry.write_bytes(("\n".join(lines) + "\n").encode("latin-1"))
    case = tarnova.read_case(case_file)
    assert case.property_set[1] == 7.0
    with pytest.raises(ValueError, match="property set 7 of element 2"):
        tarnova.run(case)
    with pytest.raises(ValueError, match="BOX.geo, record 6, columns 50-52: property set 7 of element 2"):
        tarnova.run_files(case_file)


def test_output_file_that_cannot_be_written_is_an_os_error(tmp_path):
    case_file = copy_case("BOX", tmp_path)
    (tmp_path / "lixo.tmp").mkdir()
    with pytest.raises(OSError, match="lixo.tmp") as raised:
        tarnova.run_files(case_file)
    assert not isinstance(raised.value, ValueError)


# Wrong kinds of argument are refused, never converted: a fraction of a thread is not cut, a
# complex, date or masked column is not silently made real, a 64-bit orientation does not wrap.
def masked_x(case):
    case.x = np.ma.masked_array(case.x, mask=[i == 4 for i in range(len(case.x))])


@pytest.mark.parametrize("change, threads, error, words", [
    (None, 1.5, TypeError, "threads must be a whole number or None, not float 1.5"),
    (None, True, TypeError, "not bool True"),
    (None, "2", TypeError, "not str"),
    (None, 0, ValueError, "threads must be from 1 to 2147483647, not 0"),
    (None, -3, ValueError, "not -3"),
    (None, 2**31, ValueError, "not 2147483648"),
    (lambda c: setattr(c, "plate_width", c.plate_width.astype(np.complex64)), None, TypeError,
     "plate_width must hold real numbers, not complex64"),
    (lambda c: setattr(c, "x", np.arange(len(c.x)).astype("datetime64[D]")), None, TypeError,
     "x must hold real numbers, not datetime64[D]"),
    (lambda c: setattr(c, "y", c.y.astype(str)), None, TypeError, "y must hold real numbers"),
    (lambda c: setattr(c, "kind", c.kind.astype(bool)), None, TypeError, "not bool"),
    (masked_x, None, ValueError, "x of element 5 is masked"),
    (lambda c: setattr(c, "orientation", np.full(len(c.x), 2**40 + 2, np.int64)), None, ValueError,
     "orientation of element 1 is 1099511627778, beyond -2147483648 to 2147483647"),
    (lambda c: setattr(c, "kind", np.full(len(c.x), -1e12)), None, ValueError, "kind of element 1"),
    (lambda c: setattr(c, "studies", []), None, ValueError, "no case studies"),
])
def test_argument_of_the_wrong_kind_is_refused(change, threads, error, words):
    case = small_girder()
    if change:
        change(case)
    with pytest.raises(error) as raised:
        tarnova.run(case, threads=threads)
    assert words in str(raised.value)


def test_a_masked_column_without_masked_values_is_its_data():
    case = small_girder()
    plain = tarnova.run(case, threads=1)[0].ultimate_moment
    case.x = np.ma.masked_array(case.x, mask=False)
    assert tarnova.run(case, threads=1)[0].ultimate_moment == plain


@pytest.mark.parametrize("case", [None, "BOX.ana", {"x": [1.0]}])
def test_run_takes_only_a_case(case):
    with pytest.raises(TypeError, match="run takes a tarnova.Case"):
        tarnova.run(case)


@pytest.mark.parametrize("threads, error", [(1.5, TypeError), (True, TypeError), (2**31, ValueError),
                                            (0, ValueError)])
def test_run_files_checks_threads_before_writing(tmp_path, threads, error):
    case_file = copy_case("BOX", tmp_path)
    before = sorted(p.name for p in tmp_path.iterdir())
    with pytest.raises(error):
        tarnova.run_files(case_file, threads=threads)
    assert sorted(p.name for p in tmp_path.iterdir()) == before


def test_run_files_with_no_case_studies_is_a_value_error_after_the_reports_head(tmp_path):
    case_file = copy_case("BOX", tmp_path)
    case_file.write_bytes(b" 0\r\n")
    with pytest.raises(ValueError, match="BOX.ana: the case has no case studies"):
        tarnova.run_files(case_file)
    # The report's head, as the calculator leaves it; no other result.
    assert len(records(tmp_path / "BOX.rst")) == 2
    assert not (tmp_path / "BOX.teA").exists()


def test_unreadable_option_record_leaves_the_files_strakon_leaves(tmp_path):
    """The second case study's option record has letters in a number: both stop there, and both
    leave its element curve file, empty."""
    left = []
    for where in ("strakon", "module"):
        case_file = copy_case("BOX", tmp_path / where)
        case_file.write_bytes(b" 2\r\n 3 1 0 4.50  0.0    0  0.\r\n 3 1 X 4.50180.0    0  0.\r\n")
        if where == "strakon":
            assert run_strakon(case_file).returncode != 0
        else:
            with pytest.raises(ValueError):
                tarnova.run_files(case_file)
        left.append(sorted(p.name for p in case_file.parent.iterdir()))
        assert (case_file.parent / "BOX.teB").stat().st_size == 0
    assert left[0] == left[1]


@pytest.mark.parametrize("kind", ["directory", "fifo", "device"])
def test_case_file_that_is_no_regular_file_is_a_value_error_naming_it(tmp_path, kind):
    """A directory named BOX.ana, a FIFO (which blocked for ever) or /dev/zero (which never ended)
    is refused before it is opened, by read_case and run_files alike."""
    copy_case("BOX", tmp_path)
    target = tmp_path / "BOX.ana"
    target.unlink()
    if kind == "directory":
        target.mkdir()
    elif kind == "fifo":
        os.mkfifo(target)
    else:
        target.symlink_to("/dev/zero")
    words = {"directory": "is a directory", "fifo": "is a FIFO", "device": "is a device"}[kind]
    for call in (tarnova.read_case, tarnova.run_files):
        with pytest.raises(ValueError) as raised:
            call(target)
        assert "BOX.ana " + words in str(raised.value), str(raised.value)
