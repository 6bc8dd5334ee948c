#pragma once
// The interaction diagram of vertical and horizontal bending moments at the ultimate strength, as
// Flexura shows it and Collaudo prints it: a square plot of ±reach (kN.m) on each axis, a grid at
// chosen ticks, and the closed curve through the case studies' points.

#include "display/Display.hpp"

#include <cmath>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tarnova {

struct InteractionPlot {
    double reach;   // kN.m at the frame, both axes, both signs
    int left, top, size;

    double x(double horizontal) const { return (left + size / 2) + horizontal / reach * size / 2; }
    double y(double vertical) const { return (top + size / 2) - vertical / reach * size / 2; }

    // Grid lines at minus and plus each tick (in the font selected), labelled by `label`, then the axes,
    // the frame and the axis names in `axisColour`.
    void drawAxes(const std::vector<double>& ticks, const std::function<std::string(double)>& label,
                  int gridColour, int labelColour, int axisColour) const;

    // The closed curve through the points, two pixels wide, with a square at each point: filled where
    // the peak was reached, open where the last step's moment stands for it.
    template <class Point> void drawCurve(const std::vector<Point>& points, int colour) const
    {
        setColour(colour);
        for (const double offset : {0.0, 1.0}) {
            for (std::size_t i = 0; i <= points.size() && !points.empty(); ++i) {
                const Point& p = points[i % points.size()];
                if (i == 0) moveToReal(x(p.horizontal), y(p.vertical) + offset);
                else lineToReal(x(p.horizontal), y(p.vertical) + offset);
            }
        }
        for (const Point& p : points) {
            const int px = static_cast<int>(std::lround(x(p.horizontal)));
            const int py = static_cast<int>(std::lround(y(p.vertical)));
            drawRectangle(p.peakReached ? 3 : 2, px - 3, py - 3, px + 3, py + 3);
        }
    }
};

} // namespace tarnova
