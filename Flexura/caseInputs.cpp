#include "caseInputs.hpp"

#include "assessmentInputs.hpp"
#include "firstYield.hpp"

#include "Engine.hpp"               // calcrun::caseResultsFileName, the calculator's own naming
#include "casePaths.hpp"         // curveFileName
#include "display/Display.hpp"
#include "elementStates.hpp"
#include "inputFile.hpp"
#include "records/FieldRead.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace tarnova::flexura {

namespace {

constexpr int optionsUnit = 21;
constexpr int checkUnit = 91;       // re-reads a record whose field did not convert

// A text file split into records (line ends CR LF or LF).
struct TextFile {
    std::string name;
    std::string text;
    std::vector<std::uint32_t> start;   // offset of each record
    bool exists = false;
    std::string refused;                // why a file that is there was not read ("X is a FIFO, ...")

    // Why the file was not read: refused, or not there.
    std::string absence() const { return refused.empty() ? name + " not found" : refused; }

    std::size_t count() const { return start.size(); }
    std::string_view record(std::size_t i) const
    {
        const std::size_t from = start[i];
        std::size_t to = i + 1 < start.size() ? start[i + 1] : text.size();
        if (to > from && text[to - 1] == '\n') --to;
        if (to > from && text[to - 1] == '\r') --to;
        return std::string_view(text).substr(from, to - from);
    }
};

// Records end at CR, LF or a CR LF pair, as the record layer reads them.
std::vector<std::uint32_t> recordStarts(std::string_view text)
{
    std::vector<std::uint32_t> start;
    std::size_t at = 0;
    while (at < text.size()) {
        start.push_back(static_cast<std::uint32_t>(at));
        const std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) break;
        at = end + 1;
        if (text[end] == '\r' && at < text.size() && text[at] == '\n') ++at;
    }
    return start;
}

