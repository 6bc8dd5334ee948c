#include "interactionChart.hpp"

#include "assessmentFiles.hpp"
#include "display/Display.hpp"
#include "display/interactionPlot.hpp"
#include "display/paneImage.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace tarnova::collaudo {

namespace {

constexpr int white = 15, black = 0, gridGrey = 38, labelGrey = 8, curveColour = 12, saggingColour = 9,
              hoggingColour = 2;

void text(int x, int y, const std::string& s)
{
    moveTo(x, y);
    drawGraphicText(s);
}

} // namespace

// A pleasant grid step (1, 2, 2.5 or 5 times a power of ten) giving at most `count` intervals.
double gridStep(double reach, int count)
{
    const double raw = reach / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

void drawInteractionChart(const Assessment& a, const Limits& limits, int paneWidth, int paneHeight)
{
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    setColour(white);
    drawRectangle(3, 0, 0, paneWidth - 1, paneHeight - 1);
    selectFont("t'arial'h14w7");
    double reach = 0;
    for (const InteractionPoint& p : a.interaction) reach = std::max(reach, p.ultimate);
    for (const Condition& c : limits.conditions) {
        reach = std::max(reach, c.gammaS * c.mswSagging + c.gammaW * c.mwvSagging);
        reach = std::max(reach, c.gammaS * c.mswHogging + c.gammaW * c.mwvHogging);
    }
    if (reach <= 0) reach = 1;
    const double step = gridStep(reach, 4);
    const double r = std::ceil(reach / step) * step;
    const int size = std::max(100, std::min(paneWidth - 330, paneHeight - 90));
    const int left = 80, top = 45;
    const InteractionPlot plot{r, left, top, size};
    auto px = [&](double h) { return plot.x(h); };
    auto py = [&](double v) { return plot.y(v); };
    setColour(black);
    text(20, 12, "Interaction of vertical (Mv) and horizontal (Mh) bending at Mu, " + a.caseName +
                     ", Mu in GN\xFAm");

    // Grid and labels (millions of kN.m), then the axes and the frame.
    selectFont("t'arial'h12w6");
    std::vector<double> ticks;
    for (double t = step; t <= r + step / 2; t += step) ticks.push_back(t);
    plot.drawAxes(
        ticks,
        [](double s) {
            char label[32];
            std::snprintf(label, sizeof label, "%g", s / 1e6);
            return std::string(label);
        },
        gridGrey, labelGrey, black);

    plot.drawCurve(a.interaction, curveColour);

    // Design points on the vertical axis, sagging up and hogging down, and the key.
    const int keyX = left + size + 30;
    int keyY = top;
    selectFont("t'arial'h14w7");
    setColour(curveColour);
    drawRectangle(3, keyX, keyY + 4, keyX + 8, keyY + 12);
    setColour(black);
    text(keyX + 16, keyY, "Mu at " + std::to_string(a.interaction.size()) + " heel angles");
    keyY += 18;
    setColour(curveColour);
    drawRectangle(2, keyX, keyY + 4, keyX + 8, keyY + 12);
    setColour(black);
    text(keyX + 16, keyY, "peak not reached");
    keyY += 26;
    text(keyX, keyY, "design M = gS Msw + gW Mwv:");
    keyY += 18;
    for (const Condition& c : limits.conditions) {
        for (const bool sagging : {true, false}) {
            const double m = sagging ? c.gammaS * c.mswSagging + c.gammaW * c.mwvSagging
                                     : c.gammaS * c.mswHogging + c.gammaW * c.mwvHogging;
            const int x = static_cast<int>(px(0)), y = static_cast<int>(std::lround(py(sagging ? m : -m)));
            setColour(sagging ? saggingColour : hoggingColour);
            drawRectangle(3, x - 5, y - 5, x + 5, y + 5);
            drawRectangle(3, keyX, keyY + 3, keyX + 10, keyY + 13);
            setColour(black);
            text(keyX + 16, keyY, c.name + (sagging ? " sagging " : " hogging ") + plain(m, 0) + " kN\xFAm");
            keyY += 18;
        }
    }
}

bool savePanePng(const std::string& fileName, int paneWidth, int paneHeight)
{
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    const PaneCopy image = copyPane(0, 0, paneWidth - 1, paneHeight - 1);
    return writePaletteImage(fileName, paletteImageOf(image));
}

} // namespace tarnova::collaudo
