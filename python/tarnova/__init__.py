"""Ultimate longitudinal strength of a hull girder by progressive collapse, from Python.

The calculation is the one of the collapse calculator ``Strakon``, in the same single-precision
arithmetic, so its figures equal those of the calculator's files to the printed digits. Inputs and
results are NumPy arrays and plain Python values; nothing needs to touch the disk.

    import tarnova
    case = tarnova.read_case("examples/tanker/TANKER.ana")
    case.plate_thickness -= 1.0              # a parametric change, in memory
    for result in tarnova.run(case):
        print(result.study, result.ultimate_moment)

``read_case`` reads the three files of a case, ``Case(...)`` builds one from arrays, ``run`` runs
its case studies (in parallel threads, with the interpreter lock released) and ``run_files`` does
what ``Strakon`` does, writing every file the calculator writes. Bad input raises ``ValueError``
naming the element and the field; a stop of the calculation raises ``CollapseError`` naming the
case study and the step. Units: mm, N/mm², N·mm, 1/mm; the heel angle in degrees.
"""

from __future__ import annotations

import dataclasses
import numbers
import operator
import os
from typing import Iterable, Mapping, Sequence

import numpy as np

from ._errors import CollapseError
from . import _tarnova

__all__ = ["Case", "Study", "Result", "CollapseError", "read_case", "run", "run_samples", "run_files",
           "read_limits", "assess", "interaction", "SECTION_FIELDS", "STEP_COUNT", "MAX_ELEMENTS"]

STEP_COUNT = _tarnova.STEP_COUNT
MAX_ELEMENTS = _tarnova.MAX_ELEMENTS

# The element columns of the geometry file, in the order of its records. Integers: orientation
# and kind; every other column is a single-precision real.
SECTION_FIELDS = ("frame_spacing", "plate_width", "plate_thickness", "flange_width",
                  "flange_thickness", "web_height", "web_thickness", "property_set", "spare",
                  "total_depth", "x", "y", "orientation", "kind")
_INTEGER_FIELDS = ("orientation", "kind")
# Columns a Case built in memory may leave out, with the value they then take: a bare plate has
# no stiffener, the spare column has no effect, the total depth is always derived.
_DEFAULTS = {"flange_width": 0.0, "flange_thickness": 0.0, "web_height": 0.0,
             "web_thickness": 0.0, "spare": 0.0, "total_depth": 0.0, "kind": 3}


@dataclasses.dataclass
class Study:
    """The options of one case study (one record of the options file ".ana").

    behaviour            1 = elements only yield; 2 = plate and beam-column buckling;
                         3 = as 2 and tripping of stiffeners
    shedding             1 = SHED, 2 = CONST: the element curves after collapse
    corrosion            allowance of corrosion × 0.5 mm taken off the thicknesses
                         (twice that off the flanges)
    tension_block_width  tensile residual-stress block at each plate edge, in plate thicknesses
    heel                 angle of heel, degrees
    distortion           initial distortion coefficient (names the case results file only)
    spare                last field of the record, without effect
    """

    behaviour: int = 3
    shedding: int = 1
    corrosion: int = 0
    tension_block_width: float = 0.0
    heel: float = 0.0
    distortion: float = 0.0
    spare: float = 0.0

    def _record(self):
        return (int(self.behaviour), int(self.shedding), int(self.corrosion),
                float(self.tension_block_width), float(self.heel), float(self.distortion),
                float(self.spare))


