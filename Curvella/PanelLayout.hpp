#pragma once
// Layout of the right third of the element screen: the key plan above and the data panel below,
// and the scale of the key plan's sketch. Pure computations, no display calls.

#include "ElementData.hpp"
#include "PlotLayout.hpp"

namespace tarnova {

struct PixelRect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct PanelLayout {
    int w3 = 0, h3 = 0;                 // paneWidth div 3, paneHeight div 3
    PixelRect keyPlanViewport;
    double keyPlanWidth = 0, keyPlanHeight = 0;     // window (0, 0) to these, y upward
    PixelRect dataViewport;
    double dataWidth = 0, dataHeight = 0;           // window (0, 0) to these, y downward
    int marginX = 0, marginY = 0;                   // key plan margins X(20), Y(20)
    int availableWidth = 0, availableHeight = 0;    // key plan area for the sketch
};

PanelLayout computePanelLayout(int paneWidth, int paneHeight);

// One scale for both directions, so the section keeps its proportions: by the breadth when
// 1.5 x depth is less than it, else by the depth. A section whose positions all coincide (both
// extents 0) gets scale 0: every element, and the disc, sits at the corner (marginX, marginY).
double keyPlanScale(double dx, double dy, int availableWidth, int availableHeight);

// The first point of the curve at which the stress is largest.
struct UltimatePoint {
    int step = 1;           // from 1
    double stress = 0;
    double strainRatio = 0;
};
UltimatePoint ultimatePoint(const StepValues& strainRatios, const StepValues& stresses);

} // namespace tarnova
