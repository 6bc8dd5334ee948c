#pragma once
// The display layer: one frame per program (menu bar, status line) holding one pane with a text
// layer and a graphics layer over the same 8-bit palette-indexed pixels, plus the platform
// services the programs need (arguments, directories, clock, program end).
//
// Every operation may be called from the program's thread; each holds the display lock for its
// whole duration, and none waits for the user while holding it.

#include "records/FixedText.hpp"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tarnova {

// ---- Window and frame -------------------------------------------------------------------

// Window configuration; -1 in a numeric field (or -1 bytes in fontName) asks for the default.
struct WindowConfig {
    std::int16_t width = -1;        // pane width in pixels
    std::int16_t height = -1;       // pane height in pixels
    std::int16_t textColumns = -1;
    std::int16_t textRows = -1;
    std::int16_t colourCount = -1;
    std::int32_t fontSize = -1;
    char title[81] = {};            // zero-terminated
    char fontName[32] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                         -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::int32_t extFontSize = -1;
    std::int32_t fontAttributes = -1;
};

// True when the request was met (the record then holds the values in force). When refused,
// fields that cannot be accepted are set to -1 and the caller tries once more.
bool configureWindow(WindowConfig& config);

// The frame, as opposed to the pane (which is addressed by its unit, defaultUnit).
inline constexpr int frameWindow = -1;
inline constexpr int defaultUnit = 0;
// State 1 minimise, 2 maximise, 3 restore, 4 set position and size.
int setWindowState(int window, int state, int x = -1, int y = -1, int width = -1, int height = -1);

using MenuHandler = void (*)(bool checked);
// Flags: 1 grayed, 2 disabled, 16 checked; 4 and 32 a plain enabled item. A menu number beyond
// the last adds a new top-level menu.
bool appendMenuItem(int menu, int flags, std::string_view text, MenuHandler handler);
// Built-in handlers of the frame.
void windowCommand(bool checked);
void fullScreenCommand(bool checked);
// Any thread. The frame takes the keyboard focus back (a window the program opened has closed).
void takeKeyboardFocus();

// 1 ask before closing, 2 close the frame at once, 3 leave it open, when the program ends.
void setExitBehaviour(int mode);
// True once every file of the program is complete and it only waits for the user (its last
// message box, keys it reads for viewing): the frame's close button then ends it normally, with
// status 0, at its next wait for the user. While false (the default) closing cuts the work short.
void setWorkComplete(bool complete);
// Kind 5 while running, 4 while paused, 3 after the program has ended.
void setStatusText(std::string_view text, int kind);
// Modal box; style 0 is one OK button. Returns the button pressed (1 = OK).
int showMessageBox(std::string_view text, std::string_view caption, int style);

// ---- Text layer (rows and columns count from 1) -----------------------------------------

void setTextWindow(int top, int left, int bottom, int right);
void getTextWindow(int& top, int& left, int& bottom, int& right);
struct TextPosition {
    int row = 1;
    int column = 1;
};
// Relative to the text window, clamped to it; returns the previous position.
TextPosition setTextPosition(int row, int column);
TextPosition getTextPosition();
void writeText(std::string_view text);
// 0..31 (16..31 act as minus 16); other values refused. Returns the previous index.
int setTextColour(int index);
int setBackgroundColour(int index);
// 0 whole pane, 1 graphics viewport, 2 text window.
void clearScreen(int area);
int showTextCursor(int on);

// ---- Graphics layer ---------------------------------------------------------------------

int setColour(int index);
struct PixelPoint {
    int x = 0;
    int y = 0;
};
struct RealPoint {
    double x = 0;
    double y = 0;
};
PixelPoint moveTo(int x, int y);
RealPoint moveToReal(double x, double y);
void lineToReal(double x, double y);
// fill 2 border only, 3 filled; corners in any order.
void drawRectangle(int fill, int x1, int y1, int x2, int y2);
void drawRectangleReal(int fill, double x1, double y1, double x2, double y2);
void drawEllipseReal(int fill, double x1, double y1, double x2, double y2);
// Returns the palette index the pixel had before.
int setPixelReal(double x, double y);
void setViewport(int x1, int y1, int x2, int y2);
// False when x1 == x2 or y1 == y2. With invertY, y grows upwards.
bool setRealWindow(bool invertY, double x1, double y1, double x2, double y2);
// Real coordinates are pixels of the viewport again, as before any setRealWindow.
void clearRealWindow();

