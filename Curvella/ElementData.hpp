#pragma once
// The viewer's run state: the chosen element's curve, the section's element positions and the
// dimensions read from the geometry file. Held in one statically sized record for the whole run.

#include <array>
#include <cstdint>

namespace tarnova {

inline constexpr int stepCount = 50;        // curvature steps of the collapse analysis
inline constexpr int maxElements = 600;     // size of the element tables
inline constexpr int dimensionCount = 7;    // dimensions per geometry element record

using StepValues = std::array<double, stepCount>;

struct ElementData {
    int elementCount = 0;
    int chosenElement = 1;
    std::array<double, maxElements> positionX{};    // element reference points (mm)
    std::array<double, maxElements> positionY{};
    // Row j holds the values of every element at step j + 1.
    std::array<std::array<double, maxElements>, stepCount> strainRatioTable{};
    std::array<std::array<double, maxElements>, stepCount> stressTable{};
    StepValues strainRatioPoints{};                 // the chosen element's curve, step order
    StepValues stressPoints{};
    // frameSpacing, plateWidth, plateThickness, flangeWidth, flangeThickness, webHeight,
    // webThickness (mm, as written in the geometry file).
    std::array<std::array<double, dimensionCount>, maxElements> dimensionTable{};
};

// Pane size and colour scheme of the element screen.
struct ScreenSettings {
    std::int16_t paneWidth = 640;
    std::int16_t paneHeight = 480;
    int displayMode = 0;    // 1 dark scheme, anything else light
};

inline bool darkScheme(const ScreenSettings& screen) { return screen.displayMode == 1; }

} // namespace tarnova
