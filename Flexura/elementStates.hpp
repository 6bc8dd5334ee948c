#pragma once
// The state of every element at every step, from its own curve in the element curve file.
//
//   tension elastic            strain ratio <= 0 and above -1 (shorter than the yield strain)
//   tension yielded            strain ratio at or beyond -1
//   compression before peak    strain ratio > 0, stress the highest the element has carried so far
//   compression past peak      strain ratio > 0, stress no longer rising although the strain has
//                              grown beyond that of the highest stress so far: the element has
//                              collapsed (buckled, tripped, or yielded in compression) and sheds
//                              or holds its load
//
// Only the steps up to the one shown count: what an element did later does not change its state.
// Unloading (strain falling back) is not collapse.

#include "caseData.hpp"

namespace tarnova::flexura {

// States of one element over `steps` steps; strainRatio[j * stride] and stress[j * stride] are
// its values at step j.
void classifyElement(const double* strainRatio, const double* stress, int steps, int stride, ElementState* state);

// Fills study.state for every element and step.
void classifyStates(CaseStudy& study, int elementCount);

// The step (from 1) of the largest resultant moment; the first of equal ones.
int ultimateStep(const CaseStudy& study);

} // namespace tarnova::flexura
