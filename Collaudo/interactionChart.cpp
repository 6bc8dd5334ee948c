#include "interactionChart.hpp"

#include "assessmentFiles.hpp"
#include "display/Display.hpp"
#include "display/paneImage.hpp"

#include <algorithm>
#include <cmath>

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
    const int left = 80, top = 45, centreX = left + size / 2, centreY = top + size / 2;
    auto px = [&](double h) { return centreX + h / r * size / 2; };
    auto py = [&](double v) { return centreY - v / r * size / 2; };
    setColour(black);
    text(20, 12, "Interaction of vertical (Mv) and horizontal (Mh) bending at Mu, " + a.caseName +
                     ", Mu in GN\xFAm");

    // Grid and labels (millions of kN.m), then the axes and the frame.
    selectFont("t'arial'h12w6");
    char label[32];
    for (double t = step; t <= r + step / 2; t += step) {
        for (double s : {-t, t}) {
            setColour(gridGrey);
            moveToReal(px(s), py(-r));
            lineToReal(px(s), py(r));
            moveToReal(px(-r), py(s));
            lineToReal(px(r), py(s));
            setColour(labelGrey);
            std::snprintf(label, sizeof label, "%g", s / 1e6);
            text(static_cast<int>(px(s)) - graphicTextWidth(label) / 2, static_cast<int>(py(-r)) + 4, label);
            text(left - 8 - graphicTextWidth(label), static_cast<int>(py(s)) - 7, label);
        }
    }
    setColour(black);
    moveToReal(px(-r), py(0));
    lineToReal(px(r), py(0));
    moveToReal(px(0), py(-r));
    lineToReal(px(0), py(r));
    drawRectangle(2, static_cast<int>(px(-r)), static_cast<int>(py(r)), static_cast<int>(px(r)), static_cast<int>(py(-r)));
    text(static_cast<int>(px(r)) - 26, static_cast<int>(py(0)) - 16, "Mh");
    text(static_cast<int>(px(0)) + 6, static_cast<int>(py(r)) + 2, "Mv sagging");
    text(static_cast<int>(px(0)) + 6, static_cast<int>(py(-r)) - 16, "hogging");

    // The curve, closed and two pixels wide; a point whose peak was not reached is an open square.
    setColour(curveColour);
    for (const double offset : {0.0, 1.0}) {
        for (std::size_t i = 0; i <= a.interaction.size() && !a.interaction.empty(); ++i) {
            const InteractionPoint& p = a.interaction[i % a.interaction.size()];
            if (i == 0) moveToReal(px(p.horizontal), py(p.vertical) + offset);
            else lineToReal(px(p.horizontal), py(p.vertical) + offset);
        }
    }
    for (const InteractionPoint& p : a.interaction) {
        const int x = static_cast<int>(std::lround(px(p.horizontal))), y = static_cast<int>(std::lround(py(p.vertical)));
        drawRectangle(p.peakReached ? 3 : 2, x - 3, y - 3, x + 3, y + 3);
    }

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