class Case:
    """A hull section, its property sets and its case studies, all in memory.

    Element columns are attributes holding 1-D NumPy arrays of one value per element, in element
    order (``float32``; ``orientation`` and ``kind`` ``int32``): frame_spacing, plate_width,
    plate_thickness, flange_width, flange_thickness, web_height, web_thickness, property_set
    (1 to 5), spare, total_depth (derived by the calculation), x, y, orientation (1 = stiffener
    toward -y, 2 = +y, 3 = -x, 4 = +x) and kind (1 = hard corner, 2 = wide-plate formula, other =
    stiffened plate). Thicknesses are those before the corrosion allowance.

    ``yield_stress`` and ``youngs_modulus`` are ``float32`` arrays of the property sets 1, 2, ...
    (at most 5). ``studies`` is a list of ``Study``. ``title`` and ``headings`` are the first and
    fourth lines of the geometry file, ``header`` the three numbers of its second line; ``name``
    is the case name (the stem of the files).

    Build one from arrays (columns left out take 0, ``kind`` 3)::

        case = tarnova.Case({"frame_spacing": s, "plate_width": b, "plate_thickness": t,
                             "x": x, "y": y, "property_set": p, "orientation": o},
                            yield_stress=[235.0, 355.0], youngs_modulus=[206000.0, 206000.0],
                            studies=[tarnova.Study(tension_block_width=4.5)])

    or read one with ``tarnova.read_case``. Arrays are converted (copied when their type differs)
    and may then be changed in place; ``copy()`` gives an independent case.
    """

    def __init__(self, section: Mapping[str, Iterable], yield_stress: Iterable[float],
                 youngs_modulus: Iterable[float], studies: Sequence[Study] = (Study(),), *,
                 title: str = "", headings: str = "", header: Sequence[float] = (0.0, 0.0, 0.0),
                 name: str = "CASE"):
        unknown = set(section) - set(SECTION_FIELDS)
        if unknown:
            raise ValueError(f"unknown section field(s): {', '.join(sorted(unknown))}; "
                             f"the fields are {', '.join(SECTION_FIELDS)}")
        missing = [f for f in SECTION_FIELDS if f not in section and f not in _DEFAULTS]
        if missing:
            raise ValueError(f"section field(s) missing: {', '.join(missing)}")
        count = None
        for field in SECTION_FIELDS:
            if field in section:
                values = _column(field, section[field])
                if count is None:
                    count = len(values)
                elif len(values) != count:
                    raise ValueError(f"section field {field} has {len(values)} values, "
                                     f"the other fields {count}")
                setattr(self, field, values)
        for field in SECTION_FIELDS:
            if field not in section:
                setattr(self, field, np.full(count, _DEFAULTS[field],
                                             np.int32 if field in _INTEGER_FIELDS else np.float32))
        self.yield_stress = _column("yield_stress", yield_stress)
        self.youngs_modulus = _column("youngs_modulus", youngs_modulus)
        if len(self.yield_stress) != len(self.youngs_modulus):
            raise ValueError(f"yield_stress has {len(self.yield_stress)} property sets, "
                             f"youngs_modulus {len(self.youngs_modulus)}")
        # Copies: a Study given (or the default one) stays the caller's.
        self.studies = [dataclasses.replace(s) if isinstance(s, Study) else Study(*s)
                        for s in studies]
        self.title = str(title)
        self.headings = str(headings)
        self.header = tuple(float(v) for v in header)
        if len(self.header) != 3:
            raise ValueError("header takes three numbers")
        self.name = str(name)

    @property
    def element_count(self) -> int:
        """Number of elements."""
        return len(self.x)

    @property
    def section(self) -> dict:
        """The element columns by name (the arrays themselves, not copies)."""
        return {field: getattr(self, field) for field in SECTION_FIELDS}

    def copy(self) -> "Case":
        """An independent copy: arrays and studies copied."""
        return Case({f: a.copy() for f, a in self.section.items()}, self.yield_stress.copy(),
                    self.youngs_modulus.copy(), [dataclasses.replace(s) for s in self.studies],
                    title=self.title, headings=self.headings, header=self.header, name=self.name)

    def __repr__(self):
        return (f"Case({self.name!r}, {self.element_count} elements, "
                f"{len(self.yield_stress)} property sets, {len(self.studies)} case studies)")

    def _arguments(self):
        columns = [_column(f, getattr(self, f)) for f in SECTION_FIELDS]
        lengths = [len(c) for c in columns]
        count = max(set(lengths), key=lengths.count)
        for field, length in zip(SECTION_FIELDS, lengths):
            if length != count:
                raise ValueError(f"section field {field} has {length} values, the others {count}")
        # A value that is no number (NaN, infinity) would run to a meaningless stop or result.
        for field, column in zip(SECTION_FIELDS, columns):
            _require_finite(column, lambda i: f"{field} of element {i + 1}")
        yield_stress = _column("yield_stress", self.yield_stress)
        youngs_modulus = _column("youngs_modulus", self.youngs_modulus)
        if len(yield_stress) != len(youngs_modulus):
            raise ValueError(f"youngs_modulus has {len(youngs_modulus)} property sets, "
                             f"yield_stress {len(yield_stress)}")
        for field, column in (("yield_stress", yield_stress), ("youngs_modulus", youngs_modulus)):
            _require_finite(column, lambda i: f"{field} of property set {i + 1}")
        for number, study in enumerate(self.studies, 1):
            _require_finite(np.array(study._record(), np.float64),
                            lambda i: f"{dataclasses.fields(Study)[i].name} of case study {number}")
        return (columns, yield_stress, youngs_modulus, [s._record() for s in self.studies],
                self.title, self.headings, tuple(self.header), self.name)


