// CsvToGeo: writes a section's geometry file (.geo) from a spreadsheet's CSV export, one element
// per row with the columns named in a header row. Every bad cell is reported, with its row,
// column and value, before anything is written; a sheet with any problem writes nothing.
//
//   CsvToGeo [--title TEXT] [--header-value V] SHEET.csv CASE.geo

#include "geometrySheet.hpp"
#include "inputFile.hpp"

#include "commandLine.hpp"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::string_view helpText =
R"(Usage: CsvToGeo [--title TEXT] [--header-value V] SHEET.csv CASE.geo
  or:  CsvToGeo --help | --version

Writes a section's geometry file (.geo) for Strakon from a spreadsheet saved as
CSV: one element per row, in the order of the elements, under a header row
that names the columns. Every bad cell is reported with its row, column and
value, all at once; a sheet with any problem writes nothing.

Columns, in any order, named in the header row by either of their names (the
second is the geometry file's short heading), in any case. Lengths in mm.
  frameSpacing/FRSPAC     frame spacing, above 0
  plateWidth/PLWIDT       plate width, above 0
  plateThickness/PLTHIC   plate thickness, above 0
  flangeWidth/FLWIDT      flange width (optional)
  flangeThickness/FLTHIC  flange thickness (optional)
  webHeight/WEBHEI        web height (optional)
  webThickness/WEBTHI     web thickness (optional)
  propertySet/PS          property set, 1 to 5
  spareGeometryValue/SPR  spare value, no effect (optional)
  totalDepth/DPT          accepted and ignored: the calculator computes it
  x/X                     position of the element's reference point
  y/Y                     position of the element's reference point
  orientation/OR          stiffener direction, 1 to 4
  elementKind/KD          1 hard corner, 2 wide plate, 3 stiffened plate
Optional columns may be left out, and their cells empty (0); every other cell
must be filled.

Cells are separated by commas, or by semicolons when the header row holds
semicolons and no commas (then a decimal comma is accepted). Lengths are in mm
and are rounded to the 0.1 mm the file holds.

Options:
  --title TEXT        the section title, the file's first line (default: the
                      name of the sheet)
  --header-value V    the first value of the second line (default 0); the
                      calculator only copies it to its trace
  --help              print this help and exit
  --version           print the version and exit

Exit status:
  0   the geometry file was written
  1   the sheet has problems (each listed on standard error), or an argument
      or the sheet cannot be read; nothing is written
  2   the geometry file could not be written
)";

constexpr std::string_view ownOptions[] = {"--title", "--header-value"};
constexpr tarnova::ProgramHelp help{"CsvToGeo", helpText, ownOptions};

constexpr int failureStatus = 1;

int usageError(const std::string& message)
{
    std::fprintf(stderr, "CsvToGeo: %s; \"CsvToGeo --help\" shows the usage\n", message.c_str());
    return failureStatus;
}

std::string stem(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, help))
        return *status;

    std::string title;
    bool titleGiven = false;
    double headerValue = 0.0;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (tarnova::isHeadlessOption(argument)) continue;   // it never opens a window
        if (argument == "--title" || argument == "--header-value") {
            if (i + 1 >= argc) return usageError(argument + " needs a value");
            const std::string value = argv[++i];
            if (argument == "--title") {
                title = value;
                titleGiven = true;
            } else {
                std::size_t used = 0;
                try {
                    headerValue = std::stod(value, &used);
                } catch (const std::exception&) {
                    used = 0;
                }
                if (used == 0 || used != value.size())
                    return usageError("--header-value \"" + tarnova::shownText(value) + "\" is not a number");
                if (!std::isfinite(headerValue))
                    return usageError("--header-value " + tarnova::shownText(value) +
                                      " is out of range; allowed: -9999999 to 99999992");
            }
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() != 2) return usageError("give the sheet and the geometry file to write");
    if (!titleGiven) title = stem(files[0]);

    const std::string sheetName = tarnova::shownText(files[0]), geometryName = tarnova::shownText(files[1]);
    // A device, FIFO or socket would block or never end: refused before it is opened.
    if (const std::string problem = tarnova::inputFileProblem(files[0]); !problem.empty()) {
        std::fprintf(stderr, "CsvToGeo: %s\n", problem.c_str());
        return failureStatus;
    }
    std::ifstream in(files[0], std::ios::binary);
    if (!in) return usageError("cannot read the sheet " + sheetName);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    const tarnova::csvtogeo::Sheet sheet = tarnova::csvtogeo::readSheet(csv);
    std::vector<std::string> problems = tarnova::csvtogeo::geometryFileProblems(title, headerValue);
    problems.insert(problems.end(), sheet.problems.begin(), sheet.problems.end());
    std::string text;
    if (problems.empty()) text = tarnova::csvtogeo::geometryFileText(title, headerValue, sheet.elements, problems);
    if (!problems.empty()) {
        for (const std::string& problem : problems)
            std::fprintf(stderr, "%s: %s\n", sheetName.c_str(), problem.c_str());
        if (!sheet.encodingNote.empty()) std::fprintf(stderr, "%s: %s\n", sheetName.c_str(), sheet.encodingNote.c_str());
        std::fprintf(stderr, "%s: %zu problem%s; %s is not written\n", sheetName.c_str(), problems.size(),
                     problems.size() == 1 ? "" : "s", geometryName.c_str());
        return failureStatus;
    }
    std::string reason;
    if (!tarnova::csvtogeo::writeGeometryFile(files[1], text, reason)) {
        std::fprintf(stderr, "CsvToGeo: %s could not be written: %s\n", geometryName.c_str(), reason.c_str());
        return failureStatus;
    }
    std::printf("%s: %zu elements written\n", geometryName.c_str(), sheet.elements.size());
    return 0;
}
