// Progressive collapse: 50 equal curvature steps up to twice the yield curvature; at each step the
// neutral axis moves along the heel direction until the element forces balance, then the bending
// moment is summed. The ultimate moment is the vertex of a parabola through the peak.

#include "Engine.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace tarnova::calcrun {

namespace {

// The ultimate moment taken as a step's own moment: its companions are that step's.
void takeStep(Ultimate& u, const StepResult& s, float maxYieldStress)
{
    u.moment = s.resultantMoment;
    u.momentX = s.momentX;
    u.momentY = s.momentY;
    u.curvature = s.curvature;
    u.sectionModulus = u.moment / maxYieldStress;
}

} // namespace

void searchPeak(Ultimate& u, const StepTable& steps, int k, float maxYieldStress)
{
    const StepResult& s1 = steps[static_cast<std::size_t>(k - 2)];
    const StepResult& s2 = steps[static_cast<std::size_t>(k - 1)];
    const StepResult& s3 = steps[static_cast<std::size_t>(k)];
    const float m1 = s1.resultantMoment, m2 = s2.resultantMoment, m3 = s3.resultantMoment;
    if (m1 > u.moment) takeStep(u, s1, maxYieldStress);
    if (m3 > u.moment) takeStep(u, s3, maxYieldStress);
    if (m2 < u.moment) return;
    const float d = m1 + m3 - 2.0f * m2;
    if (d == 0.0f) {
        // Three equal moments: no parabola, the middle point is the peak.
        takeStep(u, s2, maxYieldStress);
        return;
    }
    // Vertex of the parabola through the three points.
    u.curvature = s2.curvature + (s3.curvature - s2.curvature) * (m1 - m3) / (2.0f * d);
    const float rise = m3 - m1;
    u.moment = m2 - rise * rise / (8.0f * d);
    u.momentX = s2.momentX;
    u.momentY = s2.momentY;
    u.sectionModulus = u.moment / maxYieldStress;
}

bool axisShiftConverged(float axisShift, float axisY)
{
    if (axisY == 0.0f) return std::fabs(axisShift) < 0.0001f;
    return std::fabs(axisShift / axisY) < 0.0001f;
}

