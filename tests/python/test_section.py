"""build_section gives the case the calculator reads from Sagoma's files; Case.to_files writes
files that read back to the same case and never replaces one unasked."""

import numpy as np
import pytest

import tarnova
from conftest import EXAMPLES


def assert_same_case(a, b):
    for field in tarnova.SECTION_FIELDS:
        np.testing.assert_array_equal(getattr(a, field), getattr(b, field), err_msg=field)
    np.testing.assert_array_equal(a.yield_stress, b.yield_stress)
    np.testing.assert_array_equal(a.youngs_modulus, b.youngs_modulus)
    assert a.studies == b.studies
    assert (a.title, a.header) == (b.title, b.header)


@pytest.mark.parametrize("example", ["tanker/TANKER", "box/BOX"])
def test_build_section_equals_the_committed_case(example):
    built = tarnova.build_section(EXAMPLES / (example + ".sec"))
    assert_same_case(built, tarnova.read_case(EXAMPLES / (example + ".ana")))
    assert built.name == example.split("/")[1]
    assert built.warnings == []


def test_build_section_from_text_lists_every_error():
    text = (EXAMPLES / "box" / "BOX.sec").read_text()
    text = text.replace('steel = "mild"\nprofile', 'steel = "mlid"\nprofile', 1).replace("count = 5", "count = -5", 1)
    with pytest.raises(ValueError) as error:
        tarnova.build_section(text)
    message = str(error.value)
    assert '<text>:28: strake[1].steel: no [[steel]] is named "mlid": a typing slip of "mild"?' in message
    assert "strake[2].count" in message


def test_to_files_reads_back_and_refuses_to_replace(tmp_path):
    case = tarnova.build_section(EXAMPLES / "tanker" / "TANKER.sec")
    case.plate_thickness[:10] += 1.0
    paths = case.to_files(tmp_path, "THICK")
    assert [p[-4:] for p in paths] == [".geo", ".pro", ".ana"]
    assert_same_case(tarnova.read_case(tmp_path / "THICK.ana"), case)
    before = (tmp_path / "THICK.geo").read_bytes()
    with pytest.raises(FileExistsError):
        case.to_files(tmp_path, "THICK")
    assert (tmp_path / "THICK.geo").read_bytes() == before
    case.to_files(tmp_path, "THICK", overwrite=True)
    assert sorted(p.name for p in tmp_path.iterdir()) == ["THICK.ana", "THICK.geo", "THICK.pro"]
