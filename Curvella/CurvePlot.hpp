#pragma once
// The left two thirds of the element screen: banner, framed plot pane, axes through the origin
// with ticks, labels and titles, and the element's load-shortening path.

#include "ElementData.hpp"

namespace tarnova {

// The title banner of the screen and of the element listing (the listing adds eleven blanks).
inline constexpr const char* bannerText = "TARNOVA - version 3.0 (1996)";

void drawCurvePlot(const StepValues& strainRatioPoints, const StepValues& stressPoints,
                   const ScreenSettings& screen);

} // namespace tarnova