void RunContext::progressiveCollapse(int behaviourCode, int sheddingCode, float& result1, float& result2)
{
    CollapseProgress& progress = *this->progress;
    options.behaviourCode = behaviourCode;
    options.sheddingCode = sheddingCode;
    SectionScalars& s = section;
    const float theta = options.heelAngle;
    const float cosine = std::cos(theta), sine = std::sin(theta);
    const float yieldCurvature = 2.0f * (s.maxYieldStress / s.maxYoungsModulus) / s.sectionDepth;

    writeRecords(caseResultsUnit,
                 "(/,/,'  N.      ANGLE        X    MOMEMT    Y       R MOMENT','    XCNA     YCNA')", {});
    writeRecords(traceUnit, "(3F10.1,/,2F10.1)",
                 {s.firstHeaderValue, s.sectionDepth, s.sectionBreadth, s.maxYieldStress, s.maxYoungsModulus});
    ultimate = Ultimate{};
    progress.boxStarted();

    float axisShift = 0.0f;
    float curvature = 0.0f;
    const float yieldForce = s.maxYieldStress * s.sectionArea;
    // The element kernel evaluates the arrays; the one-element code takes over for good when the
    // kernel meets an element it would stop on, so the stop is the one-element code's own.
    ElementKernelFunction kernel = elementKernelFunction(elementKernel);
    if (kernel != nullptr) loadElementArrays();
    // A stop leaves the element table as the one-element code would.
    struct StoreOnExit {
        RunContext& run;
        const ElementKernelFunction& kernel;
        ~StoreOnExit()
        {
            if (kernel != nullptr) run.storeElementArrays();
        }
    } storeOnExit{*this, kernel};
    for (int k = 1; k <= stepCount; ++k) {
        place.step = k;
        curvature = static_cast<float>(k) / static_cast<float>(stepCount) * 2.0f * yieldCurvature;
        int iterations = 0;
        writeRecords(traceUnit, "(3F10.2)", {});
        float previousForce = 0.0f;
        bool bracketed = false;
        float axialForce = 0.0f, momentX = 0.0f, momentY = 0.0f;
        for (;;) {
            axialForce = 0.0f;
            momentX = 0.0f;
            momentY = 0.0f;
            if (kernel != nullptr &&
                kernel(elementArrays,
                       {curvature, s.neutralAxisX, s.neutralAxisY, cosine, sine, behaviourCode, sheddingCode}) >= 0) {
                storeElementArrays();
                kernel = nullptr;
            }
            if (kernel != nullptr) {
                // Summed in element order, as the one-element loop below.
                const ElementSums sums = sumInElementOrder(elementArrays, static_cast<std::size_t>(s.elementCount));
                axialForce = sums.force;
                momentX = sums.momentX;
                momentY = sums.momentY;
            } else {
                for (int n = 1; n <= s.elementCount; ++n) {
                    const float force = elementForce(n, curvature, s.neutralAxisX, s.neutralAxisY, theta);
                    const Element& e = element(n);
                    axialForce += force;
                    momentX += force * (e.centroidY - s.neutralAxisY);
                    momentY += force * (e.centroidX - s.neutralAxisX);
                }
            }
            // Elastic estimate of the move that cancels the axial force (enlarged from step 9 on);
            // once the force has changed sign, halving moves that reverse at every sign change.
            if (axialForce * previousForce < 0.0f) {
                axisShift = -axisShift / 2.0f;
                bracketed = true;
            } else if (bracketed) {
                axisShift = axisShift / 2.0f;
            } else {
                axisShift = std::max(1.0f, static_cast<float>(k) / 8.0f) * axialForce /
                            (curvature * s.maxYoungsModulus * s.sectionArea);
            }
            requireFinite(axialForce, "the axial force of the section");
            previousForce = axialForce;
            ++iterations;
            writeRecords(traceUnit, "(2I3,4E11.3,2F8.0,F7.1)",
                         {k, iterations, curvature, momentX, momentY, axialForce, s.neutralAxisX, s.neutralAxisY,
                          axisShift});
            if (axisShiftConverged(axisShift, s.neutralAxisY) || std::fabs(axialForce / yieldForce) < 0.000001f) break;
            s.neutralAxisY += cosine * axisShift;
            s.neutralAxisX += sine * axisShift;
            if (iterations > maxIterations) {
                stopRun("no equilibrium of the element forces after " + std::to_string(maxIterations) +
                        " iterations" + whereInRun() + ": " + caseInputNamed());
            }
        }
        if (kernel != nullptr) storeElementArrays();
        const float resultantMoment = std::sqrt(momentY * momentY + momentX * momentX);
        requireFinite(curvature, "the curvature");
        requireFinite(momentX, "the bending moment about the horizontal axis");
        requireFinite(momentY, "the bending moment about the vertical axis");
        requireFinite(resultantMoment, "the resultant bending moment");
        requireFinite(s.neutralAxisX, "the neutral axis x");
        requireFinite(s.neutralAxisY, "the neutral axis y");
        progress.stepShown(k);
        writeRecords(caseResultsUnit, "(I4,4E13.4,2F8.0)",
                     {k, curvature, momentX, momentY, resultantMoment, s.neutralAxisX, s.neutralAxisY});
        stepResults[static_cast<std::size_t>(k)] = {resultantMoment, momentX, momentY, curvature, s.neutralAxisX,
                                                   s.neutralAxisY};
        if (k >= 4) searchPeak(ultimate, stepResults, k, s.maxYieldStress);
        writeCurveStep(k, curvature, resultantMoment, momentX, momentY);
    }

    requireFinite(ultimate.moment, "the ultimate bending moment");
    requireFinite(ultimate.momentX, "the ultimate bending moment's horizontal part");
    requireFinite(ultimate.momentY, "the ultimate bending moment's vertical part");
    requireFinite(ultimate.sectionModulus, "the equivalent section modulus");
    requireFinite(ultimate.curvature, "the curvature of the ultimate bending moment");
    writeRecords(reportUnit,
                 "(/,'   X  Ultimate Bending Moment Y       UBM         ESMod','ulus','      Curv. UBM',/,5E15.6)",
                 {ultimate.momentX, ultimate.momentY, ultimate.moment, ultimate.sectionModulus, ultimate.curvature});
    result1 = ultimate.moment;
    result2 = curvature;
    warnIfPeakNotReached();
}

// When the largest moment is the last step's the curve was still rising: the "ultimate" moment is
// only where the steps ended. Said on standard error (a note); the files stay as they are.
void RunContext::warnIfPeakNotReached()
{
    int peak = 1;
    for (int k = 2; k <= stepCount; ++k)
        if (stepResults[static_cast<std::size_t>(k)].resultantMoment > stepResults[static_cast<std::size_t>(peak)].resultantMoment)
            peak = k;
    if (peak < stepCount) return;
    char warning[200];
    std::snprintf(warning, sizeof warning,
                  "Warning: case study %d: the largest moment is at the last step (%d): the peak was not reached "
                  "and the ultimate moment is that step's.",
                  place.caseStudy, stepCount);
    units.note(warning);
}

} // namespace tarnova::calcrun
