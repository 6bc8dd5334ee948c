#pragma once
// Layout of the stress-strain plot, computed from the curve and the pane size alone (no display
// calls): plot pane, margins, axis ranges, the placement case of the titles, tick intervals and
// the positions of every title and label. Window units of the plot pane: x to the right and y
// upward from its lower left corner, one unit one pixel.

#include "ElementData.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace tarnova {

// The 640 x 480 design grid scaled to the pane: n x (paneWidth - 1) / 639 and
// n x (paneHeight - 1) / 479.
double gridX(int n, int paneWidth);
double gridY(int n, int paneHeight);

// Left edge of the banner text in pixels: (paneWidth - 432) / 2, cut toward zero.
int bannerX(int paneWidth);

// Which side of each axis holds the larger extreme of the data (see titleCase).
enum class TitleCase { A, B, C, D };
// a, b, c, d: |smallest x|, |largest x|, |smallest y|, |largest y|.
TitleCase titleCase(double a, double b, double c, double d);

struct HalfAxis {
    int count = 0;          // intervals; 0 means no ticks and no labels
    double pixelStep = 0;   // window units between ticks
    double valueStep = 0;   // data value between labels (negative on the left and lower halves)
};

struct RealPosition {
    double x = 0;
    double y = 0;
};

struct PlotLayout {
    int plotWidth = 0;          // (paneWidth div 3) x 2 - 1
    int plotHeight = 0;         // paneHeight - 21
    int marginX = 0, marginY = 0;
    int innerWidth = 0, innerHeight = 0;
    double xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;   // data ranges extended to hold 0
    double a = 0, b = 0, c = 0, d = 0;
    // An axis whose data are all 0 has an empty range: it is mapped over 0 to 1 instead and
    // gets no ticks or labels, so the curve lies on that axis and no value is invented.
    bool flatX = false, flatY = false;
    double xLeft = 0, xRight = 0, xZero = 0;
    double yTop = 0, yBottom = 0, yZero = 0;
    double titleOffset = 0;     // s = Y(15)
    double crossX = 0, crossY = 0;      // X(3), Y(3): half length of the origin cross and ticks
    double labelGapX = 0, labelGapY = 0;    // X(4), Y(4)
    double labelRaise = 0;      // Y(4) + Y(10): x labels above the axis
    TitleCase titleCase = TitleCase::A;
    bool largeFont = false;     // "t'arial'h12w6" when the pane is wider than 640
    double tickSpacing = 45;    // least distance between ticks: 54 large font, 45 small
    HalfAxis right, left, upper, lower;

    double mapX(double v) const;
    double mapY(double v) const;
};

PlotLayout computePlotLayout(const StepValues& x, const StepValues& y, int paneWidth, int paneHeight);

const char* axisFont(bool largeFont);

// Positions of the axis titles, given the widths of "Strain/Yield str" (w16) and "Str" (w3).
struct TitlePlacement {
    RealPosition xTitle;
    RealPosition yTitle;
};
TitlePlacement placeTitles(const PlotLayout& layout, double w16, double w3);

struct Tick {
    double position = 0;    // x of an x tick, y of a y tick
    double value = 0;
};
// Ticks of one half-axis from the origin outward, positions and values accumulated by repeated
// addition of the steps; `direction` is +1 for the right and upper halves, -1 otherwise.
struct HalfAxisTicks {
    int count = 0;
    std::array<Tick, 10> ticks{};
};
HalfAxisTicks halfAxisTicks(double origin, const HalfAxis& half, int direction);

// Top-left corner of the label of an x tick and of a y tick (upperHalf: the tick is above the
// x-axis), the latter given the label's pixel width.
RealPosition xTickLabelAt(const PlotLayout& layout, double tickX);
RealPosition yTickLabelAt(const PlotLayout& layout, double tickY, bool upperHalf, double labelWidth);
// The two "0" labels of the origin in case A: below the x-axis, and right-aligned left of the
// y-axis (given the width of "0").
std::array<RealPosition, 2> originLabelsAt(const PlotLayout& layout, double zeroWidth);

// A tick value written with "(F9.2)" and taken from its first non-blank character.
std::string tickLabel(double value);

} // namespace tarnova
