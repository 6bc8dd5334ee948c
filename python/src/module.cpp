// _tarnova: the compiled part of the Python module. Converts between NumPy arrays and the
// bridge's plain values and runs the engine with the interpreter lock released; the package
// tarnova (pure Python) gives it its documented form.

#include "bridge.hpp"
#ifdef TARNOVA_ASSESSMENT
#include "assessBridge.hpp"
#endif

#include "records/Records.hpp"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstring>
#include <limits>

namespace py = pybind11;
using namespace tarnova::python;

namespace {

using RealArray = py::array_t<float, py::array::c_style | py::array::forcecast>;
using WholeArray = py::array_t<std::int32_t, py::array::c_style | py::array::forcecast>;

template <typename T>
std::vector<T> toVector(const py::array_t<T, py::array::c_style | py::array::forcecast>& a)
{
    if (a.ndim() != 1) throw py::value_error("expected a one-dimensional array");
    return std::vector<T>(a.data(), a.data() + a.shape(0));
}

template <typename T>
py::array_t<T> toArray(const T* data, std::size_t count)
{
    py::array_t<T> a(static_cast<py::ssize_t>(count));
    if (count > 0) std::memcpy(a.mutable_data(), data, count * sizeof(T));
    return a;
}

template <typename T>
py::array_t<T> toMatrix(const std::vector<T>& data, std::size_t rows, std::size_t columns)
{
    py::array_t<T> a({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(columns)});
    if (!data.empty()) std::memcpy(a.mutable_data(), data.data(), data.size() * sizeof(T));
    return a;
}

py::tuple optionsTuple(const StudyOptions& o)
{
    return py::make_tuple(o.behaviour, o.shedding, o.corrosion, o.tensionBlockWidth, o.heel, o.distortion,
                          o.spare);
}

py::dict caseDict(const CaseData& c)
{
    py::list section;
    for (const auto& column : c.section.reals) section.append(toArray(column.data(), column.size()));
    section.append(toArray(c.section.orientation.data(), c.section.orientation.size()));
    section.append(toArray(c.section.kind.data(), c.section.kind.size()));
    py::list studies;
    for (const StudyOptions& o : c.studies) studies.append(optionsTuple(o));
    py::dict d;
    d["name"] = c.name;
    // The title lines keep their bytes: Latin-1 maps each to one character.
    d["title"] = py::reinterpret_steal<py::str>(PyUnicode_DecodeLatin1(c.title.data(), static_cast<py::ssize_t>(c.title.size()), nullptr));
    d["headings"] = py::reinterpret_steal<py::str>(PyUnicode_DecodeLatin1(c.headings.data(), static_cast<py::ssize_t>(c.headings.size()), nullptr));
    d["header"] = py::make_tuple(c.header[0], c.header[1], c.header[2]);
    d["section"] = section;
    d["yield_stress"] = toArray(c.yieldStress.data(), c.yieldStress.size());
    d["youngs_modulus"] = toArray(c.youngsModulus.data(), c.youngsModulus.size());
    d["studies"] = studies;
    return d;
}

std::string latin1(const std::string& text)
{
    // Python text back to the bytes of the file: characters beyond Latin-1 cannot be stored.
    py::str s(text);
    PyObject* bytes = PyUnicode_AsLatin1String(s.ptr());
    if (bytes == nullptr) {
        PyErr_Clear();
        throw py::value_error("title and headings take Latin-1 characters only");
    }
    std::string out(PyBytes_AsString(bytes), static_cast<std::size_t>(PyBytes_Size(bytes)));
    Py_DECREF(bytes);
    return out;
}

py::dict resultDict(const StudyResult& r, std::size_t count)
{
    py::dict d;
    d["study"] = r.study;
    d["options"] = optionsTuple(r.options);
    d["curvature"] = toArray(r.curvature.data(), stepCount);
    d["moment_x"] = toArray(r.momentX.data(), stepCount);
    d["moment_y"] = toArray(r.momentY.data(), stepCount);
    d["moment"] = toArray(r.moment.data(), stepCount);
    d["axis_x"] = toArray(r.axisX.data(), stepCount);
    d["axis_y"] = toArray(r.axisY.data(), stepCount);
    d["ultimate_moment"] = r.ultimateMoment;
    d["ultimate_moment_x"] = r.ultimateMomentX;
    d["ultimate_moment_y"] = r.ultimateMomentY;
    d["ultimate_curvature"] = r.ultimateCurvature;
    d["section_modulus"] = r.sectionModulus;
    d["area"] = r.area;
    d["neutral_axis_x"] = r.neutralAxisX;
    d["neutral_axis_y"] = r.neutralAxisY;
    d["vertical_inertia"] = r.verticalInertia;
    d["horizontal_inertia"] = r.horizontalInertia;
    d["deck_modulus"] = r.deckModulus;
    d["bottom_modulus"] = r.bottomModulus;
    d["elastic_moment"] = r.elasticMoment;
    d["plastic_moment"] = r.plasticMoment;
    d["plastic_neutral_axis"] = r.plasticNeutralAxis;
    d["strain_ratio"] = toMatrix(r.strainRatio, stepCount, count);
    d["stress"] = toMatrix(r.stress, stepCount, count);
    d["warnings"] = r.warnings;
    return d;
}

py::list resultList(const std::vector<StudyResult>& results)
{
    py::list out;
    for (const StudyResult& r : results) out.append(resultDict(r, r.strainRatio.size() / stepCount));
    return out;
}


#ifdef TARNOVA_ASSESSMENT
namespace collaudo = tarnova::collaudo;

// The case of a Case's arguments, as run takes them.
CaseData caseOf(const std::vector<py::array>& columns, const RealArray& yieldStress, const RealArray& youngsModulus,
                const std::vector<std::tuple<int, int, int, float, float, float, float>>& studies,
                const std::string& name)
{
    CaseData data;
    if (columns.size() != realColumns + 2) throw py::value_error("expected 14 section columns");
    for (int i = 0; i < realColumns; ++i)
        data.section.reals[static_cast<std::size_t>(i)] = toVector(RealArray::ensure(columns[static_cast<std::size_t>(i)]));
    data.section.orientation = toVector(WholeArray::ensure(columns[realColumns]));
    data.section.kind = toVector(WholeArray::ensure(columns[realColumns + 1]));
    data.yieldStress = toVector(yieldStress);
    data.youngsModulus = toVector(youngsModulus);
    for (const auto& [b, s, c, w, h, d, x] : studies) data.studies.push_back({b, s, c, w, h, d, x});
    data.name = name;
    return data;
}

const char* kindName(collaudo::DamageKind k)
{
    return k == collaudo::DamageKind::collision ? "collision" : k == collaudo::DamageKind::grounding ? "grounding" : "box";
}

py::dict limitsDict(const collaudo::Limits& l)
{
    py::list conditions, damages;
    for (const collaudo::Condition& c : l.conditions) {
        py::dict d;
        d["name"] = c.name;
        d["msw_hogging"] = c.mswHogging;
        d["msw_sagging"] = c.mswSagging;
        d["mwv_hogging"] = c.mwvHogging;
        d["mwv_sagging"] = c.mwvSagging;
        d["gamma_s"] = c.gammaS;
        d["gamma_w"] = c.gammaW;
        d["gamma_m"] = c.gammaM;
        d["gamma_db_hogging"] = c.gammaDbHogging;
        d["gamma_db_sagging"] = c.gammaDbSagging;
        conditions.append(d);
    }
    for (const collaudo::Damage& g : l.damages) {
        py::dict d;
        d["name"] = g.name;
        d["kind"] = kindName(g.kind);
        if (g.kind == collaudo::DamageKind::collision) d["side"] = g.starboard ? "starboard" : "port";
        if (g.kind == collaudo::DamageKind::box) {
            d["x_min"] = g.xMin;
            d["x_max"] = g.xMax;
            d["y_min"] = g.yMin;
            d["y_max"] = g.yMax;
        }
        d["gamma_s"] = g.gammaS;
        d["gamma_w"] = g.gammaW;
        d["gamma_rd"] = g.gammaRD;
        d["c_na"] = g.neutralAxis;
        damages.append(d);
    }
    py::dict d;
    d["study"] = l.study;
    d["conditions"] = conditions;
    d["damages"] = damages;
    d["angles"] = l.angleCount;
    d["interaction_study"] = l.interactionStudy;
    return d;
}

collaudo::Limits limitsOf(const py::dict& d)
{
    collaudo::Limits l;
    l.study = d["study"].cast<int>();
    l.angleCount = d["angles"].cast<int>();
    l.interactionStudy = d["interaction_study"].cast<int>();
    for (py::handle h : d["conditions"]) {
        py::dict c = h.cast<py::dict>();
        collaudo::Condition k;
        k.name = c["name"].cast<std::string>();
        k.mswHogging = c["msw_hogging"].cast<double>();
        k.mswSagging = c["msw_sagging"].cast<double>();
        k.mwvHogging = c["mwv_hogging"].cast<double>();
        k.mwvSagging = c["mwv_sagging"].cast<double>();
        k.gammaS = c["gamma_s"].cast<double>();
        k.gammaW = c["gamma_w"].cast<double>();
        k.gammaM = c["gamma_m"].cast<double>();
        k.gammaDbHogging = c["gamma_db_hogging"].cast<double>();
        k.gammaDbSagging = c["gamma_db_sagging"].cast<double>();
        l.conditions.push_back(k);
    }
    for (py::handle h : d["damages"]) {
        py::dict c = h.cast<py::dict>();
        collaudo::Damage g;
        g.name = c["name"].cast<std::string>();
        const std::string kind = c["kind"].cast<std::string>();
        g.kind = kind == "collision" ? collaudo::DamageKind::collision
                 : kind == "grounding" ? collaudo::DamageKind::grounding
                                       : collaudo::DamageKind::box;
        if (kind != "collision" && kind != "grounding" && kind != "box")
            throw py::value_error("damage kind must be collision, grounding or box");
        if (c.contains("side")) g.starboard = c["side"].cast<std::string>() == "starboard";
        if (g.kind == collaudo::DamageKind::box) {
            g.xMin = c["x_min"].cast<double>();
            g.xMax = c["x_max"].cast<double>();
            g.yMin = c["y_min"].cast<double>();
            g.yMax = c["y_max"].cast<double>();
        }
        g.gammaS = c["gamma_s"].cast<double>();
        g.gammaW = c["gamma_w"].cast<double>();
        g.gammaRD = c["gamma_rd"].cast<double>();
        g.neutralAxis = c["c_na"].cast<double>();
        l.damages.push_back(g);
    }
    return l;
}

py::dict pointsDict(const std::vector<collaudo::InteractionPoint>& points)
{
    std::vector<double> angle, mu, mv, mh;
    std::vector<std::int32_t> step;
    std::vector<std::uint8_t> reached;
    for (const collaudo::InteractionPoint& p : points) {
        angle.push_back(p.angle);
        mu.push_back(p.ultimate);
        mv.push_back(p.vertical);
        mh.push_back(p.horizontal);
        step.push_back(p.peakStep);
        reached.push_back(p.peakReached ? 1 : 0);
    }
    py::dict d;
    d["angle"] = toArray(angle.data(), angle.size());
    d["ultimate"] = toArray(mu.data(), mu.size());
    d["vertical"] = toArray(mv.data(), mv.size());
    d["horizontal"] = toArray(mh.data(), mh.size());
    d["peak_step"] = toArray(step.data(), step.size());
    d["peak_reached"] = py::array(toArray(reached.data(), reached.size())).attr("astype")("bool");
    return d;
}

py::dict summaryDict(const collaudo::StudySummary& s)
{
    py::dict d;
    d["ultimate"] = s.ultimate;
    d["moment_x"] = s.momentX;
    d["moment_y"] = s.momentY;
    d["peak_step"] = s.peakStep;
    d["peak_reached"] = s.peakReached;
    return d;
}

py::dict assessmentDict(const collaudo::Assessment& a)
{
    py::list rows;
    for (const collaudo::CheckRow& r : a.rows) {
        py::dict d;
        d["case"] = r.caseName;
        d["condition"] = r.condition;
        d["direction"] = r.direction;
        d["msw"] = r.msw;
        d["mwv"] = r.mwv;
        d["gamma_s"] = r.gammaS;
        d["gamma_w"] = r.gammaW;
        d["gamma_m"] = r.gammaM;
        d["gamma_db"] = r.gammaDB;
        d["moment"] = r.moment;
        d["ultimate"] = r.ultimate;
        d["capacity"] = r.capacity;
        d["utilisation"] = r.utilisation;
        d["passed"] = r.pass;
        d["peak_reached"] = r.peakReached;
        rows.append(d);
    }
    py::list damages;
    for (const collaudo::DamageResult& r : a.damages) {
        py::dict d;
        d["name"] = r.damage.name;
        d["kind"] = kindName(r.damage.kind);
        d["zone"] = py::make_tuple(r.zone.xMin, r.zone.xMax, r.zone.yMin, r.zone.yMax);
        d["removed"] = r.removed;
        d["remaining"] = r.remaining;
        d["sagging"] = summaryDict(r.sagging);
        d["hogging"] = summaryDict(r.hogging);
        d["rotates"] = r.rotates;
        damages.append(d);
    }
    py::dict d;
    d["sagging"] = summaryDict(a.sagging);
    d["hogging"] = summaryDict(a.hogging);
    d["rows"] = rows;
    d["damages"] = damages;
    d["interaction"] = pointsDict(a.interaction);
    d["notes"] = a.notes;
    return d;
}
#endif

} // namespace

