// Flexura's rules without a run: element states on hand-made curves, chart ranges and ticks,
// the keys, and the CSV fields.

#include "chartScale.hpp"
#include "cores.hpp"
#include "collapseMap.hpp"
#include "elementStates.hpp"
#include "mapNavigation.hpp"
#include "momentChart.hpp"
#include "tableFiles.hpp"

#include "fkey.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>
#include <cmath>
#include <limits>

#include <cmath>

#include <set>
#include <string>
#include <vector>

namespace tarnova::flexura {
namespace {

constexpr ElementState TE = ElementState::tensionElastic, TY = ElementState::tensionYielded,
                       CB = ElementState::compressionBeforePeak, CP = ElementState::compressionPastPeak;

TEST(ElementStates, HandMadeCurvesAreClassifiedStepByStep)
{
    struct Row {
        const char* what;
        std::vector<double> strain, stress;
        std::vector<ElementState> expected;
    };
    const Row rows[] = {
        {"tension up to and past yield", {-0.2, -0.9, -1.0, -1.5}, {-47, -211, -235, -235}, {TE, TE, TY, TY}},
        {"compression rising, then shedding", {0.3, 0.8, 1.2, 1.6}, {70, 180, 150, 120}, {CB, CB, CP, CP}},
        {"compression holding its peak (CONST) has collapsed", {0.5, 1.0, 1.5, 2.0}, {117, 235, 235, 235}, {CB, CB, CP, CP}},
        {"unloading is not collapse", {0.5, 0.8, 0.6, 0.4}, {117, 188, 141, 94}, {CB, CB, CB, CB}},
        {"a second rise beyond the first peak is before the new peak", {0.5, 1.0, 1.5, 2.0}, {200, 150, 210, 180}, {CB, CP, CB, CP}},
        {"zero strain counts as tension elastic", {0.0, 0.4, -0.1, 0.6}, {0, 94, -23, 141}, {TE, CB, TE, CB}},
    };
    for (const Row& row : rows) {
        std::vector<ElementState> states(row.strain.size());
        classifyElement(row.strain.data(), row.stress.data(), static_cast<int>(row.strain.size()), 1, states.data());
        EXPECT_EQ(states, row.expected) << row.what;
    }
}

TEST(ElementStates, StridedTablesAreReadPerElement)
{
    // Two elements interleaved as in a study's table: element 0 in tension, element 1 collapsing.
    const std::vector<double> strain = {-0.5, 0.5, -1.2, 1.0, -1.4, 1.5};
    const std::vector<double> stress = {-117, 100, -235, 200, -235, 150};
    std::vector<ElementState> states(6);
    classifyElement(strain.data(), stress.data(), 3, 2, states.data());
    classifyElement(strain.data() + 1, stress.data() + 1, 3, 2, states.data() + 1);
    EXPECT_EQ(states, (std::vector<ElementState>{TE, CB, TY, CB, TY, CP}));
}

TEST(ChartScale, RangesAndTicksArePleasant)
{
    struct Row {
        double smallest, largest;
        int maxTicks;
        double low, high, step;
    };
    const Row rows[] = {
        {0, 0.3288, 10, 0, 0.35, 0.05},
        {0, 13.61, 11, 0, 14, 2},
        {0, 13.61, 5, 0, 15, 5},
        {0, 7.2, 8, 0, 8, 1},
        {0, 1.0, 4, 0, 1.0, 0.25},
        {0, 0.0123, 6, 0, 0.0125, 0.0025},
        {-3.2, 7.5, 6, -4, 8, 2},
        {0, 0, 5, 0, 1, 0.2},
        {0, 2500, 6, 0, 2500, 500},
    };
    for (const Row& r : rows) {
        const AxisScale a = pleasantAxis(r.smallest, r.largest, r.maxTicks);
        EXPECT_NEAR(a.low, r.low, 1e-12) << r.largest;
        EXPECT_NEAR(a.high, r.high, 1e-12) << r.largest;
        EXPECT_NEAR(a.step, r.step, 1e-12) << r.largest;
        EXPECT_LE(static_cast<int>(a.ticks().size()) - 1, r.maxTicks) << r.largest;
    }
    EXPECT_EQ(tickLabel(0.15000000000000002, 0.05), "0.15");
    EXPECT_EQ(tickLabel(12, 2), "12");
    EXPECT_EQ(tickLabel(0.5, 0.25), "0.50");
    EXPECT_EQ(tickLabel(-1e-17, 0.05), "0.00");
}

// A curvature of 1E308 shown per km is infinite: the step search once looped for ever on it.
TEST(ChartScale, AxesBeyondDoubleRangeEndWithFiniteEnds)
{
    const double inf = std::numeric_limits<double>::infinity(), largest = std::numeric_limits<double>::max();
    const double rows[][2] = {{0, inf}, {-inf, inf}, {0, largest}, {-largest, largest}, {std::nan(""), 1}};
    for (const auto& r : rows) {
        const AxisScale a = pleasantAxis(r[0], r[1], 8);
        EXPECT_TRUE(std::isfinite(a.low) && std::isfinite(a.high)) << r[0] << " " << r[1];
        EXPECT_GT(a.high, a.low) << r[0] << " " << r[1];
        EXPECT_LE(a.ticks().size(), 10u) << r[0] << " " << r[1];
    }
}

TEST(ChartScale, EngineeringUnitsFollowTheLargestValue)
{
    struct Row {
        double largest;
        double perUnit;
        const char* name;
    };
    const Row moments[] = {{1.361e13, 1e12, "GN\xFAm"}, {1e12, 1e12, "GN\xFAm"}, {9.99e11, 1e9, "MN\xFAm"},
                           {4.2e9, 1e9, "MN\xFAm"}, {5e8, 1e6, "kN\xFAm"}};
    for (const Row& r : moments) {
        EXPECT_EQ(momentUnit(r.largest).perUnit, r.perUnit) << r.largest;
        EXPECT_EQ(momentUnit(r.largest).name, r.name) << r.largest;
    }
    EXPECT_EQ(curvatureUnit(3.288e-7).name, "1/km");
    EXPECT_EQ(curvatureUnit(2e-3).name, "1/m");
}

CaseData twoStudies()
{
    CaseData data;
    data.caseName = "CASE";
    data.elements.resize(3);
    for (int k = 0; k < 2; ++k) {
        CaseStudy s;
        s.number = k + 1;
        s.letter = static_cast<char>('A' + k);
        s.ultimateStep = k == 0 ? 19 : 32;
        data.studies.push_back(s);
    }
    return data;
}

// The map's details read as an engineer writes numbers, never in the file's E-notation.
TEST(ElementDetails, CurveFileValuesReadInEngineeringNotation)
{
    const std::pair<const char*, const char*> cases[] = {
        {".981E+00", "0.981"}, {".238E+03", "238"},  {"-.238E+03", "-238"}, {".123E+01", "1.23"},
        {".100E+01", "1.00"},  {".999E-03", "999e-6"}, {".123E-05", "1.23e-6"}, {".456E+07", "4.56e6"},
        {".000E+00", "0"},     {"-.500E-01", "-0.0500"}, {"*********", "*********"}, {"", ""},
    };
    for (const auto& [file, shown] : cases) EXPECT_EQ(flexura::engineeringText(file), shown) << file;
}

// CIE L*a*b* (D65) of an sRGB colour, after the colour-vision deficiency's simulation in linear
// RGB (Machado, Oliveira and Fernandes 2009, full severity; none when `deficiency` is null).
std::array<double, 3> seenLab(std::uint32_t bgr, const double (*deficiency)[3])
{
    auto linear = [](double c) { c /= 255; return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    double rgb[3] = {linear(bgr & 0xFF), linear(bgr >> 8 & 0xFF), linear(bgr >> 16 & 0xFF)};
    if (deficiency != nullptr) {
        double seen[3];
        for (int i = 0; i < 3; ++i)
            seen[i] = std::clamp(deficiency[i][0] * rgb[0] + deficiency[i][1] * rgb[1] + deficiency[i][2] * rgb[2], 0.0, 1.0);
        std::copy(seen, seen + 3, rgb);
    }
    const double x = (0.4124564 * rgb[0] + 0.3575761 * rgb[1] + 0.1804375 * rgb[2]) / 0.95047;
    const double y = 0.2126729 * rgb[0] + 0.7151522 * rgb[1] + 0.0721750 * rgb[2];
    const double z = (0.0193339 * rgb[0] + 0.1191920 * rgb[1] + 0.9503041 * rgb[2]) / 1.08883;
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// Every two colours of the map's legend (four states and the neutral axis) differ by at least
// ΔE 20 (CIE 1976) as seen with protanopia, deuteranopia and tritanopia, and with normal vision.
TEST(MapColours, LegendColoursStayApartForTheCommonColourVisionDeficiencies)
{
    static const double protanopia[3][3] = {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216},
                                            {-0.003882, -0.048116, 1.051998}};
    static const double deuteranopia[3][3] = {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413},
                                              {-0.011820, 0.042940, 0.968881}};
    static const double tritanopia[3][3] = {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602},
                                            {0.004733, 0.691367, 0.303900}};
    // The colours as the map's palette holds them.
    std::array<std::uint32_t, 256> palette{};
    std::copy(tarnova::colourTable().begin(), tarnova::colourTable().end(), palette.begin());
    std::copy(mapColours.begin(), mapColours.end(), palette.begin() + tarnova::colourTableSize);
    std::vector<std::pair<std::string, std::uint32_t>> legend;
    for (int s = 0; s < stateCount; ++s) {
        const auto state = static_cast<ElementState>(s);
        legend.emplace_back(stateName(state), palette[static_cast<std::size_t>(stateColour(state))]);
    }
    legend.emplace_back("neutral axis", palette[static_cast<std::size_t>(axisColour())]);
    const std::pair<const char*, const double (*)[3]> visions[] = {
        {"normal", nullptr}, {"protanopia", protanopia}, {"deuteranopia", deuteranopia}, {"tritanopia", tritanopia}};
    for (const auto& [vision, matrix] : visions)
        for (std::size_t i = 0; i < legend.size(); ++i)
            for (std::size_t j = i + 1; j < legend.size(); ++j) {
                const auto a = seenLab(legend[i].second, matrix), b = seenLab(legend[j].second, matrix);
                const double deltaE = std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
                EXPECT_GE(deltaE, 20.0) << legend[i].first << " and " << legend[j].first << " with " << vision;
            }
}

TEST(ChartColours, TwentySevenCaseStudiesEachHaveTheirOwnColour)
{
    std::set<int> colours;
    for (int k = 0; k < 27; ++k) {
        const int c = curveColour(k);
        EXPECT_TRUE(c != 15 && c != 7 && c != 37 && c != 38 && c != 16 && c != 29 && c != 25 && c != 31 && c != 35) << c;
        colours.insert(c);
    }
    EXPECT_EQ(colours.size(), 27u);
}

TEST(MapKeys, EachKeyMovesWhatItSays)
{
    const CaseData data = twoStudies();
    struct Row {
        const char* what;
        ViewState before;
        int character, code;
        Action action;
        Screen screen;
        int study, step, selected;
    };
    const ViewState chart{Screen::chart, {0, 19, -1}};
    const ViewState map{Screen::map, {0, 10, -1}};
    const ViewState mapChosen{Screen::map, {1, 50, 2}};
    const Row rows[] = {
        {"Tab shows the map", chart, fkey::tab, 0, Action::redraw, Screen::map, 0, 19, -1},
        {"Tab shows the chart", map, fkey::tab, 0, Action::redraw, Screen::chart, 0, 10, -1},
        {"Right", map, 0, fkey::right, Action::redraw, Screen::map, 0, 11, -1},
        {"Left", map, 0, fkey::left, Action::redraw, Screen::map, 0, 9, -1},
        {"Right stops at 50", mapChosen, 0, fkey::right, Action::none, Screen::map, 1, 50, 2},
        {"Home", map, 0, fkey::home, Action::redraw, Screen::map, 0, 1, -1},
        {"End", map, 0, fkey::end, Action::redraw, Screen::map, 0, 50, -1},
        {"U", map, 'u', 0, Action::redraw, Screen::map, 0, 19, -1},
        {"U of the second study", mapChosen, 'U', 0, Action::redraw, Screen::map, 1, 32, 2},
        {"PgDn", map, 0, fkey::pageDown, Action::redraw, Screen::map, 1, 10, -1},
        {"PgUp stops at the first", map, 0, fkey::pageUp, Action::none, Screen::map, 0, 10, -1},
        {"Down chooses element 1", map, 0, fkey::down, Action::redraw, Screen::map, 0, 10, 0},
        {"Up from none chooses the last", map, 0, fkey::up, Action::redraw, Screen::map, 0, 10, 2},
        {"Down stops at the last", mapChosen, 0, fkey::down, Action::none, Screen::map, 1, 50, 2},
        {"Enter with an element", mapChosen, fkey::enter, 0, Action::openCurvella, Screen::map, 1, 50, 2},
        {"Enter with none", map, fkey::enter, 0, Action::noElement, Screen::map, 0, 10, -1},
        {"Enter on the chart shows the map", chart, fkey::enter, 0, Action::redraw, Screen::map, 0, 19, -1},
        {"steps on the chart change nothing shown", chart, 0, fkey::right, Action::none, Screen::chart, 0, 20, -1},
        {"menu Save", chart, 0, saveKeyCode, Action::save, Screen::chart, 0, 19, -1},
        {"menu Exit", map, 0, exitKeyCode, Action::exit, Screen::map, 0, 10, -1},
        {"other keys", map, 'x', 0, Action::none, Screen::map, 0, 10, -1},
    };
    for (const Row& r : rows) {
        ViewState view = r.before;
        EXPECT_EQ(applyKey(view, data, r.character, r.code), r.action) << r.what;
        EXPECT_EQ(view.screen, r.screen) << r.what;
        EXPECT_EQ(view.map.study, r.study) << r.what;
        EXPECT_EQ(view.map.step, r.step) << r.what;
        EXPECT_EQ(view.map.selected, r.selected) << r.what;
    }
}

TEST(MapClicks, AClickChoosesTheElementDrawnThereAndADoubleClickOpensIt)
{
    CaseData data = twoStudies();
    // Three plates across (stiffeners toward -y) 1000 mm wide, at x 0, 2000 and 4000, y 0 and 1000.
    const double xs[] = {0, 2000, 4000}, ys[] = {0, 1000, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        data.elements[i].x = xs[i];
        data.elements[i].y = ys[i];
        data.elements[i].dimensions = {2400, 1000, 15, 0, 0, 0, 0};
        data.elements[i].orientation = 1;
        data.elements[i].kind = 3;
    }
    const MapLayout layout = mapLayout(data, 1024, 768);
    auto at = [&](int i) {
        return std::pair<int, int>{static_cast<int>(std::lround(layout.xPixel(xs[i]))),
                                   static_cast<int>(std::lround(layout.yPixel(ys[i])))};
    };
    ViewState view{Screen::map, {0, 10, -1}};
    auto [x1, y1] = at(1);
    EXPECT_EQ(applyClick(view, data, layout, x1, y1, false), Action::redraw);
    EXPECT_EQ(view.map.selected, 1);
    EXPECT_EQ(applyClick(view, data, layout, x1 + 3, y1 + 2, false), Action::none);   // the same one, nearby
    EXPECT_EQ(view.map.selected, 1);
    auto [x2, y2] = at(2);
    EXPECT_EQ(applyClick(view, data, layout, x2, y2, true), Action::openCurvella);
    EXPECT_EQ(view.map.selected, 2);
    EXPECT_EQ(applyClick(view, data, layout, x1, y1 + 100, false), Action::none);    // beside every element
    EXPECT_EQ(view.map.selected, 2);
    ViewState chart{Screen::chart, {0, 10, -1}};
    EXPECT_EQ(applyClick(chart, data, layout, x1, y1, false), Action::none);
    EXPECT_EQ(chart.map.selected, -1);
}

TEST(CsvFields, OnlyFieldsThatMustBeQuotedAreQuoted)
{
    const std::pair<const char*, const char*> rows[] = {
        {".476E-01", ".476E-01"}, {"-.324E-01", "-.324E-01"}, {"a,b", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""}, {"two\r\nlines", "\"two\r\nlines\""}, {"", ""}};
    for (const auto& [field, expected] : rows) {
        std::string out;
        appendField(out, field);
        EXPECT_EQ(out, expected) << field;
    }
}

} // namespace
} // namespace tarnova::flexura
