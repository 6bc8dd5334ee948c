// The section builder from Python: the case files a description gives, as texts.

#include "sectionDescription.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

namespace py = pybind11;

namespace tarnova::python {

void addSectionBuilder(py::module_& m)
{
    m.def("section_texts", [](const std::string& text, const std::string& fileName) {
        sagoma::BuildResult built;
        {
            py::gil_scoped_release unlocked;
            built = sagoma::buildSection(text, fileName);
        }
        if (!built.ok()) {
            std::string message;
            for (const sagoma::Note& n : built.errors) message += (message.empty() ? "" : "\n") + n.text();
            throw py::value_error(message);
        }
        std::vector<std::string> warnings;
        for (const sagoma::Note& n : built.warnings) warnings.push_back(n.text());
        const sagoma::BuiltSection& s = built.section;
        return py::make_tuple(py::bytes(sagoma::geometryText(s)), py::bytes(sagoma::propertiesText(s)),
                              py::bytes(s.studies.empty() ? std::string() : sagoma::optionsText(s)), warnings);
    }, py::arg("text"), py::arg("file_name"),
          "The .geo, .pro and .ana texts of a section description (the .ana empty without studies) and "
          "its warnings; ValueError listing every error.");
}

} // namespace tarnova::python
