#include "caseOutputs.hpp"

#include "collapseMap.hpp"
#include "momentChart.hpp"
#include "pngImage.hpp"
#include "tableFiles.hpp"

#include <thread>

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

std::string writeOutputs(const CaseData& data, int paneWidth, int paneHeight, std::string* reason)
{
    std::string tableReason, imageReason;
    // The tables need no display: they are written on a second thread while the screens are
    // drawn and encoded on this one.
    std::string failedTable;
    std::thread tables([&] {
        if (!writeWholeFile(chartTableName(data), momentCurvatureTable(data), &tableReason)) {
            failedTable = chartTableName(data);
            return;
        }
        for (const CaseStudy& study : data.studies) {
            if (!writeWholeFile(elementTableName(data, study), elementTable(data, study), &tableReason)) {
                failedTable = elementTableName(data, study);
                return;
            }
        }
    });
    std::string failedImage;
    drawMomentChart(data, paneWidth, paneHeight);
    if (!saveScreenPng(chartImageName(data), paneWidth, paneHeight, &imageReason)) failedImage = chartImageName(data);
    const MapLayout layout = mapLayout(data, paneWidth, paneHeight);
    for (std::size_t k = 0; k < data.studies.size() && failedImage.empty(); ++k) {
        const CaseStudy& study = data.studies[k];
        drawCollapseMap(data, layout, MapView{static_cast<int>(k), study.ultimateStep, -1}, paneWidth, paneHeight);
        if (!saveScreenPng(mapImageName(data, study), paneWidth, paneHeight, &imageReason))
            failedImage = mapImageName(data, study);
    }
    tables.join();
    if (reason) *reason = failedImage.empty() ? tableReason : imageReason;
    return failedImage.empty() ? failedTable : failedImage;
}

} // namespace tarnova::flexura
