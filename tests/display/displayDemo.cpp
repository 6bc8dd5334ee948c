// A small program that uses the display layer as the programs do, for the headless and window
// tests. What it leaves on the 1024 x 768 pane (palette of cores loaded, background 0 black):
//
//   text row 1, columns 1-21   "Display demonstration" in text colour 7 (light grey)
//   (90, 90)-(309, 209)        rectangle border of colour 11 (cyan), one pixel wide
//   (100, 100)-(299, 199)      filled rectangle of colour 12 (red, 255 0 0)
//   (400, 100)-(499, 199)      filled ellipse of colour 14 (yellow) inscribed in that box
//   (100, 230)                 upper-left corner of the graphic text "Graphic text" in colour
//                              15 (white), font "t'arial'h16w8"
//
// Sequence: start-up (cursor off, configure with retry, maximise, colours, clear, palette,
// fonts), the drawing above, then "Press any key to continue " in colour 5 at row 4, column 28
// of the message window over rows 21-24, columns 1-79; one key; the message window is cleared;
// the status line reads "Finished  "; the wait for Exit; the program ends with status 0.

#include "cores.hpp"
#include "display/Display.hpp"
#include "utilRun.hpp"

#include <cstring>

namespace {

using namespace tarnova;

void startUp()
{
    showTextCursor(0);
    WindowConfig config;
    std::strcpy(config.title, "Display Demonstration");
    if (!configureWindow(config)) configureWindow(config);
    setWindowState(defaultUnit, 2);
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
    loadPalette();
    loadFonts();
    selectFont("t'arial'h16w8");
}

void draw()
{
    setTextPosition(1, 1);
    writeText("Display demonstration");
    setColour(11);
    drawRectangle(2, 90, 90, 309, 209);
    setColour(12);
    drawRectangle(3, 100, 100, 299, 199);
    setColour(14);
    drawEllipseReal(3, 400, 100, 499, 199);
    setColour(15);
    moveTo(100, 230);
    drawGraphicText("Graphic text");
}

void askForKey()
{
    int top = 0, left = 0, bottom = 0, right = 0;
    getTextWindow(top, left, bottom, right);
    setBackgroundColour(0);
    setTextColour(5);
    setTextWindow(21, 1, 24, 79);
    clearScreen(2);
    setTextPosition(4, 28);
    writeText("Press any key to continue ");
    readKey();
    clearScreen(2);
    setTextWindow(top, left, bottom, right);
    setTextColour(7);
}

void body()
{
    startUp();
    draw();
    askForKey();
    setStatusText("Finished  ", 5);
    waitForExit();
    showTextCursor(1);
    setExitBehaviour(2);
}

} // namespace

int main(int argc, char** argv)
{
    return tarnova::runProgram(argc, argv, {"Display Demonstration", tarnova::menuSetup, body});
}
