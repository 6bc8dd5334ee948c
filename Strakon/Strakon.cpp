// Strakon: the collapse calculator. Started with the path of one of a case's files, it runs every
// case study of the case's options file in the case directory, shows the progress, and waits for
// the menu's Exit.
//
// Exit status: 0 after a complete run (or one the user cut short with Exit); 1 when an input file
// is missing, empty or not a regular file, or the case directory does not exist or cannot be read; a stop inside the calculation and an
// error of the record layer end the program at once with their own non-zero status.

#include "Calcrun/Calcrun.hpp"
#include "Calcrun/plausibility.hpp"
#include "casePaths.hpp"
#include "StrakonRun.hpp"
#include "StrakonHelp.hpp"
#include "StrakonScreen.hpp"
#include "Utilitar.hpp"
#include "cores.hpp"
#include "inputFile.hpp"
#include "display/Display.hpp"
#include "records/Records.hpp"
#include "utilRun.hpp"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

namespace tarnova {

namespace {

constexpr int failureStatus = 1;
constexpr std::size_t pathLength = 255;
constexpr std::size_t maxArgumentLength = 128 * 1024;   // the longest argument Linux passes
constexpr std::size_t fileNameLength = 12;

// The first argument whole, however long: a cut path would name another directory. The buffer
// grows until the argument no longer fills it.
std::string caseArgument()
{
    for (std::size_t length = pathLength;; length *= 2) {
        FixedText argument(length);
        if (getArgument(1, argument) < static_cast<int>(length) || length >= maxArgumentLength)
            return std::string(argument.trimmed());
    }
}

void clearWindow()
{
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
}

[[noreturn]] void endProgram(int status)
{
    clearWindow();
    showTextCursor(1);
    setExitBehaviour(2);
    exitProgram(status);
}

// Reports the input files that are missing, one row each; true when all three exist.
bool inputFilesExist(std::string_view caseName)
{
    const char* extensions[] = {".ana", ".geo", ".pro"};
    std::string lines[3];
    bool missing = false;
    for (int i = 0; i < 3; ++i) {
        const FixedText name(fileNameLength, std::string(caseName) + extensions[i]);
        if (!fileExists(name.trimmed())) {
            lines[i] = name.str() + " not found";
            missing = true;
        } else if (const std::string refusal = inputFileRefusal(name.trimmed()); !refusal.empty()) {
            lines[i] = std::string(name.trimmed()) + " " + refusal;
            missing = true;
        }
    }
    if (!missing)
        return true;
    // Rows of the files that are present stay empty.
    showMessage(1, 79, {{1, 28, lines[0]}, {2, 28, lines[1]}, {3, 28, lines[2]},
                        {4, 28, "Press any key to continue "}});
    return false;
}

void strakon()
{
    showTextCursor(0);
    WindowConfig config;
    std::snprintf(config.title, sizeof config.title, "Run");
    if (!configureWindow(config))
        configureWindow(config);
    const int paneWidth = config.width;
    const int paneHeight = config.height;
    setWindowState(defaultUnit, 2);
    clearWindow();
    loadPalette();

    const CaseLocation location = locateCase(caseArgument());

    FixedText startDirectory(4096);
    if (getCurrentDirectory(startDirectory) < 1) {
        showShortMessage(21, "  Failed to get current directory",
                         "       Press any key to continue ");
        exitProgram(failureStatus);
    }
    if (!changeDirectory(location.directory)) {
        // A directory that does not exist stops the run: going on here would compute another case.
        if (const std::string stop = caseDirectoryStop(location.directory); !stop.empty()) {
            showMessage(1, 79, {{1, 2, stop}, {2, 28, "Press any key to continue "}});
            endProgram(failureStatus);
        }
        showShortMessage(23, "  Failed to change to directory",
                         "      Press any key to continue ");
    }

    if (!inputFilesExist(location.caseName))
        endProgram(failureStatus);

    clearWindow();
    const int status = runCases(location.caseName, paneWidth, paneHeight);

    if (!changeDirectory(startDirectory.trimmed())) {
        showShortMessage(23, " Failed to change to subdirectory",
                         "    Press any key to continue ");
    }
    setStatusText("Finished  ", 5);
    waitForExit();
    clearWindow();
    showTextCursor(1);
    setExitBehaviour(2);
    if (status != 0)
        exitProgram(status);
}

// Check mode: every problem of the case's three files on standard output, nothing computed and
// nothing written. Status 0 for a clean case, 1 otherwise. The geometry warnings follow (also on
// standard error); with `strict` they count as problems.
int checkCase(std::string_view casePath, bool strict)
{
    const CaseLocation location = locateCase(casePath);
    if (!location.directory.empty() && !isDirectory(location.directory)) {
        errno = ENOENT;
        std::fprintf(stderr, "%s\n", caseDirectoryStop(location.directory).c_str());
        return failureStatus;
    }
    const std::string stem = location.directory.empty() || location.directory.back() == '/'
                                 ? location.directory + location.caseName
                                 : location.directory + "/" + location.caseName;
    calcrun::InputCheck check(calcrun::InputCheck::Mode::collectAll);
    calcrun::checkCaseFiles(check, stem);
    for (const calcrun::InputProblem& problem : check.problems())
        std::printf("%s\n", problem.text().c_str());
    std::size_t count = check.problems().size();
    SectionInput section;
    std::string unread;
    std::vector<std::string> warnings;
    if (readSectionFiles(stem, section, unread)) warnings = sectionWarnings(section);
    for (const std::string& warning : warnings) {
        std::printf("warning: %s\n", escapeControlBytes(warning).c_str());
        std::fprintf(stderr, "%s: warning: %s\n", escapeControlBytes(stem).c_str(), escapeControlBytes(warning).c_str());
    }
    if (strict) count += warnings.size();
    std::printf("%s: %zu problem%s in the .ana, .geo and .pro files\n", escapeControlBytes(stem).c_str(), count,
                count == 1 ? "" : "s");
    if (!warnings.empty())
        std::printf("%s: %zu geometry warning%s%s\n", escapeControlBytes(stem).c_str(), warnings.size(),
                    warnings.size() == 1 ? "" : "s", strict ? ", counted as problems (--strict)" : "");
    return count == 0 ? 0 : failureStatus;
}

} // namespace

} // namespace tarnova

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, tarnova::strakonHelp))
        return *status;
    // "--check [--strict] PATH" (the two options in either order, the path last or between them);
    // "--strict" means nothing without "--check". A run takes its path first, as it always has.
    bool check = false, strict = false, usage = false;
    const char* path = nullptr;
    const bool checkMode = argc >= 2 && (std::string_view(argv[1]) == "--check" || std::string_view(argv[1]) == "--strict");
    for (int i = 1; checkMode && i < argc; ++i) {
        const std::string_view a(argv[i]);
        if (a == "--check" && !check) check = true;
        else if (a == "--strict" && !strict) strict = true;
        else if (!path) path = argv[i];
        else usage = true;
    }
    if (check || strict) {
        if (!check || !path || usage) {
            std::fputs("Usage: Strakon --check [--strict] /path/CASE.ana\n", stderr);
            return 1;
        }
        return tarnova::checkCase(path, strict);
    }
    const tarnova::ProgramEntry entry{"Strakon", tarnova::menuSetup, tarnova::strakon};
    return tarnova::runProgram(argc, argv, entry);
}