def _require_finite(values, what):
    if values.dtype.kind == "f":
        bad = np.flatnonzero(~np.isfinite(values))
        if bad.size:
            raise ValueError(f"{what(bad[0])} is {values[bad[0]]}, not a finite number")


_INT32 = np.iinfo(np.int32)


def _column(field, values):
    kind = np.int32 if field in _INTEGER_FIELDS else np.float32
    if isinstance(values, np.ma.MaskedArray):
        # A masked value has no number to give: its hidden data would be computed as if valid.
        masked = np.flatnonzero(np.ma.getmaskarray(values))
        if masked.size:
            raise ValueError(f"{field} of element {masked[0] + 1} is masked; fill or drop it first")
        values = np.ma.getdata(values)
    array = np.asarray(values)
    if array.ndim != 1:
        raise ValueError(f"{field} must be one-dimensional, not of shape {array.shape}")
    # Only real numbers: complex (the imaginary part would be dropped), dates and durations,
    # texts, booleans and objects are refused rather than converted.
    if array.size and array.dtype.kind not in "iuf":
        raise TypeError(f"{field} must hold real numbers, not {array.dtype}")
    if field in _INTEGER_FIELDS and array.size:
        if not np.issubdtype(array.dtype, np.integer):
            if not np.all(np.isfinite(array)) or np.any(array != np.trunc(array)):
                raise ValueError(f"{field} must hold whole numbers")
        # Beyond 32 bits a whole number would wrap around to another, valid-looking one.
        beyond = np.flatnonzero((array < _INT32.min) | (array > _INT32.max))
        if beyond.size:
            raise ValueError(f"{field} of element {beyond[0] + 1} is {array[beyond[0]]}, "
                             f"beyond {_INT32.min} to {_INT32.max}")
    return np.ascontiguousarray(array, dtype=kind)


# The most threads the engine takes (a C int).
_MAX_THREADS = _INT32.max


def _threads(threads) -> int:
    """The thread count for the engine: 0 (one per processor) for None."""
    if threads is None:
        return 0
    if isinstance(threads, bool) or not isinstance(threads, numbers.Integral):
        raise TypeError(f"threads must be a whole number or None, not {type(threads).__name__} "
                        f"{threads!r}")
    count = operator.index(threads)
    if not 1 <= count <= _MAX_THREADS:
        raise ValueError(f"threads must be from 1 to {_MAX_THREADS}, not {count}")
    return count


