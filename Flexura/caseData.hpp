#pragma once
// What Flexura reads of a calculated case: the section (positions from the element curve files,
// plating and kind from the geometry file) and, for every case study, its options, its 50 steps
// (curvature, moments, neutral axis) and every element's strain ratio and stress at every step.
// Numbers are kept as read (double precision) and, for the tables, as the text of their field.

#include "Tables.hpp"   // calcrun::CaseOptions: the option record, read as the calculator reads it

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnova::flexura {

inline constexpr int stepCount = 50;
inline constexpr int maxElements = 600;

// One element of the section.
struct SectionElement {
    double x = 0, y = 0;            // reference point, mm, shifted so the smallest x and y are 0
    double yieldStress = 0;         // N/mm2
    // The first seven fields of its geometry record, mm, as written (no corrosion allowance).
    std::array<double, 7> dimensions{};
    int orientation = 0;            // stiffener toward 1 -y, 2 +y, 3 -x, 4 +x
    int kind = 0;                   // 1 hard corner, 2 wide plate, else stiffened plate
    double plateWidth() const { return dimensions[1]; }
};

// The state of an element at one step, from its own curve.
enum class ElementState : std::uint8_t {
    tensionElastic,
    tensionYielded,
    compressionBeforePeak,
    compressionPastPeak,        // collapsed
};
inline constexpr int stateCount = 4;
std::string_view stateName(ElementState state);

// One converged step of a case study.
struct StepRow {
    double curvature = 0, moment = 0, momentX = 0, momentY = 0;   // 1/mm and N.mm
    double axisX = 0, axisY = 0;                                   // neutral axis, mm
    // The same values as their fields read: curvature, Mx, My, M, axis x, axis y.
    std::array<std::string, 6> text;
};

struct CaseStudy {
    int number = 0;                 // from 1
    char letter = 'A';              // of its curve file: 64 + number
    calcrun::CaseOptions options;   // heel angle in degrees
    std::string curveFileName;
    std::string resultsFileName;    // the case results file its options name
    std::string axisSource;         // the file its neutral axis came from
    std::vector<StepRow> steps;     // stepCount rows
    // Strain ratio and stress of element i (from 0) at step j (from 0): [j * elementCount + i].
    std::vector<double> strainRatio, stress;
    std::vector<ElementState> state;
    // The element curve file as read, and where each of its records starts: the tables copy
    // each value's field from it.
    std::string curveText;
    std::vector<std::uint32_t> recordStart;
    // From the report: first-yield and plastic moments, ultimate moment and its curvature.
    double firstYieldMoment = 0, plasticMoment = 0, ultimateMoment = 0, ultimateCurvature = 0;
    int ultimateStep = 1;           // the step of the largest moment, from 1
    // The report's first-yield moment is the largest yield stress times the deck modulus; the
    // chart's is the smallest moment at which an element reaches its own yield (firstYield.hpp),
    // which replaces it in firstYieldMoment. The report's value stays here.
    double reportElasticMoment = 0;
    int firstYieldElement = 0;      // from 1; 0 when not found
    bool peakReached() const { return ultimateStep < stepCount; }
};

// What Collaudo wrote for the case, when it has been run (CASE_interaction.csv, CASE_check.csv).
struct AssessmentPoint {
    double angle = 0, ultimate = 0, vertical = 0, horizontal = 0;   // degrees, kN.m
    bool peakReached = true;
};
struct DesignMoment {
    std::string condition, direction;   // "sagging" or "hogging"
    double moment = 0;                  // gammaS Msw + gammaW Mwv, kN.m
};
struct AssessmentInputs {
    std::vector<AssessmentPoint> interaction;
    std::vector<DesignMoment> design;   // the intact rows of the check
    bool present() const { return !interaction.empty() || !design.empty(); }
};

struct CaseData {
    std::string caseName;
    std::vector<SectionElement> elements;
    std::vector<CaseStudy> studies;
    AssessmentInputs assessment;
    int elementCount() const { return static_cast<int>(elements.size()); }
};

// The text of the strain ratio (`stressValue` false) or stress field of element i at step j
// (both from 0), without its blanks.
std::string_view valueText(const CaseStudy& study, int elementCount, int step, int element, bool stressValue);

// "E/B/T 3  SHED  corr. 0  heel 0\xF8": the options in a few words (code page 850 degree sign).
std::string optionsSummary(const calcrun::CaseOptions& options);

} // namespace tarnova::flexura
