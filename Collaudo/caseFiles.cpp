#include "caseFiles.hpp"
#include "inputFile.hpp"

#include "Engine.hpp"
#include "casePaths.hpp"
#include "records/Records.hpp"
#include "replaceFile.hpp"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tarnova::collaudo {

namespace {

using calcrun::curveUnit;
using calcrun::elementFormat;
using calcrun::geometryUnit;
using calcrun::materialSetCount;
using calcrun::optionFormat;
using calcrun::optionsUnit;
using calcrun::propertiesUnit;
using calcrun::reportUnit;
using calcrun::traceUnit;

constexpr int geometryHeadLines = 4;   // title, header values, element count, headings

std::string wholeFile(const std::string& path)
{
    if (const std::string problem = inputFileProblem(path); !problem.empty()) throw CaseInputError(problem);
    std::ifstream file(path, std::ios::binary);
    if (!file) throw CaseInputError(path + " cannot be read");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string formatted(std::string_view format, std::initializer_list<WriteItem> items)
{
    FixedText text(256);
    formatToText(text, format, items);
    return std::string(text.trimmed());
}

} // namespace

CaseInput readCaseInput(const std::string& path)
{
    const CaseLocation location = locateCase(path);
    if (location.caseName.empty()) throw CaseInputError("No case name in the path given: Collaudo /path/CASE.ana");
    CaseInput in;
    in.directory = location.directory;
    in.name = location.caseName;
    const std::string stem = (in.directory.empty() ? std::string() : in.directory + "/") + in.name;
    const std::string options = stem + ".ana", geometry = stem + ".geo", properties = stem + ".pro";
    for (const std::string& file : {options, geometry, properties})
        if (!fileExists(file)) throw CaseInputError(file + " not found");
    try {
        RecordUnits units;   // errors come back as RecordError
        units.openForReading(optionsUnit, options, 0);
        if (units.atEndOfUnit(optionsUnit)) throw CaseInputError(options + " is an empty file");
        std::int32_t count = 0;
        units.readRecords(optionsUnit, "(I2)", {count});
        for (int k = 1; k <= count; ++k) {
            CaseOptionsInput o;
            units.readRecords(optionsUnit, optionFormat,
                              {o.behaviourCode, o.sheddingCode, o.corrosionCode, o.tensionBlockWidth, o.heelAngle,
                               o.distortionCoefficient, o.spareOption});
            in.studies.push_back(o);
        }
        if (in.studies.empty()) throw CaseInputError(options + " lists no case study");

        SectionInput& s = in.section;
        units.openForReading(geometryUnit, geometry, 0);
        if (units.atEndOfUnit(geometryUnit)) throw CaseInputError(geometry + " is an empty file");
        FixedText title(80), headings(80);
        std::int32_t declared = 0;
        units.readRecords(geometryUnit, "(A80)", {title});
        units.readRecords(geometryUnit, "(3F10.1)", {s.firstHeaderValue, s.breadth, s.depth});
        units.readRecords(geometryUnit, "(I4)", {declared});
        units.readRecords(geometryUnit, "(A80)", {headings});
        s.title = title.str();
        s.headings = headings.str();
        int largestSet = 1;
        while (!units.atEndOfUnit(geometryUnit)) {
            ElementRecord e;
            units.readRecords(geometryUnit, elementFormat,
                              {e.frameSpacing, e.plateWidth, e.plateThickness, e.flangeWidth, e.flangeThickness,
                               e.webHeight, e.webThickness, e.propertySet, e.spareGeometryValue, e.totalDepth, e.x, e.y,
                               e.orientation, e.elementKind});
            s.elements.push_back(e);
            if (e.propertySet >= 1.0f && e.propertySet <= static_cast<float>(materialSetCount) &&
                e.propertySet == std::trunc(e.propertySet))
                largestSet = std::max(largestSet, static_cast<int>(e.propertySet));
        }
        if (static_cast<std::int32_t>(s.elements.size()) != declared) {
            throw CaseInputError(geometry + " declares " + std::to_string(declared) + " element records and holds " +
                                 std::to_string(s.elements.size()));
        }
        units.openForReading(propertiesUnit, properties, 0);
        if (units.atEndOfUnit(propertiesUnit)) throw CaseInputError(properties + " is an empty file");
        for (int k = 1; k <= largestSet; ++k) {
            MaterialRecord m;
            units.readRecords(propertiesUnit, "(2F10.1)", {m.yieldStress, m.youngsModulus});
            s.materials.push_back(m);
        }
        units.closeAllUnits();
    } catch (const RecordError& error) {
        throw CaseInputError(error.what());
    }
    in.geometryLines = linesOf(wholeFile(geometry));
    in.propertiesText = wholeFile(properties);
    // The element records are the lines after the head, one each (blank lines end the file for
    // the record layer too).
    if (in.geometryLines.size() < geometryHeadLines + in.section.elements.size())
        throw CaseInputError(geometry + " holds fewer lines than element records");
    return in;
}

CaseFileTexts damagedCaseTexts(const CaseInput& input, const std::vector<int>& removed,
                               const std::vector<CaseOptionsInput>& studies)
{
    CaseFileTexts out;
    out.options = formatted("(I2)", {static_cast<std::int32_t>(studies.size())}) + "\n";
    for (const CaseOptionsInput& o : studies) {
        out.options += formatted(optionFormat, {o.behaviourCode, o.sheddingCode, o.corrosionCode, o.tensionBlockWidth,
                                                o.heelAngle, o.distortionCoefficient, o.spareOption}) +
                       "\n";
    }
    const std::size_t count = input.section.elements.size();
    const std::size_t kept = count - removed.size();
    for (int i = 0; i < geometryHeadLines; ++i) {
        if (i == 2) {
            char line[16];
            std::snprintf(line, sizeof line, "%4zu", kept);
            out.geometry += line;
        } else {
            out.geometry += input.geometryLines[static_cast<std::size_t>(i)];
        }
        out.geometry += '\n';
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (next < removed.size() && static_cast<std::size_t>(removed[next]) == i) {
            ++next;
            continue;
        }
        out.geometry += input.geometryLines[geometryHeadLines + i];
        out.geometry += '\n';
    }
    out.properties = input.propertiesText;
    return out;
}

std::vector<CaseStudyResult> writeAndRunCase(const std::string& folder, const std::string& caseName,
                                             const CaseFileTexts& texts)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw CaseInputError(folder + " cannot be made: " + error.message());
    for (const auto& [extension, text] : {std::pair{".ana", &texts.options}, std::pair{".geo", &texts.geometry},
                                          std::pair{".pro", &texts.properties}}) {
        std::string reason;
        const std::string file = folder + "/" + caseName + extension;
        if (!replaceFile(file, *text, &reason)) throw CaseInputError(file + " cannot be written: " + reason);
    }

