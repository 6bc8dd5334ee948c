// Warnings on a section that the calculator can compute but an engineer would not have meant:
// each names the element or property set and the typing slip it may be.

#include "Calcrun.hpp"
#include "Tables.hpp"
#include "records/FixedText.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>

namespace tarnova {

namespace {

constexpr float sameSpot = 1.0f;             // mm
constexpr float outsideMargin = 0.10f;       // of the header's breadth or depth
constexpr float lowestYield = 150.0f, highestYield = 1100.0f;          // N/mm2
constexpr float lowestModulus = 60000.0f, highestModulus = 230000.0f;  // N/mm2, aluminium to steel
constexpr float slenderPlate = 200.0f;       // b/t
constexpr float slenderWeb = 90.0f;          // h/t

std::string shown(float v)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(v));
    return buffer;
}

// The slip that brings `v` into [low, high]: a decimal point or a digit off by one or two places.
std::string slipInto(float v, float low, float high)
{
    const struct {
        float factor;
        const char* slip;
    } slips[] = {{10.0f, "a decimal point one place off, or a digit missing"},
                 {0.1f, "a decimal point one place off, or a digit too many"},
                 {100.0f, "a decimal point two places off"},
                 {0.01f, "a decimal point two places off"}};
    for (const auto& s : slips) {
        const float w = v * s.factor;
        if (w >= low && w <= high) return shown(v) + ": " + s.slip + " (" + shown(w) + "?)";
    }
    return shown(v) + ": no slip of a decimal point explains it";
}

// The start of the window of width `span` that holds most of `values` (sorted), so that one
// element typed far off does not move the window that judges it.
float densestWindow(std::vector<float> values, float span)
{
    std::sort(values.begin(), values.end());
    std::size_t best = 0, bestCount = 0, j = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        while (j < values.size() && values[j] <= values[i] + span) ++j;
        if (j - i > bestCount) {
            bestCount = j - i;
            best = i;
        }
    }
    return values.empty() ? 0.0f : values[best];
}

} // namespace

std::vector<std::string> sectionWarnings(const SectionInput& section)
{
    std::vector<std::string> out;
    const auto& el = section.elements;
    const std::size_t n = el.size();
    auto element = [](std::size_t i) { return "element " + std::to_string(i + 1); };

    // Two elements on one spot: sorted by x, only neighbours within 1 mm in x are compared.
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return el[a].x < el[b].x; });
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = a + 1; b < n && el[order[b]].x - el[order[a]].x < sameSpot; ++b)
            if (std::hypot(el[order[b]].x - el[order[a]].x, el[order[b]].y - el[order[a]].y) < sameSpot)
                pairs.emplace_back(std::min(order[a], order[b]), std::max(order[a], order[b]));
    std::sort(pairs.begin(), pairs.end());
    for (const auto& [a, b] : pairs)
        out.push_back(element(a) + " and " + element(b) + " stand on one spot (" + shown(el[a].x) + ", " +
                      shown(el[a].y) + "), less than 1 mm apart: one typed twice, or a coordinate copied unchanged?");

    // Outside the header's breadth or depth by more than 10 %.
    auto outside = [&](float extent, bool across) {
        if (extent <= 0 || n == 0) return;
        std::vector<float> values;
        for (const ElementRecord& e : el) values.push_back(across ? e.x : e.y);
        const float low = densestWindow(values, extent);
        const float margin = outsideMargin * extent;
        for (std::size_t i = 0; i < n; ++i) {
            const float v = values[i];
            if (v >= low - margin && v <= low + extent + margin) continue;
            std::string what = element(i) + ": " + (across ? "x " : "y ") + shown(v) + " lies outside the " +
                               (across ? "breadth " : "depth ") + shown(extent) + " by more than 10 %";
            const struct {
                float factor;
                const char* slip;
            } slips[] = {{0.1f, "a digit too many"}, {10.0f, "a digit missing"}, {-1.0f, "a sign slip"}};
            bool explained = false;
            for (const auto& s : slips) {
                const float w = v * s.factor;
                if (w >= low - margin && w <= low + extent + margin) {
                    what += ": " + std::string(s.slip) + " (" + shown(w) + "?)";
                    explained = true;
                    break;
                }
            }
            if (!explained) what += ": x and y swapped, or a coordinate of another section?";
            out.push_back(what);
        }
    };
    outside(section.breadth, true);
    outside(section.depth, false);

    std::vector<int> uses(calcrun::materialSetCount + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const ElementRecord& e = el[i];
        if (e.orientation < 1 || e.orientation > 4)
            out.push_back(element(i) + ": orientation " + std::to_string(e.orientation) +
                          " is not 1 to 4 (1 -y, 2 +y, 3 -x, 4 +x): the stiffener is taken as standing nowhere; "
                          "a key next to the right one, or the element kind typed in its column?");
        if (e.plateThickness > 0 && e.plateWidth / e.plateThickness > slenderPlate)
            out.push_back(element(i) + ": plate slenderness b/t " + shown(std::round(e.plateWidth / e.plateThickness)) +
                          " is above 200 (width " + shown(e.plateWidth) + ", thickness " + shown(e.plateThickness) +
                          "): the thickness a decimal point off, or the width of several spacings?");
        if (e.webHeight > 0 && (e.webThickness <= 0 || e.webHeight / e.webThickness > slenderWeb))
            out.push_back(element(i) + ": stiffener web slenderness h/t " +
                          (e.webThickness > 0 ? shown(std::round(e.webHeight / e.webThickness)) : std::string("without end")) +
                          " is above 90 (height " + shown(e.webHeight) + ", thickness " + shown(e.webThickness) +
                          "): web height and thickness swapped with the flange's, or a decimal point off?");
        const float set = e.propertySet;
        if (set >= 1 && set <= static_cast<float>(calcrun::materialSetCount) && set == std::trunc(set))
            ++uses[static_cast<std::size_t>(set)];
    }

    const std::size_t sets = section.materials.size();
    for (std::size_t k = 0; k < sets; ++k) {
        const MaterialRecord& m = section.materials[k];
        const std::string name = "property set " + std::to_string(k + 1);
        const bool yieldOdd = m.yieldStress < lowestYield || m.yieldStress > highestYield;
        const bool modulusOdd = m.youngsModulus < lowestModulus || m.youngsModulus > highestModulus;
        if (yieldOdd && modulusOdd && m.youngsModulus >= lowestYield && m.youngsModulus <= highestYield &&
            m.yieldStress >= lowestModulus && m.yieldStress <= highestModulus) {
            out.push_back(name + ": yield stress " + shown(m.yieldStress) + " and Young's modulus " + shown(m.youngsModulus) +
                          " N/mm2: the two swapped?");
            continue;
        }
        if (yieldOdd)
            out.push_back(name + ": yield stress outside 150 to 1100 N/mm2, " + slipInto(m.yieldStress, lowestYield, highestYield));
        if (modulusOdd)
            out.push_back(name + ": Young's modulus outside 60000 to 230000 N/mm2, " +
                          slipInto(m.youngsModulus, lowestModulus, highestModulus));
        if (k + 1 <= static_cast<std::size_t>(calcrun::materialSetCount) && uses[k + 1] == 0)
            out.push_back(name + " is used by no element: a set number typed wrong in the .geo, or a steel left over?");
    }
    for (std::size_t k = sets + 1; k <= static_cast<std::size_t>(calcrun::materialSetCount); ++k)
        if (uses[k] > 0)
            out.push_back("property set " + std::to_string(k) + " is used by " + std::to_string(uses[k]) +
                          " element" + (uses[k] == 1 ? "" : "s") + " but the properties file holds " +
                          std::to_string(sets) + " set" + (sets == 1 ? "" : "s") + ": a record missing from the .pro?");
    return out;
}

