#include "PlotLayout.hpp"

#include "Utilitar.hpp"
#include "records/FixedText.hpp"
#include "records/Records.hpp"

#include <cmath>

namespace tarnova {

namespace {

constexpr int largeFontWidth = 640;     // panes wider than this use the larger axis font
constexpr double largeTickSpacing = 54;
constexpr double smallTickSpacing = 45;

HalfAxis divideHalf(double length, double valueRange, double spacing)
{
    HalfAxis half;
    half.count = divisionCount(length, spacing);
    if (half.count > 0) {
        half.pixelStep = length / half.count;
        half.valueStep = valueRange / half.count;
    }
    return half;
}

} // namespace

double gridX(int n, int paneWidth)
{
    return scaleToWidth(static_cast<std::int16_t>(n), static_cast<std::int16_t>(paneWidth - 1));
}

double gridY(int n, int paneHeight)
{
    return scaleToHeight(static_cast<std::int16_t>(n), static_cast<std::int16_t>(paneHeight - 1));
}

int bannerX(int paneWidth)
{
    return static_cast<int>((paneWidth - 432) / 2.0);
}

TitleCase titleCase(double a, double b, double c, double d)
{
    if (a <= b && c <= d) return TitleCase::A;
    if (a > b && c <= d) return TitleCase::B;
    if (a >= b && c > d) return TitleCase::C;
    return TitleCase::D;
}

const char* axisFont(bool largeFont)
{
    return largeFont ? "t'arial'h12w6" : "t'arial'h10w5";
}

double PlotLayout::mapX(double v) const
{
    return mapLinear(v, xHigh, xLow, static_cast<std::int16_t>(innerWidth),
                     static_cast<std::int16_t>(marginX));
}

double PlotLayout::mapY(double v) const
{
    return mapLinear(v, yHigh, yLow, static_cast<std::int16_t>(innerHeight),
                     static_cast<std::int16_t>(marginY));
}

PlotLayout computePlotLayout(const StepValues& x, const StepValues& y, int paneWidth, int paneHeight)
{
    PlotLayout p;
    p.plotWidth = (paneWidth / 3) * 2 - 1;
    p.plotHeight = paneHeight - 21;
    p.marginX = static_cast<int>(gridX(50, paneWidth));
    p.marginY = static_cast<int>(gridY(50, paneHeight));
    p.innerWidth = p.plotWidth - 2 * p.marginX;
    p.innerHeight = paneHeight - 21 - 2 * p.marginY;

    rangeOfValues(x.data(), stepCount, p.xLow, p.xHigh);
    rangeOfValues(y.data(), stepCount, p.yLow, p.yHigh);
    p.a = std::fabs(p.xLow);
    p.b = std::fabs(p.xHigh);
    p.c = std::fabs(p.yLow);
    p.d = std::fabs(p.yHigh);
    if (p.xLow > 0) p.xLow = 0;
    if (p.xHigh < 0) p.xHigh = 0;
    if (p.yLow > 0) p.yLow = 0;
    if (p.yHigh < 0) p.yHigh = 0;
    p.flatX = !(p.xHigh > p.xLow);
    p.flatY = !(p.yHigh > p.yLow);
    if (p.flatX) p.xHigh = p.xLow + 1;
    if (p.flatY) p.yHigh = p.yLow + 1;

    p.xLeft = p.mapX(p.xLow);
    p.xRight = p.mapX(p.xHigh);
    p.xZero = p.mapX(0);
    p.yTop = p.mapY(p.yHigh);
    p.yBottom = p.mapY(p.yLow);
    p.yZero = p.mapY(0);

    p.titleOffset = gridY(15, paneHeight);
    p.crossX = gridX(3, paneWidth);
    p.crossY = gridY(3, paneHeight);
    p.labelGapX = gridX(4, paneWidth);
    p.labelGapY = gridY(4, paneHeight);
    p.labelRaise = gridY(4, paneHeight) + gridY(10, paneHeight);
    p.titleCase = titleCase(p.a, p.b, p.c, p.d);

    p.largeFont = paneWidth > largeFontWidth;
    p.tickSpacing = p.largeFont ? largeTickSpacing : smallTickSpacing;
    if (!p.flatX) {
        p.right = divideHalf(p.xRight - p.xZero, p.xHigh, p.tickSpacing);
        p.left = divideHalf(p.xZero - p.xLeft, p.xLow, p.tickSpacing);
    }
    if (!p.flatY) {
        p.upper = divideHalf(p.yTop - p.yZero, p.yHigh, p.tickSpacing);
        p.lower = divideHalf(p.yZero - p.yBottom, p.yLow, p.tickSpacing);
    }
    return p;
}

TitlePlacement placeTitles(const PlotLayout& p, double w16, double w3)
{
    const double s = p.titleOffset;
    TitlePlacement t;
    switch (p.titleCase) {
    case TitleCase::A:
        t.xTitle = {p.xRight - w16, p.yZero - s};
        t.yTitle = {p.xZero - w3, p.yTop + 2 * s};
        break;
    case TitleCase::B:
        // "Stress" stands over the y-axis as in case A: 4s above it would put the title's top
        // edge above the plot pane (the margin is only 50 units high), where it is clipped away.
        t.xTitle = {p.xLeft - w3, p.yZero - s};
        t.yTitle = {p.xZero - w3, p.yTop + 2 * s};
        break;
    case TitleCase::C:
        t.xTitle = {p.xLeft - w3, p.yZero + 2 * s};
        t.yTitle = {p.xZero - w3, p.yBottom - 2 * s};
        break;
    case TitleCase::D:
        t.xTitle = {p.xRight - w16, p.yZero + 2 * s};
        t.yTitle = {p.xZero - w3, p.yBottom - 2 * s};
        break;
    }
    return t;
}

HalfAxisTicks halfAxisTicks(double origin, const HalfAxis& half, int direction)
{
    HalfAxisTicks result;
    result.count = half.count;
    double position = origin;
    double value = 0;
    for (int k = 0; k < half.count && k < static_cast<int>(result.ticks.size()); ++k) {
        position = direction > 0 ? position + half.pixelStep : position - half.pixelStep;
        value = value + half.valueStep;
        result.ticks[k] = {position, value};
    }
    return result;
}

RealPosition xTickLabelAt(const PlotLayout& p, double tickX)
{
    const bool belowAxis = p.titleCase == TitleCase::A || p.titleCase == TitleCase::B;
    return {tickX, belowAxis ? p.yZero - p.labelGapY : p.yZero + p.labelRaise};
}

RealPosition yTickLabelAt(const PlotLayout& p, double tickY, bool upperHalf, double labelWidth)
{
    constexpr double labelLift = 5;     // window units between a y label's top and its tick
    const bool leftOfAxis = p.titleCase == TitleCase::A || p.titleCase == TitleCase::D;
    if (leftOfAxis) return {p.xZero - p.labelGapX - labelWidth, tickY + labelLift};
    return {p.xZero + p.labelGapX, upperHalf ? tickY - labelLift : tickY + labelLift};
}

std::array<RealPosition, 2> originLabelsAt(const PlotLayout& p, double zeroWidth)
{
    return {RealPosition{p.xZero, p.yZero - p.labelGapY},
            RealPosition{p.xZero - p.labelGapX - zeroWidth, p.yZero + 5}};
}

std::string tickLabel(double value)
{
    FixedText text(9);
    formatToText(text, "(F9.2)", {value});
    return std::string(text.view().substr(static_cast<std::size_t>(firstNonBlank(text.view()) - 1)));
}

} // namespace tarnova
