// The text layer: a grid of 8 x 16 cells over the pane, a text window that limits output,
// scrolling and clearing, and the colours text is written in.

#include "display/Layer.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tarnova {

namespace {

using layer::cellHeight;
using layer::cellWidth;

int windowWidth(const layer::State& s) { return s.windowRight - s.windowLeft + 1; }
int windowHeight(const layer::State& s) { return s.windowBottom - s.windowTop + 1; }

layer::Cell& cellAt(layer::State& s, int row, int column)
{
    return s.cells[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(s.columns)
                   + static_cast<std::size_t>(column - 1)];
}

// Draws one character into an absolute cell.
void drawCell(layer::State& s, int row, int column, unsigned char ch, int foreground, int background)
{
    const std::uint8_t* glyph = layer::gridGlyph(ch);
    const int x0 = (column - 1) * cellWidth;
    const int y0 = (row - 1) * cellHeight;
    for (int y = 0; y < cellHeight; ++y) {
        std::uint8_t* p = layer::pixelRow(y0 + y) + x0;
        for (int x = 0; x < cellWidth; ++x)
            p[x] = static_cast<std::uint8_t>((glyph[y] & (0x80 >> x)) ? foreground : background);
    }
    cellAt(s, row, column) = {static_cast<char>(ch), static_cast<std::uint8_t>(foreground),
                              static_cast<std::uint8_t>(background)};
}

// Moves the text window's contents up one row and blanks its bottom row.
void scrollWindow(layer::State& s)
{
    const int x0 = (s.windowLeft - 1) * cellWidth;
    const int width = windowWidth(s) * cellWidth;
    const int top = (s.windowTop - 1) * cellHeight;
    const int bottom = s.windowBottom * cellHeight;     // one past the last pixel row
    for (int y = top; y + cellHeight < bottom; ++y)
        std::memmove(layer::pixelRow(y) + x0, layer::pixelRow(y + cellHeight) + x0,
                     static_cast<std::size_t>(width));
    layer::fillPane(x0, bottom - cellHeight, x0 + width - 1, bottom - 1, s.backgroundColour);
    for (int r = s.windowTop; r < s.windowBottom; ++r)
        for (int c = s.windowLeft; c <= s.windowRight; ++c) cellAt(s, r, c) = cellAt(s, r + 1, c);
    for (int c = s.windowLeft; c <= s.windowRight; ++c)
        cellAt(s, s.windowBottom, c) = {' ', static_cast<std::uint8_t>(s.textColour & 15),
                                        static_cast<std::uint8_t>(s.backgroundColour)};
}

void clearTextWindow(layer::State& s)
{
    layer::fillPane((s.windowLeft - 1) * cellWidth, (s.windowTop - 1) * cellHeight,
                    s.windowRight * cellWidth - 1, s.windowBottom * cellHeight - 1, s.backgroundColour);
    for (int r = s.windowTop; r <= s.windowBottom; ++r)
        for (int c = s.windowLeft; c <= s.windowRight; ++c)
            cellAt(s, r, c) = {' ', static_cast<std::uint8_t>(s.textColour & 15),
                               static_cast<std::uint8_t>(s.backgroundColour)};
}

} // namespace

namespace layer {

void newLineLocked()
{
    State& s = state();
    flushEcho();
    s.column = 1;
    if (s.row >= windowHeight(s)) {
        s.row = windowHeight(s);
        scrollWindow(s);
    } else {
        ++s.row;
    }
}

void writeTextLocked(std::string_view text)
{
    State& s = state();
    for (char c : text) {
        if (c == '\n') {
            if (s.echoEnabled) s.echoPending = true;  // an empty line is still a line
            newLineLocked();
            continue;
        }
        if (c == '\r') {
            s.column = 1;
            continue;
        }
        if (s.column > windowWidth(s)) newLineLocked();
        drawCell(s, s.windowTop + s.row - 1, s.windowLeft + s.column - 1, static_cast<unsigned char>(c),
                 s.textColour & 15, s.backgroundColour);
        ++s.column;
        if (s.echoEnabled) {
            s.echoLine.push_back(c);
            s.echoPending = true;
        }
    }
    changed();
}

} // namespace layer

void setTextWindow(int top, int left, int bottom, int right)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    layer::flushEcho();
    if (top > bottom) std::swap(top, bottom);
    if (left > right) std::swap(left, right);
    s.windowTop = std::clamp(top, 1, s.rows);
    s.windowBottom = std::clamp(bottom, 1, s.rows);
    s.windowLeft = std::clamp(left, 1, s.columns);
    s.windowRight = std::clamp(right, 1, s.columns);
    s.row = 1;
    s.column = 1;
}

void getTextWindow(int& top, int& left, int& bottom, int& right)
{
    auto guard = layer::lock();
    const layer::State& s = layer::state();
    top = s.windowTop;
    left = s.windowLeft;
    bottom = s.windowBottom;
    right = s.windowRight;
}

TextPosition setTextPosition(int row, int column)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    layer::flushEcho();
    TextPosition previous{s.row, std::min(s.column, windowWidth(s))};
    s.row = std::clamp(row, 1, windowHeight(s));
    s.column = std::clamp(column, 1, windowWidth(s));
    return previous;
}

TextPosition getTextPosition()
{
    auto guard = layer::lock();
    const layer::State& s = layer::state();
    return {s.row, std::min(s.column, windowWidth(s))};
}

void writeText(std::string_view text)
{
    auto guard = layer::lock();
    layer::writeTextLocked(text);
}

int setTextColour(int index)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    const int previous = s.textColour;
    if (index >= 0 && index <= 31) s.textColour = index;
    return previous;
}

int setBackgroundColour(int index)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    const int previous = s.backgroundColour;
    if (index >= 0 && index <= 255) s.backgroundColour = index;
    return previous;
}

void clearScreen(int area)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    layer::flushEcho();
    if (area == 0) {
        auto& d = displayState();
        layer::fillPane(0, 0, d.paneWidth - 1, d.paneHeight - 1, s.backgroundColour);
        std::fill(s.cells.begin(), s.cells.end(),
                  layer::Cell{' ', static_cast<std::uint8_t>(s.textColour & 15),
                              static_cast<std::uint8_t>(s.backgroundColour)});
        s.row = 1;
        s.column = 1;
    } else if (area == 1) {
        layer::fillPane(s.clipLeft, s.clipTop, s.clipRight, s.clipBottom, s.backgroundColour);
    } else if (area == 2) {
        clearTextWindow(s);
        s.row = 1;
        s.column = 1;
    } else {
        return;
    }
    layer::changed();
}

int showTextCursor(int on)
{
    auto guard = layer::lock();
    layer::State& s = layer::state();
    const int previous = s.cursorShown;
    s.cursorShown = on != 0 ? 1 : 0;
    return previous;
}

} // namespace tarnova
