#include "StrakonSummary.hpp"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace tarnova {

namespace {

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// The number a report field starts with ("-.118424E+14", ".136104E+14(N.mm)"); 0 when none.
double number(const std::string& field)
{
    return std::strtod(field.c_str(), nullptr);
}

} // namespace

std::string runSummary(std::istream& report, const std::string& reportName)
{
    // The options of the case study being read, taken from its option lines.
    std::string ebt = "?", shed = "?", corrosion = "?", heel = "?";
    double plastic = 0;
    std::string rows;
    int caseStudy = 0;
    for (std::string line; std::getline(report, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> w = words(line);
        if (line.rfind("E/B/T", 0) == 0 && w.size() >= 4) {
            ebt = w[1];
            shed = w[3] == "1" ? "SHED" : w[3] == "2" ? "CONST" : w[3];
            corrosion = w.back();
        } else if (const auto at = line.find("ANGLE OF HEEL="); at != std::string::npos) {
            const std::vector<std::string> rest = words(line.substr(at + 14));
            heel = rest.empty() ? "?" : rest[0];
        } else if (line.find("PLASTIC BEND. Mom.") != std::string::npos) {
            std::string values;
            if (!std::getline(report, values)) break;
            const std::vector<std::string> v = words(values);
            plastic = v.empty() ? 0 : number(v[0]);
        } else if (line.find("Ultimate Bending Moment") != std::string::npos) {
            std::string values;
            if (!std::getline(report, values)) break;
            const std::vector<std::string> v = words(values);
            if (v.size() < 3) continue;
            const double ultimate = number(v[2]);
            ++caseStudy;
            const char letter = caseStudy <= 26 ? static_cast<char>('A' + caseStudy - 1) : '?';
            char row[160];
            std::snprintf(row, sizeof row, "  %-4c %5s %11s %10s %5s %15.4e %16.4e %6.2f\n", letter,
                          ebt.c_str(), shed.c_str(), corrosion.c_str(), heel.c_str(), plastic, ultimate,
                          plastic != 0 ? ultimate / plastic : 0.0);
            rows += row;
        }
    }
    if (rows.empty()) return {};
    return "Ultimate bending moments (from " + reportName + ", N.mm):\n"
           "  case E/B/T  SHED/CONST  corrosion  heel  plastic moment  ultimate moment  ratio\n" +
           rows;
}

} // namespace tarnova