namespace tarnova::python {
void addSectionBuilder(py::module_& m);
}

PYBIND11_MODULE(_tarnova, m)
{
    tarnova::python::addSectionBuilder(m);
    m.doc() = "The compiled part of tarnova; use the package tarnova.";
    m.attr("STEP_COUNT") = stepCount;
    m.attr("MAX_ELEMENTS") = 600;

    // The program's own unit table serves only format_record here; its errors must not end the
    // interpreter either.
    tarnova::setRecordErrorHandler([](const std::string& report) { throw tarnova::RecordError(report); });

    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const CollapseStop& e) {
            py::object type = py::module_::import("tarnova._errors").attr("CollapseError");
            py::object error = type(e.what(), e.study, e.step);
            PyErr_SetObject(type.ptr(), error.ptr());
        } catch (const InputError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const MissingFile& e) {
            PyErr_SetString(PyExc_FileNotFoundError, e.what());
        } catch (const FileError& e) {
            PyErr_SetString(PyExc_OSError, e.what());
        }
    });

    m.def("read_case", [](const std::string& path) {
        CaseData data;
        {
            py::gil_scoped_release unlocked;
            data = readCase(path);
        }
        return caseDict(data);
    }, py::arg("path"));

    m.def("run",
          [](const std::vector<py::array>& columns, const RealArray& yieldStress, const RealArray& youngsModulus,
             const std::vector<std::tuple<int, int, int, float, float, float, float>>& studies,
             const std::string& title, const std::string& headings, const std::array<float, 3>& header,
             const std::string& name, int threads) {
              CaseData data;
              if (columns.size() != realColumns + 2) throw py::value_error("expected 14 section columns");
              for (int i = 0; i < realColumns; ++i)
                  data.section.reals[static_cast<std::size_t>(i)] = toVector(RealArray::ensure(columns[static_cast<std::size_t>(i)]));
              data.section.orientation = toVector(WholeArray::ensure(columns[realColumns]));
              data.section.kind = toVector(WholeArray::ensure(columns[realColumns + 1]));
              data.yieldStress = toVector(yieldStress);
              data.youngsModulus = toVector(youngsModulus);
              for (const auto& [b, s, c, w, h, d, x] : studies) data.studies.push_back({b, s, c, w, h, d, x});
              data.title = latin1(title);
              data.headings = latin1(headings);
              data.header = header;
              data.name = name;
              std::vector<StudyResult> results;
              {
                  py::gil_scoped_release unlocked;
                  results = runCase(data, threads);
              }
              return resultList(results);
          },
          py::arg("section"), py::arg("yield_stress"), py::arg("youngs_modulus"), py::arg("studies"),
          py::arg("title"), py::arg("headings"), py::arg("header"), py::arg("name"), py::kw_only(),
          py::arg("threads") = 0);

    m.def("run_samples",
          [](const std::vector<py::array>& columns, const RealArray& yieldStress, const RealArray& youngsModulus,
             const std::vector<std::tuple<int, int, int, float, float, float, float>>& studies,
             const std::string& title, const std::string& headings, const std::array<float, 3>& header,
             const std::string& name, const std::vector<std::pair<int, RealArray>>& sampled, std::size_t samples,
             int threads) {
              CaseData data;
              if (columns.size() != realColumns + 2) throw py::value_error("expected 14 section columns");
              for (int i = 0; i < realColumns; ++i)
                  data.section.reals[static_cast<std::size_t>(i)] = toVector(RealArray::ensure(columns[static_cast<std::size_t>(i)]));
              data.section.orientation = toVector(WholeArray::ensure(columns[realColumns]));
              data.section.kind = toVector(WholeArray::ensure(columns[realColumns + 1]));
              data.yieldStress = toVector(yieldStress);
              data.youngsModulus = toVector(youngsModulus);
              for (const auto& [b, s, c, w, h, d, x] : studies) data.studies.push_back({b, s, c, w, h, d, x});
              data.title = latin1(title);
              data.headings = latin1(headings);
              data.header = header;
              data.name = name;
              std::vector<SampledColumn> columnsPerSample;
              for (const auto& [column, values] : sampled) {
                  const std::size_t length = column == yieldStressColumn     ? data.yieldStress.size()
                                             : column == youngsModulusColumn ? data.youngsModulus.size()
                                             : column >= 0 && column < realColumns
                                                 ? data.section.reals[static_cast<std::size_t>(column)].size()
                                                 : 0;
                  if ((column < 0 && column != yieldStressColumn && column != youngsModulusColumn) || column >= realColumns)
                      throw py::value_error("no such column to sample");
                  if (values.ndim() != 2 || static_cast<std::size_t>(values.shape(0)) != samples ||
                      static_cast<std::size_t>(values.shape(1)) != length)
                      throw py::value_error("a sampled column must have one row per sample of the column's length");
                  columnsPerSample.push_back({column, std::vector<float>(values.data(), values.data() + values.size())});
              }
              std::vector<SampleOutcome> outcomes;
              {
                  py::gil_scoped_release unlocked;
                  outcomes = runSamples(data, columnsPerSample, samples, threads);
              }
              py::array_t<float> moments({static_cast<py::ssize_t>(samples), static_cast<py::ssize_t>(data.studies.size())});
              float* out = moments.mutable_data();
              py::list stops;
              for (const SampleOutcome& o : outcomes) {
                  for (std::size_t k = 0; k < data.studies.size(); ++k)
                      *out++ = o.stop.empty() ? o.ultimateMoments[k] : std::numeric_limits<float>::quiet_NaN();
                  stops.append(o.stop);
              }
              return py::make_tuple(moments, stops);
          },
          py::arg("section"), py::arg("yield_stress"), py::arg("youngs_modulus"), py::arg("studies"),
          py::arg("title"), py::arg("headings"), py::arg("header"), py::arg("name"), py::kw_only(),
          py::arg("sampled"), py::arg("samples"), py::arg("threads") = 0);

    m.def("run_files", [](const std::string& path, int threads) {
        std::vector<StudyResult> results;
        {
            py::gil_scoped_release unlocked;
            results = runCaseFiles(path, threads);
        }
        return resultList(results);
    }, py::arg("path"), py::kw_only(), py::arg("threads") = 0);

    m.def("format_record", [](const std::string& format, const py::sequence& values) {
        std::vector<double> numbers;
        std::vector<bool> whole;
        for (py::handle v : values) {
            whole.push_back(py::isinstance<py::int_>(v));
            numbers.push_back(v.cast<double>());
        }
        return formatRecord(format, numbers, whole);
    }, py::arg("format"), py::arg("values"),
          "The record the format makes of the values (int: whole, float: single precision).");
