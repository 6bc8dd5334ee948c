// The HTML of the calculation report: sections in the order a reviewer reads them, each on its
// own printed page, every picture inline, no script.

#include "report.hpp"

#include "collapseMap.hpp"
#include "commandLine.hpp"
#include "momentChart.hpp"
#include "pngImage.hpp"
#include "records/FieldRead.hpp"
#include "replaceFile.hpp"
#include "sha256.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace tarnova::flexura {

namespace {

namespace fs = std::filesystem;

// A4 portrait, sections on their own pages, tables that do not split a row.
constexpr std::string_view styleSheet = R"(
@page { size: A4 portrait; margin: 15mm 14mm 16mm 14mm; }
html { background: #fff; color: #111; }
body { font-family: "Liberation Sans", Arial, Helvetica, sans-serif; font-size: 10pt; line-height: 1.35;
       max-width: 182mm; margin: 0 auto; padding: 8mm 0; }
section { break-before: page; }
section.first { break-before: auto; }
h1 { font-size: 17pt; margin: 0 0 2mm 0; }
h2 { font-size: 13pt; border-bottom: 1.5px solid #333; padding-bottom: 1mm; margin: 0 0 3mm 0; }
h3 { font-size: 11pt; margin: 4mm 0 2mm 0; break-after: avoid; }
h2 { break-after: avoid; }
p.note { font-size: 8.5pt; color: #333; margin: 1mm 0 3mm 0; }
table { border-collapse: collapse; margin: 0 0 3mm 0; font-size: 8.5pt; }
th, td { border: 0.6px solid #888; padding: 1px 4px; vertical-align: top; }
th { background: #eee; text-align: left; }
td.n { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
td.f { font-family: "Liberation Mono", monospace; white-space: nowrap; }
td.hash { font-family: "Liberation Mono", monospace; font-size: 7pt; word-break: break-all; }
tr, figure { break-inside: avoid; }
thead { display: table-header-group; }
figure { margin: 0 0 4mm 0; }
figcaption { font-size: 8.5pt; color: #333; }
img.picture { display: block; width: 100%; height: auto; max-height: 112mm; object-fit: contain; }
svg { display: block; width: 100%; height: auto; max-height: 120mm; }
.pass { color: #0a6b1f; font-weight: bold; }
.fail { color: #b00000; font-weight: bold; }
ul.warnings li { margin-bottom: 1.5mm; }
)";

struct ReadFile {
    std::string name;
    std::string bytes;
    bool exists = false;
};

ReadFile readWhole(const std::string& name)
{
    ReadFile file;
    file.name = name;
    std::ifstream in(name, std::ios::binary);
    if (!in) return file;
    std::ostringstream whole;
    whole << in.rdbuf();
    file.bytes = std::move(whole).str();
    file.exists = true;
    return file;
}

std::string trimmedText(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return std::string(s);
}

std::string firstLine(std::string_view text, std::size_t index = 0)
{
    for (std::size_t k = 0; k < index; ++k) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return {};
        text.remove_prefix(end + 1);
    }
    return trimmedText(text.substr(0, text.find('\n')));
}

// An option as read (single precision), in its shortest decimal form: 4.5, 180, 0.0015.
std::string inputText(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string numberCell(const std::string& text)
{
    return "<td class=\"n\">" + htmlText(text) + "</td>";
}

// The document under construction, and every file it was made from, in the order first read.
class ReportBuilder {
public:
    ReportBuilder(const CaseData& data, const ReportImages& images, std::string_view madeAt)
        : data_(data), images_(images), madeAt_(madeAt)
    {
    }

    std::string build()
    {
        const ReadFile ana = use(data_.caseName + ".ana");
        const ReadFile geo = use(data_.caseName + ".geo");
        const ReadFile pro = use(data_.caseName + ".pro");
        const ReadFile rst = use(data_.caseName + ".rst");
        for (const CaseStudy& study : data_.studies) use(study.curveFileName);
        std::set<std::string> axisSources;
        for (const CaseStudy& study : data_.studies) axisSources.insert(study.axisSource);
        for (const std::string& name : axisSources) use(name);
        values_ = readReportValues(rst.bytes);

        out_ += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
        out_ += "<meta name=\"generator\" content=\"Flexura, TARNOVA " + htmlText(versionLine()) + "\">\n";
        out_ += "<title>Calculation report " + htmlText(data_.caseName) + "</title>\n<style>" +
                std::string(styleSheet) + "</style>\n</head>\n<body>\n";
        titleBlock(ana, geo, pro, rst);
        inputs(geo, pro);
        properties();
        ultimateMoments();
        collapseMaps();
        assessment();
        warnings();
        appendix();
        out_ += "</body>\n</html>\n";
        return std::move(out_);
    }

private:
    ReadFile use(const std::string& name)
    {
        ReadFile file = readWhole(name);
        if (file.exists && std::none_of(files_.begin(), files_.end(), [&](const auto& f) { return f.name == name; }))
            files_.push_back({name, file.bytes.size(), sha256Hex(file.bytes)});
        return file;
    }

    void openSection(std::string_view id, std::string_view title, bool first = false)
    {
        out_ += "<section id=\"" + std::string(id) + "\"" + (first ? " class=\"first\"" : "") + ">\n<h2>" +
                std::string(title) + "</h2>\n";
    }

    std::string hashOf(const std::string& name) const
    {
        for (const auto& f : files_)
            if (f.name == name) return f.sha256;
        return "not found";
    }

    void titleBlock(const ReadFile& ana, const ReadFile& geo, const ReadFile& pro, const ReadFile& rst)
    {
        out_ += "<section id=\"title\" class=\"first\">\n<h1>" + htmlText(firstLine(geo.bytes)) + "</h1>\n";
        out_ += "<p>Calculation report of the ultimate longitudinal strength of case <b>" +
                htmlText(data_.caseName) + "</b>.</p>\n<table>\n";
        out_ += "<tr><th>Case</th><td>" + htmlText(data_.caseName) + " (" + std::to_string(data_.studies.size()) +
                " case studies, " + std::to_string(data_.elementCount()) + " elements)</td></tr>\n";
        out_ += "<tr><th>Report made</th><td>" + htmlText(madeAt_) + "</td></tr>\n";
        out_ += "<tr><th>Version</th><td id=\"version\">TARNOVA " + htmlText(versionLine()) + "</td></tr>\n";
        out_ += "<tr><th>Report head</th><td>" + htmlText(rst.name) + ": &ldquo;" +
                htmlText(firstLine(rst.bytes)) + "&rdquo;, " + htmlText(firstLine(rst.bytes, 1)) + "</td></tr>\n";
        out_ += "</table>\n<h3>Input files</h3>\n<table>\n<thead><tr><th>File</th><th>Bytes</th><th>SHA-256</th>"
                "</tr></thead>\n";
        for (const ReadFile* f : {&ana, &geo, &pro})
            out_ += "<tr><td>" + htmlText(f->name) + "</td>" + numberCell(std::to_string(f->bytes.size())) +
                    "<td class=\"hash\">" + hashOf(f->name) + "</td></tr>\n";
        out_ += "</table>\n";
        out_ += "<p class=\"note\">Units: the files hold millimetres and newtons (N&middot;mm, mm&sup2;, "
                "mm&sup3;, mm&#8308;). Where this report converts a value it shows the file&rsquo;s value "
                "beside it and names both units; 1 MN&middot;m = 10&#8313; N&middot;mm, 1 m&#8308; = "
                "10&sup1;&sup2; mm&#8308;, 1 m&sup3; = 10&#8313; mm&sup3;, 1 m&sup2; = 10&#8310; mm&sup2;, "
                "1 m = 10&sup3; mm.</p>\n</section>\n";
    }

    static std::string direction(double heel)
    {
        if (heel == 0) return "sagging (deck in compression)";
        if (heel == 180) return "hogging (bottom in compression)";
        return "neutral axis inclined by " + inputText(heel) + "&deg;";
    }

    static std::string modes(int code)
    {
        if (code == 1) return "yield only (no buckling)";
        if (code == 2) return "plate and beam-column buckling";
        return "plate and beam-column buckling, tripping";
    }

    static std::string afterCollapse(int code)
    {
        if (code == 1) return "SHED (load shed after collapse)";
        if (code == 2) return "CONST (load held after collapse)";
        return "code " + std::to_string(code);
    }

    static std::string corrosion(int code)
    {
        if (code <= 0) return "none";
        return significantText(code * 0.5, 3) + " mm off plate and web, " + significantText(code * 1.0, 3) +
               " mm off flange";
    }

    void inputs(const ReadFile& geo, const ReadFile& pro)
    {
        openSection("inputs", "Inputs", true);   // under the title block, on the first page
        out_ += "<h3>Case studies (" + htmlText(data_.caseName) + ".ana)</h3>\n<table>\n<thead><tr><th>Study</th>"
                "<th>Direction</th><th>Collapse modes</th><th>After collapse</th><th>Corrosion allowance</th>"
                "<th>&eta; (tension block, &times;t)</th><th>Heel (&deg;)</th><th>Initial distortion</th>"
                "</tr></thead>\n";
        for (const CaseStudy& study : data_.studies) {
            const calcrun::CaseOptions& o = study.options;
            out_ += "<tr><td>" + std::string(1, study.letter) + "</td><td>" + direction(o.heelAngle) + "</td><td>" +
                    modes(o.behaviourCode) + "</td><td>" + afterCollapse(o.sheddingCode) + "</td><td>" +
                    corrosion(o.corrosionCode) + "</td>" + numberCell(inputText(o.tensionBlockWidth)) +
                    numberCell(inputText(o.heelAngle)) + numberCell(inputText(o.distortionCoefficient)) + "</tr>\n";
        }
        out_ += "</table>\n";

        // The steels of the properties file, one record per property set.
        std::vector<std::pair<std::string, std::string>> steels;
        std::istringstream proLines(pro.bytes);
        for (std::string line; std::getline(proLines, line);) {
            if (trimmedText(line).empty()) continue;
            steels.emplace_back(trimmedText(line.substr(0, 10)), trimmedText(line.size() > 10 ? line.substr(10, 10) : ""));
        }
        // The property set and the stiffener of every element, from the geometry file.
        std::vector<int> sets;
        std::istringstream geoLines(geo.bytes);
        int record = 0;
        for (std::string line; std::getline(geoLines, line);) {
            if (++record < 5) continue;
            double set = 0;
            const std::string_view field = line.size() >= 52 ? std::string_view(line).substr(49, 3) : "";
            if (records::readReal(field, 0, set) != records::FieldStatus::ok) set = 0;
            sets.push_back(static_cast<int>(std::lround(set)));
        }
        std::map<int, std::map<std::string, int>> byKindAndSet;
        std::map<int, int> bySet;
        for (int n = 0; n < data_.elementCount(); ++n) {
            const SectionElement& e = data_.elements[static_cast<std::size_t>(n)];
            const int set = static_cast<std::size_t>(n) < sets.size() ? sets[static_cast<std::size_t>(n)] : 0;
            const bool stiffened = e.dimensions[5] > 0 || e.dimensions[3] > 0;
            const std::string kind = e.kind == 1   ? "hard corner"
                                     : e.kind == 2 ? "plating, wide-plate strength"
                                     : stiffened   ? "stiffened plate"
                                                   : "plate without stiffener";
            ++byKindAndSet[set][kind];
            ++bySet[set];
        }
        out_ += "<h3>Steels (" + htmlText(pro.name) + ")</h3>\n<table>\n<thead><tr><th>Property set</th>"
                "<th>Yield stress (N/mm&sup2;)</th><th>Young&rsquo;s modulus (N/mm&sup2;)</th><th>Elements</th>"
                "</tr></thead>\n";
        for (std::size_t k = 0; k < steels.size(); ++k) {
            const int set = static_cast<int>(k) + 1;
            out_ += "<tr><td>" + std::to_string(set) + "</td>" + numberCell(steels[k].first) +
                    numberCell(steels[k].second) + numberCell(std::to_string(bySet.count(set) ? bySet[set] : 0)) +
                    "</tr>\n";
        }
        out_ += "</table>\n<h3>Elements (" + htmlText(geo.name) + ")</h3>\n<table>\n<thead><tr><th>Property set"
                "</th><th>Kind</th><th>Count</th></tr></thead>\n";
        for (const auto& [set, kinds] : byKindAndSet)
            for (const auto& [kind, count] : kinds)
                out_ += "<tr><td>" + std::to_string(set) + "</td><td>" + kind + "</td>" +
                        numberCell(std::to_string(count)) + "</tr>\n";
        out_ += "<tr><th colspan=\"2\">All elements</th>" + numberCell(std::to_string(data_.elementCount())) +
                "</tr>\n</table>\n";
        sectionPicture(sets);
        out_ += "</section>\n";
    }

    // The section to scale: each element's plating as a stroke across its reference point, its
    // stiffener web as a stroke the way it points, hard corners as squares; coloured by steel.
    void sectionPicture(const std::vector<int>& sets)
    {
        static constexpr const char* steelColour[] = {"#1f4e9c", "#c0392b", "#1e8449", "#b9770e", "#7d3c98"};
        double width = 1, height = 1;
        for (const SectionElement& e : data_.elements) {
            width = std::max(width, e.x);
            height = std::max(height, e.y);
        }
        const double margin = std::max(width, height) * 0.04;
        char buffer[256];
        std::snprintf(buffer, sizeof buffer,
                      "<figure>\n<svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" viewBox=\"%.1f %.1f %.1f %.1f\">"
                      "<title>Section of %s</title>\n",
                      -margin, -margin, width + 2 * margin, height + 2 * margin, htmlText(data_.caseName).c_str());
        out_ += buffer;
        const double corner = std::max(width, height) * 0.006;
        for (int n = 0; n < data_.elementCount(); ++n) {
            const SectionElement& e = data_.elements[static_cast<std::size_t>(n)];
            const int set = static_cast<std::size_t>(n) < sets.size() ? sets[static_cast<std::size_t>(n)] : 1;
            const char* colour = steelColour[static_cast<std::size_t>(std::clamp(set, 1, 5) - 1)];
            const double x = e.x, y = height - e.y;   // y up on paper
            if (e.kind == 1) {
                std::snprintf(buffer, sizeof buffer, "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"%s\"/>\n",
                              x - corner, y - corner, 2 * corner, 2 * corner, colour);
                out_ += buffer;
                continue;
            }
            const double half = e.plateWidth() / 2, web = e.dimensions[5];
            const bool across = e.orientation == 3 || e.orientation == 4;   // plating vertical
            double wx = 0, wy = 0;
            if (e.orientation == 1) wy = web;    // toward -y: down on paper
            if (e.orientation == 2) wy = -web;
            if (e.orientation == 3) wx = -web;
            if (e.orientation == 4) wx = web;
            std::snprintf(buffer, sizeof buffer,
                          "<path d=\"M%.1f %.1fL%.1f %.1f", across ? x : x - half, across ? y - half : y,
                          across ? x : x + half, across ? y + half : y);
            out_ += buffer;
            if (web > 0) {
                std::snprintf(buffer, sizeof buffer, "M%.1f %.1fl%.1f %.1f", x, y, wx, wy);
                out_ += buffer;
            }
            out_ += "\" stroke=\"" + std::string(colour) +
                    "\" stroke-width=\"1.6\" fill=\"none\" vector-effect=\"non-scaling-stroke\"/>\n";
        }
        out_ += "</svg>\n<figcaption>The section as the geometry file gives it, to scale ("
                + significantText(width / 1000, 4) + " m &times; " + significantText(height / 1000, 4) +
                " m between element reference points); colour by property set:";
        for (int set = 1; set <= 5; ++set) {
            if (std::find(sets.begin(), sets.end(), set) == sets.end()) continue;
            out_ += " <span style=\"color:" + std::string(steelColour[set - 1]) + "\">&#9632; set " +
                    std::to_string(set) + "</span>";
        }
        out_ += ".</figcaption>\n</figure>\n";
    }

    void properties()
    {
        openSection("properties", "Section properties");
        // Case studies with the same property lines share a column (they differ by corrosion only).
        std::vector<std::vector<std::size_t>> groups;
        for (std::size_t k = 0; k < data_.studies.size() && k < values_.size(); ++k) {
            auto same = [&](const std::vector<std::size_t>& g) {
                const StudyReportValues& a = values_[g.front()];
                const StudyReportValues& b = values_[k];
                for (std::size_t i = 0; i < a.properties.size(); ++i)
                    if (a.properties[i].text != b.properties[i].text) return false;
                return a.plasticMoment.text == b.plasticMoment.text &&
                       a.plasticNeutralAxis.text == b.plasticNeutralAxis.text;
            };
            auto found = std::find_if(groups.begin(), groups.end(), same);
            if (found == groups.end()) groups.push_back({k});
            else found->push_back(k);
        }
        out_ += "<p class=\"note\">From " + htmlText(data_.caseName) +
                ".rst. Each pair of columns gives the file&rsquo;s value in its own unit and the same value "
                "converted to the unit named in the row.</p>\n";
        struct Row {
            const char* name;
            UnitConversion unit;
            int index;   // into properties; -1 plastic moment, -2 plastic neutral axis, -3 plastic modulus
        };
        const Row rows[] = {
            {"Area", areaConversion, 0},
            {"Elastic neutral axis, x", lengthConversion, 1},
            {"Elastic neutral axis, y (height)", lengthConversion, 2},
            {"Second moment, vertical bending", inertiaConversion, 5},
            {"Second moment, horizontal bending", inertiaConversion, 6},
            {"Section modulus, deck", modulusConversion, 3},
            {"Section modulus, bottom", modulusConversion, 7},
            {"First-yield moment", momentConversion, 4},
            {"Plastic neutral axis, height", lengthConversion, -2},
            {"Plastic section modulus", modulusConversion, -3},
            {"Plastic moment Mp", momentConversion, -1},
        };
        out_ += "<table id=\"properties-table\">\n<thead><tr><th rowspan=\"2\">Quantity</th>";
        for (const auto& g : groups) {
            std::string letters;
            for (std::size_t k : g) letters += (letters.empty() ? "" : ", ") + std::string(1, data_.studies[k].letter);
            out_ += "<th colspan=\"2\">Case stud" + std::string(g.size() > 1 ? "ies " : "y ") + letters + "</th>";
        }
        out_ += "</tr><tr>";
        for (std::size_t g = 0; g < groups.size(); ++g) out_ += "<th>file</th><th>converted</th>";
        out_ += "</tr></thead>\n";
        for (const Row& row : rows) {
            out_ += "<tr><td>" + std::string(row.name) + " (" + std::string(row.unit.fileUnit) + " &rarr; " +
                    std::string(row.unit.reportUnit) + ")</td>";
            for (const auto& g : groups) {
                const StudyReportValues& v = values_[g.front()];
                const FileNumber& number = row.index >= 0   ? v.properties[static_cast<std::size_t>(row.index)]
                                           : row.index == -1 ? v.plasticMoment
                                           : row.index == -2 ? v.plasticNeutralAxis
                                                             : v.plasticModulus;
                if (!number.present) out_ += "<td colspan=\"2\">not in the file</td>";
                else out_ += numberCell(number.text) + numberCell(convertedText(number.value, row.unit));
            }
            out_ += "</tr>\n";
        }
        out_ += "</table>\n</section>\n";
    }

    void ultimateMoments()
    {
        openSection("ultimate", "Moment&ndash;curvature and ultimate moments");
        if (!images_.chartPng.empty())
            out_ += "<figure><img class=\"picture\" alt=\"Moment-curvature curves of every case study\" src=\"data:image/png;base64," +
                    base64(images_.chartPng) + "\"><figcaption>Moment&ndash;curvature curves of every case study "
                    "(Flexura&rsquo;s chart).</figcaption></figure>\n";
        out_ += "<p class=\"note\">Mu and Mp from " + htmlText(data_.caseName) +
                ".rst (N&middot;mm), converted to MN&middot;m (1 MN&middot;m = 10&#8313; N&middot;mm). The step "
                "of the peak is the step of the largest moment in the element curve file; when that is the "
                "last of the 50 steps the peak was not reached and Mu is a lower bound.</p>\n";
        out_ += "<table id=\"mu-table\">\n<thead><tr><th>Study</th><th>Direction</th><th>Mu (N&middot;mm)</th>"
                "<th>Mu (MN&middot;m)</th><th>Mp (MN&middot;m)</th><th>Mu/Mp</th><th>Step of the peak</th>"
                "</tr></thead>\n";
        for (std::size_t k = 0; k < data_.studies.size(); ++k) {
            const CaseStudy& study = data_.studies[k];
            const StudyReportValues* v = k < values_.size() ? &values_[k] : nullptr;
            out_ += "<tr data-study=\"" + std::string(1, study.letter) + "\"><td>" + std::string(1, study.letter) +
                    "</td><td>" + direction(study.options.heelAngle) + "</td>";
            if (v == nullptr || !v->ultimateMoment.present) {
                out_ += "<td colspan=\"4\">not in the file</td>";
            } else {
                out_ += numberCell(v->ultimateMoment.text) +
                        "<td class=\"n mu\">" + convertedText(v->ultimateMoment.value, momentConversion) + "</td>";
                if (v->plasticMoment.present && v->plasticMoment.value != 0) {
                    out_ += numberCell(convertedText(v->plasticMoment.value, momentConversion)) +
                            numberCell(significantText(v->ultimateMoment.value / v->plasticMoment.value, 4));
                } else {
                    out_ += "<td colspan=\"2\">no plastic moment</td>";
                }
            }
            const bool reached = study.ultimateStep < stepCount;
            out_ += "<td>" + std::to_string(study.ultimateStep) + (reached ? "" : " (peak not reached)") + "</td></tr>\n";
        }
        out_ += "</table>\n</section>\n";
    }

    void collapseMaps()
    {
        openSection("maps", "Collapse maps at the ultimate step");
        for (std::size_t k = 0; k < data_.studies.size() && k < images_.mapPngs.size(); ++k) {
            const CaseStudy& study = data_.studies[k];
            if (images_.mapPngs[k].empty()) continue;
            out_ += "<figure><img class=\"picture\" alt=\"Collapse map of case study " + std::string(1, study.letter) +
                    "\" src=\"data:image/png;base64," + base64(images_.mapPngs[k]) + "\"><figcaption>Case study " +
                    std::string(1, study.letter) + " (" + direction(study.options.heelAngle) + ") at step " +
                    std::to_string(study.ultimateStep) + ".</figcaption></figure>\n";
        }
        out_ += "</section>\n";
    }

    // A CSV table of the assessment as it stands, verdicts marked; "" when the file is absent.
    void csvTable(const std::string& name, const std::vector<std::string>& header, std::string_view id,
                  const std::function<bool(const std::vector<std::string>&)>& keep = nullptr)
    {
        const ReadFile file = use(name);
        if (!file.exists) return;
        const std::optional<CsvTable> table = parseCsv(file.bytes);
        if (!table || table->header != header) {
            problems_.push_back(name + " is not the table the assessment writes (its header or a row differs); "
                                "it is not shown.");
            return;
        }
        out_ += "<table id=\"" + std::string(id) + "\">\n<thead><tr>";
        for (const std::string& h : table->header) out_ += "<th>" + htmlText(h) + "</th>";
        out_ += "</tr></thead>\n";
        for (const auto& row : table->rows) {
            if (keep && !keep(row)) continue;
            out_ += "<tr>";
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string& cell = row[c];
                if (cell == "PASS") out_ += "<td class=\"pass\">PASS</td>";
                else if (cell == "FAIL") out_ += "<td class=\"fail\">FAIL</td>";
                else if (!cell.empty() && (std::isdigit(static_cast<unsigned char>(cell[0])) || cell[0] == '-' || cell[0] == '.'))
                    out_ += numberCell(cell);
                else out_ += "<td>" + htmlText(cell) + "</td>";
            }
            out_ += "</tr>\n";
        }
        out_ += "</table>\n";
    }

    // The interaction diagram: vertical against horizontal ultimate moment, kN.m as the file has them.
    void interactionDiagram(const std::string& name)
    {
        const ReadFile file = readWhole(name);
        const std::optional<CsvTable> table = parseCsv(file.bytes);
        if (!table || table->header != interactionTableHeader || table->rows.empty()) return;
        std::vector<std::pair<double, double>> points;   // (Mh, Mv)
        double extent = 0;
        for (const auto& row : table->rows) {
            char* end = nullptr;
            const double mv = std::strtod(row[2].c_str(), &end);
            const double mh = std::strtod(row[3].c_str(), &end);
            if (!std::isfinite(mv) || !std::isfinite(mh)) continue;
            points.emplace_back(mh, mv);
            extent = std::max({extent, std::fabs(mh), std::fabs(mv)});
        }
        if (points.empty() || extent == 0) return;
        const double half = extent * 1.15;
        char buffer[200];
        std::snprintf(buffer, sizeof buffer,
                      "<figure><svg xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" viewBox=\"%.6g %.6g %.6g %.6g\" "
                      "style=\"max-height:95mm\"><title>Interaction diagram</title>\n",
                      -half, -half, 2 * half, 2 * half);
        out_ += buffer;
        std::snprintf(buffer, sizeof buffer,
                      "<path d=\"M%.6g 0H%.6gM0 %.6gV%.6g\" stroke=\"#888\" stroke-width=\"1\" "
                      "vector-effect=\"non-scaling-stroke\"/>\n", -half, half, -half, half);
        out_ += buffer;
        out_ += "<path d=\"";
        for (std::size_t i = 0; i < points.size(); ++i) {
            std::snprintf(buffer, sizeof buffer, "%s%.6g %.6g", i == 0 ? "M" : "L", points[i].first, -points[i].second);
            out_ += buffer;
        }
        out_ += "\" stroke=\"#1f4e9c\" stroke-width=\"1.8\" fill=\"none\" vector-effect=\"non-scaling-stroke\"/>\n";
        for (const auto& [mh, mv] : points) {
            std::snprintf(buffer, sizeof buffer, "<circle cx=\"%.6g\" cy=\"%.6g\" r=\"%.6g\" fill=\"#1f4e9c\"/>\n", mh, -mv,
                          half * 0.012);
            out_ += buffer;
        }
        out_ += "</svg><figcaption>Interaction diagram: Mv (up) against Mh (across) with their "
                "signs as the file gives them, kN&middot;m, axes through 0; full extent &plusmn;" + significantText(half, 3) +
                " kN&middot;m.</figcaption></figure>\n";
    }

    void assessment()
    {
        const std::string checkName = data_.caseName + "_check.csv";
        const std::string interactionName = data_.caseName + "_interaction.csv";
        std::vector<std::string> damaged;   // folders CASE_<damage> holding a .ana
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(".", error)) {
            const std::string name = entry.path().filename().string();
            if (!entry.is_directory(error) || name.rfind(data_.caseName + "_", 0) != 0) continue;
            for (const auto& inner : fs::directory_iterator(entry.path(), error))
                if (inner.path().extension() == ".ana") {
                    damaged.push_back(name);
                    break;
                }
        }
        std::sort(damaged.begin(), damaged.end());
        if (!fs::exists(checkName) && !fs::exists(interactionName) && damaged.empty()) return;
        openSection("assessment", "Assessment");
        if (fs::exists(checkName)) {
            out_ += "<h3>Rule check (" + htmlText(checkName) + ")</h3>\n<p class=\"note\">Moments in kN&middot;m "
                    "as the file holds them.</p>\n";
            csvTable(checkName, checkTableHeader, "check-table");
        }
        if (fs::exists(interactionName)) {
            out_ += "<h3>Interaction (" + htmlText(interactionName) + ")</h3>\n";
            interactionDiagram(interactionName);
            csvTable(interactionName, interactionTableHeader, "interaction-table");
        }
        for (std::size_t d = 0; d < damaged.size(); ++d) {
            const std::string& folder = damaged[d];
            const std::string damage = folder.substr(data_.caseName.size() + 1);
            out_ += "<h3>Damaged case &ldquo;" + htmlText(damage) + "&rdquo; (" + htmlText(folder) + "/)</h3>\n";
            std::string stem;
            for (const auto& inner : fs::directory_iterator(folder, error))
                if (inner.path().extension() == ".ana") {
                    const std::string candidate = inner.path().stem().string();
                    if (stem.empty() || candidate < stem) stem = candidate;
                }
            use(folder + "/" + stem + ".ana");
            const ReadFile rst = use(folder + "/" + stem + ".rst");
            if (!rst.exists) {
                out_ += "<p>" + htmlText(folder + "/" + stem) + ".rst not found: not calculated.</p>\n";
                problems_.push_back("Damaged case " + damage + ": " + folder + "/" + stem + ".rst not found.");
            } else {
                const std::vector<StudyReportValues> values = readReportValues(rst.bytes);
                out_ += "<table class=\"damaged-mu\">\n<thead><tr><th>Study</th><th>Mu (N&middot;mm)</th>"
                        "<th>Mu (MN&middot;m)</th><th>Mp (MN&middot;m)</th><th>Mu/Mp</th></tr></thead>\n";
                for (std::size_t k = 0; k < values.size(); ++k) {
                    const StudyReportValues& v = values[k];
                    out_ += "<tr><td>" + std::string(1, static_cast<char>('A' + k)) + "</td>";
                    if (!v.ultimateMoment.present) {
                        out_ += "<td colspan=\"4\">not in the file</td></tr>\n";
                        continue;
                    }
                    out_ += numberCell(v.ultimateMoment.text) + numberCell(convertedText(v.ultimateMoment.value, momentConversion));
                    if (v.plasticMoment.present && v.plasticMoment.value != 0)
                        out_ += numberCell(convertedText(v.plasticMoment.value, momentConversion)) +
                                numberCell(significantText(v.ultimateMoment.value / v.plasticMoment.value, 4));
                    else out_ += "<td colspan=\"2\">no plastic moment</td>";
                    out_ += "</tr>\n";
                }
                out_ += "</table>\n";
            }
            if (fs::exists(checkName))
                csvTable(checkName, checkTableHeader, "check-damaged-" + std::to_string(d + 1),
                         [&damage](const std::vector<std::string>& row) { return row[0] == damage; });
        }
        out_ += "</section>\n";
    }

    void warnings()
    {
        openSection("warnings", "Warnings");
        std::vector<std::string> all = caseWarnings(data_);
        for (std::string& p : problems_) all.push_back(std::move(p));
        if (all.empty()) {
            out_ += "<p>The programs gave no warning for this case.</p>\n";
        } else {
            out_ += "<ul class=\"warnings\">\n";
            for (const std::string& w : all) out_ += "<li>" + htmlText(w) + "</li>\n";
            out_ += "</ul>\n";
        }
        out_ += "</section>\n";
    }

    void appendix()
    {
        openSection("files", "Appendix: files this report was made from");
        out_ += "<table id=\"files-table\">\n<thead><tr><th>File</th><th>Bytes</th><th>SHA-256</th></tr></thead>\n";
        for (const auto& f : files_)
            out_ += "<tr><td>" + htmlText(f.name) + "</td>" + numberCell(std::to_string(f.size)) +
                    "<td class=\"hash\">" + f.sha256 + "</td></tr>\n";
        out_ += "</table>\n<p class=\"note\">Made by Flexura, TARNOVA " + htmlText(versionLine()) + ", " +
                htmlText(madeAt_) + ".</p>\n</section>\n";
    }

    struct FileEntry {
        std::string name;
        std::size_t size = 0;
        std::string sha256;
    };

    const CaseData& data_;
    const ReportImages& images_;
    std::string madeAt_;
    std::vector<StudyReportValues> values_;
    std::vector<FileEntry> files_;
    std::vector<std::string> problems_;
    std::string out_;
};

std::string nowText()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &utc);
    return text;
}

} // namespace

std::string reportHtmlName(const CaseData& data)
{
    return data.caseName + "_report.html";
}

std::string reportPdfName(const CaseData& data)
{
    return data.caseName + "_report.pdf";
}

std::string reportHtml(const CaseData& data, const ReportImages& images, std::string_view madeAt)
{
    return ReportBuilder(data, images, madeAt).build();
}

std::string writeReport(const CaseData& data, int paneWidth, int paneHeight)
{
    ReportImages images;
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    drawMomentChart(data, paneWidth, paneHeight);
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    images.chartPng = encodePng(copyPane(0, 0, paneWidth - 1, paneHeight - 1));
    const MapLayout layout = mapLayout(data, paneWidth, paneHeight);
    for (std::size_t k = 0; k < data.studies.size(); ++k) {
        drawCollapseMap(data, layout, MapView{static_cast<int>(k), data.studies[k].ultimateStep, -1}, paneWidth,
                        paneHeight);
        setViewport(0, 0, paneWidth - 1, paneHeight - 1);
        images.mapPngs.push_back(encodePng(copyPane(0, 0, paneWidth - 1, paneHeight - 1)));
    }
    const std::string name = reportHtmlName(data);
    std::string reason;
    if (!replaceFile(name, reportHtml(data, images, nowText()), &reason))
        return name + " could not be written" + (reason.empty() ? "" : ": " + reason);
    return {};
}

} // namespace tarnova::flexura