class Result:
    """The results of one case study.

    Per step (arrays of ``STEP_COUNT`` = 50 ``float32`` values, step 1 first):
        curvature, moment_x, moment_y, moment (resultant), axis_x, axis_y (neutral axis
        position at the end of the step, mm).
    The ultimate bending moment and its companions (floats):
        ultimate_moment, ultimate_moment_x, ultimate_moment_y, ultimate_curvature,
        section_modulus (equivalent section modulus, mm³).
    Section properties (floats): area, neutral_axis_x, neutral_axis_y (elastic), vertical_inertia,
        horizontal_inertia, deck_modulus, bottom_modulus, elastic_moment (first yield),
        plastic_moment, plastic_neutral_axis.
    Per element and step (``float32`` arrays of 50 rows × n elements):
        strain_ratio (strain over yield strain, shortening positive), stress (N/mm²).
    ``study`` is the number of the case study (from 1) and ``options`` its ``Study``;
    ``warnings`` lists what the calculation noted on the way (a list of texts, usually empty).
    """

    __slots__ = ("study", "options", "curvature", "moment_x", "moment_y", "moment", "axis_x",
                 "axis_y", "ultimate_moment", "ultimate_moment_x", "ultimate_moment_y",
                 "ultimate_curvature", "section_modulus", "area", "neutral_axis_x",
                 "neutral_axis_y", "vertical_inertia", "horizontal_inertia", "deck_modulus",
                 "bottom_modulus", "elastic_moment", "plastic_moment", "plastic_neutral_axis",
                 "strain_ratio", "stress", "warnings")

    def __init__(self, values: dict):
        for name in self.__slots__:
            setattr(self, name, values[name])

    @property
    def peak_step(self) -> int:
        """The step (1 to 50) of the largest moment."""
        return int(np.argmax(self.moment)) + 1

    @property
    def peak_reached(self) -> bool:
        """False when the largest moment is the last step's: the curve was still rising and the
        ultimate moment is only where the steps ended."""
        return self.peak_step < STEP_COUNT

    def __repr__(self):
        return (f"Result(study {self.study}, ultimate moment {self.ultimate_moment:.6e} N.mm "
                f"at curvature {self.ultimate_curvature:.4e} 1/mm)")


def _study(record) -> Study:
    # Reals as the shortest decimals that give the same single-precision values (0.0015, not
    # 0.001500000013038516): they print as the file shows them and run to the same results.
    return Study(*(v if isinstance(v, int) else float(str(np.float32(v))) for v in record))


def _case_from(raw: dict) -> Case:
    return Case(dict(zip(SECTION_FIELDS, raw["section"])), raw["yield_stress"],
                raw["youngs_modulus"], [_study(s) for s in raw["studies"]], title=raw["title"],
                headings=raw["headings"], header=raw["header"], name=raw["name"])


def _results(raw: list) -> list:
    results = []
    for values in raw:
        values["options"] = _study(values["options"])
        results.append(Result(values))
    return results


def read_case(path: str | os.PathLike) -> Case:
    """Reads a case from its files: the path of any of them ("TANKER.ana"), as ``Strakon`` takes
    it. The options ".ana", geometry ".geo" and properties ".pro" are read by the calculator's own
    record rules; nothing is run and nothing is written. Raises ``FileNotFoundError`` for a missing
    file and ``ValueError`` for a record that cannot be read (naming file, record and field)."""
    return _case_from(_tarnova.read_case(os.fspath(path)))


def run(case: Case, threads: int | None = None) -> list:
    """Runs every case study of the case and returns one ``Result`` per case study, in order.

    Case studies run in parallel on up to ``threads`` threads (default: one per processor, at
    most one per case study), with the interpreter lock released; ``run`` may be called from
    several Python threads at once. Nothing is read or written on disk.

    Raises ``ValueError`` when the input is unusable (naming the element and the field; a case
    with no case studies too), ``TypeError`` for a ``case`` that is no ``Case``, a column that
    holds no real numbers or a ``threads`` that is no whole number, and ``CollapseError`` when
    the calculation stops (naming the case study and the step)."""
    if not isinstance(case, Case):
        raise TypeError(f"run takes a tarnova.Case, not {type(case).__name__} "
                        "(tarnova.read_case reads one from its files)")
    return _results(_tarnova.run(*case._arguments(), threads=_threads(threads)))


