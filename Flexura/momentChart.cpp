#include "momentChart.hpp"
#include "screenText.hpp"
#include "designMoments.hpp"

#include "display/Display.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarnova::flexura {

namespace {

constexpr int white = 15, black = 0, gridGrey = 38, labelGrey = 8;
// Thirty distinct colours of the palette that show on white, the strongest first (the light
// greys and white are left out; indices with the same colour as an earlier one too).
constexpr int palette[] = {12, 9, 24, 18, 13, 3, 30, 4, 27, 6, 1, 5, 34, 17, 2,
                           28, 0, 22, 19, 26, 33, 8, 21, 11, 23, 10, 36, 32, 14, 20};

// Lines in pane pixels, clipped to the rectangle.
void pixelWindow(int x1, int y1, int x2, int y2)
{
    setViewport(x1, y1, x2, y2);
    setRealWindow(false, x1, y1, x2, y2);
}

void line(double x1, double y1, double x2, double y2)
{
    moveToReal(x1, y1);
    lineToReal(x2, y2);
}

void dashedLine(double x1, double y, double x2, double dash, double gap)
{
    for (double x = x1; x < x2; x += dash + gap) line(x, y, std::min(x + dash, x2), y);
}

// The letters of the case studies whose value equals `value`, when not all share it.
std::string sharingLetters(const CaseData& data, double CaseStudy::*member, double value)
{
    std::string letters;
    for (const CaseStudy& s : data.studies)
        if (s.*member == value) letters += s.letter;
    return letters.size() == data.studies.size() ? std::string() : " " + letters;
}

} // namespace

namespace {

// The share of the axis before `value`, held within a million axis lengths: an axis that reaches
// the largest double (a curvature of 1E308 shown per km) never makes a pixel beyond int range.
double axisShare(double value, const AxisScale& axis)
{
    const double share = (value - axis.low) / (axis.high - axis.low);
    return std::isnan(share) ? share : std::clamp(share, -1e6, 1e6);
}

} // namespace

double ChartLayout::xPixel(double value) const
{
    return left + axisShare(value, xAxis) * (right - left);
}

double ChartLayout::yPixel(double value) const
{
    return bottom - axisShare(value, yAxis) * (bottom - top);
}

int curveColour(int index)
{
    return palette[static_cast<std::size_t>(index) % std::size(palette)];
}

std::string optionsSummary(const calcrun::CaseOptions& o)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "E/B/T %d  %s  corr. %d  heel %g\xF8", o.behaviourCode,
                  o.sheddingCode == 2 ? "CONST" : "SHED", o.corrosionCode, static_cast<double>(o.heelAngle));
    return buffer;
}

std::string legendLine(const CaseStudy& study, const EngineeringUnit& unit)
{
    std::string line = std::string(1, study.letter) + "  " + optionsSummary(study.options) + "  Mu " +
                       format("%.3f", study.ultimateMoment / unit.perUnit) + " " + unit.name;
    if (study.plasticMoment > 0) line += "  (" + format("%.2f", study.ultimateMoment / study.plasticMoment) + " Mp)";
    if (!study.peakReached()) line += "  peak not reached";
    return line;
}

