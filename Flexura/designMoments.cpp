#include "designMoments.hpp"

#include "display/Display.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace tarnova::flexura {

void drawDesignMoments(const CaseData& data, const ChartLayout& c, int paneWidth, int paneHeight)
{
    constexpr int sagColour = 9, hogColour = 2;
    constexpr double newtonMillimetresPerKilonewtonMetre = 1e6;
    if (data.assessment.design.empty()) return;
    selectFont("t'arial'h12w6");
    std::vector<int> labelled;
    for (const DesignMoment& d : data.assessment.design) {
        const double y = c.yPixel(d.moment * newtonMillimetresPerKilonewtonMetre / c.moment.perUnit);
        if (y < c.top || y > c.bottom) continue;
        setColour(d.direction == "sagging" ? sagColour : hogColour);
        setViewport(c.left + 1, c.top + 1, c.right - 1, c.bottom - 1);
        setRealWindow(false, c.left + 1, c.top + 1, c.right - 1, c.bottom - 1);
        for (double x = c.left; x < c.right; x += 14) {
            moveToReal(x, y);
            lineToReal(std::min(x + 8, static_cast<double>(c.right)), y);
        }
        setViewport(0, 0, paneWidth - 1, paneHeight - 1);
        const std::string label = "design " + d.condition + " " + d.direction;
        int labelY = static_cast<int>(y) - 14;
        // A name that would overlap one already placed goes below its line.
        for (int placed : labelled)
            if (std::abs(placed - labelY) < 13) labelY = static_cast<int>(y) + 2;
        labelled.push_back(labelY);
        moveTo(c.right - 6 - graphicTextWidth(label), labelY);
        drawGraphicText(label);
    }
}

} // namespace tarnova::flexura
