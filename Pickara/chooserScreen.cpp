#include "chooserScreen.hpp"

#include "display/Display.hpp"
#include "elementPrompt.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"

#include "fkey.hpp"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace tarnova::pickara {

namespace {

// Height in pixels of the font the numbers are drawn in ("h15w8b").
constexpr double numberHeight = 15;

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
                 int paneHeight, const SectionView& view, NumberBox* boxes)
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
        formatToText(number, "(I4)", {i + 1});
        const double fieldWidth = graphicTextWidth(number.view());
        std::string_view digits = number.view();
        while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
        while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
        const double digitsWidth = graphicTextWidth(digits);
        const ScreenPoint place = viewedNumberPlace(view, screenX[i] + offset.x, screenY[i] + offset.y,
                                                    fieldWidth - digitsWidth / 2, numberHeight / 2);
        moveToReal(place.x, place.y);
        drawGraphicText(number.view());
        if (boxes != nullptr) {
            // Real units are pixels here; the text starts at the rounded point.
            const double left = std::round(place.x);
            const double top = std::round(place.y);
            const double right = left + fieldWidth;
            boxes[i] = {right - digitsWidth, top, right, top + numberHeight};
        }
    }
}

namespace {

// The prompt strip with nothing typed.
void drawPrompt(const Rectangle& strip, const Rectangle& real, const std::string& range)
{
    setViewport(strip.x1, strip.y1, strip.x2, strip.y2);
    setRealWindow(false, real.x1, real.y1, real.x2, real.y2);
    selectFont("t'arial'h14w7e");
    setColour(15);
    drawRectangleReal(3, real.x1, real.y1, real.x2, real.y2);
    setColour(1);
    moveToReal(50, 20);
    drawGraphicText("Input element number :");
    moveToReal(99, 30);
    drawGraphicText(range);
}

constexpr double firstEchoX = 218;
constexpr double echoY = 20;

// One typed key: appended to the entry and echoed in colour 4.
void typeKey(std::string& entry, double& echoX, int key)
{
    entry = appendKey(entry, key);
    setColour(4);
    moveToReal(echoX, echoY);
    const char typed = static_cast<char>(key);
    drawGraphicText(std::string_view(&typed, 1));
    echoX += 10;
}

// The prompt as the keyboard alone knows it: every key but Enter typed, a key without a
// character as its 0 and then its code.
int askByKeys(int elementCount, const Rectangle& strip, const Rectangle& real, const std::string& range)
{
    int chosenElement = -1;
    while (chosenElement < 1 || chosenElement > elementCount) {
        // Erase any earlier prompt and typing.
        drawPrompt(strip, real, range);
        std::string entry(entryLength, ' ');
        double echoX = firstEchoX;
        for (int key = readKey(); key != enterKey; key = readKey()) typeKey(entry, echoX, key);
        chosenElement = acceptedElement(entry, elementCount);
    }
    return chosenElement;
}

// Shift of the view per Ctrl+arrow, in pixels.
constexpr double panStep = 40;
// A press that moves further than this is a drag, not a click.
constexpr int dragThreshold = 4;

// The prompt in a window, where the pointer zooms, drags and picks too.
int askInWindow(int elementCount, const double* screenX, const double* screenY, int paneWidth, int paneHeight,
                const Rectangle& strip, const Rectangle& real, const std::string& range)
{
    std::vector<NumberBox> boxes(static_cast<std::size_t>(elementCount));
    SectionView view;
    std::string entry(entryLength, ' ');
    std::vector<int> typed;  // every key echoed since the strip was last erased
    double echoX = firstEchoX;
    auto redraw = [&](const SectionView& next) {
        view = next;
        drawSection(elementCount, screenX, screenY, paneWidth, paneHeight, view, boxes.data());
        drawPrompt(strip, real, range);
        double x = firstEchoX;
        std::string unused(entryLength, ' ');
        for (int key : typed) typeKey(unused, x, key);
    };
    auto freshPrompt = [&] {
        drawPrompt(strip, real, range);
        entry.assign(entryLength, ' ');
        typed.clear();
        echoX = firstEchoX;
    };
    auto type = [&](int key) {
        typeKey(entry, echoX, key);
        typed.push_back(key);
    };
    // The number is entered as if typed into a fresh strip; true when one was under the point.
    auto enterNumberAt = [&](int x, int y) {
        const int element = numberUnder(boxes.data(), elementCount, x, y);
        if (element == 0) return false;
        freshPrompt();
        for (char digit : std::to_string(element)) type(digit);
        return true;
    };
    // Enter: the entry is accepted, or refused and the strip erased.
    auto accept = [&] {
        const int chosen = acceptedElement(entry, elementCount);
        if (chosen < 1) freshPrompt();
        return chosen;
    };

    redraw(view);
    setPointerInput(true);
    int pressX = 0, pressY = 0, lastX = 0, lastY = 0;
    bool pressed = false, dragging = false;
    int chosenElement = -1;
    while (chosenElement < 1) {
        const InputEvent input = readInput();
        switch (input.kind) {
        case InputEvent::Kind::key:
            if (input.character == 0 && input.code == fkey::home) {
                redraw({});
            } else if (input.character == 0 && input.control &&
                       (input.code == fkey::left || input.code == fkey::right || input.code == fkey::up ||
                        input.code == fkey::down)) {
                const double dx = input.code == fkey::left ? panStep : input.code == fkey::right ? -panStep : 0;
                const double dy = input.code == fkey::up ? panStep : input.code == fkey::down ? -panStep : 0;
                redraw(dragged(view, dx, dy));
            } else if (input.character == enterKey) {
                chosenElement = accept();
            } else {
                type(input.character);
                if (input.character == 0) type(input.code);
            }
            break;
        case InputEvent::Kind::wheel:
            redraw(zoomedAbout(view, input.x, input.y, input.notches));
            break;
        case InputEvent::Kind::press:
            pressed = true;
            dragging = false;
            pressX = lastX = input.x;
            pressY = lastY = input.y;
            break;
        case InputEvent::Kind::motion:
            if (!pressed) break;
            if (!dragging && std::abs(input.x - pressX) + std::abs(input.y - pressY) > dragThreshold) dragging = true;
            if (dragging) {
                redraw(dragged(view, input.x - lastX, input.y - lastY));
                lastX = input.x;
                lastY = input.y;
            }
            break;
        case InputEvent::Kind::release:
            if (!pressed) break;
            pressed = false;
            if (dragging) {
                redraw(dragged(view, input.x - lastX, input.y - lastY));
            } else if (enterNumberAt(pressX, pressY) && input.clicks >= 2) {
                chosenElement = accept();
            }
            break;
        }
    }
    setPointerInput(false);
    return chosenElement;
}

} // namespace

int askElement(int elementCount, const double* screenX, const double* screenY, int paneWidth, int paneHeight)
{
    const Rectangle strip = promptViewport(paneWidth, paneHeight);
    const Rectangle real = promptRealWindow(paneWidth);
    const std::string range = elementRangeText(elementCount);
    if (displayIsHeadless()) return askByKeys(elementCount, strip, real, range);
    return askInWindow(elementCount, screenX, screenY, paneWidth, paneHeight, strip, real, range);
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
