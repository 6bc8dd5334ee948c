#include "collapseMap.hpp"
#include "screenText.hpp"

#include "chartScale.hpp"
#include "cores.hpp"
#include "display/Display.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <cstring>
#include <cstdlib>

namespace tarnova::flexura {

namespace {

constexpr int white = 15, black = 0, labelGrey = 8;
constexpr int hardCorner = 1;
constexpr int infoHeight = 92;     // the lines under the map
constexpr int pickRadius = 6;      // pixels

// The pixel rectangle an element is drawn in: a stroke along its plating (across for a
// stiffener toward -y or +y, upright for one toward -x or +x) or a square for a hard corner.
struct Mark {
    int x1, y1, x2, y2;
};
Mark elementMark(const SectionElement& e, const MapLayout& m)
{
    const int cx = static_cast<int>(std::lround(m.xPixel(e.x)));
    const int cy = static_cast<int>(std::lround(m.yPixel(e.y)));
    if (e.kind == hardCorner) return {cx - 3, cy - 3, cx + 3, cy + 3};
    const int half = std::max(1, static_cast<int>(e.plateWidth() * m.scale / 2) - 1);
    if (e.orientation == 3 || e.orientation == 4) return {cx - 1, cy - half, cx + 1, cy + half};
    return {cx - half, cy - 1, cx + half, cy + 1};
}

// The stiffener as a short tick from the middle of the stroke, the way it points.
void drawStiffener(const SectionElement& e, const MapLayout& m)
{
    const double web = e.dimensions[5];
    if (e.kind == hardCorner || web <= 0) return;
    const int length = std::clamp(static_cast<int>(web * m.scale), 2, 6);
    const int cx = static_cast<int>(std::lround(m.xPixel(e.x)));
    const int cy = static_cast<int>(std::lround(m.yPixel(e.y)));
    switch (e.orientation) {
    case 1: drawRectangle(3, cx, cy + 2, cx, cy + 1 + length); break;
    case 2: drawRectangle(3, cx, cy - 1 - length, cx, cy - 2); break;
    case 3: drawRectangle(3, cx - 1 - length, cy, cx - 2, cy); break;
    case 4: drawRectangle(3, cx + 2, cy, cx + 1 + length, cy); break;
    default: break;
    }
}

// The neutral axis through (x, y) at the heel angle: the points of zero strain,
// (y - yna) cos(heel) + (x - xna) sin(heel) = 0, drawn across the whole map box.
void drawNeutralAxis(const MapLayout& m, const StepRow& row, double heelDegrees)
{
    const double heel = heelDegrees * 3.141592653589793 / 180.0;
    const double dx = std::cos(heel), dy = -std::sin(heel);   // along the axis, section mm
    const double reach = 4.0 * (m.right - m.left + m.bottom - m.top) / m.scale;
    setViewport(m.left, m.top, m.right, m.bottom);
    setRealWindow(false, m.left, m.top, m.right, m.bottom);
    setColour(axisColour());
    for (const double offset : {0.0, 1.0}) {
        moveToReal(m.xPixel(row.axisX - reach * dx), m.yPixel(row.axisY - reach * dy) + offset);
        lineToReal(m.xPixel(row.axisX + reach * dx), m.yPixel(row.axisY + reach * dy) + offset);
    }
}

} // namespace

int stateColour(ElementState state)
{
    switch (state) {
    case ElementState::tensionElastic: return colourTableSize;              // sky blue
    case ElementState::tensionYielded: return colourTableSize + 1;          // blue
    case ElementState::compressionBeforePeak: return colourTableSize + 2;   // yellow
    case ElementState::compressionPastPeak: return colourTableSize + 3;     // vermillion
    }
    return black;
}

int axisColour() { return black; }

void loadMapColours()
{
    std::array<std::uint32_t, colourTableSize + mapColours.size()> colours{};
    std::copy(colourTable().begin(), colourTable().end(), colours.begin());
    std::copy(mapColours.begin(), mapColours.end(), colours.begin() + colourTableSize);
    setPalette(colours.data(), static_cast<int>(colours.size()));
}

MapLayout mapLayout(const CaseData& data, int paneWidth, int paneHeight)
{
    MapLayout m;
    m.left = 20;
    m.top = 40;
    m.right = paneWidth - 21;
    m.bottom = paneHeight - infoHeight - 10;
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    if (!data.elements.empty()) {
        xmin = xmax = data.elements[0].x;
        ymin = ymax = data.elements[0].y;
    }
    for (const SectionElement& e : data.elements) {
        xmin = std::min(xmin, e.x);
        xmax = std::max(xmax, e.x);
        ymin = std::min(ymin, e.y);
        ymax = std::max(ymax, e.y);
    }
    constexpr int margin = 24;
    const double width = std::max(xmax - xmin, 1.0), height = std::max(ymax - ymin, 1.0);
    m.scale = std::min((m.right - m.left - 2 * margin) / width, (m.bottom - m.top - 2 * margin) / height);
    // Centred in the box.
    m.originX = (m.left + m.right) / 2.0 - (xmin + width / 2) * m.scale;
    m.originY = (m.top + m.bottom) / 2.0 + (ymin + height / 2) * m.scale;
    return m;
}

void drawCollapseMap(const CaseData& data, const MapLayout& m, const MapView& view, int paneWidth, int paneHeight)
{
    const CaseStudy& study = data.studies[static_cast<std::size_t>(view.study)];
    const int n = data.elementCount();
    const int j = view.step - 1;
    const StepRow& row = study.steps[static_cast<std::size_t>(j)];

    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    setColour(white);
    drawRectangle(3, 0, 0, paneWidth - 1, paneHeight - 1);
    selectFont("t'arial'h16w8e");
    setColour(black);
    text(m.left, 12, data.caseName + "   collapse map   case study " + std::string(1, study.letter));
    setColour(labelGrey);
    drawRectangle(2, m.left, m.top, m.right, m.bottom);

    drawNeutralAxis(m, row, static_cast<double>(study.options.heelAngle));
    setViewport(0, 0, paneWidth - 1, paneHeight - 1);
    for (int i = 0; i < n; ++i) {
        const SectionElement& e = data.elements[static_cast<std::size_t>(i)];
        setColour(stateColour(study.state[static_cast<std::size_t>(j) * static_cast<std::size_t>(n) + static_cast<std::size_t>(i)]));
        const Mark k = elementMark(e, m);
        drawRectangle(3, k.x1, k.y1, k.x2, k.y2);
        drawStiffener(e, m);
    }
    if (view.selected >= 0 && view.selected < n) {
        const Mark k = elementMark(data.elements[static_cast<std::size_t>(view.selected)], m);
        setColour(black);
        drawRectangle(2, k.x1 - 3, k.y1 - 3, k.x2 + 3, k.y2 + 3);
        drawRectangle(2, k.x1 - 4, k.y1 - 4, k.x2 + 4, k.y2 + 4);
    }

    // Under the map: the step, the legend, the element chosen and the keys.
    const int y0 = m.bottom + 8;
    const EngineeringUnit curvature = curvatureUnit(row.curvature), moment = momentUnit(study.ultimateMoment);
    selectFont("t'arial'h14w7e");
    setColour(black);
    text(m.left, y0,
         std::string(1, study.letter) + "  " + optionsSummary(study.options) + "     step " + std::to_string(view.step) +
             " of 50" + (view.step == study.ultimateStep ? " (ultimate)" : " (ultimate " + std::to_string(study.ultimateStep) + ")") +
             "     curvature " + format("%.4f", row.curvature / curvature.perUnit) + " " + curvature.name + "     M " +
             format("%.3f", row.moment / moment.perUnit) + " " + moment.name);

    selectFont("t'arial'h14w7");
    int x = m.left;
    const int y1 = y0 + 20;
    for (int s = 0; s < stateCount; ++s) {
        const auto state = static_cast<ElementState>(s);
        setColour(stateColour(state));
        drawRectangle(3, x, y1 + 5, x + 18, y1 + 9);
        setColour(black);
        const std::string label = std::string(stateName(state)) + (state == ElementState::compressionPastPeak ? " (collapsed)" : "");
        text(x + 24, y1, label);
        x += 24 + graphicTextWidth(label) + 22;
    }
    setColour(axisColour());
    drawRectangle(3, x, y1 + 6, x + 18, y1 + 7);
    setColour(black);
    text(x + 24, y1, "neutral axis");

    if (view.selected >= 0 && view.selected < n) {
        setColour(black);
        text(m.left, y1 + 20, elementDescription(data, study, view.step, view.selected));
    }
    selectFont("t'arial'h12w6");
    setColour(labelGrey);
    text(m.left, y1 + 42,
         "Left/Right step   Home/End first/last   U ultimate   PgUp/PgDn case study   Up/Down element   "
         "Enter Curvella   Tab chart");
}

int elementAt(const CaseData& data, const MapLayout& m, int x, int y)
{
    int best = -1;
    long bestDistance = static_cast<long>(pickRadius) * pickRadius + 1;
    for (int i = 0; i < data.elementCount(); ++i) {
        const Mark k = elementMark(data.elements[static_cast<std::size_t>(i)], m);
        const long dx = x < k.x1 ? k.x1 - x : (x > k.x2 ? x - k.x2 : 0);
        const long dy = y < k.y1 ? k.y1 - y : (y > k.y2 ? y - k.y2 : 0);
        const long d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

std::string engineeringText(std::string_view fileText)
{
    const std::string text(fileText);
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end == text.c_str() || *end != '\0' || !std::isfinite(v)) return text;
    if (v == 0) return "0";
    constexpr int significant = 3;
    auto fixed = [](int decimals, double value) {
        char out[48];
        std::snprintf(out, sizeof out, "%.*f", decimals, value);
        return std::string(out);
    };
    // The digits first, rounded: the exponent is that of the rounded value (.9996 gives 1.00).
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.*e", significant - 1, v);
    const int exponent = std::atoi(std::strchr(digits, 'e') + 1);
    const double rounded = std::strtod(digits, nullptr);
    if (exponent >= -3 && exponent < 6)
        return fixed(std::max(significant - 1 - exponent, 0), rounded);
    const int third = exponent >= 0 ? exponent / 3 * 3 : -((-exponent + 2) / 3 * 3);
    const double mantissa = rounded / std::pow(10.0, third);
    return fixed(std::max(significant - 1 - (exponent - third), 0), mantissa) + "e" + std::to_string(third);
}

std::string elementDescription(const CaseData& data, const CaseStudy& study, int step, int element)
{
    const SectionElement& e = data.elements[static_cast<std::size_t>(element)];
    const int n = data.elementCount();
    const std::size_t at = static_cast<std::size_t>(step - 1) * static_cast<std::size_t>(n) + static_cast<std::size_t>(element);
    std::string s = "Element " + std::to_string(element + 1) + "  plate " + format("%.1f", e.dimensions[1]) + " x " +
                    format("%.1f", e.dimensions[2]);
    if (e.dimensions[5] > 0) s += "  web " + format("%.1f", e.dimensions[5]) + " x " + format("%.1f", e.dimensions[6]);
    if (e.dimensions[3] > 0) s += "  flange " + format("%.1f", e.dimensions[3]) + " x " + format("%.1f", e.dimensions[4]);
    s += "  frames " + format("%.1f", e.dimensions[0]) + " mm   step " + std::to_string(step) + ": strain ratio " +
         engineeringText(valueText(study, n, step - 1, element, false)) + "  stress " +
         engineeringText(valueText(study, n, step - 1, element, true)) + " N/mm2  " + std::string(stateName(study.state[at]));
    return s;
}

} // namespace tarnova::flexura