TextFile readTextFile(const std::string& name)
{
    TextFile file;
    file.name = name;
    // A device, FIFO or socket would block or never end: refused before it is opened.
    file.refused = inputFileProblem(name);
    if (!file.refused.empty()) return file;
    std::ifstream in(name, std::ios::binary);
    if (!in) return file;
    file.exists = true;
    std::ostringstream whole;
    whole << in.rdbuf();
    file.text = std::move(whole).str();
    file.start = recordStarts(file.text);
    return file;
}

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s)
{
    s = trimRight(s);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

// The field in columns first..first+width-1 (from 1); what the record does not hold reads blank.
std::string_view columns(std::string_view record, std::size_t first, std::size_t width)
{
    if (first - 1 >= record.size()) return {};
    return record.substr(first - 1, width);
}

// A field of a record that did not convert: the record layer reads that record again with its
// format and reports the error (the program ends with status 2).
[[noreturn]] void fieldError(const std::string& fileName, std::size_t record, std::string_view format, int reals)
{
    openUnit(checkUnit, fileName);
    rewindUnit(checkUnit);
    FixedText skipped(1);
    for (std::size_t r = 0; r < record; ++r) readRecords(checkUnit, "(A1)", {skipped});
    if (reals == 0) {
        std::int32_t value = 0;
        readRecords(checkUnit, format, {value});
    } else {
        std::vector<double> values(static_cast<std::size_t>(reals));
        readRecords(checkUnit, format, {std::span<double>(values)});
    }
    std::fprintf(stderr, "%s, record %zu: a field does not convert\n", fileName.c_str(), record + 1);
    exitProgram(2);
}

// The curve files are read on two threads; a field that does not convert there is noted and
// reported by the program's thread once both are done.
struct DeferredFieldError {
    bool set = false;
    std::string fileName;
    std::size_t record = 0;
    std::string_view format;
    int reals = 0;
};
thread_local DeferredFieldError* deferredError = nullptr;

void badField(const TextFile& file, std::size_t record, std::string_view format, int reals)
{
    if (deferredError == nullptr) fieldError(file.name, record, format, reals);
    if (!deferredError->set) *deferredError = {true, file.name, record, format, reals};
}

// Reads one real field; a field that does not convert ends the program (fieldError).
double realField(const TextFile& file, std::size_t record, std::size_t first, std::size_t width,
                 int fraction, std::string_view format, int reals)
{
    double value = 0;
    if (records::readReal(columns(file.record(record), first, width), fraction, value) != records::FieldStatus::ok)
        badField(file, record, format, reals);
    return value;
}

int integerField(const TextFile& file, std::size_t record, std::size_t first, std::size_t width,
                 std::string_view format)
{
    std::int32_t value = 0;
    if (records::readInteger(columns(file.record(record), first, width), value) != records::FieldStatus::ok)
        badField(file, record, format, 0);
    return value;
}

class CaseReader {
public:
    CaseReader(std::string_view caseName, CaseData& data) : caseName_(caseName), data_(data) {}

    ReadOutcome read()
    {
        data_.caseName = caseName_;
        data_.elements.clear();
        data_.studies.clear();
        if (!readOptions() || !readGeometry()) return failed();
        if (!readCurveFiles()) return failed();
        if (!readReport() || !readNeutralAxes()) return failed();
        for (CaseStudy& study : data_.studies) {
            classifyStates(study, data_.elementCount());
            study.ultimateStep = ultimateStep(study);
        }
        return {true, {}};
    }

private:
    ReadOutcome failed() const { return {false, failure_}; }
    bool fail(std::string text)
    {
        failure_ = std::move(text);
        return false;
    }

    // The case count and one option record per case study, read as the calculator reads them.
    bool readOptions()
    {
        const std::string name = caseName_ + ".ana";
        if (!fileExists(name)) return fail(name + " not found");
        if (const std::string problem = inputFileProblem(name); !problem.empty()) return fail(problem);
        openUnit(optionsUnit, name);
        rewindUnit(optionsUnit);
        if (atEndOfUnit(optionsUnit)) {
            closeUnit(optionsUnit);
            return fail(name + " is an empty file");
        }
        std::int32_t count = 0;
        readRecords(optionsUnit, "(I2)", {count});
        if (count < 1) {
            closeUnit(optionsUnit);
            return fail(name + " names no case study");
        }
        for (int k = 1; k <= count; ++k) {
            if (atEndOfUnit(optionsUnit)) {
                closeUnit(optionsUnit);
                return fail(name + " holds " + std::to_string(k - 1) + " of its " + std::to_string(count) +
                            " option records");
            }
            CaseStudy study;
            study.number = k;
            study.letter = static_cast<char>(64 + k);
            calcrun::CaseOptions& o = study.options;
            readRecords(optionsUnit, "(3I2,F5.2,F5.1,F5.4,F4.0)",
                        {o.behaviourCode, o.sheddingCode, o.corrosionCode, o.tensionBlockWidth, o.heelAngle,
                         o.distortionCoefficient, o.spareOption});
            study.curveFileName = curveFileName(caseName_, k);
            study.resultsFileName = calcrun::caseResultsFileName(o);
            data_.studies.push_back(std::move(study));
        }
        closeUnit(optionsUnit);
        return true;
    }

    // Plating and kind of every element: records 5 onward, "(7F7.1,F3.0,2F4.2,2F9.1,2I2)".
    bool readGeometry()
    {
        constexpr std::string_view format = "(7F7.1,F3.0,2F4.2,2F9.1,2I2)";
        const TextFile geo = readTextFile(caseName_ + ".geo");
        if (!geo.exists) return fail(geo.absence());
        if (geo.count() < 4) return fail(geo.name + " ends before its element records");
        for (std::size_t r = 4; r < geo.count(); ++r) {
            SectionElement e;
            for (std::size_t k = 0; k < 7; ++k) e.dimensions[k] = realField(geo, r, 1 + 7 * k, 7, 1, format, 0);
            std::int32_t orientation = 0, kind = 0;
            if (records::readInteger(columns(geo.record(r), 79, 2), orientation) != records::FieldStatus::ok ||
                records::readInteger(columns(geo.record(r), 81, 2), kind) != records::FieldStatus::ok)
                badField(geo, r, "(78X,2I2)", 0);
            e.orientation = orientation;
            e.kind = kind;
            data_.elements.push_back(e);
        }
        if (data_.elements.empty()) return fail(geo.name + " holds no element records");
        if (data_.elementCount() > maxElements) return fail(geo.name + " holds more than 600 element records");
        return true;
    }

    // Every study's curve file, on two threads (the studies alternate between them). The first
    // failure in study order is the one reported.
    bool readCurveFiles()
    {
        const std::size_t count = data_.studies.size();
        std::vector<std::string> failures(count);
        std::vector<DeferredFieldError> errors(count);
        auto readEvery = [&](std::size_t first) {
            for (std::size_t k = first; k < count; k += 2) {
                deferredError = &errors[k];
                readCurveFile(data_.studies[k], failures[k]);
                deferredError = nullptr;
            }
        };
        std::thread second(readEvery, 1);
        readEvery(0);
        second.join();
        for (std::size_t k = 0; k < count; ++k) {
            if (errors[k].set) fieldError(errors[k].fileName, errors[k].record, errors[k].format, errors[k].reals);
            if (!failures[k].empty()) return fail(failures[k]);
        }
        return true;
    }

    // The head (element count, positions, yield stresses) and the 50 step blocks of one study;
    // false with `failure` set when the file is missing or short.
    bool readCurveFile(CaseStudy& study, std::string& failure)
    {
        auto fail = [&failure](std::string text) {
            failure = std::move(text);
            return false;
        };
        TextFile curve = readTextFile(study.curveFileName);
        if (!curve.exists) return fail(curve.absence());
        if (curve.count() == 0) return fail(study.curveFileName + " is an empty file");
        const int n = integerField(curve, 0, 1, 4, "(I4)");
        const int elementCount = data_.elementCount();
        if (n != elementCount)
            return fail(study.curveFileName + " holds " + std::to_string(n) + " elements, " + caseName_ +
                        ".geo " + std::to_string(elementCount));
        const std::size_t lines = static_cast<std::size_t>((n + 9) / 10);
        const std::size_t blockLength = 2 + 2 * lines;
        const std::size_t head = 1 + static_cast<std::size_t>(n);
        if (curve.count() < head) return fail(study.curveFileName + " ends within the element positions");
        const std::size_t blocks = (curve.count() - head) / blockLength;
        if (blocks < static_cast<std::size_t>(stepCount))
            return fail(study.curveFileName + " holds " + std::to_string(blocks) + " of the 50 steps");

        const bool first = &study == &data_.studies.front();
        for (int i = 0; i < n; ++i) {
            const std::size_t r = 1 + static_cast<std::size_t>(i);
            SectionElement& e = data_.elements[static_cast<std::size_t>(i)];
            const double x = realField(curve, r, 1, 10, 1, "(3F10.1)", 3);
            const double y = realField(curve, r, 11, 10, 1, "(3F10.1)", 3);
            const double yield = realField(curve, r, 21, 10, 1, "(3F10.1)", 3);
            if (first) {
                e.x = x;
                e.y = y;
                e.yieldStress = yield;
            }
        }

        const std::size_t values = static_cast<std::size_t>(stepCount) * static_cast<std::size_t>(n);
        study.strainRatio.resize(values);
        study.stress.resize(values);
        study.steps.assign(stepCount, StepRow{});
        for (int j = 0; j < stepCount; ++j) {
            const std::size_t r = head + static_cast<std::size_t>(j) * blockLength;
            StepRow& row = study.steps[static_cast<std::size_t>(j)];
            if (integerField(curve, r, 11, 4, "(10X,I4)") != j + 1)
                return fail(study.curveFileName + ": step block " + std::to_string(j + 1) + " is out of place");
            row.curvature = realField(curve, r, 36, 12, 4, "(35X,E12.4)", 1);
            row.text[0] = trim(columns(curve.record(r), 36, 12));
            row.moment = realField(curve, r + 1, 1, 12, 4, "(3E12.4)", 3);
            row.momentX = realField(curve, r + 1, 13, 12, 4, "(3E12.4)", 3);
            row.momentY = realField(curve, r + 1, 25, 12, 4, "(3E12.4)", 3);
            row.text[1] = trim(columns(curve.record(r + 1), 13, 12));
            row.text[2] = trim(columns(curve.record(r + 1), 25, 12));
            row.text[3] = trim(columns(curve.record(r + 1), 1, 12));
            for (int list = 0; list < 2; ++list) {
                double* target = (list == 0 ? study.strainRatio : study.stress).data() +
                                 static_cast<std::size_t>(j) * static_cast<std::size_t>(n);
                const std::size_t firstLine = r + 2 + static_cast<std::size_t>(list) * lines;
                for (int i = 0; i < n; ++i) {
                    const std::size_t line = firstLine + static_cast<std::size_t>(i / 10);
                    target[i] = realField(curve, line, 1 + 9 * static_cast<std::size_t>(i % 10), 9, 3,
                                          "(10E9.3)", std::min(10, n - 10 * (i / 10)));
                }
            }
        }
        study.curveText = std::move(curve.text);
        study.recordStart = std::move(curve.start);
        return true;
    }

    // First-yield, plastic and ultimate moments: one block per case study, in order, each
    // opened by its option echo.
    bool readReport()
    {
        const TextFile report = readTextFile(caseName_ + ".rst");
        if (!report.exists) return fail(report.absence());
        std::vector<std::size_t> blocks;
        for (std::size_t r = 0; r < report.count(); ++r)
            if (report.record(r).substr(0, 5) == "E/B/T") blocks.push_back(r);
        for (CaseStudy& study : data_.studies) {
            const std::size_t k = static_cast<std::size_t>(study.number - 1);
            const std::string what = " of case study " + std::string(1, study.letter);
            if (k >= blocks.size()) return fail(report.name + " holds no results" + what);
            const std::size_t end = k + 1 < blocks.size() ? blocks[k + 1] : report.count();
            bool elastic = false, plastic = false, ultimate = false;
            for (std::size_t r = blocks[k]; r + 1 < end; ++r) {
                const std::string_view line = report.record(r);
                if (line.substr(0, 5) == " AREA") {
                    study.firstYieldMoment = realField(report, r + 1, 35, 11, 5, "(E9.4,2F7.0,5E11.5)", 8);
                    elastic = true;
                } else if (line.substr(0, 20) == "  PLASTIC BEND. Mom.") {
                    study.plasticMoment = realField(report, r + 1, 1, 13, 6, "(E13.6)", 1);
                    plastic = true;
                } else if (line.find("Ultimate Bending Moment") != std::string_view::npos) {
                    study.ultimateMoment = realField(report, r + 1, 31, 15, 6, "(5E15.6)", 5);
                    study.ultimateCurvature = realField(report, r + 1, 61, 15, 6, "(5E15.6)", 5);
                    ultimate = true;
                }
            }
            if (!elastic || !plastic) return fail(report.name + " holds no section properties" + what);
            if (!ultimate) return fail(report.name + " holds no ultimate bending moment" + what);
        }
        return true;
    }

    bool readNeutralAxes()
    {
        TextFile trace;
        bool traceRead = false;
        for (CaseStudy& study : data_.studies) {
            const TextFile results = readTextFile(study.resultsFileName);
            if (!results.refused.empty()) return fail(results.refused);
            if (results.exists && axisFromResultsFile(results.text, study)) {
                study.axisSource = study.resultsFileName;
                continue;
            }
            if (!traceRead) {
                trace = readTextFile("lixo.tmp");
                traceRead = true;
            }
            if (!trace.refused.empty()) return fail(trace.refused);
            if (!trace.exists) return fail("lixo.tmp not found (the neutral axis of case study " +
                                           std::string(1, study.letter) + ")");
            if (!axisFromTrace(trace.text, study.number, study))
                return fail("lixo.tmp holds no neutral axis for every step of case study " +
                            std::string(1, study.letter));
            study.axisSource = "lixo.tmp";
        }
        return true;
    }

    std::string caseName_;
    CaseData& data_;
    std::string failure_;
};

// The two lines of the option echo the calculator writes for these options.
std::array<std::string, 2> optionEcho(const calcrun::CaseOptions& o)
{
    FixedText codes(80), values(80);
    formatToText(codes, "('E/B/T',I2,10X,'SHED/CONST',I2,10X,'CORR/NO COR',I2)",
                 {o.behaviourCode, o.sheddingCode, o.corrosionCode});
    formatToText(values, "('TENS.BLOCK WIDTH=',F4.1,2X,'INITIAL DISTORSION=',F6.4,3X,'ANGLE OF HEEL=',F6.1,' DEGREE')",
                 {o.tensionBlockWidth, o.distortionCoefficient, o.heelAngle});
    return {std::string(codes.trimmed()), std::string(values.trimmed())};
}

// Parses a real without ending the program: the rows of another study's file are only compared.
bool quietReal(std::string_view field, int fraction, double& value)
{
    return records::readReal(field, fraction, value) == records::FieldStatus::ok;
}

} // namespace