def run_samples(case: Case, samples: Mapping[str, Iterable], threads: int | None = None):
    """Runs the case once per sample, with the columns of ``samples`` given per sample: the
    fastest way to many runs of one case (Monte Carlo, sweeps), all with the interpreter lock
    released.

    ``samples`` maps column names (real section fields such as "plate_thickness", or
    "yield_stress" and "youngs_modulus") to 2-D arrays of one row per sample, each row as long as
    the case's column; every sample takes the case as it is otherwise. Returns ``(moments,
    stops)``: ``moments`` a ``float32`` array of one row per sample and one column per case study
    holding each ``Result.ultimate_moment`` (NaN for a sample whose run stopped), ``stops`` one
    text per sample, the ``CollapseError`` message of a run that stopped or "" (the same values
    and messages as ``run`` of each sample). Samples run in parallel on up to ``threads``
    threads (default one per processor). Unusable input raises as ``run`` does."""
    if not isinstance(case, Case):
        raise TypeError(f"run_samples takes a tarnova.Case, not {type(case).__name__}")
    arguments = case._arguments()
    lengths = {"yield_stress": len(arguments[1]), "youngs_modulus": len(arguments[2])}
    columns = {"yield_stress": -1, "youngs_modulus": -2}
    for number, field in enumerate(SECTION_FIELDS):
        if field not in _INTEGER_FIELDS:
            lengths[field] = len(arguments[0][number])
            columns[field] = number
    count = None
    sampled = []
    for field, values in samples.items():
        if field not in columns:
            raise ValueError(f"{field} cannot be sampled (real section fields, yield_stress and "
                             "youngs_modulus can)")
        array = np.asarray(values)
        if array.size and array.dtype.kind not in "iuf":
            raise TypeError(f"{field} must hold real numbers, not {array.dtype}")
        if array.ndim != 2 or array.shape[1] != lengths[field]:
            raise ValueError(f"{field} must have one row of {lengths[field]} values per sample, "
                             f"not shape {array.shape}")
        if count is not None and array.shape[0] != count:
            raise ValueError(f"{field} has {array.shape[0]} samples, other columns {count}")
        count = array.shape[0]
        bad = np.argwhere(~np.isfinite(array))
        if bad.size:
            row, column = bad[0]
            raise ValueError(f"{field} of sample {row + 1}, value {column + 1} is "
                             f"{array[row, column]}, not a finite number")
        sampled.append((columns[field], np.ascontiguousarray(array, dtype=np.float32)))
    if count is None:
        raise ValueError("no sampled column: give at least one")
    moments, stops = _tarnova.run_samples(*arguments, sampled=sampled, samples=count,
                                          threads=_threads(threads))
    return moments, stops


def run_files(path: str | os.PathLike, threads: int | None = None) -> list:
    """Does what ``Strakon`` does with the case file at ``path``: reads the three input files and
    writes, in the case directory, the report ".rst", the case results files, "AT.T", "lixo.tmp"
    and the element curve files, record for record as the calculator writes them. Returns one
    ``Result`` per case study. Case studies run in parallel (``threads`` as in ``run``) and their
    records are written in case-study order.

    On a stop, the records written before it stay in their files and ``CollapseError`` (or
    ``ValueError`` for unusable input, and for a case with no case studies after the report's
    head is written, as ``Strakon`` writes it) is raised; a file that cannot be written raises
    ``OSError``."""
    count = _threads(threads)
    return _results(_tarnova.run_files(os.fspath(path), threads=count))


