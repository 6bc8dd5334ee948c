#include "tableFiles.hpp"

#include "replaceFile.hpp"

#include <cstdio>

namespace tarnova::flexura {

namespace {
constexpr std::string_view lineEnd = "\r\n";
} // namespace

void appendField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string momentCurvatureTable(const CaseData& data)
{
    std::string out = "case study,step,curvature (1/mm),Mx (N.mm),My (N.mm),M (N.mm),"
                      "neutral axis x (mm),neutral axis y (mm)";
    out += lineEnd;
    for (const CaseStudy& study : data.studies) {
        for (int j = 0; j < static_cast<int>(study.steps.size()); ++j) {
            const StepRow& row = study.steps[static_cast<std::size_t>(j)];
            appendField(out, std::string_view(&study.letter, 1));
            out += ',';
            out += std::to_string(j + 1);
            for (const std::string& value : row.text) {
                out += ',';
                appendField(out, value);
            }
            out += lineEnd;
        }
    }
    return out;
}

std::string elementTable(const CaseData& data, const CaseStudy& study)
{
    const int n = data.elementCount();
    std::string out = "element,step,strain ratio (strain/yield strain),stress (N/mm2),state";
    out += lineEnd;
    out.reserve(out.size() + static_cast<std::size_t>(n) * stepCount * 48);
    for (int i = 0; i < n; ++i) {
        const std::string element = std::to_string(i + 1);
        for (int j = 0; j < stepCount; ++j) {
            out += element;
            out += ',';
            out += std::to_string(j + 1);
            out += ',';
            appendField(out, valueText(study, n, j, i, false));
            out += ',';
            appendField(out, valueText(study, n, j, i, true));
            out += ',';
            out += stateName(study.state[static_cast<std::size_t>(j) * static_cast<std::size_t>(n) + static_cast<std::size_t>(i)]);
            out += lineEnd;
        }
    }
    return out;
}

bool writeWholeFile(const std::string& fileName, std::string_view text, std::string* reason)
{
    return replaceFile(fileName, text, reason);
}

} // namespace tarnova::flexura
