#include "StrakonScreen.hpp"

#include "display/Display.hpp"
#include "records/Records.hpp"

#include <string>

namespace tarnova {

namespace {

constexpr int messageTop = 21;
constexpr int messageBottom = 24;
constexpr int messageColour = 5;
constexpr int normalTextColour = 7;
constexpr int shortMessageRight = 55;

// Panel geometry, in pixels from the pane's right edge and top.
constexpr int panelLeftOffset = 264;
constexpr int panelRightOffset = 40;
constexpr int panelFirstTop = 20;
constexpr int boxHeight = 42;
constexpr int boxPitch = 56;
constexpr int panelFoot = 30;
constexpr int panelFill = 1;
constexpr int panelInk = 11;

constexpr std::string_view pressAnyKey = "Press any key to continue ";
// Width of pressAnyKey in the panel's font, as the centring of the page-break prompt assumes.
constexpr double pressAnyKeyWidth = 182.0;

// A value written with "(I3)" or "(I2)" into a 3-character text.
std::string threeCharacters(std::string_view format, int value)
{
    FixedText text(3);
    formatToText(text, format, {static_cast<std::int32_t>(value)});
    return text.str();
}

// Hour, minute and second, each "(I3)": 14 h 5 min 9 s gives " 14  5  9".
std::string clockText(const TimeOfDay& t)
{
    return threeCharacters("(I3)", t.hour) + threeCharacters("(I3)", t.minute) +
           threeCharacters("(I3)", t.second);
}

void textAt(int x, int y, std::string_view text)
{
    moveTo(x, y);
    drawGraphicText(text);
}

} // namespace

void acknowledge()
{
    if (!displayIsHeadless())
        readKey();
}

namespace {

// The text window of the previous output, kept while a message is shown.
struct SavedTextWindow {
    int top = 0, left = 0, bottom = 0, right = 0;
};

SavedTextWindow openMessageWindow(int leftColumn, int rightColumn)
{
    SavedTextWindow saved;
    getTextWindow(saved.top, saved.left, saved.bottom, saved.right);
    setBackgroundColour(0);
    setTextColour(messageColour);
    setTextWindow(messageTop, leftColumn, messageBottom, rightColumn);
    clearScreen(2);
    return saved;
}

void closeMessageWindow(const SavedTextWindow& saved)
{
    acknowledge();
    clearScreen(2);
    setBackgroundColour(0);
    setTextColour(normalTextColour);
    setTextWindow(saved.top, saved.left, saved.bottom, saved.right);
}

} // namespace

void showMessage(int leftColumn, int rightColumn, std::initializer_list<MessageLine> lines)
{
    const SavedTextWindow saved = openMessageWindow(leftColumn, rightColumn);
    for (const MessageLine& line : lines) {
        if (line.text.empty())
            continue;   // a row left empty
        setTextPosition(line.row, line.column);
        writeText(line.text);
    }
    closeMessageWindow(saved);
}

void showShortMessage(int leftColumn, std::string_view text, std::string_view prompt)
{
    const SavedTextWindow saved = openMessageWindow(leftColumn, shortMessageRight);
    writeText(text);
    writeText(prompt);
    closeMessageWindow(saved);
}

void ProgressPanel::drawBox(int boxTop)
{
    setColour(panelFill);
    drawRectangle(3, paneWidth_ - panelLeftOffset, boxTop, paneWidth_ - panelRightOffset,
                  boxTop + boxHeight);
    setColour(panelInk);
    drawRectangle(2, paneWidth_ - panelLeftOffset, boxTop, paneWidth_ - panelRightOffset,
                  boxTop + boxHeight);
}

void ProgressPanel::drawHead(const TimeOfDay& start)
{
    drawBox(panelFirstTop);
    textAt(paneWidth_ - 257, 34, "STARTING HOUR =");
    textAt(paneWidth_ - 110, 34, clockText(start));
    panelTop_ = panelFirstTop;
}

void ProgressPanel::advance()
{
    panelTop_ += boxPitch;
    if (panelTop_ > paneHeight_ - panelFoot) {
        const int x = static_cast<int>((paneWidth_ - pressAnyKeyWidth) / 2.0);
        const int y = paneHeight_ - 25;
        setColour(normalTextColour);
        textAt(x, y, pressAnyKey);
        acknowledge();
        setColour(0);
        textAt(x, y, pressAnyKey);
        panelTop_ = panelFirstTop;
    }
}

void ProgressPanel::drawCase(int caseStudy, const TimeOfDay& end)
{
    drawBox(panelTop_);
    const int y = panelTop_ + 14;
    textAt(paneWidth_ - 257, y, "CASE STUDY N.");
    textAt(paneWidth_ - 138, y, threeCharacters("(I2)", caseStudy));
    textAt(paneWidth_ - 117, y, "=" + clockText(end));
    // Erase the iteration box of the collapse engine.
    setColour(0);
    drawRectangle(3, 40, paneHeight_ - 132, 145, paneHeight_ - 90);
}

void ProgressPanel::boxStarted()
{
    setColour(panelInk);
    drawRectangle(2, 40, paneHeight_ - 132, 145, paneHeight_ - 90);
    textAt(47, paneHeight_ - 118, "Position n.");
}

void ProgressPanel::stepShown(int step)
{
    if (step > 1) {
        moveTo(124, paneHeight_ - 118);
        setColour(0);
        drawGraphicText(threeCharacters("(I2)", step - 1));
    }
    moveTo(124, paneHeight_ - 118);
    setColour(panelInk);
    drawGraphicText(threeCharacters("(I2)", step));
}

} // namespace tarnova
