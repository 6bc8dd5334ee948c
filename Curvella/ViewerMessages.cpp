#include "ViewerMessages.hpp"

#include "display/Display.hpp"

namespace tarnova {

namespace {

struct TextWindow {
    int top = 1, left = 1, bottom = 1, right = 1;
};

TextWindow savedTextWindow()
{
    TextWindow w;
    getTextWindow(w.top, w.left, w.bottom, w.right);
    return w;
}

void restore(const TextWindow& w)
{
    setTextWindow(w.top, w.left, w.bottom, w.right);
}

// One key acknowledges a message; headless nobody is there to give it, and a key read from
// exhausted input would end the run.
void acknowledge()
{
    if (!displayIsHeadless()) readKey();
}

void writeAt(int row, int column, std::string_view text)
{
    setTextPosition(row, column);
    writeText(text);
}

} // namespace

void showDirectoryMessage(int left, std::string_view message, std::string_view prompt)
{
    const TextWindow previous = savedTextWindow();
    setBackgroundColour(0);
    setTextColour(5);
    setTextWindow(21, left, 24, 55);
    writeAt(1, 1, message);
    writeAt(2, 1, prompt);
    acknowledge();
    clearScreen(2);
    restore(previous);
}

void showFileMessage(int textColour, int column, std::string_view firstLine, std::string_view secondLine)
{
    const TextWindow previous = savedTextWindow();
    setBackgroundColour(0);
    setTextColour(textColour);
    setTextWindow(21, 1, 24, 79);
    clearScreen(2);
    if (!firstLine.empty()) writeAt(1, column, firstLine);
    if (!secondLine.empty()) writeAt(2, column, secondLine);
    writeAt(4, 28, "Press any key to continue ");
    acknowledge();
    clearScreen(2);
    restore(previous);
    setBackgroundColour(0);
    setTextColour(7);
    clearScreen(0);
}

} // namespace tarnova