def read_limits(path: str | os.PathLike) -> dict:
    """Reads the design limits of an assessment ("CASE.lim", TOML; docs/assessment.md): a dict
    with ``study`` (case study from 1 for the check and the damages), ``conditions`` (dicts with
    ``name``, ``msw_hogging``, ``msw_sagging``, ``mwv_hogging``, ``mwv_sagging`` in kN·m and the
    factors ``gamma_s``, ``gamma_w``, ``gamma_m``, ``gamma_db_hogging``, ``gamma_db_sagging``,
    the rules' values where the file gives none), ``damages`` (dicts with ``name``, ``kind``,
    ``side`` or the box's ``x_min`` … ``y_max`` in mm, ``gamma_s``, ``gamma_w``, ``gamma_rd``,
    ``c_na``), ``angles`` (count) and ``interaction_study``. The dict may be changed before it is
    given to ``assess``.

    Raises ``FileNotFoundError`` for a missing file and ``ValueError`` listing every fault of the
    file, one line each with its line number and key."""
    return _tarnova.read_limits(os.fspath(path))


def assess(case: Case, limits: Mapping, threads: int | None = None) -> dict:
    """Assesses the case against the limits, in memory: the rule check per condition and direction
    (intact, and residual strength of each damaged section), and the interaction of vertical and
    horizontal bending over ``limits["angles"]`` heel angles. Returns a dict:

    ``rows``: a dict of arrays, one entry per row of the check (``case``, ``condition``,
        ``direction``, ``msw``, ``mwv``, ``gamma_s``, ``gamma_w``, ``gamma_m``, ``gamma_db``,
        ``moment``, ``ultimate``, ``capacity`` = Mu/γR, ``utilisation``, ``passed``,
        ``peak_reached``), moments in kN·m;
    ``damages``: a list of dicts (``name``, ``kind``, ``zone`` (x_min, x_max, y_min, y_max),
        ``removed``, ``remaining``, ``sagging`` and ``hogging`` (``ultimate``, ``moment_x``,
        ``moment_y``, ``peak_step``, ``peak_reached``), ``rotates``);
    ``interaction``: arrays ``angle`` (degrees), ``ultimate``, ``vertical``, ``horizontal``
        (kN·m), ``peak_step``, ``peak_reached``;
    ``sagging``, ``hogging``: the intact studies' summaries; ``notes``: texts.

    Studies run in parallel on up to ``threads`` threads with the interpreter lock released."""
    count = _threads(threads)
    columns, yield_stress, youngs_modulus, studies, _, _, _, name = case._arguments()
    raw = _tarnova.assess(columns, yield_stress, youngs_modulus, studies, name, dict(limits),
                          threads=count)
    rows = raw["rows"]
    table = {}
    for key in ("case", "condition", "direction"):
        table[key] = np.array([r[key] for r in rows], dtype=object)
    for key in ("msw", "mwv", "gamma_s", "gamma_w", "gamma_m", "gamma_db", "moment", "ultimate",
                "capacity", "utilisation"):
        table[key] = np.array([r[key] for r in rows], dtype=np.float64)
    for key in ("passed", "peak_reached"):
        table[key] = np.array([r[key] for r in rows], dtype=bool)
    raw["rows"] = table
    return raw


def interaction(case: Case, angles: int | Sequence[float], study: int = 1,
                threads: int | None = None) -> dict:
    """Mu at each heel angle with the options of case study ``study`` (from 1): ``angles`` is a
    count (that many angles evenly over 0 to 360 degrees) or the angles in degrees. Returns arrays
    ``angle``, ``ultimate``, ``vertical`` = Mu·cos, ``horizontal`` = Mu·sin (kN·m), ``peak_step``
    and ``peak_reached``."""
    count = _threads(threads)
    if isinstance(angles, (int, np.integer)):
        if not 1 <= int(angles) <= 360:
            raise ValueError("the angle count must be 1 to 360")
        angles = [360.0 * k / int(angles) for k in range(int(angles))]
    columns, yield_stress, youngs_modulus, studies, _, _, _, name = case._arguments()
    return _tarnova.interaction(columns, yield_stress, youngs_modulus, studies, name,
                                [float(a) for a in angles], study=int(study),
                                threads=count)


