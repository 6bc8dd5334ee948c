#include "DataPanel.hpp"

#include "CaseNames.hpp"
#include "ElementListing.hpp"
#include "PanelLayout.hpp"
#include "Utilitar.hpp"
#include "display/Display.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"

namespace tarnova {

namespace {

struct PanelColours {
    int background, frame, shipName, dots, disc, numberLine, rows;
};
constexpr PanelColours darkColours{0, 3, 15, 14, 12, 12, 7};
constexpr PanelColours lightColours{15, 0, 0, 0, 0, 0, 0};

const PanelColours& coloursOf(const ScreenSettings& screen)
{
    return darkScheme(screen) ? darkColours : lightColours;
}

void selectPanelFont(const ScreenSettings& screen)
{
    selectFont(axisFont(screen.paneWidth > 640));
    setGraphicTextDirection(1, 0);
}

void drawTextAt(double x, double y, std::string_view text)
{
    moveToReal(x, y);
    drawGraphicText(text);
}

std::string formatted(std::string_view format, std::size_t length, WriteItem value)
{
    FixedText text(length);
    formatToText(text, format, {value});
    return text.str();
}

} // namespace

void drawKeyPlan(int elementCount, std::array<double, maxElements>& positionX,
                 std::array<double, maxElements>& positionY, int chosenElement,
                 const ScreenSettings& screen, std::string_view curveFileName)
{
    const PanelColours& colours = coloursOf(screen);
    const PanelLayout p = computePanelLayout(screen.paneWidth, screen.paneHeight);
    const PixelRect& v = p.keyPlanViewport;
    setViewport(v.x1, v.y1, v.x2, v.y2);
    setRealWindow(true, 0, 0, p.keyPlanWidth, p.keyPlanHeight);
    setBackgroundColour(colours.background);
    setColour(colours.frame);
    drawRectangleReal(2, 0, 0, p.keyPlanWidth, p.keyPlanHeight);

    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    rangeOfValues(positionX.data(), elementCount, xMin, xMax);
    rangeOfValues(positionY.data(), elementCount, yMin, yMax);

    selectPanelFont(screen);
    setColour(colours.shipName);
    const std::string ship = shipName(curveFileName);
    const int nameWidth = graphicTextWidth(ship);
    drawTextAt((p.w3 - 2 - nameWidth) / 2, (p.h3 - 2) - gridY(5, screen.paneHeight), ship);

    setColour(colours.dots);
    const double scale = keyPlanScale(xMax - xMin, yMax - yMin, p.availableWidth, p.availableHeight);
    for (int i = 0; i < elementCount; ++i) {
        positionX[i] = positionX[i] * scale + p.marginX;
        positionY[i] = positionY[i] * scale + p.marginY;
    }
    for (int i = 0; i < elementCount; ++i)
        setPixelReal(static_cast<int>(positionX[i]), static_cast<int>(positionY[i]));

    setColour(colours.disc);
    const double x = positionX[chosenElement - 1];
    const double y = positionY[chosenElement - 1];
    drawEllipseReal(3, static_cast<int>(x + 2), static_cast<int>(y + 2), static_cast<int>(x - 2),
                    static_cast<int>(y - 2));
}

void drawDataPanel(const std::array<std::array<double, dimensionCount>, maxElements>& dimensionTable,
                   int chosenElement, const ScreenSettings& screen)
{
    const PanelColours& colours = coloursOf(screen);
    const PanelLayout p = computePanelLayout(screen.paneWidth, screen.paneHeight);
    const PixelRect& v = p.dataViewport;
    setViewport(v.x1, v.y1, v.x2, v.y2);
    setRealWindow(false, 0, 0, p.dataWidth, p.dataHeight);
    setBackgroundColour(colours.background);
    setColour(colours.frame);
    drawRectangleReal(2, 0, 0, p.dataWidth, p.dataHeight);

    selectPanelFont(screen);
    setColour(colours.numberLine);
    const int height = screen.paneHeight;
    const double left = gridX(10, screen.paneWidth);
    drawTextAt(left, gridY(10, height), "Element Number:");
    drawTextAt(left + graphicTextWidth("Element Number:"), gridY(10, height),
               formatted("(I4)", 7, static_cast<std::int32_t>(chosenElement)));

    setColour(colours.rows);
    struct Row {
        const char* text;
        int y;              // design-grid y
        int dimension;      // 0 for a group heading, else the dimension's number
        const char* valueAfter;
    };
    static constexpr Row rows[] = {
        {"Frame spacing:", 50, 1, "Frame spacing:"},
        {"Plate", 80, 0, nullptr},
        {"- width:", 90, 2, "- thickness:"},
        {"- thickness:", 100, 3, "- thickness:"},
        {"Flange", 130, 0, nullptr},
        {"- width:", 140, 4, "- thickness:"},
        {"- thickness:", 150, 5, "- thickness:"},
        {"Web", 180, 0, nullptr},
        {"- height:", 190, 6, "- thickness:"},
        {"- thickness:", 200, 7, "- thickness:"},
    };
    const auto& dimensions = dimensionTable[chosenElement - 1];
    for (const Row& row : rows) {
        const double y = gridY(row.y, height);
        drawTextAt(left, y, row.text);
        if (row.dimension == 0) continue;
        drawTextAt(left + graphicTextWidth(row.valueAfter), y,
                   formatted("(F7.1)", 7, dimensions[row.dimension - 1]));
    }
}

void drawUltimateValues(const StepValues& strainRatioPoints, const StepValues& stressPoints,
                        const ScreenSettings& screen)
{
    const UltimatePoint u = ultimatePoint(strainRatioPoints, stressPoints);
    setColour(coloursOf(screen).rows);
    const double left = gridX(10, screen.paneWidth);
    const double valueX = left + graphicTextWidth("Ultimate stress:");
    drawTextAt(left, gridY(230, screen.paneHeight), "Ultimate stress:");
    drawTextAt(valueX, gridY(230, screen.paneHeight), formatted("(F9.2)", 9, u.stress));
    writeUltimateStress(u.stress);
    drawTextAt(left, gridY(240, screen.paneHeight), "Ultimate strain:");
    drawTextAt(valueX, gridY(240, screen.paneHeight), formatted("(F9.2)", 9, u.strainRatio));
    writeUltimateStrain(u.strainRatio);
}

} // namespace tarnova
