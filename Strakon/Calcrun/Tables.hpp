#pragma once
// The engine's data: the element table, the material table, the options of the current case
// study, the section scalars and the tripping table. All statically sized; a run context
// (Engine.hpp) owns one set, overwritten by each case study it runs.

#include "records/FixedText.hpp"

#include <array>
#include <cstdint>
#include <string_view>

namespace tarnova::calcrun {

inline constexpr int maxElements = 600;
inline constexpr int materialSetCount = 5;
inline constexpr int stepCount = 50;
inline constexpr int maxIterations = 60;
inline constexpr int trippingColumns = 13;
inline constexpr float pi = 3.141593f;

// Units of the calculator.
inline constexpr int geometryUnit = 2;      // also "AT.T" once the section model is read
inline constexpr int propertiesUnit = 3;
inline constexpr int caseResultsUnit = 5;
inline constexpr int optionsUnit = 21;
inline constexpr int reportUnit = 22;
inline constexpr int traceUnit = 24;
inline constexpr int curveUnit = 25;

// Formats of an option record of the ".ana" file and of an element record of the ".geo" file.
inline constexpr std::string_view optionFormat = "(3I2,F5.2,F5.1,F5.4,F4.0)";
inline constexpr std::string_view elementFormat = "(7F7.1,F3.0,2F4.2,2F9.1,2I2)";

// One longitudinal element: plating strip with an optional stiffener (web and flange).
struct Element {
    // As read from the geometry file (thicknesses less the corrosion allowance).
    float frameSpacing = 0, plateWidth = 0, plateThickness = 0, flangeWidth = 0, flangeThickness = 0;
    float webHeight = 0, webThickness = 0, propertySet = 0, spareGeometryValue = 0, totalDepth = 0;
    float x = 0, y = 0;
    std::int32_t orientation = 0, elementKind = 0;
    // Derived by the section model.
    float plateArea = 0, effectivePlateArea = 0, stiffenerArea = 0, stiffenerCentroid = 0;
    float stiffenerInertia = 0, plateSlenderness = 0, residualStressRatio = 0;
    int materialSet = 1;  // propertySet as a whole number, 1..5
    // Section properties.
    float centroidX = 0, centroidY = 0, inertiaAboutVertical = 0, inertiaAboutHorizontal = 0;
    // Element model, last evaluation.
    float stiffnessPlateArea = 0, strainRatio = 0, elementStress = 0;
};

struct MaterialSet {
    float yieldStress = 0, youngsModulus = 0, yieldStrainRoot = 0, spare1 = 0, spare2 = 0;
};

struct CaseOptions {
    std::int32_t behaviourCode = 0, sheddingCode = 0, corrosionCode = 0;
    float tensionBlockWidth = 0, heelAngle = 0, distortionCoefficient = 0, spareOption = 0;
    float poissonRatio = 0.3f;
};

struct SectionScalars {
    int elementCount = 0;
    FixedText sectionTitle{80};
    float firstHeaderValue = 0, sectionBreadth = 0, sectionDepth = 0;
    float maxYieldStress = 0, maxYoungsModulus = 0;
    int propertySetCount = 1;
    // Section properties.
    float sectionArea = 0, neutralAxisX = 0, neutralAxisY = 0;
    float verticalBendingInertia = 0, horizontalBendingInertia = 0, deckModulus = 0, bottomModulus = 0;
    float elasticMoment = 0, plasticNeutralAxis = 0, plasticMoment = 0;
    float elasticAxisX = 0, elasticAxisY = 0;  // the neutral axis above, before the iteration moves it
};

// Elements are numbered 1..elementCount; element(n) hides the zero-based storage.
struct ElementTable {
    std::array<Element, maxElements> rows{};
    Element& operator()(int n) { return rows[static_cast<std::size_t>(n - 1)]; }
    const Element& operator()(int n) const { return rows[static_cast<std::size_t>(n - 1)]; }
};

struct MaterialTable {
    std::array<MaterialSet, materialSetCount> sets{};
    MaterialSet& operator()(int k) { return sets[static_cast<std::size_t>(k - 1)]; }
    const MaterialSet& operator()(int k) const { return sets[static_cast<std::size_t>(k - 1)]; }
};

// Stress ratios (tripping stress over yield stress); column 1 is the element's T.
struct TrippingTable {
    std::array<std::array<float, trippingColumns>, maxElements> rows{};
    float& operator()(int n, int column)
    {
        return rows[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(column - 1)];
    }
};

// Results of the converged steps of the collapse iteration (index = step, 1..50).
struct StepResult {
    float resultantMoment = 0, momentX = 0, momentY = 0, curvature = 0;
    float neutralAxisX = 0, neutralAxisY = 0;  // where the step converged
};
using StepTable = std::array<StepResult, stepCount + 1>;

// The ultimate bending moment of a case with the moments, curvature and equivalent section
// modulus that belong to it.
struct Ultimate {
    float moment = 0, momentX = 0, momentY = 0, curvature = 0, sectionModulus = 0;
};

// Where the run is, for the stop messages.
struct RunPlace {
    int caseStudy = 0;
    int step = 0;  // 0 before the collapse iteration
};

} // namespace tarnova::calcrun
