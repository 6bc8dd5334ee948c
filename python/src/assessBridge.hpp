#pragma once
// Between the Python module and the assessment (Collaudo's library): a case held as the bridge's
// plain values, assessed in memory against its design limits.

#include "bridge.hpp"

#include "assessment.hpp"
#include "limits.hpp"

namespace tarnova::python {

// The limits of a CASE.lim; every fault, with its line and key, becomes one InputError.
collaudo::Limits readLimitsFile(const std::string& path);
// The check, the damaged sections (in memory) and the interaction. Throws InputError, CollapseStop.
collaudo::Assessment assessCase(const CaseData& data, const collaudo::Limits& limits, int threads);
// Mu and its components at each angle (degrees), with the options of case study `study` (from 1).
std::vector<collaudo::InteractionPoint> interactionOf(const CaseData& data, int study,
                                                      const std::vector<double>& angles, int threads);

} // namespace tarnova::python
