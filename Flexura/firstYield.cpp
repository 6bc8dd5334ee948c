#include "firstYield.hpp"

#include <cmath>

namespace tarnova::flexura {

FirstYield elasticFirstYield(const CaseStudy& study, int elementCount)
{
    FirstYield f;
    if (study.steps.empty() || study.strainRatio.size() < static_cast<std::size_t>(elementCount)) return f;
    double largest = 0;
    for (int i = 0; i < elementCount; ++i) {
        const double ratio = std::fabs(study.strainRatio[static_cast<std::size_t>(i)]);
        if (ratio > largest) {
            largest = ratio;
            f.element = i + 1;
        }
    }
    if (largest > 0) f.moment = study.steps.front().moment / largest;
    return f;
}

void setElasticFirstYield(CaseData& data)
{
    for (CaseStudy& study : data.studies) {
        study.reportElasticMoment = study.firstYieldMoment;
        const FirstYield f = elasticFirstYield(study, data.elementCount());
        if (f.element == 0) continue;
        study.firstYieldMoment = f.moment;
        study.firstYieldElement = f.element;
    }
}

} // namespace tarnova::flexura
