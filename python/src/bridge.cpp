// The bridge's calls on the engine: reading a case's files into plain values, running its case
// studies from memory on several threads, and running them with their files as the calculator
// does. Nothing here touches Python.

#include "bridge.hpp"
#include "inputFile.hpp"

#include "Engine.hpp"
#include "casePaths.hpp"
#include "resultsFileNames.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <exception>
#include <optional>
#include <regex>
#include <thread>

namespace tarnova::python {

namespace {

using calcrun::curveUnit;
using calcrun::elementFormat;
using calcrun::geometryUnit;
using calcrun::optionFormat;
using calcrun::optionsUnit;
using calcrun::propertiesUnit;
using calcrun::reportUnit;
using calcrun::traceUnit;
using calcrun::materialSetCount;

// The case directory (ending in "/" unless it is the current one) and case name of a path, as
// the calculator takes them.
struct CasePath {
    std::string directory;
    std::string name;
};

CasePath casePath(const std::string& path)
{
    CaseLocation location = locateCase(path);
    CasePath c{std::move(location.directory), std::move(location.caseName)};
    if (!c.directory.empty() && c.directory.back() != '/') c.directory += '/';
    return c;
}

// A stop of the engine as the Python exception it becomes: the calculation's own stops (no
// equilibrium, nul area) name where in the run they happened; every other stop rejects input.
[[noreturn]] void rethrowStop(const std::string& message)
{
    static const std::regex where(R"(\(case study (\d+), (?:step (\d+)|section properties)\))");
    std::smatch m;
    if (std::regex_search(message, m, where)) {
        throw CollapseStop(message, std::stoi(m[1].str()), m[2].matched ? std::stoi(m[2].str()) : 0);
    }
    throw InputError(message);
}

// Runs `body` and turns the engine's and the record layer's exceptions into the bridge's.
template <typename Body>
auto translated(Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (const CaseStudyStopped& stop) {
        rethrowStop(stop.what());
    } catch (const RecordError& error) {
        // A record that cannot be read is bad input; a file that cannot be opened, written or
        // closed is the system's failure.
        const std::string report = error.what();
        if (report.starts_with("Run-time error in READ") || report.starts_with("Run-time error in EOF"))
            throw InputError(report);
        throw FileError(report);
    }
}

ElementRecord elementOf(const SectionColumns& s, std::size_t i)
{
    const auto& r = s.reals;
    return {r[0][i], r[1][i], r[2][i], r[3][i], r[4][i], r[5][i], r[6][i], r[7][i], r[8][i], r[9][i],
            r[10][i], r[11][i], s.orientation[i], s.kind[i]};
}

CaseOptionsInput optionsOf(const StudyOptions& o)
{
    return {o.behaviour, o.shedding, o.corrosion, o.tensionBlockWidth, o.heel, o.distortion, o.spare};
}

SectionInput sectionOf(const CaseData& data)
{
    SectionInput section;
    section.title = data.title;
    section.headings = data.headings;
    section.firstHeaderValue = data.header[0];
    section.breadth = data.header[1];
    section.depth = data.header[2];
    for (std::size_t i = 0; i < data.section.count(); ++i) section.elements.push_back(elementOf(data.section, i));
    for (std::size_t k = 0; k < data.yieldStress.size(); ++k)
        section.materials.push_back({data.yieldStress[k], data.youngsModulus[k]});
    return section;
}

StudyResult resultOf(int study, const StudyOptions& options, CaseStudyResult&& r)
{
    StudyResult out;
    out.study = study;
    out.options = options;
    for (std::size_t k = 0; k < r.steps.size() && k < static_cast<std::size_t>(stepCount); ++k) {
        const StepOutput& s = r.steps[k];
        out.curvature[k] = s.curvature;
        out.momentX[k] = s.momentX;
        out.momentY[k] = s.momentY;
        out.moment[k] = s.moment;
        out.axisX[k] = s.neutralAxisX;
        out.axisY[k] = s.neutralAxisY;
    }
    out.ultimateMoment = r.ultimate.moment;
    out.ultimateMomentX = r.ultimate.momentX;
    out.ultimateMomentY = r.ultimate.momentY;
    out.ultimateCurvature = r.ultimate.curvature;
    out.sectionModulus = r.ultimate.sectionModulus;
    const SectionPropertiesOutput& p = r.properties;
    out.area = p.sectionArea;
    out.neutralAxisX = p.neutralAxisX;
    out.neutralAxisY = p.neutralAxisY;
    out.verticalInertia = p.verticalBendingInertia;
    out.horizontalInertia = p.horizontalBendingInertia;
    out.deckModulus = p.deckModulus;
    out.bottomModulus = p.bottomModulus;
    out.elasticMoment = p.elasticMoment;
    out.plasticMoment = p.plasticMoment;
    out.plasticNeutralAxis = p.plasticNeutralAxis;
    out.strainRatio = std::move(r.strainRatio);
    out.stress = std::move(r.elementStress);
    out.warnings = std::move(r.warnings);
    return out;
}

int threadCount(int requested, std::size_t jobs)
{
    int n = requested > 0 ? requested : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(n), std::max<std::size_t>(jobs, 1)));
}

