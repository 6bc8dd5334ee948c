#include "PanelLayout.hpp"

namespace tarnova {

PanelLayout computePanelLayout(int paneWidth, int paneHeight)
{
    PanelLayout p;
    p.w3 = paneWidth / 3;
    p.h3 = paneHeight / 3;
    p.keyPlanViewport = {2 * p.w3 + 1, 20, paneWidth - 1, p.h3 + 19};
    p.keyPlanWidth = p.w3 - 2;
    p.keyPlanHeight = p.h3 - 2;
    p.dataViewport = {2 * p.w3 + 1, p.h3 + 21, paneWidth - 1, paneHeight - 1};
    p.dataWidth = p.w3 - 2;
    p.dataHeight = 2 * p.h3 - 22;
    p.marginX = static_cast<int>(gridX(20, paneWidth));
    p.marginY = static_cast<int>(gridY(20, paneHeight));
    p.availableWidth = p.w3 - 2 * p.marginX;
    p.availableHeight = p.h3 - 2 * p.marginY;
    return p;
}

double keyPlanScale(double dx, double dy, int availableWidth, int availableHeight)
{
    if (1.5 * dy < dx) return availableWidth / dx;
    if (dy > 0) return availableHeight / dy;
    return 0;
}

UltimatePoint ultimatePoint(const StepValues& strainRatios, const StepValues& stresses)
{
    UltimatePoint u;
    u.stress = stresses[0];
    for (int j = 1; j < stepCount; ++j) {
        if (stresses[j] > u.stress) {
            u.stress = stresses[j];
            u.step = j + 1;
        }
    }
    u.strainRatio = strainRatios[u.step - 1];
    return u;
}

} // namespace tarnova
