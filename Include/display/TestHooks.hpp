#pragma once
// Read-only views into the display layer for tests and backends, and the set-up a test needs to
// drive the layer without starting a program.

#include "display/Backend.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace tarnova::inspect {

// Palette index of a pane pixel (absolute coordinates); -1 outside the pane.
int pixelAt(int x, int y);

// The character and colours the text layer last wrote into a grid cell (absolute, from 1).
struct TextCell {
    char ch = ' ';
    int foreground = 0;
    int background = 0;
};
TextCell textCell(int row, int column);
int textRows();
int textColumns();

// The font selectFont chose last.
struct SelectedFont {
    int number = 0;             // as selectFont returned it; 0 when none
    std::string family;
    int height = 0;
    int width = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};
SelectedFont selectedFont();

// Starts the layer afresh on a pane of that size, as at program start, presented by `backend`
// (may be null: keys then read as carriage returns and message boxes go to standard error).
void resetDisplay(int paneWidth, int paneHeight, Backend* backend = nullptr);

// The command line getArgument answers from (runProgram sets it from argv).
void setArguments(std::vector<std::string> arguments);

// Forgets a pending extended key code.
void resetKeys();

} // namespace tarnova::inspect
