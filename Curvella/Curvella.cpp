// Curvella, the element behaviour viewer: reads the element chosen in "nElem.txt", its history
// from the case's element curve file and its dimensions from the geometry file, draws its
// stress against strain ratio with a key plan and a data panel, and leaves the listing
// "Element.NNN" and the image "ElemNNN.bmp" in the case directory.
//
//   Curvella <path of the element curve file> [display mode: 1 dark scheme]

#include "CaseNames.hpp"
#include "CurvellaHelp.hpp"
#include "ElementListing.hpp"
#include "ElementScreen.hpp"
#include "ViewerInput.hpp"
#include "ViewerMessages.hpp"
#include "inputFile.hpp"

#include "Utilitar.hpp"
#include "cores.hpp"
#include "display/Display.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"
#include "utilRun.hpp"

#include <cstdio>
#include <cstring>
#include <string>

namespace tarnova {

namespace {

constexpr int failureStatus = 1;

ElementData data;       // the tables are large: held for the whole run, outside any stack
ScreenSettings screen;
int exitStatus = 0;     // becomes failureStatus when a failure ends the run or loses a file
std::string finishedText = "Finished  ";    // the status line while the viewer waits for Exit

void configureViewerWindow()
{
    WindowConfig config;
    std::strncpy(config.title, "Element Behaviour", sizeof config.title - 1);
    if (!configureWindow(config)) configureWindow(config);
    screen.paneWidth = config.width;
    screen.paneHeight = config.height;
}

void drawWaitMessage()
{
    selectFont("t'arial'h16w10e");
    setBackgroundColour(0);
    clearScreen(0);
    moveTo(static_cast<int>((screen.paneWidth - 200) / 2.0), static_cast<int>(screen.paneHeight / 4.0));
    setColour(3);
    drawGraphicText("WAIT A MOMENT PLEASE");
    moveTo(static_cast<int>((screen.paneWidth - 160) / 2.0),
           static_cast<int>(screen.paneHeight - screen.paneHeight / 4.0));
    setColour(12);
    drawGraphicText("READING FILES...");
}

// Checks the two input files just opened; false (after the message) when either is empty or
// the curve file's element count does not fit the tables.
bool inputsReadable(std::string_view curveName, std::string_view geometryName)
{
    const bool curveEmpty = atEndOfUnit(curveUnit);
    const bool geometryEmpty = atEndOfUnit(geometryUnit);
    if (curveEmpty || geometryEmpty) {
        // A directory in place of a file has no records either; say which it is.
        const auto emptyText = [](std::string_view name) {
            return std::string(name) + (isDirectory(name) ? " is a directory" : " is an empty file");
        };
        showFileMessage(5, 28, curveEmpty ? emptyText(curveName) : "", geometryEmpty ? emptyText(geometryName) : "");
        return false;
    }
    data.elementCount = readElementCount();
    if (data.elementCount < 1 || data.elementCount > maxElements) {
        const char* what = data.elementCount < 1 ? " holds no elements" : " holds more than 600 elements";
        showFileMessage(5, 28, std::string(curveName) + what, "");
        return false;
    }
    return true;
}

// A failure that ends the viewer before its files are open; the frame closes at once.
[[noreturn]] void endAfterFailure()
{
    setExitBehaviour(2);
    exitProgram(failureStatus);
}

[[noreturn]] void endSequence(std::string_view startDirectory)
{
    closeUnit(geometryUnit);
    closeUnit(curveUnit);
    // The viewer's work is done by now; a start directory that cannot be entered again is
    // reported and does not make the run a failure.
    if (!changeDirectory(startDirectory)) {
        showDirectoryMessage(23, " Failed to change to subdirectory", "    Press any key to continue ");
    }
    setStatusText(finishedText, 5);
    waitForExit();
    setBackgroundColour(0);
    setTextColour(7);
    showTextCursor(1);
    setExitBehaviour(2);
    exitProgram(exitStatus);
}

void runViewer()
{
    showTextCursor(0);
    configureViewerWindow();
    setWindowState(defaultUnit, 2);
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
    loadPalette();
    resetRequests();
    loadFonts();
    selectFont("t'arial'h14w7e");

    FixedText casePath(255);
    FixedText displayModeText(80);
    getArgument(1, casePath);
    getArgument(2, displayModeText);
    const CasePathParts parts = splitCasePath(casePath.view());
    const std::string& curveName = parts.curveFileName;
    const ParsedInteger mode = textToInteger(displayModeText.view());
    if (mode.ok) screen.displayMode = mode.value;

    FixedText startDirectory(255);
    if (getCurrentDirectory(startDirectory) < 1) {
        showDirectoryMessage(21, "  Failed to get current directory", "       Press any key to continue ");
        setBackgroundColour(0);
        setTextColour(7);
        endAfterFailure();
    }
    // A bare file name gives an empty directory, which cannot be entered: the message says so
    // and the run goes on where the program stands, as the calculator does.
    if (!changeDirectory(parts.directory)) {
        // A directory that does not exist stops: going on here would show another case.
        if (const std::string stop = caseDirectoryStop(parts.directory); !stop.empty()) {
            showFileMessage(12, 1, stop, "");
            showTextCursor(1);
            endAfterFailure();
        }
        showDirectoryMessage(23, "  Failed to change to directory", "      Press any key to continue ");
    }

    const ExtensionCheck extension = checkExtension(curveName);
    if (!extension.passes) {
        showFileMessage(12, 30, extension.expectedName + " not found", "");
        showTextCursor(1);
        endAfterFailure();
    }

    // A device, FIFO or socket would block or never end: refused before anything is opened.
    {
        std::string problems[2];
        int found = 0;
        for (const std::string& name : {curveName, geometryFileName(curveName), std::string("nElem.txt")}) {
            const std::string problem = inputFileProblem(name);
            if (!problem.empty() && found < 2) problems[found++] = problem;
        }
        if (found > 0) {
            showFileMessage(12, 1, problems[0], problems[1]);
            showTextCursor(1);
            endAfterFailure();
        }
    }
    data.chosenElement = readChosenElement();
    openUnit(curveUnit, curveName);
    rewindUnit(curveUnit);
    const std::string geometryName = geometryFileName(curveName);
    openUnit(geometryUnit, geometryName);
    rewindUnit(geometryUnit);
    if (!inputsReadable(curveName, geometryName)) {
        exitStatus = failureStatus;
        endSequence(startDirectory.trimmed());
    }

    drawWaitMessage();
    readCurveTables(data);
    selectChosenCurve(data);
    readDimensions(data);

    writeListingHead(data, shipName(curveName));
    const bool imageSaved = showElement(data, curveName, screen);
    closeUnit(listingUnit);
    if (!imageSaved) {
        // The element screen stays as drawn: the failure goes to the status line and to
        // standard error, and the run ends with a failure status.
        const std::string message = elementImageName(data.chosenElement) + " could not be written";
        finishedText = message;
        std::fprintf(stderr, "%s\n", escapeControlBytes(message).c_str());
        exitStatus = failureStatus;
    }

    endSequence(startDirectory.trimmed());
}

} // namespace

} // namespace tarnova

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, tarnova::curvellaHelp))
        return *status;
    const tarnova::ProgramEntry entry{"Curvella", tarnova::menuSetup, tarnova::runViewer};
    return tarnova::runProgram(argc, argv, entry);
}