// Runs job(i) for i in [0, count) on up to `threads` threads; the first exception by index is
// rethrown once all are done.
template <typename Job>
void parallel(std::size_t count, int threads, Job&& job)
{
    std::vector<std::exception_ptr> errors(count);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                job(i);
            } catch (...) {
                errors[i] = std::current_exception();
            }
        }
    };
    const int n = threadCount(threads, count);
    std::vector<std::thread> pool;
    for (int t = 1; t < n; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    for (const std::exception_ptr& e : errors)
        if (e) std::rethrow_exception(e);
}

// The report's title banner and its file-name line with the date (day/month/two-digit year).
void writeReportHead(RecordUnits& units, const std::string& reportFileName)
{
    units.writeListRecord(reportUnit, {"           TARNOVA - version 3.0 (1996)"});
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[40];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", local.tm_mday, local.tm_mon + 1, (local.tm_year + 1900) % 100);
    const FixedText name(12, reportFileName);
    units.writeListRecord(reportUnit, {"           File name : " + name.str() + std::string(22, ' ') + date});
}

// A missing file, or one that is no regular file (a directory, device, FIFO or socket would block
// or never end) or beyond the size limit: refused before it is opened.
void requireFile(const std::string& file)
{
    if (!fileExists(file)) throw MissingFile(file + " not found");
    if (const std::string problem = inputFileProblem(file); !problem.empty()) throw InputError(problem);
}

} // namespace

CaseData readCase(const std::string& path)
{
    const CasePath where = casePath(path);
    const std::string stem = where.directory + where.name;
    const std::string options = stem + ".ana", geometry = stem + ".geo", properties = stem + ".pro";
    for (const std::string& file : {options, geometry, properties}) requireFile(file);

    return translated([&] {
        CaseData data;
        data.name = where.name;
        RecordUnits units;  // errors come back as RecordError
        units.openForReading(optionsUnit, options, 0);
        if (units.atEndOfUnit(optionsUnit)) throw InputError(options + " is an empty file");
        std::int32_t count = 0;
        units.readRecords(optionsUnit, "(I2)", {count});
        for (int k = 1; k <= count; ++k) {
            StudyOptions o;
            units.readRecords(optionsUnit, optionFormat,
                              {o.behaviour, o.shedding, o.corrosion, o.tensionBlockWidth, o.heel, o.distortion,
                               o.spare});
            data.studies.push_back(o);
        }

        units.openForReading(geometryUnit, geometry, 0);
        if (units.atEndOfUnit(geometryUnit)) throw InputError(geometry + " is an empty file");
        FixedText title(80), headings(80);
        std::int32_t declared = 0;
        units.readRecords(geometryUnit, "(A80)", {title});
        units.readRecords(geometryUnit, "(3F10.1)", {data.header[0], data.header[1], data.header[2]});
        units.readRecords(geometryUnit, "(I4)", {declared});
        units.readRecords(geometryUnit, "(A80)", {headings});
        data.title = title.str();
        data.headings = headings.str();
        SectionColumns& s = data.section;
        int largestSet = 1;
        while (!units.atEndOfUnit(geometryUnit)) {
            std::array<float, realColumns> r{};
            std::int32_t orientation = 0, kind = 0;
            units.readRecords(geometryUnit, elementFormat,
                              {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9], r[10], r[11], orientation,
                               kind});
            for (int c = 0; c < realColumns; ++c) s.reals[static_cast<std::size_t>(c)].push_back(r[static_cast<std::size_t>(c)]);
            s.orientation.push_back(orientation);
            s.kind.push_back(kind);
            // A set the run will reject (not a whole number from 1 to 5) asks for no record.
            if (r[7] >= 1.0f && r[7] <= static_cast<float>(materialSetCount) && r[7] == std::trunc(r[7]))
                largestSet = std::max(largestSet, static_cast<int>(r[7]));
        }
        if (static_cast<std::int32_t>(s.count()) != declared) {
            throw InputError(geometry + " declares " + std::to_string(declared) + " element records and holds " +
                             std::to_string(s.count()));
        }

        units.openForReading(propertiesUnit, properties, 0);
        if (units.atEndOfUnit(propertiesUnit)) throw InputError(properties + " is an empty file");
        for (int k = 1; k <= largestSet; ++k) {
            float yieldStress = 0, youngsModulus = 0;
            units.readRecords(propertiesUnit, "(2F10.1)", {yieldStress, youngsModulus});
            data.yieldStress.push_back(yieldStress);
            data.youngsModulus.push_back(youngsModulus);
        }
        units.closeAllUnits();
        return data;
    });
}

