// What the report reads and how it shows numbers: its options, the unit conversions, the values
// of CASE.rst, the assessment's CSV tables and the warnings of the programs.

#include "report.hpp"

#include "Engine.hpp"               // calcrun::caseResultsFileName, the calculator's own naming
#include "records/FieldRead.hpp"

#include <cmath>
#include <cstdio>
#include <map>

namespace tarnova::flexura {

namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\t')) s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        out.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// The field in columns first..first+width-1 (from 1) of a report line, read as the record layer
// reads an Ew.d or Fw.d field.
FileNumber field(std::string_view line, std::size_t first, std::size_t width, int fraction)
{
    FileNumber number;
    if (first - 1 >= line.size()) return number;
    const std::string_view text = line.substr(first - 1, width);
    if (trimmed(text).empty()) return number;
    double value = 0;
    if (records::readReal(text, fraction, value) != records::FieldStatus::ok) return number;
    number.text = std::string(trimmed(text));
    number.value = value;
    number.present = true;
    return number;
}

char studyLetter(int number)
{
    return static_cast<char>(64 + number);
}

} // namespace

ParsedArguments parseReportArguments(int argc, char** argv)
{
    ParsedArguments parsed;
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (i > 0 && argument == "--report") {
            parsed.request.report = true;
        } else if (i > 0 && argument == "--pdf") {
            parsed.request.report = parsed.request.pdf = true;
        } else if (i > 0 && argument == "--browser") {
            if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
                parsed.failure = "--browser needs the path of a Chromium or Chrome program";
                return parsed;
            }
            parsed.request.report = parsed.request.pdf = true;
            parsed.request.browser = argv[++i];
        } else {
            parsed.kept.emplace_back(argument);
        }
    }
    return parsed;
}

std::string significantText(double value, int digits)
{
    if (!std::isfinite(value)) return "not a number";
    if (value == 0) return "0";
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, digits - 1 - exponent);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // Rounding may carry into one more digit (9.999995 -> 10.00000): print it once more.
    double printed = std::strtod(text, nullptr);
    if (printed != 0 && static_cast<int>(std::floor(std::log10(std::fabs(printed)))) > exponent && decimals > 0)
        std::snprintf(text, sizeof text, "%.*f", decimals - 1, value);
    return text;
}

std::string convertedText(double value, const UnitConversion& unit)
{
    return significantText(value * unit.factor, 6);
}

std::vector<StudyReportValues> readReportValues(std::string_view reportText)
{
    const std::vector<std::string_view> all = lines(reportText);
    std::vector<StudyReportValues> studies;
    for (std::size_t r = 0; r < all.size(); ++r) {
        const std::string_view line = all[r];
        if (line.substr(0, 5) == "E/B/T") {
            studies.emplace_back();
            continue;
        }
        if (studies.empty() || r + 1 >= all.size()) continue;
        StudyReportValues& study = studies.back();
        const std::string_view next = all[r + 1];
        if (line.substr(0, 5) == " AREA") {
            // (E9.4,2F7.0,5E11.5)
            study.properties[0] = field(next, 1, 9, 4);
            study.properties[1] = field(next, 10, 7, 0);
            study.properties[2] = field(next, 17, 7, 0);
            for (std::size_t k = 0; k < 5; ++k) study.properties[3 + k] = field(next, 24 + 11 * k, 11, 5);
        } else if (line.substr(0, 20) == "  PLASTIC BEND. Mom.") {
            // (E13.6,'(N.mm)',8X,F6.0,'(mm)',5X,E13.6,'(mm3)')
            study.plasticMoment = field(next, 1, 13, 6);
            study.plasticNeutralAxis = field(next, 28, 6, 0);
            study.plasticModulus = field(next, 43, 13, 6);
        } else if (line.find("Ultimate Bending Moment") != std::string_view::npos) {
            // (5E15.6): moment x, moment y, ultimate moment, section modulus, curvature
            study.ultimateMoment = field(next, 31, 15, 6);
            study.ultimateCurvature = field(next, 61, 15, 6);
        }
    }
    return studies;
}

std::optional<CsvTable> parseCsv(std::string_view text)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string current;
    bool quoted = false, fieldStarted = false;
    auto endField = [&] {
        record.push_back(std::move(current));
        current.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') current += c;
            else if (i + 1 < text.size() && text[i + 1] == '"') current += '"', ++i;
            else quoted = false;
            continue;
        }
        if (c == '"') {
            if (!current.empty()) return std::nullopt;   // a quote inside an unquoted field
            quoted = fieldStarted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        } else if (c == '\n') {
            endField();
            records.push_back(std::move(record));
            record.clear();
        } else {
            current += c;
            fieldStarted = true;
        }
    }
    if (quoted) return std::nullopt;
    if (fieldStarted || !record.empty()) {
        endField();
        records.push_back(std::move(record));
    }
    if (records.empty()) return std::nullopt;
    CsvTable table;
    table.header = std::move(records.front());
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (records[r].size() != table.header.size()) return std::nullopt;
        table.rows.push_back(std::move(records[r]));
    }
    return table;
}

