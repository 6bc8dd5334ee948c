#pragma once
// Screen 1: the moment-curvature curve of every case study on one chart, in engineering units,
// each curve with its ultimate point, the plastic and first-yield moments as reference lines,
// and a legend line per case study.

#include "caseData.hpp"
#include "chartScale.hpp"

#include <functional>
#include <string>
#include <vector>

namespace tarnova::flexura {

struct ChartLayout {
    int left = 0, top = 0, right = 0, bottom = 0;   // the plot box, pixels
    int legendTop = 0, legendColumns = 1, legendRows = 0, columnWidth = 0;
    EngineeringUnit curvature, moment;
    AxisScale xAxis, yAxis;                          // in those units
    double xPixel(double value) const;               // value in the axis unit
    double yPixel(double value) const;
};
inline constexpr int legendRowHeight = 16;

ChartLayout chartLayout(const CaseData& data, int paneWidth, int paneHeight);

// The palette colour of case study i (from 0).
int curveColour(int index);
// "A  E/B/T 3  SHED  corr. 0  heel 0\xF8  Mu 7.995 GN\xFAm  (0.59 Mp)"
std::string legendLine(const CaseStudy& study, const EngineeringUnit& unit);

// The names of the reference lines ("Mp", "first yield" and the letters of the case studies sharing the
// value, when not all do), in pane pixels: above each line at its left end, below it where the
// plot box has no room above, moved right of a name already placed that it would overlap; always
// inside the plot box. `width` measures a name in the font it is drawn in.
struct LabelBox {
    std::string text;
    int left = 0, top = 0, right = 0, bottom = 0;   // right and bottom exclusive
};
inline constexpr int referenceLabelHeight = 14;
std::vector<LabelBox> referenceLabels(const CaseData& data, const ChartLayout& c,
                                      const std::function<int(const std::string&)>& width);

void drawMomentChart(const CaseData& data, int paneWidth, int paneHeight);

} // namespace tarnova::flexura