std::vector<StudyResult> runCase(const CaseData& data, int threads)
{
    if (data.studies.empty()) throw InputError("the case has no case studies");
    const std::size_t count = data.section.count();
    for (const auto& column : data.section.reals)
        if (column.size() != count) throw InputError("the section's columns differ in length");
    if (data.section.kind.size() != count) throw InputError("the section's columns differ in length");
    if (data.yieldStress.size() != data.youngsModulus.size())
        throw InputError("yield stresses and Young's moduli differ in number");
    if (data.yieldStress.size() > static_cast<std::size_t>(materialSetCount))
        throw InputError("more than " + std::to_string(materialSetCount) + " property sets");

    const SectionInput section = sectionOf(data);
    std::vector<StudyResult> results(data.studies.size());
    parallel(data.studies.size(), threads, [&](std::size_t i) {
        const int study = static_cast<int>(i) + 1;
        // The engine holds the case to the table of ranges; a rejection names the element and the field.
        results[i] = resultOf(study, data.studies[i],
                              translated([&] { return runCaseStudy(section, optionsOf(data.studies[i]), study); }));
    });
    return results;
}

std::vector<SampleOutcome> runSamples(const CaseData& data, const std::vector<SampledColumn>& sampled,
                                      std::size_t samples, int threads)
{
    std::vector<SampleOutcome> outcomes(samples);
    parallel(samples, threads, [&](std::size_t i) {
        CaseData run = data;
        for (const SampledColumn& c : sampled) {
            std::vector<float>& column = c.column == yieldStressColumn     ? run.yieldStress
                                         : c.column == youngsModulusColumn ? run.youngsModulus
                                                                           : run.section.reals[static_cast<std::size_t>(c.column)];
            const float* row = c.values.data() + i * column.size();
            std::copy(row, row + column.size(), column.begin());
        }
        try {
            // One thread per sample: the samples themselves are shared among the threads.
            for (const StudyResult& r : runCase(run, 1)) outcomes[i].ultimateMoments.push_back(r.ultimateMoment);
        } catch (const CollapseStop& e) {
            outcomes[i].ultimateMoments.clear();
            outcomes[i].stop = e.what();
        }
    });
    return outcomes;
}

