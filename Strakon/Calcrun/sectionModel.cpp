// Hull section model: reads the geometry and properties files of the case, applies the corrosion
// allowance and the residual stress of the case study, and derives the element quantities.
//
// Every record is read and checked into a staging area first, so input that the tables cannot
// hold or that would divide by zero is rejected before any table is written.

#include "Engine.hpp"
#include "plausibility.hpp"
#include "Utilitar.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace tarnova::calcrun {

namespace {

using RawElement = ElementRecord;

} // namespace

float stiffenerAreaAfterCorrosion(const ElementRecord& r, int corrosionCode)
{
    float flangeThickness = r.flangeThickness, webThickness = r.webThickness;
    if (corrosionCode >= 1) {
        const float c = static_cast<float>(corrosionCode) / 2.0f;
        flangeThickness -= 2.0f * c;
        webThickness -= c;
        if (flangeThickness <= 0.0f) flangeThickness = 0.0f;
        if (webThickness <= 0.0f) webThickness = 0.0f;
    }
    const float flangeArea = r.flangeWidth * flangeThickness;
    const float webArea = r.webHeight * webThickness;
    return webArea + flangeArea;
}

void RunContext::readSectionModel(std::string_view caseName, int corrosionCode, float tensionBlockWidth)
{
    const std::string geometryFile = std::string(caseName) + ".geo";
    const std::string propertiesFile = std::string(caseName) + ".pro";
    // Every value is plausible and every set an element names is sound, or the run stops here.
    InputCheck check(InputCheck::Mode::stopAtFirst);
    checkSectionFiles(check, caseName, corrosionCode, place.caseStudy, &units);
    openUnit(geometryUnit, geometryFile);
    rewindUnit(geometryUnit);
    openUnit(propertiesUnit, propertiesFile);
    rewindUnit(propertiesUnit);

    FixedText title(80);
    readRecords(geometryUnit, "(A80)", {title});
    writeRecords(traceUnit, "(A80)", {title});
    input.title = title.str();

    std::int32_t declaredCount = 0;
    readRecords(geometryUnit, "(3F10.1)", {input.firstHeaderValue, input.breadth, input.depth});
    readRecords(geometryUnit, "(I4)", {declaredCount});
    writeRecords(traceUnit, "(I4)", {declaredCount});
    FixedText headings(80);
    readRecords(geometryUnit, "(A80)", {headings});
    input.headings = headings.str();

    // Element records up to the end of the file.
    input.elements.clear();
    while (!atEndOfUnit(geometryUnit)) {
        RawElement& r = input.elements.emplace_back();
        readRecords(geometryUnit, elementFormat,
                    {r.frameSpacing, r.plateWidth, r.plateThickness, r.flangeWidth, r.flangeThickness,
                     r.webHeight, r.webThickness, r.propertySet, r.spareGeometryValue, r.totalDepth, r.x,
                     r.y, r.orientation, r.elementKind});
    }
    const int count = static_cast<int>(input.elements.size());
    writeRecords(traceUnit, "(I4)", {count});

    buildSectionModel(geometryFile, declaredCount, corrosionCode, tensionBlockWidth,
                      [this](int, float& yieldStress, float& youngsModulus) {
                          readRecords(propertiesUnit, "(2F10.1)", {yieldStress, youngsModulus});
                      });
    closeUnit(geometryUnit);
    closeUnit(propertiesUnit);
}

