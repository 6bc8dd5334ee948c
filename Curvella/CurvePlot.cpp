#include "CurvePlot.hpp"

#include "PlotLayout.hpp"
#include "display/Display.hpp"

#include <string>

namespace tarnova {

namespace {

struct PlotColours {
    int background, text, banner, frame, axes, curve;
};
constexpr PlotColours darkColours{0, 7, 15, 3, 15, 12};
constexpr PlotColours lightColours{15, 0, 0, 0, 0, 0};

void drawTextAt(RealPosition at, std::string_view text)
{
    moveToReal(at.x, at.y);
    drawGraphicText(text);
}

void drawLine(double x1, double y1, double x2, double y2)
{
    moveToReal(x1, y1);
    lineToReal(x2, y2);
}

void drawAxisTitles(const PlotLayout& p)
{
    selectFont(axisFont(p.largeFont));
    const TitlePlacement t = placeTitles(p, graphicTextWidth("Strain/Yield str"), graphicTextWidth("Str"));
    setGraphicTextDirection(1, 0);
    drawTextAt(t.xTitle, "Strain/Yield strain");
    setGraphicTextDirection(1, 0);
    drawTextAt(t.yTitle, "Stress");
}

void drawTicks(const PlotLayout& p)
{
    const HalfAxisTicks right = halfAxisTicks(p.xZero, p.right, 1);
    const HalfAxisTicks left = halfAxisTicks(p.xZero, p.left, -1);
    const HalfAxisTicks upper = halfAxisTicks(p.yZero, p.upper, 1);
    const HalfAxisTicks lower = halfAxisTicks(p.yZero, p.lower, -1);
    for (const HalfAxisTicks* half : {&right, &left})
        for (int k = 0; k < half->count; ++k) {
            const double x = half->ticks[k].position;
            drawLine(x, p.yZero + p.crossY, x, p.yZero - p.crossY);
        }
    for (const HalfAxisTicks* half : {&upper, &lower})
        for (int k = 0; k < half->count; ++k) {
            const double y = half->ticks[k].position;
            drawLine(p.xZero + p.crossX, y, p.xZero - p.crossX, y);
        }

    // Labels of the right, left, upper and lower halves, in this order.
    setGraphicTextDirection(1, 0);
    for (const HalfAxisTicks* half : {&right, &left})
        for (int k = 0; k < half->count; ++k)
            drawTextAt(xTickLabelAt(p, half->ticks[k].position), tickLabel(half->ticks[k].value));
    for (const HalfAxisTicks* half : {&upper, &lower})
        for (int k = 0; k < half->count; ++k) {
            const std::string label = tickLabel(half->ticks[k].value);
            drawTextAt(yTickLabelAt(p, half->ticks[k].position, half == &upper, graphicTextWidth(label)),
                       label);
        }
    if (p.titleCase == TitleCase::A) {
        for (const RealPosition& at : originLabelsAt(p, graphicTextWidth("0"))) drawTextAt(at, "0");
    }
}

} // namespace

void drawCurvePlot(const StepValues& strainRatioPoints, const StepValues& stressPoints,
                   const ScreenSettings& screen)
{
    const PlotColours& colours = darkScheme(screen) ? darkColours : lightColours;
    const int width = screen.paneWidth;
    const int height = screen.paneHeight;

    // Screen and banner.
    setBackgroundColour(colours.background);
    setTextColour(colours.text);
    clearScreen(0);
    setColour(colours.banner);
    selectFont("t'arial'h16w8");
    moveTo(bannerX(width), 2);
    drawGraphicText(bannerText);

    // Framed plot pane.
    const PlotLayout p = computePlotLayout(strainRatioPoints, stressPoints, width, height);
    setViewport(0, 20, p.plotWidth, height - 1);
    setRealWindow(true, 0, 0, p.plotWidth, p.plotHeight);
    setBackgroundColour(colours.background);
    setColour(colours.frame);
    drawRectangleReal(2, 0, 0, p.plotWidth, p.plotHeight);

    // Axes, titles and origin cross.
    setColour(colours.axes);
    drawLine(p.xLeft, p.yZero, p.xRight, p.yZero);
    drawLine(p.xZero, p.yTop, p.xZero, p.yBottom);
    drawAxisTitles(p);
    drawLine(p.xZero, p.yZero + p.crossY, p.xZero, p.yZero - p.crossY);
    drawLine(p.xZero + p.crossX, p.yZero, p.xZero - p.crossX, p.yZero);

    selectFont(axisFont(p.largeFont));
    drawTicks(p);

    // The element's path through its 50 points, in step order.
    setColour(colours.curve);
    moveToReal(p.mapX(strainRatioPoints[0]), p.mapY(stressPoints[0]));
    for (int j = 1; j < stepCount; ++j) lineToReal(p.mapX(strainRatioPoints[j]), p.mapY(stressPoints[j]));
}

} // namespace tarnova
