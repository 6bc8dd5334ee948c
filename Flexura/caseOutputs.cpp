#include "caseOutputs.hpp"

#include "collapseMap.hpp"
#include "momentChart.hpp"
#include "pngImage.hpp"
#include "tableFiles.hpp"

namespace tarnova::flexura {

std::string chartImageName(const CaseData& data) { return data.caseName + "_mk.png"; }
std::string mapImageName(const CaseData& data, const CaseStudy& study)
{
    return data.caseName + "_" + study.letter + "_map.png";
}
std::string chartTableName(const CaseData& data) { return data.caseName + "_mk.csv"; }
std::string elementTableName(const CaseData& data, const CaseStudy& study)
{
    return data.caseName + "_" + study.letter + "_elements.csv";
}

std::string writeOutputs(const CaseData& data, int paneWidth, int paneHeight)
{
    drawMomentChart(data, paneWidth, paneHeight);
    if (!saveScreenPng(chartImageName(data), paneWidth, paneHeight)) return chartImageName(data);
    const MapLayout layout = mapLayout(data, paneWidth, paneHeight);
    for (std::size_t k = 0; k < data.studies.size(); ++k) {
        const CaseStudy& study = data.studies[k];
        drawCollapseMap(data, layout, MapView{static_cast<int>(k), study.ultimateStep, -1}, paneWidth, paneHeight);
        if (!saveScreenPng(mapImageName(data, study), paneWidth, paneHeight)) return mapImageName(data, study);
    }
    if (!writeWholeFile(chartTableName(data), momentCurvatureTable(data))) return chartTableName(data);
    for (const CaseStudy& study : data.studies)
        if (!writeWholeFile(elementTableName(data, study), elementTable(data, study))) return elementTableName(data, study);
    return {};
}

} // namespace tarnova::flexura