const std::vector<std::string> checkTableHeader = {
    "case", "condition", "direction", "Msw (kN.m)", "Mwv (kN.m)", "gamma_S", "gamma_W", "gamma_M", "gamma_DB",
    "M (kN.m)", "Mu (kN.m)", "Mu/gamma_R (kN.m)", "utilisation", "verdict"};
const std::vector<std::string> interactionTableHeader = {"angle (deg)", "Mu (kN.m)", "Mv (kN.m)",
                                                         "Mh (kN.m)", "peak step", "peak reached"};

// The geometry checks of the calculator's --check, read from the case's own files (the report is
// written in the case directory).
std::vector<std::string> geometryWarnings(const CaseData& data)
{
    SectionInput section;
    std::string problem;
    if (!readSectionFiles(data.caseName, section, problem)) return {};
    return sectionWarnings(section);
}

std::vector<std::string> caseWarnings(const CaseData& data)
{
    std::vector<std::string> warnings;
    // Case results files: the name keeps only some digits of the options, so a later case study
    // of the same name rewrote an earlier one's file (the calculator warns in the same words).
    std::map<std::string, int, std::less<>> writer;
    for (const CaseStudy& study : data.studies) {
        auto [entry, fresh] = writer.try_emplace(study.resultsFileName, study.number);
        if (fresh) continue;
        const int earlier = entry->second;
        entry->second = study.number;
        auto name = [](int k) { return std::to_string(k) + " (" + studyLetter(k) + ")"; };
        warnings.push_back("Case studies " + name(earlier) + " and " + name(study.number) +
                           " share the case results file " + study.resultsFileName + "; it now holds case study " +
                           name(study.number) + " only.");
    }
    // Residual stress: the calculator takes it as 0 where the tension blocks cover the plate,
    // b/t not above 2 eta, with t less the corrosion allowance (single precision, as it computes).
    for (const CaseStudy& study : data.studies) {
        const float eta = study.options.tensionBlockWidth;
        const int code = study.options.corrosionCode;
        std::vector<int> elements;
        for (int n = 0; n < data.elementCount(); ++n) {
            const SectionElement& e = data.elements[static_cast<std::size_t>(n)];
            float thickness = static_cast<float>(e.dimensions[2]);
            if (code >= 1) thickness -= static_cast<float>(code) / 2.0f;
            if (thickness <= 0.0f) thickness = 0.0f;
            const float widthOverThickness = static_cast<float>(e.dimensions[1]) / thickness;
            if (widthOverThickness - 2.0f * eta <= 0.0f) elements.push_back(n + 1);
        }
        if (elements.empty()) continue;
        char etaText[32];
        std::snprintf(etaText, sizeof etaText, "%g", static_cast<double>(eta));
        std::string list;
        for (std::size_t k = 0; k < elements.size(); ++k) {
            if (k > 0) list += ", ";
            if (k == 20) {
                list += "and " + std::to_string(elements.size() - 20) + " more";
                break;
            }
            list += std::to_string(elements[k]);
        }
        warnings.push_back("Case study " + std::string(1, study.letter) + ": residual stress taken as 0 for element" +
                           (elements.size() > 1 ? "s " : " ") + list +
                           ": plate width over thickness is not above twice the tension block width " +
                           etaText + ".");
    }
    for (std::string& warning : geometryWarnings(data)) warnings.push_back(std::move(warning));
    return warnings;
}

std::string base64(std::string_view bytes)
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[v >> 18 & 63];
        out += alphabet[v >> 12 & 63];
        out += alphabet[v >> 6 & 63];
        out += alphabet[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += alphabet[v >> 18 & 63];
        out += alphabet[v >> 12 & 63];
        out += i + 1 < bytes.size() ? alphabet[v >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

std::string htmlText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (u < 0x80) {
                out += (u < 0x20 && c != '\n' && c != '\t') ? ' ' : c;
            } else {
                out += static_cast<char>(0xC0 | u >> 6);
                out += static_cast<char>(0x80 | (u & 0x3F));
            }
        }
    }
    return out;
}

} // namespace tarnova::flexura
