#pragma once
// The design moments gammaS Msw + gammaW Mwv of each condition (from Collaudo's CASE_check.csv)
// as lines across the moment-curvature chart, named at their right end.

#include "momentChart.hpp"

namespace tarnova::flexura {

void drawDesignMoments(const CaseData& data, const ChartLayout& c, int paneWidth, int paneHeight);

} // namespace tarnova::flexura
