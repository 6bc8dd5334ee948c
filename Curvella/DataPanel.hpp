#pragma once
// The right third of the element screen: the key plan (the section as dots, the chosen element
// as a disc, the ship name) and the data panel (element number, dimensions, ultimate values).

#include "ElementData.hpp"

#include <string_view>

namespace tarnova {

// Scales the element positions in place onto the key plan.
void drawKeyPlan(int elementCount, std::array<double, maxElements>& positionX,
                 std::array<double, maxElements>& positionY, int chosenElement,
                 const ScreenSettings& screen, std::string_view curveFileName);

// Leaves the data panel's viewport and window in force for drawUltimateValues.
void drawDataPanel(const std::array<std::array<double, dimensionCount>, maxElements>& dimensionTable,
                   int chosenElement, const ScreenSettings& screen);

// Draws the ultimate stress and strain ratio into the data panel and appends them to the
// element listing (unit 333, open).
void drawUltimateValues(const StepValues& strainRatioPoints, const StepValues& stressPoints,
                        const ScreenSettings& screen);

} // namespace tarnova
