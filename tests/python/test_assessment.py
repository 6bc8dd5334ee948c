"""The assessment from Python: read_limits, assess and interaction against the example cases, and
peak_reached of a result."""

import pytest

import tarnova

from conftest import EXAMPLES


@pytest.fixture(scope="module")
def tanker():
    return tarnova.read_case(EXAMPLES / "tanker" / "TANKER.ana")


def test_limits_read_with_rule_defaults():
    limits = tarnova.read_limits(EXAMPLES / "tanker" / "TANKER.lim")
    assert [c["name"] for c in limits["conditions"]] == ["seagoing", "harbour"]
    assert limits["conditions"][0]["gamma_m"] == 1.1
    assert limits["conditions"][0]["gamma_db_hogging"] == 1.15
    assert [d["kind"] for d in limits["damages"]] == ["collision", "grounding"]
    assert limits["damages"][0]["c_na"] == 1.1
    assert limits["angles"] == 24


def test_faulty_limits_list_every_line_and_key(tmp_path):
    path = tmp_path / "CASE.lim"
    path.write_text('[[condition]]\nname = "s"\nmsw_hogging = 1\nmsw_sagging = 1\nmwv_hogging = 1\n'
                    'mwv_sagging = 1\ngamma_q = 2\n[interaction]\nangles = -1\n')
    with pytest.raises(ValueError) as error:
        tarnova.read_limits(path)
    assert "CASE.lim:7: condition[1].gamma_q: unknown key" in str(error.value)
    assert "CASE.lim:9: interaction.angles" in str(error.value)
    with pytest.raises(FileNotFoundError):
        tarnova.read_limits(tmp_path / "NONE.lim")


def test_assess_gives_the_check_rows_and_the_interaction(tanker):
    limits = tarnova.read_limits(EXAMPLES / "tanker" / "TANKER.lim")
    a = tarnova.assess(tanker, limits, threads=2)
    rows = a["rows"]
    assert len(rows["utilisation"]) == 2 * 2 * 3
    assert list(rows["case"][:4]) == ["intact"] * 4
    moment = rows["gamma_s"] * rows["msw"] + rows["gamma_w"] * rows["mwv"]
    assert moment == pytest.approx(rows["moment"])
    assert rows["capacity"] == pytest.approx(rows["ultimate"] / (rows["gamma_m"] * rows["gamma_db"]))
    assert a["interaction"]["ultimate"][0] == a["sagging"]["ultimate"]
    assert a["interaction"]["ultimate"][12] == a["hogging"]["ultimate"]
    collision = a["damages"][0]
    assert collision["removed"] > 0 and not collision["hogging"]["peak_reached"]
    # A study the case does not have is refused.
    limits["study"] = 9
    with pytest.raises(ValueError):
        tarnova.assess(tanker, limits)


def test_interaction_by_count_or_angles(tanker):
    by_count = tarnova.interaction(tanker, 4)
    assert list(by_count["angle"]) == [0, 90, 180, 270]
    by_angles = tarnova.interaction(tanker, [0.0, 180.0])
    assert by_angles["ultimate"][1] == by_count["ultimate"][2]
    assert by_count["vertical"][2] == -by_count["ultimate"][2]


def test_peak_reached_on_the_tanker(tanker):
    reached = [r.peak_reached for r in tarnova.run(tanker)]
    assert reached == [True, True, False, False, True, True, True, False]