    const std::string directory = std::filesystem::absolute(folder).string();
    RecordUnits units;   // errors come back as RecordError
    units.setDirectory(directory);
    const std::string options = caseName + ".ana";
    units.openUnit(reportUnit, caseName + ".rst");
    units.rewindUnit(reportUnit);
    units.openUnit(traceUnit, "lixo.tmp");
    units.rewindUnit(traceUnit);
    // The report's head as the calculator writes it: banner, then the file name and the date.
    units.writeListRecord(reportUnit, {"           TARNOVA - version 3.0 (1996)"});
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[40];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", local.tm_mday, local.tm_mon + 1, (local.tm_year + 1900) % 100);
    const FixedText reportName(12, caseName + ".rst");
    units.writeListRecord(reportUnit, {"           File name : " + reportName.str() + std::string(22, ' ') + date});

    std::int32_t studyCount = 0;
    units.openForReading(optionsUnit, options, 0);
    units.readRecords(optionsUnit, "(I2)", {studyCount});
    std::vector<CaseStudyResult> results;
    for (int k = 1; k <= studyCount; ++k) {
        units.openForReading(optionsUnit, options, 1);
        units.openUnit(curveUnit, curveFileName(caseName, k));
        units.rewindUnit(curveUnit);
        results.push_back(runCaseStudyFiles(units, caseName, k));
    }
    units.closeAllUnits();
    return results;
}

} // namespace tarnova::collaudo