#ifdef TARNOVA_ASSESSMENT
    m.def("read_limits", [](const std::string& path) {
        collaudo::Limits limits;
        {
            py::gil_scoped_release unlocked;
            limits = readLimitsFile(path);
        }
        return limitsDict(limits);
    }, py::arg("path"));

    m.def("assess",
          [](const std::vector<py::array>& columns, const RealArray& yieldStress, const RealArray& youngsModulus,
             const std::vector<std::tuple<int, int, int, float, float, float, float>>& studies,
             const std::string& name, const py::dict& limits, int threads) {
              const CaseData data = caseOf(columns, yieldStress, youngsModulus, studies, name);
              const collaudo::Limits l = limitsOf(limits);
              collaudo::Assessment a;
              {
                  py::gil_scoped_release unlocked;
                  a = assessCase(data, l, threads);
              }
              return assessmentDict(a);
          },
          py::arg("section"), py::arg("yield_stress"), py::arg("youngs_modulus"), py::arg("studies"),
          py::arg("name"), py::arg("limits"), py::kw_only(), py::arg("threads") = 0);

    m.def("interaction",
          [](const std::vector<py::array>& columns, const RealArray& yieldStress, const RealArray& youngsModulus,
             const std::vector<std::tuple<int, int, int, float, float, float, float>>& studies,
             const std::string& name, const std::vector<double>& angles, int study, int threads) {
              const CaseData data = caseOf(columns, yieldStress, youngsModulus, studies, name);
              std::vector<collaudo::InteractionPoint> points;
              {
                  py::gil_scoped_release unlocked;
                  points = interactionOf(data, study, angles, threads);
              }
              return pointsDict(points);
          },
          py::arg("section"), py::arg("yield_stress"), py::arg("youngs_modulus"), py::arg("studies"),
          py::arg("name"), py::arg("angles"), py::kw_only(), py::arg("study") = 1, py::arg("threads") = 0);
#endif
}
