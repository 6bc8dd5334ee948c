// Collaudo, the assessment of a case against its design limits: the rule check of the hull
// girder's ultimate strength in hogging and sagging, the residual strength of damaged sections,
// and the interaction of vertical and horizontal bending.
//
//   Collaudo /ships/TANKER.ana     (reads TANKER.lim beside it; headless: Collaudo ... </dev/null)
//
// Exit status: 0 after a complete run, whatever the verdicts; 1 when an input file is missing or
// wrong, CASE.lim has faults (all listed, nothing written), a study stops or a file cannot be
// written; 3 when the frame is closed with its close button.

#include "CollaudoHelp.hpp"
#include "assessment.hpp"
#include "assessmentFiles.hpp"
#include "caseFiles.hpp"
#include "interactionChart.hpp"
#include "limits.hpp"

#include "casePaths.hpp"
#include "Utilitar.hpp"
#include "utilRun.hpp"
#include "cores.hpp"
#include "display/Display.hpp"
#include "records/FixedText.hpp"
#include "replaceFile.hpp"

#include <cstdio>
#include <cstring>
#include <string>

namespace tarnova::collaudo {

namespace {

constexpr int failureStatus = 1;
constexpr std::size_t maxArgumentLength = 128 * 1024;
constexpr int passColour = 10, failColour = 12, headColour = 11, noteColour = 14, plainColour = 7;

// A failure in rows 21 to 24 and on standard error; one key acknowledges it.
void showFailure(const std::string& text)
{
    std::fprintf(stderr, "Collaudo: %s\n", text.c_str());
    int top = 0, left = 0, bottom = 0, right = 0;
    getTextWindow(top, left, bottom, right);
    setBackgroundColour(0);
    setTextColour(5);
    setTextWindow(21, 1, 24, 79);
    clearScreen(2);
    // The first lines of a long list; standard error holds all of it.
    int row = 1;
    std::size_t start = 0;
    while (start < text.size() && row <= 3) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        setTextPosition(row++, 2);
        writeText(std::string_view(text).substr(start, std::min<std::size_t>(end - start, 77)));
        start = end + 1;
    }
    setTextPosition(4, 28);
    writeText("Press any key to continue ");
    readKey();
    clearScreen(2);
    setTextWindow(top, left, bottom, right);
    setBackgroundColour(0);
    setTextColour(7);
}

[[noreturn]] void endProgram(const FixedText& startDirectory, int status)
{
    if (!changeDirectory(startDirectory.trimmed())) showFailure("Failed to change to subdirectory");
    showTextCursor(1);
    setExitBehaviour(2);
    exitProgram(status);
}

bool menuSetup()
{
    setWindowState(frameWindow, 2);
    appendMenuItem(1, 4, "&Window", windowCommand);
    appendMenuItem(1, 32, "&Full Screen  Alt+Enter", fullScreenCommand);
    appendMenuItem(1, 4, "E&xit", exitHandler);
    return true;
}

void line(int row, int colour, const std::string& text)
{
    setTextColour(colour);
    setTextPosition(row, 1);
    writeText(text.substr(0, 79));
}

// The summary: Mu in each direction, one line per row of the check with its verdict, the notes.
void drawSummary(const Assessment& a)
{
    setBackgroundColour(0);
    clearScreen(0);
    setTextWindow(1, 1, 20, 80);
    char text[160];
    line(1, headColour, "Assessment of " + a.caseName + "   (kN.m)");
    std::snprintf(text, sizeof text, "Mu sagging %s%s   Mu hogging %s%s", plain(a.sagging.ultimate, 0).c_str(),
                  a.sagging.peakReached ? "" : " (peak not reached)", plain(a.hogging.ultimate, 0).c_str(),
                  a.hogging.peakReached ? "" : " (peak not reached)");
    line(2, plainColour, text);
    std::snprintf(text, sizeof text, "first yield sagging %s (element %d)   hogging %s (element %d)",
                  plain(a.sagging.firstYield, 0).c_str(), a.sagging.firstYieldElement,
                  plain(a.hogging.firstYield, 0).c_str(), a.hogging.firstYieldElement);
    line(3, plainColour, text);
    std::snprintf(text, sizeof text, "%-10s %-12s %-8s %11s %11s %6s  %s", "case", "condition", "dir", "M", "Mu/gR",
                  "util", "verdict");
    line(4, headColour, text);
    int row = 5;
    const int lastTableRow = 20 - std::min<int>(static_cast<int>(a.notes.size()), 4) - 1;
    for (std::size_t i = 0; i < a.rows.size(); ++i) {
        const CheckRow& r = a.rows[i];
        if (row > lastTableRow) {
            std::snprintf(text, sizeof text, "... %zu more rows in %s_check.txt", a.rows.size() - i,
                          a.caseName.c_str());
            line(row++, plainColour, text);
            break;
        }
        std::snprintf(text, sizeof text, "%-10s %-12s %-8s %11s %11s %6s  %s%s", r.caseName.c_str(),
                      r.condition.c_str(), r.direction.c_str(), plain(r.moment, 0).c_str(),
                      plain(r.capacity, 0).c_str(), plain(r.utilisation, 3).c_str(), r.pass ? "PASS" : "FAIL",
                      r.peakReached ? "" : " *");
        line(row++, r.pass ? passColour : failColour, text);
    }
    ++row;
    for (std::size_t i = 0; i < a.notes.size() && row <= 20; ++i) line(row++, noteColour, a.notes[i]);
    setTextColour(7);
}

void run()
{
    const WindowConfig config = openProgramPane("Assessment");
    const int paneWidth = config.width;
    const int paneHeight = config.height;
    loadFontsInBackground();

    FixedText argument(maxArgumentLength);
    getArgument(1, argument);
    const std::string path(argument.trimmed());
    FixedText startDirectory(4096);
    if (getCurrentDirectory(startDirectory) < 1) {
        showFailure("Failed to get current directory");
        setExitBehaviour(2);
        exitProgram(failureStatus);
    }

    // Everything is named from the path as given: no change of directory is needed.
    CaseInput input;
    try {
        input = readCaseInput(path);
    } catch (const CaseInputError& error) {
        showFailure(error.what());
        endProgram(startDirectory, failureStatus);
    }
    const std::string stem = (input.directory.empty() ? std::string() : input.directory + "/") + input.name;
    const std::string limitsFile = stem + ".lim";
    if (!fileExists(limitsFile)) {
        showFailure(limitsFile + " not found (the design limits: see docs/assessment.md)");
        endProgram(startDirectory, failureStatus);
    }
    const LimitsOutcome limits = readLimits(limitsFile, static_cast<int>(input.studies.size()));
    if (!limits.faults.empty()) {
        showFailure(faultList(limits.faults, input.name + ".lim") + "nothing written");
        endProgram(startDirectory, failureStatus);
    }

    setStatusText("Running the studies...", 5);
    Assessment a;
    try {
        a = assess(input, limits.limits, 0, true);
    } catch (const std::exception& error) {
        showFailure(error.what());
        endProgram(startDirectory, failureStatus);
    }
    for (const std::string& note : a.notes) std::fprintf(stderr, "Collaudo: %s\n", note.c_str());

    std::string failed;
    for (const auto& [file, text] : {std::pair{stem + "_check.csv", checkTable(a)},
                                     std::pair{stem + "_check.txt", checkReport(a, limits.limits)},
                                     std::pair{stem + "_interaction.csv", interactionTable(a)}}) {
        std::string reason;
        if (failed.empty() && !replaceFile(file, text, &reason)) failed = file + " could not be written: " + reason;
    }
    drawInteractionChart(a, limits.limits, paneWidth, paneHeight);
    if (failed.empty() && !savePanePng(stem + "_interaction.png", paneWidth, paneHeight))
        failed = stem + "_interaction.png could not be written";
    drawSummary(a);
    if (!failed.empty()) {
        showFailure(failed);
        endProgram(startDirectory, failureStatus);
    }
    setStatusText("Finished  ", 5);
    if (!displayIsHeadless()) waitForExit();
    endProgram(startDirectory, 0);
}

} // namespace

} // namespace tarnova::collaudo

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, tarnova::collaudoHelp)) return *status;
    const tarnova::ProgramEntry entry{"Collaudo", tarnova::collaudo::menuSetup, tarnova::collaudo::run};
    return tarnova::runProgram(argc, argv, entry);
}