std::vector<LabelBox> referenceLabels(const CaseData& data, const ChartLayout& c,
                                      const std::function<int(const std::string&)>& width)
{
    std::vector<LabelBox> placed;
    std::vector<double> drawn;
    // Inside the frame of the plot box, which is drawn on its edge pixels.
    const int highest = c.top + 2, lowest = c.bottom - 1 - referenceLabelHeight;
    for (const CaseStudy& s : data.studies) {
        for (const bool plastic : {true, false}) {
            const double value = plastic ? s.plasticMoment : s.firstYieldMoment;
            if (value <= 0 || std::find(drawn.begin(), drawn.end(), value) != drawn.end()) continue;
            drawn.push_back(value);
            LabelBox box;
            box.text = (plastic ? "Mp" : "first yield") +
                       sharingLetters(data, plastic ? &CaseStudy::plasticMoment : &CaseStudy::firstYieldMoment, value);
            const int lineY = static_cast<int>(c.yPixel(value / c.moment.perUnit));
            box.top = lineY - referenceLabelHeight;
            if (box.top < highest) box.top = lineY + 3;    // no room above the line: below it
            box.top = std::max(std::min(box.top, lowest), highest);
            const int w = width(box.text);
            box.left = c.left + 6;
            for (bool moved = true; moved;) {
                moved = false;
                for (const LabelBox& p : placed) {
                    if (std::abs(p.top - box.top) < 13 && box.left < p.right + 10 && box.left + w > p.left - 10) {
                        box.left = p.right + 10;
                        moved = true;
                    }
                }
            }
            box.left = std::max(std::min(box.left, c.right - 1 - w), c.left + 2);
            box.right = box.left + w;
            box.bottom = box.top + referenceLabelHeight;
            placed.push_back(box);
        }
    }
    return placed;
}

ChartLayout chartLayout(const CaseData& data, int paneWidth, int paneHeight)
{
    ChartLayout c;
    double maxCurvature = 0, maxMoment = 0, minMoment = 0;
    for (const CaseStudy& s : data.studies) {
        for (const StepRow& row : s.steps) {
            maxCurvature = std::max(maxCurvature, row.curvature);
            maxMoment = std::max(maxMoment, row.moment);
            minMoment = std::min(minMoment, row.moment);
        }
        maxMoment = std::max({maxMoment, s.plasticMoment, s.ultimateMoment});
    }
    for (const DesignMoment& d : data.assessment.design) maxMoment = std::max(maxMoment, d.moment * 1e6);
    c.curvature = curvatureUnit(maxCurvature);
    c.moment = momentUnit(maxMoment);

    const int n = static_cast<int>(data.studies.size());
    c.legendColumns = n <= 10 ? 1 : (n <= 30 ? 2 : 3);
    c.legendRows = (n + c.legendColumns - 1) / c.legendColumns;
    c.columnWidth = (paneWidth - 80) / c.legendColumns;
    c.left = 80;
    c.right = paneWidth - 40;
    c.top = 50;
    c.legendTop = paneHeight - 12 - c.legendRows * legendRowHeight;
    c.bottom = std::max(c.top + 40, c.legendTop - 52);
    c.xAxis = pleasantAxis(0, maxCurvature / c.curvature.perUnit, std::max(2, (c.right - c.left) / 90));
    c.yAxis = pleasantAxis(minMoment / c.moment.perUnit, maxMoment / c.moment.perUnit,
                           std::max(2, (c.bottom - c.top) / 45));
    return c;
}