std::string_view valueText(const CaseStudy& study, int elementCount, int step, int element, bool stressValue)
{
    const std::size_t lines = static_cast<std::size_t>((elementCount + 9) / 10);
    const std::size_t record = 1 + static_cast<std::size_t>(elementCount) +
                               static_cast<std::size_t>(step) * (2 + 2 * lines) + 2 +
                               (stressValue ? lines : 0) + static_cast<std::size_t>(element / 10);
    const std::size_t from = study.recordStart[record];
    std::size_t to = record + 1 < study.recordStart.size() ? study.recordStart[record + 1] : study.curveText.size();
    std::string_view line = std::string_view(study.curveText).substr(from, to - from);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return trim(columns(line, 1 + 9 * static_cast<std::size_t>(element % 10), 9));
}

bool axisFromResultsFile(std::string_view resultsText, CaseStudy& study)
{
    TextFile results;
    results.text = std::string(resultsText);
    results.start = recordStarts(results.text);
    results.exists = true;
    const auto echo = optionEcho(study.options);
    std::size_t r = 0;
    while (r < results.count() && results.record(r).substr(0, 5) != "E/B/T") ++r;
    if (r + 1 >= results.count() || trimRight(results.record(r)) != echo[0] ||
        trimRight(results.record(r + 1)) != echo[1])
        return false;
    while (r < results.count() && results.record(r).substr(0, 15) != "  N.      ANGLE") ++r;
    if (r + stepCount >= results.count()) return false;
    std::vector<StepRow> rows = study.steps;
    for (int j = 0; j < stepCount; ++j) {
        const std::string_view line = results.record(r + 1 + static_cast<std::size_t>(j));
        std::int32_t step = 0;
        double curvature = 0, mx = 0, my = 0, m = 0, x = 0, y = 0;
        if (records::readInteger(columns(line, 1, 4), step) != records::FieldStatus::ok || step != j + 1 ||
            !quietReal(columns(line, 5, 13), 4, curvature) || !quietReal(columns(line, 18, 13), 4, mx) ||
            !quietReal(columns(line, 31, 13), 4, my) || !quietReal(columns(line, 44, 13), 4, m) ||
            !quietReal(columns(line, 57, 8), 0, x) || !quietReal(columns(line, 65, 8), 0, y))
            return false;
        StepRow& row = rows[static_cast<std::size_t>(j)];
        // The same step of the same study: the values agree to the last digit written.
        if (curvature != row.curvature || mx != row.momentX || my != row.momentY || m != row.moment) return false;
        row.axisX = x;
        row.axisY = y;
        row.text[4] = trim(columns(line, 57, 8));
        row.text[5] = trim(columns(line, 65, 8));
    }
    study.steps = std::move(rows);
    return true;
}