int loadFonts();
// Starts loading the font list on a thread of its own and returns at once; selecting, measuring
// and drawing graphic text wait for it. A program that draws text only after other work starts
// the fonts this way so that the two overlap.
void loadFontsInBackground();
// Returns the font's index, or -1 (the selected font is unchanged).
int selectFont(std::string_view options);
int graphicTextWidth(std::string_view text);
void setGraphicTextDirection(int dx, int dy);
void drawGraphicText(std::string_view text);

// Writes that pixel rectangle of the pane as a bitmap file; 0 on success.
int saveImage(std::string_view fileName, int x1, int y1, int x2, int y2);

// A rectangle of the pane as it stands: its palette indices (top row first) and the palette.
struct PaneCopy {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    std::array<std::uint32_t, 256> palette{};   // 0x00BBGGRR per index
};
// Integer coordinates as saveImage; the rectangle is cut to the pane (empty when outside it).
PaneCopy copyPane(int x1, int y1, int x2, int y2);

// Queues a key as if it had been typed: a menu handler uses it to wake the program from readKey.
// `character` 0 with a `code` is a key without a character.
void postKey(int character, int code = 0);

// Hands a colour table (0x00BBGGRR per entry) to the layer; -1 when the display offers 20
// colours or fewer (the standard colours stay).
int setPalette(const std::uint32_t* colours, int count);

// ---- Keyboard, clock and program --------------------------------------------------------

// Waits for a key; a key without a character gives 0, then its code on the next call.
int readKey();

// Input of a program that also follows the pointer: keys, and from a real window the mouse over
// the pane. Only a window produces pointer input, and only while it is asked for.
struct InputEvent {
    enum class Kind { key, press, release, motion, wheel };
    Kind kind = Kind::key;
    int character = 0;      // key: as readKey returns it
    int code = 0;           // key without a character: its code, at once
    bool control = false;   // key: Ctrl was held
    int x = 0;              // pointer: pane pixel (may lie outside the pane while dragging)
    int y = 0;
    int clicks = 0;         // press and release of the left button: 1 single, 2 double click
    int notches = 0;        // wheel: positive away from the user (zoom in)
};
// Asks the window for pointer input (press, release and motion of the left button over the pane,
// the wheel; Ctrl with + or - comes as a wheel notch at the pointer) or stops it.
void setPointerInput(bool on);
// Waits for the next input. A key pending from readKey comes first.
InputEvent readInput();

struct TimeOfDay {
    std::int16_t hour = 0, minute = 0, second = 0, hundredths = 0;
};
TimeOfDay getTimeOfDay();
struct Date {
    std::int16_t year = 0, month = 0, day = 0;
};
Date getDate();

// Argument by position (0 the program's path) into the buffer, blank-padded; returns its length.
int getArgument(int index, FixedText& buffer);
// Current directory into the buffer; returns its length, 0 on failure.
int getCurrentDirectory(FixedText& buffer);
bool changeDirectory(std::string_view directory);

// Ends the program at once with that status; files written so far stay complete.
[[noreturn]] void exitProgram(int status);
// Writes "Stop - Program terminated." to the text window (and standard error, after `detail`
// when one is given) and ends the program with a non-zero status.
[[noreturn]] void stopProgram(std::string_view detail = {});

// True when no display could be opened and the headless backend stands in: keys come from
// standard input and nobody is there to acknowledge a message.
bool displayIsHeadless();

// Blocks until the user chooses Exit (or, headless, standard input is exhausted).
void waitForExit();

// ---- Program start ----------------------------------------------------------------------

struct ProgramEntry {
    const char* name;           // the frame's title until configureWindow sets one
    bool (*menuSetup)();        // called once while the frame is built
    void (*body)();             // the program; runs on its own thread
};
// Opens the frame (a real window when a display can be opened, else headless), runs menuSetup,
// runs body on its own thread and returns the process status.
int runProgram(int argc, char** argv, const ProgramEntry& entry);

} // namespace tarnova
