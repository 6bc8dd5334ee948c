// _tarnova: the compiled part of the Python module. Converts between NumPy arrays and the
// bridge's plain values and runs the engine with the interpreter lock released; the package
// tarnova (pure Python) gives it its documented form.

#include "bridge.hpp"

#include "records/Records.hpp"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstring>

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
}
