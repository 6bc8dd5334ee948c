#pragma once
// Screen 2: the collapse map. The section to scale, each element a short stroke along its
// plating (a square for a hard corner) coloured by its state at the chosen step, the neutral
// axis of that step as a line, a legend, and the case study, step, curvature and moment below.

#include "caseData.hpp"

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

void drawCollapseMap(const CaseData& data, const MapLayout& layout, const MapView& view, int paneWidth,
                     int paneHeight);

// The element drawn nearest the pixel, within a few pixels; -1 when none.
int elementAt(const CaseData& data, const MapLayout& layout, int x, int y);

// "Element 12  plate 666.7 x 18.0  web 350.0 x 12.0  flange 125.0 x 18.0  frames 4200.0  at step 24:
// strain ratio .123E+01  stress .235E+03 N/mm2  compression past peak"
std::string elementDescription(const CaseData& data, const CaseStudy& study, int step, int element);

} // namespace tarnova::flexura
