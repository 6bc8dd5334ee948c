#include "ElementScreen.hpp"

#include "CaseNames.hpp"
#include "CurvePlot.hpp"
#include "DataPanel.hpp"
#include "display/Display.hpp"

namespace tarnova {

bool showElement(ElementData& data, std::string_view curveFileName, const ScreenSettings& screen)
{
    drawCurvePlot(data.strainRatioPoints, data.stressPoints, screen);
    drawKeyPlan(data.elementCount, data.positionX, data.positionY, data.chosenElement, screen,
                curveFileName);
    drawDataPanel(data.dimensionTable, data.chosenElement, screen);
    drawUltimateValues(data.strainRatioPoints, data.stressPoints, screen);

    // Pixel and window coordinates agree again over the whole pane.
    setViewport(0, 0, screen.paneWidth, screen.paneHeight);
    setRealWindow(false, 0, 0, screen.paneWidth, screen.paneHeight);
    // A failed save leaves the screen on display; the caller reports it.
    return saveImage(elementImageName(data.chosenElement), 0, 0, screen.paneWidth - 1,
                     screen.paneHeight - 1) == 0;
}

} // namespace tarnova
