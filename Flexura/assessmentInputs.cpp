#include "assessmentInputs.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace tarnova::flexura {

namespace {

std::string wholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The rows of an RFC 4180 table after its header (quoted fields with doubled quotes).
std::vector<std::vector<std::string>> rowsOf(std::string_view text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
            any = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    if (!rows.empty()) rows.erase(rows.begin());
    return rows;
}

bool number(const std::string& text, double& out)
{
    if (text.empty()) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

} // namespace

AssessmentInputs parseAssessment(std::string_view interactionCsv, std::string_view checkCsv)
{
    AssessmentInputs a;
    for (const auto& r : rowsOf(interactionCsv)) {
        AssessmentPoint p;
        if (r.size() != 6 || !number(r[0], p.angle) || !number(r[1], p.ultimate) || !number(r[2], p.vertical) ||
            !number(r[3], p.horizontal))
            return {};   // not Collaudo's table: draw none of it
        p.peakReached = r[5] != "no";
        a.interaction.push_back(p);
    }
    for (const auto& r : rowsOf(checkCsv)) {
        DesignMoment d;
        if (r.size() != 14 || !number(r[9], d.moment)) {
            a.design.clear();
            break;
        }
        if (r[0] != "intact") continue;
        d.condition = r[1];
        d.direction = r[2];
        a.design.push_back(d);
    }
    return a;
}

AssessmentInputs readAssessment(std::string_view caseName)
{
    const std::string stem(caseName);
    return parseAssessment(wholeFile(stem + "_interaction.csv"), wholeFile(stem + "_check.csv"));
}

} // namespace tarnova::flexura
