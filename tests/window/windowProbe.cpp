// A program for the window tests. It draws every colour of the table, a frame along the pane's
// edges and text, saves the pane as "pane.bmp" and then, as the test drives it:
//   keys mode: waits for a key, shows a message box, marks the pane green (lower right), writes
//              every key read into "keys.txt" until "q", writes into "fonts.txt" whether font
//              configuration (libfontconfig) is mapped, then reads "Finished  " and waits for Exit.
//   busy mode: writes 100 records into "written.txt", marks the pane green and waits for a key
//              it never gets (the test closes the frame).
//   stop mode: marks the pane green and stops (the frame stays open, as its exit behaviour says).
//   lines mode: draws instead, for each of the 16 text colours, a band of ground with a one-pixel
//              horizontal and vertical line and a text in that colour, saves "pane.bmp" and waits
//              for Exit.

#include "cores.hpp"
#include "display/Display.hpp"
#include "records/Records.hpp"
#include "utilRun.hpp"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

using namespace tarnova;

constexpr int recordUnit = 10;
std::string_view mode;
int paneWidth = 0;
int paneHeight = 0;

void startUp()
{
    showTextCursor(0);
    WindowConfig config;
    std::strcpy(config.title, "Window Probe");
    if (!configureWindow(config)) configureWindow(config);
    paneWidth = config.width;
    paneHeight = config.height;
    setWindowState(defaultUnit, 2);
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
    loadPalette();
    loadFonts();
    selectFont("t'arial'h16w8");
}

void drawPattern()
{
    setTextPosition(1, 1);
    writeText("Window probe 0123456789 ABC xyz");
    for (int i = 0; i < colourTableSize; ++i) {
        setColour(i);
        drawRectangle(3, 20 + 24 * i, 300, 20 + 24 * i + 21, 380);
    }
    setColour(14);
    drawRectangle(2, 0, 0, paneWidth - 1, paneHeight - 1);
    setColour(13);
    setRealWindow(true, 0.0, 0.0, 1.0, 1.0);
    moveToReal(0.0, 0.0);
    lineToReal(1.0, 1.0);
    setColour(15);
    moveTo(100, 230);
    drawGraphicText("Graphic text");
}

// Band of colour c: rows linesTop + 40c to +39, ground white (black for white lines).
constexpr int linesTop = 20;
constexpr int bandHeight = 40;

void drawLines()
{
    for (int c = 0; c < 16; ++c) {
        const int top = linesTop + bandHeight * c;
        setColour(c == 15 ? 0 : 15);
        drawRectangle(3, 0, top, paneWidth - 1, top + bandHeight - 1);
        setColour(c);
        drawRectangle(3, 101, top + 11, 400, top + 11);    // horizontal, one pixel high
        drawRectangle(3, 503, top + 3, 503, top + 36);     // vertical, one pixel wide
        moveTo(600, top + 12);
        drawGraphicText("Il1 N/mm2 355");
    }
}

void markProgress()
{
    setColour(10);
    drawRectangle(3, paneWidth - 60, paneHeight - 60, paneWidth - 31, paneHeight - 31);
}

void body()
{
    startUp();
    if (mode == "lines") {
        drawLines();
        saveImage("pane.bmp", 0, 0, paneWidth - 1, paneHeight - 1);
        waitForExit();
        setExitBehaviour(2);
        return;
    }
    drawPattern();
    saveImage("pane.bmp", 0, 0, paneWidth - 1, paneHeight - 1);
    if (mode == "stop") {
        markProgress();
        stopProgram("The probe stops.");
    }
    if (mode == "busy") {
        openUnit(recordUnit, "written.txt");
        for (std::int32_t i = 1; i <= 100; ++i) writeListRecord(recordUnit, {i});
        setStatusText("Working", 5);
        markProgress();
        readKey();
        closeUnit(recordUnit);
        return;
    }
    readKey();
    showMessageBox("The probe shows this box.", "Probe", 0);
    markProgress();
    openUnit(recordUnit, "keys.txt");
    for (;;) {
        const int key = readKey();
        writeListRecord(recordUnit, {static_cast<std::int32_t>(key)});
        if (key == 'q') break;
    }
    closeUnit(recordUnit);
    // The frame has drawn its menus, status line and the box by now: with the built-in faces.
    std::ifstream maps("/proc/self/maps");
    const std::string mapped{std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>()};
    std::ofstream("fonts.txt") << (mapped.find("libfontconfig") != std::string::npos ? "fontconfig mapped\n" : "no fontconfig\n");
    setStatusText("Finished  ", 5);
    waitForExit();
    setExitBehaviour(2);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) mode = argv[1];
    return tarnova::runProgram(argc, argv, {"Window Probe", tarnova::menuSetup, body});
}
