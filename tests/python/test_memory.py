"""A case built in memory equals the same case read from files."""

import numpy as np

import tarnova
from tarnova._tarnova import format_record

from conftest import copy_case


def assert_same_results(a, b):
    assert len(a) == len(b)
    for x, y in zip(a, b):
        for name in tarnova.Result.__slots__:
            if name in ("options",):
                assert x.options == y.options
                continue
            u, v = getattr(x, name), getattr(y, name)
            if isinstance(u, np.ndarray):
                assert u.dtype == v.dtype and np.array_equal(u, v), name
            else:
                assert u == v, name


def write_case(case: tarnova.Case, directory, name="MEMORY"):
    """The case's three files, written with the calculator's record formats."""
    geometry = [case.title, format_record("(3F10.1)", list(case.header)),
                format_record("(I4)", [case.element_count]), case.headings]
    for n in range(case.element_count):
        geometry.append(format_record(
            "(7F7.1,F3.0,2F4.2,2F9.1,2I2)",
            [float(getattr(case, f)[n]) for f in tarnova.SECTION_FIELDS[:12]]
            + [int(case.orientation[n]), int(case.kind[n])]))
    options = [format_record("(I2)", [len(case.studies)])]
    for s in case.studies:
        options.append(format_record("(3I2,F5.2,F5.1,F5.4,F4.0)",
                                     [s.behaviour, s.shedding, s.corrosion, s.tension_block_width,
                                      s.heel, s.distortion, s.spare]))
    properties = [format_record("(2F10.1)", [float(a), float(b)])
                  for a, b in zip(case.yield_stress, case.youngs_modulus)]
    for extension, lines in ((".geo", geometry), (".ana", options), (".pro", properties)):
        (directory / (name + extension)).write_bytes(
            ("\n".join(lines) + "\n").encode("latin-1"))
    return directory / (name + ".ana")


def small_girder() -> tarnova.Case:
    """A box girder of 8 m by 4 m from plain lists: stiffened deck and bottom, bare sides,
    four hard corners; two steels."""
    x, y, b, t, orientation, kind, steel = [], [], [], [], [], [], []
    for i in range(9):
        for height, facing in ((0.0, 2), (4000.0, 1)):
            corner = i in (0, 8)
            x.append(1000.0 * i)
            y.append(height)
            b.append(500.0 if corner else 1000.0)
            t.append(16.0 if height == 0.0 else 12.0)
            orientation.append(facing)
            kind.append(1 if corner else 3)
            steel.append(2 if height == 0.0 else 1)
    for j in range(1, 4):
        for side, facing in ((0.0, 4), (8000.0, 3)):
            x.append(side)
            y.append(1000.0 * j)
            b.append(1000.0)
            t.append(11.0)
            orientation.append(facing)
            kind.append(2)
            steel.append(1)
    stiffened = [k == 3 for k in kind]
    section = {
        "frame_spacing": [2800.0] * len(x), "plate_width": b, "plate_thickness": t,
        "flange_width": [120.0 if s else 0.0 for s in stiffened],
        "flange_thickness": [14.0 if s else 0.0 for s in stiffened],
        "web_height": [280.0 if s else 0.0 for s in stiffened],
        "web_thickness": [11.0 if s else 0.0 for s in stiffened],
        "property_set": steel, "x": x, "y": y, "orientation": orientation, "kind": kind,
    }
    return tarnova.Case(section, [235.0, 315.0], [206000.0, 206000.0],
                        [tarnova.Study(3, 1, 0, 4.5, 0.0, 0.0015),
                         tarnova.Study(3, 2, 2, 4.5, 180.0, 0.0015),
                         tarnova.Study(2, 1, 0, 3.0, 30.0, 0.0)],
                        title="SMALL GIRDER", headings=" built in memory", name="MEMORY")


def test_case_built_from_lists_equals_its_files(tmp_path):
    case = small_girder()
    assert case.element_count == 24 and case.plate_thickness.dtype == np.float32
    from_files = tarnova.read_case(write_case(case, tmp_path))
    for field in tarnova.SECTION_FIELDS:
        assert np.array_equal(getattr(from_files, field), getattr(case, field)), field
    assert_same_results(tarnova.run(case), tarnova.run(from_files))
    # The run wrote nothing.
    assert sorted(p.name for p in tmp_path.iterdir()) == ["MEMORY.ana", "MEMORY.geo", "MEMORY.pro"]


def test_example_rebuilt_from_plain_values_equals_the_example(tmp_path):
    read = tarnova.read_case(copy_case("TANKER", tmp_path))
    rebuilt = tarnova.Case({f: getattr(read, f).tolist() for f in tarnova.SECTION_FIELDS
                            if f not in ("spare", "total_depth")},
                           read.yield_stress.tolist(), read.youngs_modulus.tolist(),
                           [tarnova.Study(**vars(s)) for s in read.studies[:3]])
    read.studies = read.studies[:3]
    assert_same_results(tarnova.run(rebuilt), tarnova.run(read))


def test_parametric_change_in_memory_changes_the_result(tmp_path):
    case = tarnova.read_case(copy_case("BOX", tmp_path))
    case.studies = case.studies[1:2]
    thinner = case.copy()
    thinner.plate_thickness -= 1.0
    base, less = tarnova.run(case)[0], tarnova.run(thinner)[0]
    assert less.ultimate_moment < base.ultimate_moment
    assert less.area < base.area
    # The same change through the corrosion code: 2 x 0.5 mm off plate and web, 2 mm off flanges.
    corroded = case.copy()
    corroded.studies[0].corrosion = 2
    # (plates without a stiffener keep their flange and web of 0: a thickness below 0 is rejected)
    thinner.flange_thickness = np.where(thinner.flange_thickness > 0, thinner.flange_thickness - 1.0, 0.0)
    thinner.web_thickness = np.where(thinner.web_thickness > 0, thinner.web_thickness - 1.0, 0.0)
    assert tarnova.run(corroded)[0].ultimate_moment == tarnova.run(thinner)[0].ultimate_moment
