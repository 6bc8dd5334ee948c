#include "ElementListing.hpp"

#include "CaseNames.hpp"
#include "CurvePlot.hpp"
#include "records/Records.hpp"

#include <string>

namespace tarnova {

void writeListingHead(const ElementData& data, std::string_view shipName)
{
    static constexpr const char* dimensionLabels[dimensionCount] = {
        "Frame spacing   : ", "Plate width     : ", "Plate thickness : ", "Flange width    : ",
        "Flange thickness: ", "Web height      : ", "Web thickness   : ",
    };
    const int element = data.chosenElement;
    openUnit(listingUnit, elementListingName(element));
    rewindUnit(listingUnit);

    writeListRecord(listingUnit, {std::string(11, ' ') + bannerText});
    writeListRecord(listingUnit);
    writeListRecord(listingUnit, {"Ship name: " + std::string(shipName)});
    writeListRecord(listingUnit);
    writeListRecord(listingUnit, {"Strain/Yield Strain (x)    Stress (y)"});
    for (int j = 0; j < stepCount; ++j)
        writeRecords(listingUnit, "(7X,E9.3,11X,E9.3)", {data.strainRatioPoints[j], data.stressPoints[j]});
    writeListRecord(listingUnit);
    writeRecords(listingUnit, "(A,I3)", {"Element Number  : ", static_cast<std::int32_t>(element)});
    writeListRecord(listingUnit);
    for (int k = 0; k < dimensionCount; ++k)
        writeRecords(listingUnit, "(A,F7.1)", {dimensionLabels[k], data.dimensionTable[element - 1][k]});
}

void writeUltimateStress(double stress)
{
    writeListRecord(listingUnit);
    writeRecords(listingUnit, "(A,F9.2)", {"Ultimate stress : ", stress});
}

void writeUltimateStrain(double strainRatio)
{
    writeRecords(listingUnit, "(A,F9.2)", {"Ultimate strain : ", strainRatio});
}

} // namespace tarnova
