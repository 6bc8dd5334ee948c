#pragma once
// The calculation report of a case: CASE_report.html, one self-contained document (styles,
// pictures and tables inline, no script) that a reviewer reads on screen or prints on A4, and
// CASE_report.pdf printed from it by a headless Chromium or Chrome.
//
//   Flexura --report /ships/TANKER.ana                 writes TANKER_report.html
//   Flexura --report --pdf /ships/TANKER.ana           and TANKER_report.pdf
//   Flexura --pdf --browser /opt/chrome/chrome TANKER.ana
//
// Every number is the text its file holds; where the report converts a unit it shows the file's
// value beside the converted one and names both units.

#include "caseData.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnova::flexura {

// ---- Command line --------------------------------------------------------------------------

struct ReportRequest {
    bool report = false;    // --report (also implied by --pdf and --browser)
    bool pdf = false;       // --pdf (also implied by --browser)
    std::string browser;    // --browser PATH; empty: looked for on PATH
};

struct ParsedArguments {
    ReportRequest request;
    std::vector<std::string> kept;   // argv without the report options (argv[0] first)
    std::string failure;             // "" when the arguments are sound
};
ParsedArguments parseReportArguments(int argc, char** argv);

// ---- Units ---------------------------------------------------------------------------------

// A conversion from the unit a file holds to the unit the report shows: shown = file x factor.
struct UnitConversion {
    std::string_view fileUnit, reportUnit;
    double factor;
};
inline constexpr UnitConversion areaConversion{"mm²", "m²", 1e-6};
inline constexpr UnitConversion lengthConversion{"mm", "m", 1e-3};
inline constexpr UnitConversion inertiaConversion{"mm⁴", "m⁴", 1e-12};
inline constexpr UnitConversion modulusConversion{"mm³", "m³", 1e-9};
inline constexpr UnitConversion momentConversion{"N·mm", "MN·m", 1e-9};

// `value` converted, in plain decimal with six significant digits ("7995.12", "0.0123457").
std::string convertedText(double value, const UnitConversion& unit);
// A number in plain decimal with `digits` significant digits.
std::string significantText(double value, int digits);

// ---- What the report reads -----------------------------------------------------------------

// One number of a fixed-column file: the text of its field and its value.
struct FileNumber {
    std::string text;
    double value = 0;
    bool present = false;
};

// The report's values of one case study, from CASE.rst.
struct StudyReportValues {
    // Area, neutral axis x and y, deck modulus, first-yield moment, vertical and horizontal
    // second moments, bottom modulus: the line under " AREA ...".
    std::array<FileNumber, 8> properties;
    FileNumber plasticMoment, plasticNeutralAxis, plasticModulus;
    FileNumber ultimateMoment, ultimateCurvature;
};
// The blocks of CASE.rst, one per case study in order, each opened by its option echo.
std::vector<StudyReportValues> readReportValues(std::string_view reportText);

// An RFC 4180 table: header row first.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};
// Parses CSV text (CR LF or LF line ends, quoted fields); nothing when it is not sound CSV.
std::optional<CsvTable> parseCsv(std::string_view text);

// The headers the assessment's files carry.
extern const std::vector<std::string> checkTableHeader;
extern const std::vector<std::string> interactionTableHeader;

// The warnings of the programs for this case, in words: repeated case results file names and
// residual stress taken as 0 (by the calculator's own rules), and the geometry warnings.
std::vector<std::string> caseWarnings(const CaseData& data);

// Standard base64 (RFC 4648) of bytes, for pictures inside the document.
std::string base64(std::string_view bytes);
// Text for HTML: & < > " escaped, bytes above 127 read as Latin-1.
std::string htmlText(std::string_view text);

// ---- The document --------------------------------------------------------------------------

// The pictures Flexura draws: PNG bytes of the chart and of each study's map at its ultimate step.
struct ReportImages {
    std::string chartPng;
    std::vector<std::string> mapPngs;
};

// Builds the HTML of the case in the current directory. `madeAt` is the date and time written
// in the title block.
std::string reportHtml(const CaseData& data, const ReportImages& images, std::string_view madeAt);

std::string reportHtmlName(const CaseData& data);   // CASE_report.html
std::string reportPdfName(const CaseData& data);    // CASE_report.pdf

// Draws the pictures on the pane and writes CASE_report.html into the current directory.
// Returns "" when written, else what failed.
std::string writeReport(const CaseData& data, int paneWidth, int paneHeight);

// Prints CASE_report.html (already written) to CASE_report.pdf with a headless Chromium or
// Chrome: `browser`, or the first of chromium, chromium-browser, google-chrome,
// google-chrome-stable found on PATH. Returns "" when written, else what failed (no browser
// found, the browser failed, no PDF came out).
std::string printReportPdf(const CaseData& data, const std::string& browser);

} // namespace tarnova::flexura