bool readSectionFiles(std::string_view stem, SectionInput& section, std::string& problem)
{
    const std::string geometry = std::string(stem) + ".geo", properties = std::string(stem) + ".pro";
    struct stat st {};
    for (const std::string& file : {geometry, properties}) {
        if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            problem = file + " cannot be read";
            return false;
        }
    }
    try {
        RecordUnits units;   // errors come back as RecordError
        units.openForReading(calcrun::geometryUnit, geometry, 0);
        FixedText title(80), headings(80);
        std::int32_t declared = 0;
        units.readRecords(calcrun::geometryUnit, "(A80)", {title});
        units.readRecords(calcrun::geometryUnit, "(3F10.1)",
                          {section.firstHeaderValue, section.breadth, section.depth});
        units.readRecords(calcrun::geometryUnit, "(I4)", {declared});
        units.readRecords(calcrun::geometryUnit, "(A80)", {headings});
        section.title = title.trimmed();
        section.headings = headings.trimmed();
        while (!units.atEndOfUnit(calcrun::geometryUnit) &&
               section.elements.size() < static_cast<std::size_t>(calcrun::maxElements)) {
            ElementRecord e;
            units.readRecords(calcrun::geometryUnit, calcrun::elementFormat,
                              {e.frameSpacing, e.plateWidth, e.plateThickness, e.flangeWidth, e.flangeThickness,
                               e.webHeight, e.webThickness, e.propertySet, e.spareGeometryValue, e.totalDepth, e.x,
                               e.y, e.orientation, e.elementKind});
            section.elements.push_back(e);
        }
        constexpr int propertiesUnit = calcrun::propertiesUnit;
        units.openForReading(propertiesUnit, properties, 0);
        while (!units.atEndOfUnit(propertiesUnit) &&
               section.materials.size() < static_cast<std::size_t>(calcrun::materialSetCount)) {
            MaterialRecord m;
            units.readRecords(propertiesUnit, "(2F10.1)", {m.yieldStress, m.youngsModulus});
            // Blank lines after the sets are no sets.
            if (m.yieldStress == 0 && m.youngsModulus == 0) break;
            section.materials.push_back(m);
        }
        units.closeAllUnits();
    } catch (const std::exception& e) {
        problem = e.what();
        return false;
    }
    return true;
}

} // namespace tarnova
