#include "interactionScreen.hpp"

#include "chartScale.hpp"
#include "display/Display.hpp"
#include "display/interactionPlot.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace tarnova::flexura {

namespace {

constexpr int white = 15, black = 0, gridGrey = 38, labelGrey = 8, curveRed = 12, sagColour = 9, hogColour = 2;

void text(int x, int y, const std::string& s)
{
    moveTo(x, y);
    drawGraphicText(s);
}

} // namespace

void drawInteractionScreen(const CaseData& data, int paneWidth, int paneHeight)
{
    const AssessmentInputs& a = data.assessment;
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    clearRealWindow();   // the chart and the map leave theirs; this screen draws in pixels
    setColour(white);
    drawRectangle(3, 0, 0, paneWidth - 1, paneHeight - 1);
    selectFont("t'arial'h14w7");
    setColour(black);
    text(20, 12, "Interaction of vertical (Mv) and horizontal (Mh) bending at Mu, " + data.caseName + ", Mu in GN\xFAm");
    if (!a.present()) {
        text(20, 40, "No assessment: run Collaudo on the case (it reads " + data.caseName + ".lim).");
        return;
    }
    double reach = 0;
    for (const AssessmentPoint& p : a.interaction) reach = std::max(reach, p.ultimate);
    for (const DesignMoment& d : a.design) reach = std::max(reach, d.moment);
    if (reach <= 0) reach = 1;
    const AxisScale axis = pleasantAxis(0, reach, 4);
    const double r = axis.high;
    const int size = std::max(100, std::min(paneWidth - 320, paneHeight - 90));
    const int left = 70, top = 45;
    const InteractionPlot plot{r, left, top, size};
    auto px = [&](double h) { return plot.x(h); };
    auto py = [&](double v) { return plot.y(v); };

    // Grid at the pleasant ticks, both signs, and the axes.
    selectFont("t'arial'h12w6");
    std::vector<double> ticks;
    for (double t : axis.ticks())
        if (t > 0) ticks.push_back(t);
    plot.drawAxes(
        ticks, [&](double s) { return tickLabel(s / 1e6, axis.step / 1e6); },   // kN.m to GN.m
        gridGrey, labelGrey, black);

    // The curve, closed, two pixels wide; a point whose peak was not reached is an open square.
    plot.drawCurve(a.interaction, curveRed);
    // Design points on the vertical axis, named at the right of the plot.
    int keyY = top;
    const int keyX = left + size + 30;
    selectFont("t'arial'h14w7");
    setColour(curveRed);
    drawRectangle(3, keyX, keyY + 4, keyX + 8, keyY + 12);
    setColour(black);
    text(keyX + 16, keyY, "Mu at " + std::to_string(a.interaction.size()) + " heel angles");
    keyY += 18;
    setColour(curveRed);
    drawRectangle(2, keyX, keyY + 4, keyX + 8, keyY + 12);
    setColour(black);
    text(keyX + 16, keyY, "peak not reached");
    keyY += 26;
    text(keyX, keyY, "design M = gS Msw + gW Mwv:");
    keyY += 18;
    for (const DesignMoment& d : a.design) {
        const bool sagging = d.direction == "sagging";
        const double v = sagging ? d.moment : -d.moment;
        const int x = static_cast<int>(px(0)), y = static_cast<int>(std::lround(py(v)));
        setColour(sagging ? sagColour : hogColour);
        drawRectangle(3, x - 5, y - 5, x + 5, y + 5);
        drawRectangle(3, keyX, keyY + 3, keyX + 10, keyY + 13);
        setColour(black);
        char value[64];
        std::snprintf(value, sizeof value, "%.0f kN\xFAm", d.moment);
        text(keyX + 16, keyY, d.condition + " " + d.direction + "  " + value);
        keyY += 18;
    }
}

} // namespace tarnova::flexura
