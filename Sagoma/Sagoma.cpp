// Sagoma, the section builder: reads a section description (CASE.sec) and writes CASE.geo,
// CASE.pro and CASE.ana beside it, each through a temporary renamed over its name, and nothing
// at all when the description has an error or a case file exists without --force. Then it
// draws the section: CASE_section.png always, and in a window the section itself, zoomed with the
// wheel (or Ctrl and + or -) and moved by dragging (or Ctrl and the arrows) until Window > Exit.
//
//   Sagoma /ships/TANKER.sec          Sagoma --force /ships/TANKER.sec
//
// Exit status: 0 when the files are written (or, with --check, the description is valid); 1 for
// errors of the description, a case file that exists without --force, or a file that cannot be
// written; 3 when the frame is closed with its close button.

#include "SagomaHelp.hpp"
#include "sectionDescription.hpp"
#include "sectionPicture.hpp"
#include "sectionScreen.hpp"

#include "Utilitar.hpp"
#include "utilRun.hpp"
#include "casePaths.hpp"
#include "cores.hpp"
#include "display/Display.hpp"
#include "fkey.hpp"
#include "replaceFile.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace tarnova::sagoma {

namespace {

constexpr int failureStatus = 1;

bool exists(const std::string& path)
{
    struct stat st {};
#ifdef _WIN32   // no symbolic links to tell apart there
    return ::stat(path.c_str(), &st) == 0;
#else
    return ::lstat(path.c_str(), &st) == 0;
#endif
}

// What the command line asked for, read before the frame opens.
struct Request {
    std::string path;
    bool force = false;
};
Request request;
BuiltSection built;   // the section shown in the window

// Builds and writes the case files; the status to end with. Every message goes to standard
// error; `firstFailure` receives the one to show on the pane.
int buildAndWrite(const std::string& descriptionPath, bool force, bool checkOnly, std::string& firstFailure)
{
    const BuildResult result = buildSectionFile(descriptionPath);
    const BuildResult& built = result;
    for (const Note& n : built.errors) std::fprintf(stderr, "error: %s\n", n.text().c_str());
    for (const Note& n : built.warnings) std::fprintf(stderr, "warning: %s\n", n.text().c_str());
    if (!built.ok()) {
        std::fprintf(stderr, "%s: %zu error%s; no case file written\n", descriptionPath.c_str(), built.errors.size(),
                     built.errors.size() == 1 ? "" : "s");
        firstFailure = built.errors.front().text() + " (" + std::to_string(built.errors.size()) + " errors in all)";
        return failureStatus;
    }
    const BuiltSection& s = built.section;
    if (checkOnly) {
        std::printf("%s: valid, %zu elements, %zu steel%s, %zu case stud%s, %zu warning%s\n", descriptionPath.c_str(),
                    s.elements.size(), s.steels.size(), s.steels.size() == 1 ? "" : "s", s.studies.size(),
                    s.studies.size() == 1 ? "y" : "ies", built.warnings.size(), built.warnings.size() == 1 ? "" : "s");
        return 0;
    }

    // The case name is the file's name less its 4-character extension, as the calculator cuts
    // it: a description named otherwise would give case files of a strange name.
    const std::size_t dot = descriptionPath.size() >= 4 ? descriptionPath.size() - 4 : std::string::npos;
    if (dot == std::string::npos || strcasecmp(descriptionPath.c_str() + dot, ".sec") != 0) {
        firstFailure = descriptionPath + ": a description's name ends in .sec (CASE.sec gives CASE.geo)";
        std::fprintf(stderr, "%s\n", firstFailure.c_str());
        return failureStatus;
    }
    const CaseLocation location = locateCase(descriptionPath);
    if (location.caseName.empty()) {
        firstFailure = descriptionPath + ": no case name in the path (CASE.sec is expected)";
        std::fprintf(stderr, "%s\n", firstFailure.c_str());
        return failureStatus;
    }
    const std::string stem = location.directory.empty() || location.directory.back() == '/'
                                 ? location.directory + location.caseName
                                 : location.directory + "/" + location.caseName;
    struct Output {
        std::string path, text;
    };
    std::vector<Output> outputs{{stem + ".geo", geometryText(s)}, {stem + ".pro", propertiesText(s)}};
    if (!s.studies.empty()) outputs.push_back({stem + ".ana", optionsText(s)});
    if (!force) {
        bool blocked = false;
        for (const Output& o : outputs)
            if (exists(o.path)) {
                std::fprintf(stderr, "%s exists: Sagoma --force replaces it\n", o.path.c_str());
                if (!blocked) firstFailure = o.path + " exists: Sagoma --force replaces it";
                blocked = true;
            }
        if (blocked) return failureStatus;
    }
    for (const Output& o : outputs) {
        std::string reason;
        if (!replaceFile(o.path, o.text, &reason)) {
            firstFailure = o.path + " could not be written: " + reason;
            std::fprintf(stderr, "%s\n", firstFailure.c_str());
            return failureStatus;
        }
    }
    // The picture is Sagoma's own: it is replaced whenever the case files are.
    const Picture picture = drawSection(s);
    const std::string picturePath = stem + "_section.png";
    std::string reason;
    if (!writePicture(picturePath, picture, reason)) {
        firstFailure = picturePath + " could not be written: " + reason;
        std::fprintf(stderr, "%s\n", firstFailure.c_str());
        return failureStatus;
    }
    if (picture.unlabelled > 0)
        std::fprintf(stderr, "warning: %s: %d element numbers found no free place in the picture\n", picturePath.c_str(),
                     picture.unlabelled);
    std::printf("%s.geo: %zu elements; %s.pro: %zu steel%s", stem.c_str(), s.elements.size(), stem.c_str(),
                s.steels.size(), s.steels.size() == 1 ? "" : "s");
    if (!s.studies.empty())
        std::printf("; %s.ana: %zu case stud%s", stem.c_str(), s.studies.size(), s.studies.size() == 1 ? "y" : "ies");
    std::printf("; %s\n", picturePath.c_str());
    sagoma::built = s;
    return 0;
}

// A failure in rows 21 to 24 of the pane; one key acknowledges it.
void showFailure(std::string_view text)
{
    setBackgroundColour(0);
    setTextColour(5);
    setTextWindow(21, 1, 24, 79);
    clearScreen(2);
    setTextPosition(1, 2);
    writeText(text.substr(0, 300));
    setTextPosition(4, 28);
    writeText("Press any key to continue ");
    readKey();
    clearScreen(2);
}

void exitAndWake(bool checked)
{
    exitHandler(checked);
    postKey(0, 0);   // wakes the wait for input
}

bool menuSetup()
{
    setWindowState(frameWindow, 2);
    appendMenuItem(1, 4, "&Window", windowCommand);
    appendMenuItem(1, 32, "&Full Screen  Alt+Enter", fullScreenCommand);
    appendMenuItem(1, 4, "E&xit", exitAndWake);
    return true;
}

constexpr double panStep = 40;
constexpr int dragThreshold = 4;

// The section in the window until Exit: the wheel zooms about the pointer, a drag or Ctrl and
// the arrows move it, Home shows it whole.
void showSection(int paneWidth, int paneHeight)
{
    ScreenView view;
    auto redraw = [&](const ScreenView& next) {
        view = next;
        const int hidden = drawSectionScreen(built, view, paneWidth, paneHeight);
        std::string status = std::to_string(built.elements.size()) + " elements";
        if (hidden > 0) status += ", " + std::to_string(hidden) + " numbers hidden: zoom in";
        setStatusText(status + "  |  wheel: zoom, drag: move, Home: whole", 5);
    };
    redraw(view);
    setPointerInput(true);
    int lastX = 0, lastY = 0, pressX = 0, pressY = 0;
    bool pressed = false, dragging = false;
    while (exitRequested.load() == 0) {
        const InputEvent input = readInput();
        switch (input.kind) {
        case InputEvent::Kind::key:
            if (input.character == 0 && input.code == fkey::home) {
                redraw({});
            } else if (input.character == 0 && input.control &&
                       (input.code == fkey::left || input.code == fkey::right || input.code == fkey::up ||
                        input.code == fkey::down)) {
                const double dx = input.code == fkey::left ? panStep : input.code == fkey::right ? -panStep : 0;
                const double dy = input.code == fkey::up ? panStep : input.code == fkey::down ? -panStep : 0;
                redraw(dragged(view, dx, dy));
            }
            break;
        case InputEvent::Kind::wheel: redraw(zoomedAbout(view, input.x, input.y, input.notches)); break;
        case InputEvent::Kind::press:
            pressed = true;
            dragging = false;
            pressX = lastX = input.x;
            pressY = lastY = input.y;
            break;
        case InputEvent::Kind::motion:
            if (!pressed) break;
            if (!dragging && std::abs(input.x - pressX) + std::abs(input.y - pressY) > dragThreshold) dragging = true;
            if (dragging) {
                redraw(dragged(view, input.x - lastX, input.y - lastY));
                lastX = input.x;
                lastY = input.y;
            }
            break;
        case InputEvent::Kind::release:
            if (pressed && dragging) redraw(dragged(view, input.x - lastX, input.y - lastY));
            pressed = false;
            break;
        }
    }
    setPointerInput(false);
}

void run()
{
    const WindowConfig config = openProgramPane("Section Builder");
    const int paneWidth = config.width;
    const int paneHeight = config.height;
    loadFonts();
    selectFont("t'arial'h14w7e");

    std::string failure;
    const bool window = !displayIsHeadless();
    if (window) setStatusText("Building...", 5);
    const int status = buildAndWrite(request.path, request.force, false, failure);
    if (status != 0) {
        if (window) {
            setStatusText("Nothing written", 5);
            showFailure(failure);
        }
        showTextCursor(1);
        setExitBehaviour(2);
        exitProgram(status);
    }
    if (window) showSection(paneWidth, paneHeight);
    showTextCursor(1);
    setExitBehaviour(2);
}

} // namespace

} // namespace tarnova::sagoma

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, tarnova::sagomaHelp))
        return *status;
    bool force = false, check = false;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--force") force = true;
        else if (a == "--check") check = true;
        else paths.push_back(a);
    }
    if (paths.size() != 1) {
        std::fputs("Usage: Sagoma [--force] /path/CASE.sec\n       Sagoma --check /path/CASE.sec\n", stderr);
        return 1;
    }
    if (check) {
        std::string failure;
        return tarnova::sagoma::buildAndWrite(paths[0], false, true, failure);
    }
    tarnova::sagoma::request = {paths[0], force};
    const tarnova::ProgramEntry entry{"Sagoma", tarnova::sagoma::menuSetup, tarnova::sagoma::run};
    return tarnova::runProgram(argc, argv, entry);
}
