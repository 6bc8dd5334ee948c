#pragma once
// Internal state of the display layer: the text grid, the graphics state and the helpers every
// operation shares. All of it is read and written only with the display lock held.

#include "display/Backend.hpp"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tarnova::layer {

// Text cells are 8 x 16 pixels.
inline constexpr int cellWidth = 8;
inline constexpr int cellHeight = 16;

// What the text layer last wrote into one cell (kept for inspection; the pixels are the truth).
struct Cell {
    char ch = ' ';
    std::uint8_t foreground = 15;
    std::uint8_t background = 0;
};

struct State {
    int columns = 0;            // text grid
    int rows = 0;

    // Text window in absolute cells (from 1) and the position relative to it. `column` may be
    // one past the right edge: the next character then wraps to the next row first.
    int windowTop = 1, windowLeft = 1, windowBottom = 1, windowRight = 1;
    int row = 1, column = 1;
    int textColour = 15;        // as set (16..31 allowed)
    int backgroundColour = 0;
    int cursorShown = 1;
    std::vector<Cell> cells;

    // Characters written since the last line break, echoed to the backend as one line.
    std::string echoLine;
    bool echoPending = false;
    bool echoEnabled = true;

    // Graphics state. The viewport is kept as passed (it defines the real-coordinate mapping)
    // and clipped to the pane for drawing.
    int colour = 15;
    PixelPoint current;         // relative to the viewport
    RealPoint currentReal;
    int viewLeft = 0, viewTop = 0, viewRight = 0, viewBottom = 0;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    bool realWindowSet = false;
    bool invertY = false;
    double realX1 = 0, realY1 = 0, realX2 = 1, realY2 = 1;
    int textDx = 1, textDy = 0;

    int colourCount = 256;
};

// Takes the display lock.
std::unique_lock<std::mutex> lock();
// The layer's state; the lock must be held. Initialises a default 1024 x 768 pane on first use.
State& state();
// Resets every state to its start value for a pane of that size (lock held).
void initialise(int paneWidth, int paneHeight);
// Something visible changed (lock held).
void changed();
// The sixteen standard colours in indices 0 to 15, black elsewhere (lock held).
void loadStandardPalette();

// Text echo: ends the pending line and hands it to the backend (lock held).
void flushEcho();

// Writes text at the current position with wrapping and scrolling (lock held).
void writeTextLocked(std::string_view text);
// Moves to column 1 of the next row, scrolling at the bottom (lock held).
void newLineLocked();

// Fills a pane rectangle (absolute, inclusive, clipped to the pane) with one index (lock held).
void fillPane(int x1, int y1, int x2, int y2, int index);

// A rectangle of the pane in absolute pixels, inclusive; empty when left > right or top > bottom.
struct PaneRectangle {
    long left = 0, top = 0, right = -1, bottom = -1;
    bool empty() const { return left > right || top > bottom; }
};
// Viewport-relative corners, in either order, cut to the pane (lock held).
PaneRectangle viewportRectangle(int x1, int y1, int x2, int y2);

// The 8 x 16 bitmap of one character of the text grid: 16 rows, bit 7 the leftmost pixel.
const std::uint8_t* gridGlyph(unsigned char ch);

// Unicode code point of a byte of the programs' single-byte code page.
char32_t codePoint(unsigned char ch);

// Row y of the pane (lock held). Every access to the pixels goes through here, so a row never
// reached is still zero.
inline std::uint8_t* pixelRow(int y);

} // namespace tarnova::layer

namespace tarnova {
inline std::uint8_t* layer::pixelRow(int y)
{
    auto& d = displayState();
    d.rowsReached[static_cast<std::size_t>(y)] = 1;
    return d.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(d.paneWidth);
}
} // namespace tarnova