void drawMomentChart(const CaseData& data, int paneWidth, int paneHeight)
{
    const ChartLayout c = chartLayout(data, paneWidth, paneHeight);
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    setColour(white);
    drawRectangle(3, 0, 0, paneWidth - 1, paneHeight - 1);

    selectFont("t'arial'h16w8e");
    setColour(black);
    text(c.left, 12, data.caseName + "   moment against curvature, every case study");

    // Grid, ticks and their values.
    selectFont("t'arial'h12w6");
    pixelWindow(0, 0, paneWidth - 1, paneHeight - 1);
    for (double v : c.xAxis.ticks()) {
        const double x = c.xPixel(v);
        setColour(gridGrey);
        line(x, c.top, x, c.bottom);
        setColour(black);
        line(x, c.bottom, x, c.bottom + 5);
        const std::string label = tickLabel(v, c.xAxis.step);
        text(static_cast<int>(x) - graphicTextWidth(label) / 2, c.bottom + 8, label);
    }
    for (double v : c.yAxis.ticks()) {
        const double y = c.yPixel(v);
        setColour(gridGrey);
        line(c.left, y, c.right, y);
        setColour(black);
        line(c.left - 5, y, c.left, y);
        const std::string label = tickLabel(v, c.yAxis.step);
        text(c.left - 9 - graphicTextWidth(label), static_cast<int>(y) - 7, label);
    }
    setColour(black);
    drawRectangle(2, c.left, c.top, c.right, c.bottom);
    selectFont("t'arial'h14w7e");
    const std::string xTitle = "curvature (" + c.curvature.name + ")";
    text((c.left + c.right - graphicTextWidth(xTitle)) / 2, c.bottom + 26, xTitle);
    text(8, c.top - 22, "M (" + c.moment.name + ")");

    // Reference lines: each distinct plastic and first-yield moment once.
    selectFont("t'arial'h12w6");
    pixelWindow(c.left + 1, c.top + 1, c.right - 1, c.bottom - 1);
    std::vector<double> drawn;
    for (const CaseStudy& s : data.studies) {
        for (const bool plastic : {true, false}) {
            const double value = plastic ? s.plasticMoment : s.firstYieldMoment;
            if (value <= 0 || std::find(drawn.begin(), drawn.end(), value) != drawn.end()) continue;
            drawn.push_back(value);
            const double y = c.yPixel(value / c.moment.perUnit);
            setColour(labelGrey);
            dashedLine(c.left, y, c.right, plastic ? 10 : 3, plastic ? 5 : 4);
        }
    }
    // Their names (text is placed in pane pixels).
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    setColour(labelGrey);
    for (const LabelBox& label : referenceLabels(data, c, [](const std::string& t) { return graphicTextWidth(t); }))
        text(label.left, label.top, label.text);
    pixelWindow(c.left + 1, c.top + 1, c.right - 1, c.bottom - 1);

    // The curves, from the unloaded section through the 50 steps, two pixels wide.
    for (std::size_t k = 0; k < data.studies.size(); ++k) {
        const CaseStudy& s = data.studies[k];
        setColour(curveColour(static_cast<int>(k)));
        for (const double offset : {0.0, 1.0}) {
            moveToReal(c.xPixel(0), c.yPixel(0) + offset);
            for (const StepRow& row : s.steps)
                lineToReal(c.xPixel(row.curvature / c.curvature.perUnit), c.yPixel(row.moment / c.moment.perUnit) + offset);
        }
    }
    // Ultimate points over every curve.
    for (std::size_t k = 0; k < data.studies.size(); ++k) {
        const CaseStudy& s = data.studies[k];
        const double curvature = s.ultimateCurvature > 0 ? s.ultimateCurvature
                                                         : s.steps[static_cast<std::size_t>(s.ultimateStep - 1)].curvature;
        const int x = static_cast<int>(std::lround(c.xPixel(curvature / c.curvature.perUnit)));
        const int y = static_cast<int>(std::lround(c.yPixel(s.ultimateMoment / c.moment.perUnit)));
        setViewport(0, 0, paneWidth - 1, paneHeight - 1);
        setColour(curveColour(static_cast<int>(k)));
        drawRectangle(3, x - 3, y - 3, x + 3, y + 3);
        setColour(black);
        drawRectangle(2, x - 4, y - 4, x + 4, y + 4);
    }

    // Legend.
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    selectFont("t'arial'h14w7");
    for (std::size_t k = 0; k < data.studies.size(); ++k) {
        const int row = static_cast<int>(k) % c.legendRows, column = static_cast<int>(k) / c.legendRows;
        const int x = c.left + column * c.columnWidth, y = c.legendTop + row * legendRowHeight;
        setColour(curveColour(static_cast<int>(k)));
        drawRectangle(3, x, y + 6, x + 22, y + 8);
        drawRectangle(3, x + 8, y + 4, x + 14, y + 10);
        setColour(black);
        text(x + 30, y, legendLine(data.studies[k], c.moment));
    }
    selectFont("t'arial'h12w6");
    setColour(labelGrey);
    const std::string note = "\xFE ultimate moment   - - Mp plastic moment   \xFA\xFA first yield of an element";
    text(c.right - graphicTextWidth(note), c.top - 20, note);
    drawDesignMoments(data, c, paneWidth, paneHeight);
}

} // namespace tarnova::flexura