void RunContext::buildSectionModel(std::string_view geometryFile,
                                   int declaredCount, int corrosionCode, float tensionBlockWidth,
                                   const std::function<void(int, float&, float&)>& readMaterial)
{
    const int count = static_cast<int>(input.elements.size());
    const auto& rows = input.elements;
    if (count != declaredCount) {
        stopRun(std::string(geometryFile) + " declares " + std::to_string(declaredCount) +
                " element records and holds " + std::to_string(count) + " (case study " +
                std::to_string(place.caseStudy) + ")");
    }
    // The values are plausible, each set an element names is sound and the section has depth:
    // the callers have checked them against the table of ranges (checkSectionFiles, checkCaseInput).
    int setCount = 1;
    bool used[materialSetCount] = {};
    for (const RawElement& r : rows) {
        const int k = static_cast<int>(r.propertySet);
        setCount = std::max(setCount, k);
        used[k - 1] = true;
    }
    std::array<float, materialSetCount> stagedYield{}, stagedModulus{};
    for (int k = 1; k <= setCount; ++k)
        readMaterial(k, stagedYield[static_cast<std::size_t>(k - 1)], stagedModulus[static_cast<std::size_t>(k - 1)]);
    float minY = rows[0].y;
    float maxY = minY;
    for (const RawElement& r : rows) {
        if (r.y < minY) minY = r.y;
        if (r.y > maxY) maxY = r.y;
    }

    // ---- The input is sound: fill the tables. ----
    section.sectionTitle = input.title;
    section.firstHeaderValue = input.firstHeaderValue;
    section.elementCount = count;
    for (int n = 1; n <= count; ++n) {
        const RawElement& r = rows[static_cast<std::size_t>(n - 1)];
        Element& e = element(n);
        e.frameSpacing = r.frameSpacing;
        e.plateWidth = r.plateWidth;
        e.plateThickness = r.plateThickness;
        e.flangeWidth = r.flangeWidth;
        e.flangeThickness = r.flangeThickness;
        e.webHeight = r.webHeight;
        e.webThickness = r.webThickness;
        e.propertySet = r.propertySet;
        e.spareGeometryValue = r.spareGeometryValue;
        e.totalDepth = r.totalDepth;
        e.x = r.x;
        e.y = r.y;
        e.orientation = r.orientation;
        e.elementKind = r.elementKind;
        e.materialSet = static_cast<int>(std::lround(r.propertySet));
    }

    float minX = 0, maxX = 0;
    {
        minX = maxX = element(1).x;
        for (int n = 2; n <= count; ++n) {
            if (element(n).x < minX) minX = element(n).x;
            if (element(n).x > maxX) maxX = element(n).x;
        }
    }

    section.propertySetCount = 1;
    for (int n = 1; n <= count; ++n) {
        Element& e = element(n);
        const int k = static_cast<int>(e.propertySet);
        if (k > section.propertySetCount) section.propertySetCount = k;
        e.totalDepth = e.webHeight + e.plateThickness + e.flangeThickness;
        e.y = e.y - minY;
        e.x = e.x - minX;
    }

    writeRecords(traceUnit, "(3F10.1)",
                 {section.firstHeaderValue, input.breadth, input.depth, section.firstHeaderValue, maxX - minX,
                  maxY - minY});
    section.sectionBreadth = maxX - minX;
    section.sectionDepth = maxY - minY;
    writeRecords(traceUnit, "(' CSGMP1')", {});

    // Corrosion allowance: c off the plate and web, 2c off the flange.
    if (corrosionCode >= 1) {
        const float c = static_cast<float>(corrosionCode) / 2.0f;
        for (int n = 1; n <= count; ++n) {
            Element& e = element(n);
            e.plateThickness -= c;
            e.flangeThickness -= 2.0f * c;
            e.webThickness -= c;
            if (e.plateThickness <= 0.0f) e.plateThickness = 0.0f;
            if (e.flangeThickness <= 0.0f) e.flangeThickness = 0.0f;
            if (e.webThickness <= 0.0f) e.webThickness = 0.0f;
        }
    }
    writeRecords(traceUnit, "(' CSGMP2')", {});

    section.maxYieldStress = 0.0f;
    section.maxYoungsModulus = 0.0f;
    for (int k = 1; k <= section.propertySetCount; ++k) {
        material(k).yieldStress = stagedYield[static_cast<std::size_t>(k - 1)];
        material(k).youngsModulus = stagedModulus[static_cast<std::size_t>(k - 1)];
    }
    for (int k = 1; k <= section.propertySetCount; ++k) {
        if (material(k).yieldStress == 0.0f || material(k).youngsModulus == 0.0f) {
            writeRecords(traceUnit, "(' Property ',I1,' is INVALID ')", {k});
        }
    }
    for (int k = 1; k <= materialSetCount; ++k) {
        if (!used[k - 1]) material(k) = MaterialSet{};
    }
    for (int k = 1; k <= materialSetCount; ++k) {
        writeRecords(traceUnit, "(2F10.1)", {material(k).yieldStress, material(k).youngsModulus});
    }
    for (int k = 1; k <= materialSetCount; ++k) {
        MaterialSet& m = material(k);
        if (m.youngsModulus > 0.0f) m.yieldStrainRoot = std::sqrt(m.yieldStress / m.youngsModulus);
        if (m.yieldStress > section.maxYieldStress) section.maxYieldStress = m.yieldStress;
        if (m.youngsModulus > section.maxYoungsModulus) section.maxYoungsModulus = m.youngsModulus;
    }

    const float eta = tensionBlockWidth;
    for (int n = 1; n <= count; ++n) {
        Element& e = element(n);
        e.plateArea = e.plateWidth * e.plateThickness;
        e.effectivePlateArea = e.plateArea;

        // Stiffener of web and flange, heights above the plate face.
        const float flangeArea = e.flangeWidth * e.flangeThickness;
        const float webArea = e.webHeight * e.webThickness;
        const float flangeHeight = e.flangeThickness / 2.0f + e.webHeight;
        const float webHeightCentre = e.webHeight / 2.0f;
        e.stiffenerArea = webArea + flangeArea;
        e.stiffenerCentroid = 0.0f;
        if (e.stiffenerArea != 0.0f) {
            e.stiffenerCentroid = (webHeightCentre * webArea + flangeHeight * flangeArea) / e.stiffenerArea;
        }
        const float aboutPlate = rectangleInertia(e.flangeThickness, e.flangeWidth) +
                                 rectangleInertia(e.webHeight, e.webThickness) +
                                 webHeightCentre * webHeightCentre * webArea +
                                 flangeHeight * flangeHeight * flangeArea;
        e.stiffenerInertia = aboutPlate - e.stiffenerArea * (e.stiffenerCentroid * e.stiffenerCentroid);

        const float widthOverThickness = e.plateWidth / e.plateThickness;
        e.plateSlenderness = widthOverThickness * material(e.materialSet).yieldStrainRoot;

        // Compressive residual stress balanced by tension blocks of width eta*t at both edges
        // (ratio to yield). When the blocks cover the plate there is no compressive zone left.
        const float divisor = widthOverThickness - 2.0f * eta;
        if (divisor <= 0.0f) {
            e.residualStressRatio = 0.0f;
            char warning[320];
            std::snprintf(warning, sizeof warning,
                          "Warning: element %d, case study %d: plate width over thickness %g is not above "
                          "twice the tension block width %g; its residual stress is taken as 0 (and so for "
                          "any other such element).",
                          n, place.caseStudy, static_cast<double>(widthOverThickness), static_cast<double>(eta));
            units.note(warning, "residual stress");
        } else {
            e.residualStressRatio = 2.0f * eta / divisor;
        }
    }

    writeCurveHead();
    writeRecords(traceUnit, "(' CSGMP-FIM')", {});
    section.sectionTitle = input.headings;
    writeRecords(traceUnit, "(A80)", {section.sectionTitle});
}

} // namespace tarnova::calcrun