def build_section(description: str | os.PathLike, name: str | None = None) -> Case:
    """The ``Case`` that ``Sagoma`` would write for a section description and the calculator
    would then read: ``description`` is the path of a ".sec" file, or its text (anything holding
    a line break is taken as text). Nothing is written where the description is; the case files
    pass through a temporary directory so that they are read back by the calculator's own record
    rules. The case name is the file's (cut to 8 characters), else ``name`` or "CASE".

    Raises ``ValueError`` listing every error of the description (file, line and key) and
    ``FileNotFoundError`` for a path that does not exist. Warnings are in ``case.warnings``."""
    import tempfile

    if isinstance(description, os.PathLike) or "\n" not in str(description):
        path = os.fspath(description)
        with open(path, encoding="utf-8") as file:
            text = file.read()
        file_name = path
        stem = os.path.splitext(os.path.basename(path))[0][:8].rstrip() or "CASE"
    else:
        text = str(description)
        file_name = "<text>"
        stem = "CASE"
    if name is not None:
        stem = str(name)
    geometry, properties, options, warnings = _tarnova.section_texts(text, file_name)
    with tempfile.TemporaryDirectory() as work:
        base = os.path.join(work, "CASE")
        for extension, content in ((".geo", geometry), (".pro", properties),
                                   (".ana", options or b" 0\r\n")):
            with open(base + extension, "wb") as file:
                file.write(content)
        case = read_case(base + ".ana")
    case.name = stem
    case.warnings = list(warnings)
    return case


def _case_to_files(self, directory: str | os.PathLike, name: str | None = None, *,
                   overwrite: bool = False) -> list:
    """Writes the case as ``name``.geo, ``name``.pro and ``name``.ana in ``directory`` (name:
    the case's own), in the records the calculator reads. An existing file is replaced only with
    ``overwrite=True`` (``FileExistsError`` otherwise, before anything is written); each file is
    written to a temporary beside it and renamed over its name. Returns the three paths."""
    import tempfile

    columns, yield_stress, youngs_modulus, studies, title, headings, header, _ = self._arguments()
    stem = os.path.join(os.fspath(directory), str(name if name is not None else self.name))
    record = _tarnova.format_record
    count = len(columns[0])
    geometry = [title, record("(3F10.1)", [float(v) for v in header]), record("(I4)", [count]),
                headings or (" FRSPAC PLWIDT PLTHIC FLWIDT FLTHIC WEBHEI WEBTHI PS SPR DPT"
                             "        X        Y OR KD")]
    for i in range(count):
        values = [float(columns[c][i]) for c in range(12)] + [int(columns[12][i]), int(columns[13][i])]
        geometry.append(record("(7F7.1,F3.0,2F4.2,2F9.1,2I2)", values))
    properties = [record("(2F10.1)", [float(y), float(e)]) for y, e in zip(yield_stress, youngs_modulus)]
    options = [record("(I2)", [len(studies)])]
    for s in studies:
        options.append(record("(3I2,F5.2,F5.1,F5.4,F4.0)",
                              [int(s[0]), int(s[1]), int(s[2])] + [float(v) for v in s[3:]]))
    files = {stem + ".geo": geometry, stem + ".pro": properties, stem + ".ana": options}
    if not overwrite:
        for path in files:
            if os.path.lexists(path):
                raise FileExistsError(f"{path} exists: to_files(..., overwrite=True) replaces it")
    for path, records in files.items():
        handle, temporary = tempfile.mkstemp(prefix=os.path.basename(path) + ".",
                                             dir=os.path.dirname(path) or ".")
        try:
            with os.fdopen(handle, "wb") as file:
                file.write("".join(r + "\r\n" for r in records).encode("latin-1"))
            os.replace(temporary, path)
        except BaseException:
            if os.path.exists(temporary):
                os.unlink(temporary)
            raise
    return list(files)


Case.to_files = _case_to_files
Case.warnings = ()
__all__ += ["build_section"]
