#include "elementStates.hpp"

namespace tarnova::flexura {

std::string_view stateName(ElementState state)
{
    switch (state) {
    case ElementState::tensionElastic: return "tension elastic";
    case ElementState::tensionYielded: return "tension yielded";
    case ElementState::compressionBeforePeak: return "compression before peak";
    case ElementState::compressionPastPeak: return "compression past peak";
    }
    return "";
}

void classifyElement(const double* strainRatio, const double* stress, int steps, int stride, ElementState* state)
{
    bool peakSeen = false;
    double peakStress = 0, peakStrain = 0;
    for (int j = 0; j < steps; ++j) {
        const double phi = strainRatio[static_cast<std::size_t>(j) * static_cast<std::size_t>(stride)];
        const double sigma = stress[static_cast<std::size_t>(j) * static_cast<std::size_t>(stride)];
        ElementState s;
        if (phi <= 0) {
            s = phi <= -1 ? ElementState::tensionYielded : ElementState::tensionElastic;
        } else if (!peakSeen || sigma > peakStress) {
            peakSeen = true;
            peakStress = sigma;
            peakStrain = phi;
            s = ElementState::compressionBeforePeak;
        } else {
            s = phi > peakStrain ? ElementState::compressionPastPeak : ElementState::compressionBeforePeak;
        }
        state[static_cast<std::size_t>(j) * static_cast<std::size_t>(stride)] = s;
    }
}

void classifyStates(CaseStudy& study, int elementCount)
{
    study.state.assign(study.strainRatio.size(), ElementState::tensionElastic);
    for (int i = 0; i < elementCount; ++i)
        classifyElement(study.strainRatio.data() + i, study.stress.data() + i, stepCount, elementCount,
                        study.state.data() + i);
}

int ultimateStep(const CaseStudy& study)
{
    int best = 1;
    for (int j = 2; j <= static_cast<int>(study.steps.size()); ++j)
        if (study.steps[static_cast<std::size_t>(j - 1)].moment > study.steps[static_cast<std::size_t>(best - 1)].moment)
            best = j;
    return best;
}

} // namespace tarnova::flexura
