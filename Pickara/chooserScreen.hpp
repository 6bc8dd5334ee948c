#pragma once
// Pickara's screens, drawn through the display layer: the wait message, the section by element
// numbers, the prompt strip and the message windows of its failures.

#include "chooserLayout.hpp"

#include <string_view>

namespace tarnova::pickara {

void showWaitMessage(int paneWidth, int paneHeight);

// Every element's number, "(I4)", with its text's upper-left corner at its screen point shifted
// by numberOffset (and placed in the view); white background, dark blue numbers. The numbers
// keep their size at every zoom. With `boxes`, the drawn digits of each number are put there.
void drawSection(int elementCount, const double* screenX, const double* screenY, int paneWidth,
                 int paneHeight, const SectionView& view = {}, NumberBox* boxes = nullptr);

// Shows the prompt strip and reads keys until an entry names an element from 1 to elementCount;
// returns it. (When the keys run out, the display layer ends the program.) In a window the
// section can also be zoomed (wheel, Ctrl with + or -) about the pointer, dragged (left button,
// Ctrl with the arrows), and set back with Home; a click on a number enters it as if typed, a
// double click enters and accepts it.
int askElement(int elementCount, const double* screenX, const double* screenY, int paneWidth, int paneHeight);

// A message in text colour 5 on background 0 over rows 21 to 24, columns left to 55: the two texts one after the
// other from the window's first position, then one key (none headless).
void showShortMessage(int left, std::string_view text, std::string_view keyText);

// A message over rows 21 to 24, columns 1 to 79, cleared first: `text` at row 1 of the window,
// column `column`, then "Press any key to continue " at row 4, column 28, then one key (none
// headless). Afterwards the whole pane is cleared in background 0 with text colour 7.
void showFileMessage(int column, std::string_view text);

} // namespace tarnova::pickara