bool axisFromTrace(std::string_view traceText, int number, CaseStudy& study)
{
    TextFile trace;
    trace.text = std::string(traceText);
    trace.start = recordStarts(trace.text);
    // Study k's iteration rows follow its k-th tripping end marker; its converged neutral axis at
    // a step is that of the step's last row (the move of a converged iteration is not applied).
    std::size_t r = 0;
    for (int seen = 0; r < trace.count(); ++r) {
        if (trimRight(trace.record(r)) == " Tripping-Fim" && ++seen == number) break;
    }
    if (r >= trace.count()) return false;
    while (r < trace.count() && !trim(trace.record(r)).empty()) ++r;
    std::vector<bool> found(stepCount, false);
    int step = 0;
    for (; r < trace.count(); ++r) {
        const std::string_view line = trace.record(r);
        if (trim(line).empty()) {
            if (++step > stepCount) break;
            continue;
        }
        std::int32_t k = 0, iteration = 0;
        double x = 0, y = 0;
        if (records::readInteger(columns(line, 1, 3), k) != records::FieldStatus::ok || k != step ||
            records::readInteger(columns(line, 4, 3), iteration) != records::FieldStatus::ok ||
            !quietReal(columns(line, 51, 8), 0, x) || !quietReal(columns(line, 59, 8), 0, y))
            break;
        StepRow& row = study.steps[static_cast<std::size_t>(step - 1)];
        row.axisX = x;
        row.axisY = y;
        row.text[4] = trim(columns(line, 51, 8));
        row.text[5] = trim(columns(line, 59, 8));
        found[static_cast<std::size_t>(step - 1)] = true;
    }
    return std::all_of(found.begin(), found.end(), [](bool f) { return f; });
}

ReadOutcome readCase(std::string_view caseName, CaseData& data)
{
    ReadOutcome outcome = CaseReader(caseName, data).read();
    if (outcome.ok) {
        setElasticFirstYield(data);
        data.assessment = readAssessment(data.caseName);
    }
    return outcome;
}

} // namespace tarnova::flexura
