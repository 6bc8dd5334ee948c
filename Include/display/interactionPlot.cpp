#include "display/interactionPlot.hpp"

namespace tarnova {

namespace {

void text(int x, int y, const std::string& s)
{
    moveTo(x, y);
    drawGraphicText(s);
}

} // namespace

void InteractionPlot::drawAxes(const std::vector<double>& ticks, const std::function<std::string(double)>& label,
                               int gridColour, int labelColour, int axisColour) const
{
    const double r = reach;
    for (double t : ticks) {
        for (double s : {-t, t}) {
            setColour(gridColour);
            moveToReal(x(s), y(-r));
            lineToReal(x(s), y(r));
            moveToReal(x(-r), y(s));
            lineToReal(x(r), y(s));
            setColour(labelColour);
            const std::string l = label(s);
            text(static_cast<int>(x(s)) - graphicTextWidth(l) / 2, static_cast<int>(y(-r)) + 4, l);
            text(left - 8 - graphicTextWidth(l), static_cast<int>(y(s)) - 7, l);
        }
    }
    setColour(axisColour);
    moveToReal(x(-r), y(0));
    lineToReal(x(r), y(0));
    moveToReal(x(0), y(-r));
    lineToReal(x(0), y(r));
    drawRectangle(2, static_cast<int>(x(-r)), static_cast<int>(y(r)), static_cast<int>(x(r)), static_cast<int>(y(-r)));
    text(static_cast<int>(x(r)) - 26, static_cast<int>(y(0)) - 16, "Mh");
    text(static_cast<int>(x(0)) + 6, static_cast<int>(y(r)) + 2, "Mv sagging");
    text(static_cast<int>(x(0)) + 6, static_cast<int>(y(-r)) - 16, "hogging");
}

} // namespace tarnova
