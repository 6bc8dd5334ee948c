#pragma once
// The viewer's failure messages in the message rows 21 to 24 of the text grid, each acknowledged
// with one key. The previous text window is restored afterwards.

#include <string_view>

namespace tarnova {

// Two lines in rows 21 and 22 from column `left` to 55, text colour 5.
void showDirectoryMessage(int left, std::string_view message, std::string_view prompt);

// Up to two file lines at rows 1 and 2, column `column`, of the window rows 21 to 24, columns
// 1 to 79 (cleared first), then "Press any key to continue " at row 4, column 28. Ends with the
// background 0, text colour 7 and the whole screen cleared.
void showFileMessage(int textColour, int column, std::string_view firstLine, std::string_view secondLine);

} // namespace tarnova
