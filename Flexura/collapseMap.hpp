#pragma once
// Screen 2: the collapse map. The section to scale, each element a short stroke along its
// plating (a square for a hard corner) coloured by its state at the chosen step, the neutral
// axis of that step as a line, a legend, and the case study, step, curvature and moment below.

#include "caseData.hpp"

#include <array>
#include <cstdint>
#include <string>

namespace tarnova::flexura {

struct MapLayout {
    int left = 0, top = 0, right = 0, bottom = 0;   // the map box, pixels
    double scale = 1;                                // pixels per mm, the same across and up
    double originX = 0, originY = 0;                 // pixel of section point (0, 0)
    double xPixel(double x) const { return originX + x * scale; }
    double yPixel(double y) const { return originY - y * scale; }
};
MapLayout mapLayout(const CaseData& data, int paneWidth, int paneHeight);

// What the map shows: case study (from 0), step (from 1), the selected element (from 0; -1
// none).
struct MapView {
    int study = 0;
    int step = 1;
    int selected = -1;
};

// The palette colour of a state.
int stateColour(ElementState state);
// The map's own colours (0x00BBGGRR), from Okabe and Ito's set, chosen so that every two of the
// legend (the four states and the neutral axis, black) stay apart for the three common
// colour-vision deficiencies: sky blue tension elastic, blue tension yielded, yellow compression
// before peak, vermillion compression past peak. They follow the shared colour table in the
// palette (loadMapColours, after loadPalette); the classic programs never use those indices.
inline constexpr std::array<std::uint32_t, 4> mapColours = {
    86u | 180u << 8 | 233u << 16, 0u | 114u << 8 | 178u << 16, 240u | 228u << 8 | 66u << 16, 213u | 94u << 8 | 0u << 16};
void loadMapColours();
// The neutral axis's palette colour.
int axisColour();

void drawCollapseMap(const CaseData& data, const MapLayout& layout, const MapView& view, int paneWidth,
                     int paneHeight);

// A value of the curve file (".981E+00", "-.238E+03") as an engineer writes it, to the three
// significant digits the file holds: "0.981", "-238"; beyond 0.001 to 999999 with an exponent that is
// a multiple of three ("1.23e-6"). Text that is no number is returned as it is.
std::string engineeringText(std::string_view fileText);

// The element drawn nearest the pixel, within a few pixels; -1 when none.
int elementAt(const CaseData& data, const MapLayout& layout, int x, int y);

// "Element 12  plate 666.7 x 18.0  web 350.0 x 12.0  flange 125.0 x 18.0  frames 4200.0 mm   step 24:
// strain ratio 1.23  stress 235 N/mm2  compression past peak"
std::string elementDescription(const CaseData& data, const CaseStudy& study, int step, int element);

} // namespace tarnova::flexura
