// Pickara, the element chooser: draws every element of a calculated section by its number at its
// place, asks for one number and hands it to the viewer in "nElem.txt" in the case directory.
// Then it ends at once.
//
//   Pickara /ships/TANKER.teA        (headless: printf '7\n' | Pickara /ships/TANKER.teA)

#include "PickaraHelp.hpp"
#include "chooserLayout.hpp"
#include "chooserScreen.hpp"
#include "utilPickara.hpp"
#include "inputFile.hpp"

#include "Utilitar.hpp"
#include "cores.hpp"
#include "display/Display.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"

#include <array>
#include <cstring>
#include <span>
#include <vector>

namespace tarnova::pickara {

namespace {

constexpr int curveUnit = 1;
constexpr int handOverUnit = 222;
constexpr int failureStatus = 1;

// Element reference points (mm) and their places on the pane (pixels).
std::array<double, maxElements> positionX;
std::array<double, maxElements> positionY;
std::array<double, maxElements> screenX;
std::array<double, maxElements> screenY;

// Closes the curve file, returns to the start directory and clears the pane; the frame closes at
// once when the program ends. A run that chose nothing ends with a non-zero status.
void endSequence(const FixedText& startDirectory, int status)
{
    closeUnit(curveUnit);
    if (!changeDirectory(startDirectory.trimmed())) {
        showShortMessage(23, " Failed to change to subdirectory", "    Press any key to continue ");
    }
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
    showTextCursor(1);
    setExitBehaviour(2);
    if (status != 0) exitProgram(status);
}

// A failure that ends the chooser before the curve file is open.
[[noreturn]] void endAfterFailure()
{
    showTextCursor(1);
    setExitBehaviour(2);
    exitProgram(failureStatus);
}

void writeHandOver(int chosenElement)
{
    openUnit(handOverUnit, "nElem.txt");
    rewindUnit(handOverUnit);
    writeRecords(handOverUnit, "(I4)", {chosenElement});
    closeUnit(handOverUnit);
}

void run()
{
    // Start-up.
    showTextCursor(0);
    WindowConfig config;
    std::strcpy(config.title, "Choose Element");
    if (!configureWindow(config)) configureWindow(config);
    setWindowState(defaultUnit, 2);
    const int paneWidth = config.width;
    const int paneHeight = config.height;
    const int textColumns = config.textColumns - 1;
    const int textRows = config.textRows - 1;
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
    loadPalette();
    loadFonts();
    selectFont("t'arial'h16w10e");

    FixedText casePath(casePathLength);
    getArgument(1, casePath);
    const CaseNames names = splitCasePath(casePath.view());

    FixedText startDirectory(directoryLength);
    if (getCurrentDirectory(startDirectory) < 1) {
        showShortMessage(21, "  Failed to get current directory", "       Press any key to continue ");
        endAfterFailure();
    }
    // A bare file name gives an empty directory, which cannot be entered: the message says so
    // and the name is looked for where the program stands, as the calculator does.
    if (!changeDirectory(names.caseDirectory)) {
        // A directory that does not exist stops: going on here would show another case.
        if (const std::string stop = caseDirectoryStop(names.caseDirectory); !stop.empty()) {
            showFileMessage(1, stop);
            endAfterFailure();
        }
        showShortMessage(23, "  Failed to change to directory", "      Press any key to continue ");
    }
    if (!names.extensionPasses) {
        showFileMessage(30, names.expectedName + " not found");
        endAfterFailure();
    }
    setBackgroundColour(0);
    setTextColour(7);
    // Opening a missing file would leave an empty file of the curve file's name behind; say
    // it is not there instead.
    if (!fileExists(names.curveFileName)) {
        showFileMessage(30, names.curveFileName + " not found");
        endAfterFailure();
    }
    // A device, FIFO or socket would block or never end; a directory has no records.
    for (const std::string& name : {names.curveFileName, std::string("nElem.txt")}) {
        if (const std::string problem = inputFileProblem(name); !problem.empty()) {
            showFileMessage(1, problem);
            endAfterFailure();
        }
    }
    openUnit(curveUnit, names.curveFileName);
    rewindUnit(curveUnit);
    if (atEndOfUnit(curveUnit)) {
        showFileMessage(28, names.curveFileName +
                                (isDirectory(names.curveFileName) ? " is a directory" : " is an empty file"));
        endSequence(startDirectory, failureStatus);
        return;
    }

    // Reading the head of the curve file.
    showWaitMessage(paneWidth, paneHeight);
    setTextWindow(1, 1, textRows, textColumns);
    std::int32_t elementCount = 0;
    readRecords(curveUnit, "(I4)", {elementCount});
    if (elementCount < 1 || elementCount > maxElements) {
        showFileMessage(28, names.curveFileName + " has an element count outside 1 to 600");
        endSequence(startDirectory, failureStatus);
        return;
    }
    // One statement, one record per element: x and y of the head's element records.
    std::vector<ReadItem> items;
    items.reserve(2 * static_cast<std::size_t>(elementCount));
    for (int i = 0; i < elementCount; ++i) {
        items.emplace_back(positionX[i]);
        items.emplace_back(positionY[i]);
    }
    readRecords(curveUnit, "(2F10.1)", std::span<const ReadItem>(items));

    // The section on the pane.
    const SectionScale fit = fitSection(positionX.data(), positionY.data(), elementCount,
                                        paneWidth, paneHeight);
    for (int i = 0; i < elementCount; ++i) {
        const ScreenPoint point = screenPoint(fit, positionX[i], positionY[i]);
        screenX[i] = point.x;
        screenY[i] = point.y;
    }
    drawSection(elementCount, screenX.data(), screenY.data(), paneWidth, paneHeight);

    // The choice, handed over.
    const int chosenElement = askElement(elementCount, screenX.data(), screenY.data(), paneWidth, paneHeight);
    writeHandOver(chosenElement);
    endSequence(startDirectory, 0);
}

} // namespace

} // namespace tarnova::pickara

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, tarnova::pickaraHelp))
        return *status;
    const tarnova::ProgramEntry entry{"Pickara", &tarnova::pickara::menuSetup, &tarnova::pickara::run};
    return tarnova::runProgram(argc, argv, entry);
}
