// Flexura, the whole section's collapse at a glance: the moment-curvature curve of every case
// study of a calculated case on one chart, and a collapse map of the section step by step, with
// images and tables an engineer can open elsewhere.
//
//   Flexura /ships/TANKER.ana      (after Strakon; headless: Flexura /ships/TANKER.ana </dev/null
//                                   writes every image and table and ends)
//   Flexura --report [--pdf] [--browser PATH] /ships/TANKER.ana
//                                  writes the calculation report (report.hpp) and ends
//
// Exit status: 0 after a complete run; 1 when an input file is missing or short, or an image or
// table cannot be written (in a window: the last save or report asked for failed), or the report
// or its PDF cannot be made; 2 after a record error in
// an input file; 3 when the frame is closed with its close button (the program counts as busy
// while it waits for keys; Window > Exit ends it normally).

#include "FlexuraHelp.hpp"
#include "caseInputs.hpp"
#include "caseOutputs.hpp"
#include "collapseMap.hpp"
#include "curvellaLaunch.hpp"
#include "interactionScreen.hpp"
#include "mapNavigation.hpp"
#include "momentChart.hpp"
#include "report.hpp"
#include "inputFile.hpp"
#include "records/Records.hpp"

#include "casePaths.hpp"
#include "Utilitar.hpp"
#include "utilRun.hpp"
#include "cores.hpp"
#include "display/Display.hpp"
#include "records/FixedText.hpp"

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tarnova::flexura {

namespace {

constexpr int failureStatus = 1;
constexpr std::size_t maxArgumentLength = 128 * 1024;   // the longest argument Linux passes

CaseData data;      // large: held for the whole run, outside any stack
ReportRequest reportRequest;   // from the command line, before the program starts
constexpr int reportKeyCode = 252;   // posted by File > Write calculation report

// A failure in rows 21 to 24, also on standard error; one key acknowledges it.
void showFailure(std::string_view text)
{
    int top = 0, left = 0, bottom = 0, right = 0;
    getTextWindow(top, left, bottom, right);
    setBackgroundColour(0);
    setTextColour(5);
    setTextWindow(21, 1, 24, 79);
    clearScreen(2);
    setTextPosition(1, 2);
    writeText(text);
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
    if (!changeDirectory(startDirectory.trimmed())) {
        showFailure("Failed to change to subdirectory");
    }
    showTextCursor(1);
    setExitBehaviour(2);
    exitProgram(status);
}

void saveHandler(bool)
{
    postKey(0, saveKeyCode);
}

void flexuraExitHandler(bool checked)
{
    exitHandler(checked);
    postKey(0, exitKeyCode);
}

bool menuSetup()
{
    setWindowState(frameWindow, 2);
    appendMenuItem(1, 4, "&Window", windowCommand);
    appendMenuItem(1, 32, "&Full Screen  Alt+Enter", fullScreenCommand);
    appendMenuItem(1, 4, "E&xit", flexuraExitHandler);
    appendMenuItem(2, 4, "&File", nullptr);
    appendMenuItem(2, 4, "&Save images and tables", saveHandler);
    appendMenuItem(2, 4, "Write calculation &report", [](bool) { postKey(0, reportKeyCode); });
    return true;
}

// The status line's running text as last set; the threads that wait for Curvella runs read it.
std::mutex statusMutex;
std::string statusShown;

void showStatus(const std::string& text)
{
    std::lock_guard lock(statusMutex);
    statusShown = text;
    setStatusText(text, 5);
}

// Hands the element to Curvella. When that run ends its message gives way to what the status
// line said before, and the frame takes the keyboard back from Curvella's closed window.
void handOver(const std::string& curvePath, int element)
{
    std::string before;
    {
        std::lock_guard lock(statusMutex);
        before = statusShown;
    }
    auto message = std::make_shared<std::string>();
    auto ended = [message, before] {
        {
            std::lock_guard lock(statusMutex);
            if (statusShown == *message) {
                statusShown = before;
                setStatusText(before, 5);
            }
        }
        takeKeyboardFocus();
    };
    std::lock_guard lock(statusMutex);
    *message = openInCurvella(curvePath, element, ended);
    statusShown = *message;
    setStatusText(*message, 5);
}

void drawScreen(const ViewState& view, const MapLayout& layout, int paneWidth, int paneHeight)
{
    if (view.screen == Screen::chart) drawMomentChart(data, paneWidth, paneHeight);
    else if (view.screen == Screen::interaction) drawInteractionScreen(data, paneWidth, paneHeight);
    else drawCollapseMap(data, layout, view.map, paneWidth, paneHeight);
}

// The window: the chart first, then the keys until Exit. False when the last request to save
// the images and tables failed (the run then ends with a failure status).
// File > Write calculation report: the report, and its PDF when a browser is found; then the
// screen shown is drawn again.
bool writeReportFromMenu(const ViewState& view, int paneWidth, int paneHeight)
{
    setStatusText("Writing the calculation report...", 5);
    std::string failed = writeReport(data, paneWidth, paneHeight);
    if (failed.empty()) failed = printReportPdf(data, {});
    drawScreen(view, mapLayout(data, paneWidth, paneHeight), paneWidth, paneHeight);
    setStatusText(failed.empty() ? reportPdfName(data) + " and " + reportHtmlName(data) + " written" : failed, 5);
    if (!failed.empty()) std::fprintf(stderr, "Flexura: %s\n", failed.c_str());
    return failed.empty();
}

bool interact(const std::string& directory, int paneWidth, int paneHeight)
{
    bool saved = true;
    const MapLayout layout = mapLayout(data, paneWidth, paneHeight);
    ViewState view;
    view.map.step = data.studies.front().ultimateStep;
    drawScreen(view, layout, paneWidth, paneHeight);
    showStatus(data.assessment.present() ? "Tab: chart / collapse map / interaction" : "Tab: chart / collapse map");
    // In a window the mouse chooses too: a click on an element of the map, a double click hands
    // it to Curvella.
    const bool pointer = !displayIsHeadless();
    if (pointer) setPointerInput(true);
    while (exitRequested.load() == 0) {
        // Waiting for the user with every file whole: closing the frame ends the run normally,
        // unless the last save failed.
        setWorkComplete(saved);
        Action action = Action::none;
        if (pointer) {
            const InputEvent input = readInput();
            if (input.kind != InputEvent::Kind::key && input.kind != InputEvent::Kind::press) continue;
            reapFinishedChildren();
            if (input.kind == InputEvent::Kind::key && input.character == 0 && input.code == reportKeyCode) {
                saved = writeReportFromMenu(view, paneWidth, paneHeight);
                continue;
            }
            action = input.kind == InputEvent::Kind::press
                         ? applyClick(view, data, layout, input.x, input.y, input.clicks >= 2)
                         : applyKey(view, data, input.character, input.code);
        } else {
            int character = readKey(), code = 0;
            if (character == 0) code = readKey();
            reapFinishedChildren();
            if (character == 0 && code == reportKeyCode) {
                saved = writeReportFromMenu(view, paneWidth, paneHeight);
                continue;
            }
            action = applyKey(view, data, character, code);
        }
        switch (action) {
        case Action::none: break;
        case Action::redraw:
            drawScreen(view, layout, paneWidth, paneHeight);
            if (view.screen == Screen::map && view.map.selected >= 0) {
                const CaseStudy& study = data.studies[static_cast<std::size_t>(view.map.study)];
                showStatus(elementDescription(data, study, view.map.step, view.map.selected));
            }
            break;
        case Action::noElement: showStatus("Choose an element first: Up and Down, or a click"); break;
        case Action::openCurvella: {
            const CaseStudy& study = data.studies[static_cast<std::size_t>(view.map.study)];
            const std::string path = (directory.empty() ? std::string(".") : directory) + "/" + study.curveFileName;
            handOver(path, view.map.selected + 1);
            break;
        }
        case Action::save: {
            showStatus("Writing images and tables...");
            std::string reason;
            const std::string failed = writeOutputs(data, paneWidth, paneHeight, &reason);
            drawScreen(view, layout, paneWidth, paneHeight);
            saved = failed.empty();
            const std::string message = failed + " could not be written: " + reason;
            showStatus(saved ? "Images and tables written" : message);
            if (!saved) std::fprintf(stderr, "%s\n", escapeControlBytes(message).c_str());
            break;
        }
        case Action::exit: return saved;
        }
    }
    return saved;
}

// Flexura --report: the report (and its PDF) of the case, then the end.
[[noreturn]] void reportOnly(const FixedText& startDirectory, int paneWidth, int paneHeight)
{
    std::string failed = writeReport(data, paneWidth, paneHeight);
    if (failed.empty()) std::fprintf(stdout, "%s written\n", reportHtmlName(data).c_str());
    if (failed.empty() && reportRequest.pdf) {
        failed = printReportPdf(data, reportRequest.browser);
        if (failed.empty()) std::fprintf(stdout, "%s written\n", reportPdfName(data).c_str());
    }
    if (!failed.empty()) {
        std::fprintf(stderr, "Flexura: %s\n", failed.c_str());
        if (!displayIsHeadless()) showFailure(failed);
        endProgram(startDirectory, failureStatus);
    }
    endProgram(startDirectory, 0);
}

void run()
{
    const WindowConfig config = openProgramPane("Section Collapse");
    const int paneWidth = config.width;
    const int paneHeight = config.height;
    loadMapColours();
    loadFonts();
    selectFont("t'arial'h14w7e");

    FixedText argument(maxArgumentLength);
    getArgument(1, argument);
    const CaseLocation location = locateCase(argument.trimmed());

    FixedText startDirectory(4096);
    if (getCurrentDirectory(startDirectory) < 1) {
        showFailure("Failed to get current directory");
        setExitBehaviour(2);
        exitProgram(failureStatus);
    }
    // A bare file name gives an empty directory, which cannot be entered: the message says so
    // and the case is looked for where the program stands, as the other programs do.
    if (!changeDirectory(location.directory)) {
        // A directory that does not exist stops: going on here would show another case.
        if (const std::string stop = caseDirectoryStop(location.directory); !stop.empty()) {
            showFailure(stop);
            setExitBehaviour(2);
            exitProgram(failureStatus);
        }
        showFailure("Failed to change to directory");
    }
    std::string directory(startDirectory.trimmed());
    if (!location.directory.empty()) {
        FixedText here(4096);
        if (getCurrentDirectory(here) > 0) directory = std::string(here.trimmed());
    }

    if (location.caseName.empty()) {
        showFailure("No case name in the path given: Flexura /path/CASE.ana");
        endProgram(startDirectory, failureStatus);
    }
    const ReadOutcome outcome = readCase(location.caseName, data);
    if (!outcome.ok) {
        showFailure(outcome.failure);
        endProgram(startDirectory, failureStatus);
    }

    if (reportRequest.report) reportOnly(startDirectory, paneWidth, paneHeight);
    if (displayIsHeadless()) {
        std::string reason;
        const std::string failed = writeOutputs(data, paneWidth, paneHeight, &reason);
        if (!failed.empty()) {
            showFailure(failed + " could not be written: " + reason);
            endProgram(startDirectory, failureStatus);
        }
        endProgram(startDirectory, 0);
    }
    const bool saved = interact(directory, paneWidth, paneHeight);
    endProgram(startDirectory, saved ? 0 : failureStatus);
}

} // namespace

} // namespace tarnova::flexura

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, tarnova::flexuraHelp))
        return *status;
    // The report's options are taken out; the rest is the classic command line.
    tarnova::flexura::ParsedArguments parsed = tarnova::flexura::parseReportArguments(argc, argv);
    if (!parsed.failure.empty()) {
        std::fprintf(stderr, "Flexura: %s\n", parsed.failure.c_str());
        return 1;
    }
    tarnova::flexura::reportRequest = parsed.request;
    std::vector<char*> kept;
    for (std::string& argument : parsed.kept) kept.push_back(argument.data());
    kept.push_back(nullptr);
    const tarnova::ProgramEntry entry{"Flexura", tarnova::flexura::menuSetup, tarnova::flexura::run};
    return tarnova::runProgram(static_cast<int>(kept.size()) - 1, kept.data(), entry);
}