std::vector<StudyResult> runCaseFiles(const std::string& path, int threads)
{
    const CasePath where = casePath(path);
    // Every unit works in the case directory, named absolutely, so that no relative name is
    // taken twice (once by a capturing table, once by the replay).
    std::string directory = std::filesystem::absolute(where.directory.empty() ? "." : where.directory).string();
    const std::string& name = where.name;
    const std::string options = name + ".ana", geometry = name + ".geo", properties = name + ".pro";
    for (const std::string& file : {options, geometry, properties}) requireFile(where.directory + file);

    return translated([&] {
        RecordUnits files;  // errors come back as RecordError
        files.setDirectory(directory);
        // The calculator's checks: the first empty input file ends the run before any output.
        for (const auto& [unit, file] : {std::pair{optionsUnit, options}, std::pair{geometryUnit, geometry},
                                          std::pair{propertiesUnit, properties}}) {
            files.openForReading(unit, file, 0);
            const bool empty = files.atEndOfUnit(unit);
            files.closeUnit(unit);
            if (empty) throw InputError(file + " is an empty file");
        }
        files.openForReading(optionsUnit, options, 0);
        std::int32_t caseCount = 0;
        files.openUnit(reportUnit, name + ".rst");
        files.rewindUnit(reportUnit);
        files.openUnit(traceUnit, "lixo.tmp");
        files.rewindUnit(traceUnit);
        files.readRecords(optionsUnit, "(I2)", {caseCount});
        writeReportHead(files, name + ".rst");
        files.closeUnit(optionsUnit);
        // The calculator then ends with the report's head alone; here as in memory, no case study
        // is no result.
        if (caseCount < 1) {
            files.closeAllUnits();
            throw InputError(options + ": the case has no case studies (case count " + std::to_string(caseCount) + ")");
        }

        // Each case study computes in a capturing table of its own; their records are then
        // written in case-study order, so the files are those of a one-thread run.
        struct Captured {
            RecordUnits::Journal journal;
            std::optional<CaseStudyResult> result;
            std::exception_ptr error;
        };
        const std::size_t count = caseCount > 0 ? static_cast<std::size_t>(caseCount) : 0;
        std::vector<Captured> captured(count);
        std::vector<StudyOptions> studyOptions(count);
        parallel(count, threads, [&](std::size_t i) {
            const int k = static_cast<int>(i) + 1;
            Captured& c = captured[i];
            RecordUnits units(RecordUnits::Mode::capture);
            units.setDirectory(directory);
            try {
                // The option records before this case study's own are read past; the count first.
                // The element curve file first: the calculator leaves it, empty, when the option
                // record cannot be read.
                units.openUnit(curveUnit, curveFileName(name, k));
                units.rewindUnit(curveUnit);
                units.openForReading(optionsUnit, options, static_cast<long>(k));
                StudyOptions& o = studyOptions[i];
                units.readRecords(optionsUnit, optionFormat,
                                  {o.behaviour, o.shedding, o.corrosion, o.tensionBlockWidth, o.heel, o.distortion,
                                   o.spare});
                units.openForReading(optionsUnit, options, 1);
                c.result = runCaseStudyFiles(units, name, k);
            } catch (...) {
                c.error = std::current_exception();
            }
            c.journal = units.takeJournal();
        });

        std::vector<StudyResult> results;
        ResultsFileNames resultsFiles;
        for (std::size_t i = 0; i < count; ++i) {
            files.replay(captured[i].journal);
            if (captured[i].error) {
                files.closeAllUnits();
                std::rethrow_exception(captured[i].error);
            }
            const int k = static_cast<int>(i) + 1;
            results.push_back(resultOf(k, studyOptions[i], std::move(*captured[i].result)));
            // As the calculator does: say when a later case study rewrote an earlier one's file.
            const StudyOptions& o = studyOptions[i];
            const std::string warning = resultsFiles.note(
                k, calcrun::caseResultsFileName({o.behaviour, o.shedding, o.corrosion, o.tensionBlockWidth, o.heel,
                                                 o.distortion, o.spare}));
            if (!warning.empty()) {
                std::fprintf(stderr, "%s\n", warning.c_str());
                results.back().warnings.push_back(warning);
            }
        }
        files.closeAllUnits();
        return results;
    });
}

std::string formatRecord(const std::string& format, const std::vector<double>& values, const std::vector<bool>& whole)
{
    std::vector<WriteItem> items;
    items.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (whole[i]) items.emplace_back(static_cast<std::int32_t>(values[i]));
        else items.emplace_back(static_cast<float>(values[i]));
    }
    FixedText text(1024);
    translated([&] {
        formatToText(text, format, std::span<const WriteItem>(items));
        return 0;
    });
    std::string out(text.trimmed());
    return out;
}

} // namespace tarnova::python
