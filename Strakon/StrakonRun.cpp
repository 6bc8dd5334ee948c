#include "StrakonRun.hpp"

#include "Calcrun/Calcrun.hpp"
#include "Calcrun/plausibility.hpp"
#include "casePaths.hpp"
#include "StrakonPool.hpp"
#include "StrakonScreen.hpp"
#include "StrakonSummary.hpp"
#include "resultsFileNames.hpp"
#include "Utilitar.hpp"
#include "display/Display.hpp"
#include "records/Records.hpp"
#include "records/Units.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

namespace tarnova {

namespace {

constexpr std::size_t fileNameLength = 12;
constexpr int messageNameColumn = 28;

// The first of the three input files that is empty, if any; reports it. Unit 21 stays open when
// the options file has records.
bool inputFilesHaveRecords(std::string_view caseName)
{
    struct Input {
        int unit;
        std::string_view extension;
    };
    const Input inputs[] = {{optionsUnit, ".ana"}, {geometryUnit, ".geo"}, {propertiesUnit, ".pro"}};
    for (int row = 1; row <= 3; ++row) {
        const Input& input = inputs[row - 1];
        const std::string name = std::string(caseName) + std::string(input.extension);
        openUnit(input.unit, name);
        rewindUnit(input.unit);
        const bool empty = atEndOfUnit(input.unit);
        if (input.unit != optionsUnit || empty)
            closeUnit(input.unit);
        if (empty) {
            const std::string message = name + (isDirectory(name) ? " is a directory" : " is an empty file");
            showMessage(1, 79, {{row, messageNameColumn, message},
                                {4, messageNameColumn, "Press any key to continue "}});
            setBackgroundColour(0);
            setTextColour(7);
            clearScreen(0);
            return false;
        }
    }
    return true;
}

// Title banner and the file-name line with the date (day/month/two-digit year).
void writeReportHead(const FixedText& reportFileName)
{
    writeListRecord(reportUnit, {"           TARNOVA - version 3.0 (1996)"});

    const Date today = getDate();
    FixedText day(2), month(2), year(4);
    formatToText(day, "(I2.2)", {static_cast<std::int32_t>(today.day)});
    formatToText(month, "(I2.2)", {static_cast<std::int32_t>(today.month)});
    formatToText(year, "(I4)", {static_cast<std::int32_t>(today.year)});
    const std::string line = "           File name : " + reportFileName.str() +
                             std::string(22, ' ') + day.str() + "/" + month.str() + "/" +
                             year.str().substr(2, 2);
    writeListRecord(reportUnit, {line});
}

} // namespace

int runCases(std::string_view caseName, int paneWidth, int paneHeight)
{
    resetRequests();
    loadFontsInBackground();

    if (!inputFilesHaveRecords(caseName))
        return 1;
    // An implausible value stops the run here, before any file of results is written.
    // The plates thinned by each case study's corrosion are checked when that case study reads its
    // section, so the case studies before it keep their results.
    try {
        calcrun::InputCheck plausibility(calcrun::InputCheck::Mode::stopAtFirst);
        calcrun::checkOptionsFile(plausibility, caseName);
        calcrun::checkSectionFiles(plausibility, caseName, 0, 0);
    } catch (const CaseStudyStopped& stop) {
        stopProgram(stop.what());
    }

    FixedText reportFileName(fileNameLength, std::string(caseName) + ".rst");
    openUnit(reportUnit, reportFileName.trimmed());
    rewindUnit(reportUnit);
    openUnit(traceUnit, "lixo.tmp");
    rewindUnit(traceUnit);
    const TimeOfDay start = getTimeOfDay();
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);

    // Several case studies are computed at once when the machine has the threads; their records
    // reach the files in case-study order all the same. They start before the panel's first
    // text, which waits for the fonts.
    const int threads = caseStudyThreads();
    std::unique_ptr<CaseStudyPool> pool;
    if (threads > 1)
        pool = std::make_unique<CaseStudyPool>(caseName, threads);
    selectFont("t'arial'h14w7e");

    ProgressPanel panel(paneWidth, paneHeight);
    panel.drawHead(start);

    std::int32_t caseCount = 0;
    readRecords(optionsUnit, "(I2)", {caseCount});
    writeReportHead(reportFileName);
    if (pool && pool->caseCount() != std::max(caseCount, 0))
        pool.reset();   // the options file changed under the run: one case study after another
    std::optional<CaseRunner> runner;   // for case studies run here, one after another
    if (!pool) runner.emplace();
    ResultsFileNames resultsFiles;
    for (int k = 1; k <= caseCount; ++k) {
        if (pool) {
            pool->replayCase(k, panel);
        } else {
            openUnit(curveUnit, curveFileName(caseName, k));
            rewindUnit(curveUnit);

            float result1 = 0, result2 = 0, elasticMoment = 0, plasticMoment = 0;
            try {
                runner->runCase(caseName, k, result1, result2, elasticMoment, plasticMoment, paneHeight, panel);
            } catch (const CaseStudyStopped& stop) {
                // Its message on screen and standard error, a non-zero status.
                stopProgram(stop.what());
            }
        }

        const TimeOfDay end = getTimeOfDay();
        panel.advance();
        panel.drawCase(k, end);
        if (const records::Unit* results = records::findUnit(defaultUnits().table(), caseResultsUnit)) {
            const std::string warning = resultsFiles.note(k, results->fileName);
            if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
        }
        closeUnit(caseResultsUnit);
        closeUnit(curveUnit);
        if (exitRequested.load() != 0)
            break;
    }
    pool.reset();

    // Every record is written: closing the frame at the box below ends the run normally.
    setWorkComplete(true);
    showMessageBox("CALCULATIONS FINISHED", "CALCULATIONS", 0);
    closeUnit(traceUnit);
    closeUnit(optionsUnit);
    closeUnit(reportUnit);
    // Headless, the table a user wants first goes to standard output (a window shows the panel).
    if (displayIsHeadless()) {
        const std::string reportName(reportFileName.trimmed());
        std::ifstream report(reportName);
        const std::string summary = runSummary(report, reportName);
        // The files are complete; a summary that cannot be written is still a failure to report.
        if (!summary.empty() && (std::fputs(summary.c_str(), stdout) == EOF || std::fflush(stdout) != 0)) {
            std::fprintf(stderr, "The summary could not be written to standard output: %s\n",
                         std::strerror(errno));
            return 1;
        }
    }
    return 0;
}

} // namespace tarnova
