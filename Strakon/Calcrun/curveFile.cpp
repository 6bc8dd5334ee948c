// Element curve file: the head (element count and positions) and one block per converged step
// with every element's strain ratio and mean stress.

#include "Engine.hpp"
#include "records/Records.hpp"

#include <array>
#include <span>

namespace tarnova::calcrun {

namespace {

// " Iteração:" with its two letters as Latin-1 bytes.
constexpr std::string_view stepFormat = "(' Itera\xE7\xE3o:',I4,10X,' Curvatura=',E12.4,/,3E12.4)";

} // namespace

void RunContext::writeCurveHead()
{
    writeRecords(curveUnit, "(I4)", {section.elementCount});
    for (int n = 1; n <= section.elementCount; ++n) {
        const Element& e = element(n);
        writeRecords(curveUnit, "(3F10.1)", {e.x, e.y, material(e.materialSet).yieldStress});
    }
}

void RunContext::writeCurveStep(int step, float curvature, float resultantMoment, float momentX, float momentY)
{
    const int count = section.elementCount;
    const std::span<const float> values(column_.data(), static_cast<std::size_t>(count));
    writeRecords(curveUnit, stepFormat, {step, curvature, resultantMoment, momentX, momentY});
    for (int n = 1; n <= count; ++n) column_[static_cast<std::size_t>(n - 1)] = element(n).strainRatio;
    writeRecords(curveUnit, "(10E9.3)", {values});
    for (int n = 1; n <= count; ++n) column_[static_cast<std::size_t>(n - 1)] = element(n).elementStress;
    writeRecords(curveUnit, "(10E9.3)", {values});
    if (strainCurves) {
        for (int n = 1; n <= count; ++n) strainCurves->push_back(element(n).strainRatio);
        for (int n = 1; n <= count; ++n) stressCurves->push_back(element(n).elementStress);
    }
}

} // namespace tarnova::calcrun
