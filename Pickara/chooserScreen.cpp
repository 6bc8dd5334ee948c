#include "chooserScreen.hpp"

#include "display/Display.hpp"
#include "elementPrompt.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"

#include <string>

namespace tarnova::pickara {

namespace {

// Waits for the key that acknowledges a message, then clears the message window and brings back
// the text window and colours that were in force. Headless, nobody is there to acknowledge it
// (the message goes to standard error) and the keys piped in are kept for the prompt.
void acknowledge(int top, int left, int bottom, int right)
{
    if (!displayIsHeadless()) readKey();
    clearScreen(2);
    setTextWindow(top, left, bottom, right);
    setBackgroundColour(0);
    setTextColour(7);
}

} // namespace

void showWaitMessage(int paneWidth, int paneHeight)
{
    setBackgroundColour(0);
    clearScreen(0);
    const PixelPlace wait = waitMessagePlace(paneWidth, paneHeight);
    moveTo(wait.x, wait.y);
    setColour(3);
    drawGraphicText("WAIT A MOMENT PLEASE");
    const PixelPlace reading = readingMessagePlace(paneWidth, paneHeight);
    moveTo(reading.x, reading.y);
    setColour(12);
    drawGraphicText("READING FILES...");
}

void drawSection(int elementCount, const double* screenX, const double* screenY, int paneWidth,
                 int paneHeight)
{
    const Rectangle area = sectionViewport(paneWidth, paneHeight);
    setViewport(area.x1, area.y1, area.x2, area.y2);
    setRealWindow(false, area.x1, area.y1, area.x2, area.y2);
    setBackgroundColour(15);
    clearScreen(0);
    setColour(15);
    drawRectangleReal(3, area.x1, area.y1, area.x2, area.y2);
    setColour(1);

    const PixelPlace offset = numberOffset(paneWidth, paneHeight);
    // One font for all numbers: the best-fit face of 15 x 8 pixels (when none fits, the font in
    // use stays).
    selectFont("h15w8b");
    FixedText number(4);
    for (int i = 0; i < elementCount; ++i) {
        moveToReal(screenX[i] + offset.x, screenY[i] + offset.y);
        formatToText(number, "(I4)", {i + 1});
        drawGraphicText(number.view());
    }
}

int askElement(int elementCount, int paneWidth, int paneHeight)
{
    const Rectangle strip = promptViewport(paneWidth, paneHeight);
    const Rectangle real = promptRealWindow(paneWidth);
    setViewport(strip.x1, strip.y1, strip.x2, strip.y2);
    setRealWindow(false, real.x1, real.y1, real.x2, real.y2);
    selectFont("t'arial'h14w7e");
    const std::string range = elementRangeText(elementCount);

    int chosenElement = -1;
    while (chosenElement < 1 || chosenElement > elementCount) {
        // Erase any earlier prompt and typing.
        setColour(15);
        drawRectangleReal(3, real.x1, real.y1, real.x2, real.y2);
        setColour(1);
        moveToReal(50, 20);
        drawGraphicText("Input element number :");
        moveToReal(99, 30);
        drawGraphicText(range);

        std::string entry(entryLength, ' ');
        double echoX = 218;
        const double echoY = 20;
        for (int key = readKey(); key != enterKey; key = readKey()) {
            entry = appendKey(entry, key);
            setColour(4);
            moveToReal(echoX, echoY);
            const char typed = static_cast<char>(key);
            drawGraphicText(std::string_view(&typed, 1));
            echoX += 10;
        }
        chosenElement = acceptedElement(entry, elementCount);
    }
    return chosenElement;
}

void showShortMessage(int left, std::string_view text, std::string_view keyText)
{
    int top = 0, oldLeft = 0, bottom = 0, right = 0;
    getTextWindow(top, oldLeft, bottom, right);
    setTextWindow(21, left, 24, 55);
    // The section's white ground is still in force at the end sequence.
    setBackgroundColour(0);
    setTextColour(5);
    setTextPosition(1, 1);
    writeText(text);
    writeText(keyText);
    acknowledge(top, oldLeft, bottom, right);
}

void showFileMessage(int column, std::string_view text)
{
    int top = 0, left = 0, bottom = 0, right = 0;
    getTextWindow(top, left, bottom, right);
    setTextWindow(21, 1, 24, 79);
    setBackgroundColour(0);
    clearScreen(2);
    setTextColour(5);
    setTextPosition(1, column);
    writeText(text);
    setTextPosition(4, 28);
    writeText("Press any key to continue ");
    acknowledge(top, left, bottom, right);
    clearScreen(0);
}

} // namespace tarnova::pickara
