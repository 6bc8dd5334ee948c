#include "ViewerInput.hpp"

#include "records/FixedText.hpp"
#include "records/Records.hpp"

#include <span>

namespace tarnova {

int readChosenElement()
{
    openUnit(handOverUnit, "nElem.txt");
    rewindUnit(handOverUnit);
    if (atEndOfUnit(handOverUnit)) {
        writeRecords(handOverUnit, "(I4)", {std::int32_t{1}});
        rewindUnit(handOverUnit);
    }
    std::int32_t element = 0;
    readRecords(handOverUnit, "(I4)", {element});
    closeUnit(handOverUnit);
    return element;
}

int readElementCount()
{
    std::int32_t count = 0;
    readRecords(curveUnit, "(I4)", {count});
    return count;
}

void readCurveTables(ElementData& data)
{
    const std::size_t n = static_cast<std::size_t>(data.elementCount);
    // x and y of each element, one record per element.
    static std::array<double, 2 * maxElements> positions{};
    readRecords(curveUnit, "(2F10.1)", {std::span<double>(positions.data(), 2 * n)});
    for (std::size_t i = 0; i < n; ++i) {
        data.positionX[i] = positions[2 * i];
        data.positionY[i] = positions[2 * i + 1];
    }

    FixedText unused(100);
    for (int j = 0; j < stepCount; ++j) {
        readRecords(curveUnit, "(A100)", {unused});
        readRecords(curveUnit, "(A100)", {unused});
        readRecords(curveUnit, "(10E9.3)", {std::span<double>(data.strainRatioTable[j].data(), n)});
        readRecords(curveUnit, "(10E9.3)", {std::span<double>(data.stressTable[j].data(), n)});
    }
}

void selectChosenCurve(ElementData& data)
{
    if (data.chosenElement > data.elementCount || data.chosenElement < 1) data.chosenElement = 1;
    for (int j = 0; j < stepCount; ++j) {
        data.strainRatioPoints[j] = data.strainRatioTable[j][data.chosenElement - 1];
        data.stressPoints[j] = data.stressTable[j][data.chosenElement - 1];
    }
}

void readDimensions(ElementData& data)
{
    FixedText unused(100);
    for (int r = 0; r < 4; ++r) readRecords(geometryUnit, "(A100)", {unused});

    std::array<double, dimensionCount> beyondTable{};
    int k = 0;
    while (!atEndOfUnit(geometryUnit) || k < data.chosenElement) {
        ++k;
        double* row = k <= maxElements ? data.dimensionTable[k - 1].data() : beyondTable.data();
        readRecords(geometryUnit, "(7F7.1)", {std::span<double>(row, dimensionCount)});
    }
}

} // namespace tarnova
