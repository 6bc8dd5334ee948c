#pragma once
// The first-yield moment of each case study: the smallest moment at which any element reaches its
// own yield stress, elastic and intact. At the first step every element is elastic and its strain
// ratio (strain over its own yield strain) grows in proportion to the moment, so the first element
// to yield is the one of the largest |strain ratio| there, at M1 / max |strain ratio|. In a section
// of two steels the milder one can yield first, well below the largest yield stress times the
// deck modulus that the report prints as its elastic bending moment.

#include "caseData.hpp"

namespace tarnova::flexura {

struct FirstYield {
    double moment = 0;   // N.mm; 0 when no element strains at the first step
    int element = 0;     // from 1
};
FirstYield elasticFirstYield(const CaseStudy& study, int elementCount);

// Sets firstYieldMoment and firstYieldElement of every case study, keeping the report's value in
// reportElasticMoment.
void setElasticFirstYield(CaseData& data);

} // namespace tarnova::flexura
