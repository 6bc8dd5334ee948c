// Elastic and plastic properties of the intact hull section, bent about a horizontal axis, and
// each element's centroid and own second moments.

#include "Engine.hpp"
#include "Utilitar.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

namespace tarnova::calcrun {

namespace {

// Second moment of the rectangles of plate, flange and web about the axis across the plating.
float rectanglesAcross(const Element& e)
{
    return rectangleInertia(e.plateWidth, e.plateThickness) + rectangleInertia(e.flangeWidth, e.flangeThickness) +
           rectangleInertia(e.webThickness, e.webHeight);
}

} // namespace

void RunContext::plasticProperties()
{
    // Elements in order of their centroid height, for the plastic neutral axis.
    std::array<int, maxElements> byHeight;
    const int count = section.elementCount;
    // Yield force of an element, N: a single-precision product, summed in double precision so
    // that sums are exact and equal halves compare equal.
    auto weight = [this](int n) {
        Element& e = element(n);
        const float area = e.plateArea + e.stiffenerArea;
        return static_cast<double>(material(e.materialSet).yieldStress * area);
    };
    double total = 0.0;
    for (int n = 1; n <= count; ++n) {
        byHeight[static_cast<std::size_t>(n - 1)] = n;
        total += weight(n);
    }
    // NaN heights sort last: the order stays strict and weak, so the sort stays within the table.
    std::sort(byHeight.begin(), byHeight.begin() + count, [this](int a, int b) {
        const float ya = element(a).centroidY, yb = element(b).centroidY;
        if (std::isnan(ya)) return false;
        return std::isnan(yb) || ya < yb;
    });

    // F(y) = sum of w * sign(centroidY - y) falls from +total below the section to -total above
    // it. The plastic neutral axis is where F changes sign: at a centroid height where F jumps
    // across zero, or, where F is exactly 0 between two heights, the elastic axis held in that band.
    float axis = section.neutralAxisY;
    double below = 0.0;  // weight at or below the current height
    for (int i = 0; i < count;) {
        const float height = element(byHeight[static_cast<std::size_t>(i)]).centroidY;
        // Every pass takes at least one element, so the loop ends even for a height that equals
        // nothing (NaN).
        do {
            below += weight(byHeight[static_cast<std::size_t>(i)]);
            ++i;
        } while (i < count && element(byHeight[static_cast<std::size_t>(i)]).centroidY == height);
        const double above = total - below;
        if (above < below) {
            axis = height;
            break;
        }
        if (above == below) {
            const float next = i < count ? element(byHeight[static_cast<std::size_t>(i)]).centroidY : height;
            axis = std::clamp(section.neutralAxisY, height, next);
            break;
        }
    }

    double moment = 0.0;
    for (int n = 1; n <= count; ++n) {
        moment += weight(n) * std::fabs(static_cast<double>(element(n).centroidY) - static_cast<double>(axis));
    }
    section.plasticNeutralAxis = axis;
    section.plasticMoment = static_cast<float>(moment);
}

void RunContext::sectionProperties(float& elasticMoment, float& plasticMoment)
{
    SectionScalars& s = section;
    s.sectionArea = 0.0f;
    float sx = 0.0f, sy = 0.0f, jv = 0.0f, jh = 0.0f;
    for (int n = 1; n <= s.elementCount; ++n) {
        Element& e = element(n);
        const float area = e.plateArea + e.stiffenerArea;
        // An element without area would carry no force and divide its stress by zero.
        if (!(area > 0.0f)) stopNulArea(n);
        float cx = e.x, cy = e.y;
        // Height of the element centroid above the plate face, on the stiffener side.
        const float offset = e.stiffenerCentroid - (e.plateThickness / 2.0f + e.stiffenerCentroid) * e.plateArea / area;
        if (e.orientation >= 1 && e.orientation <= 4) {
            const float r = radiusOfGyration(e.plateArea, e.plateArea, -e.plateThickness / 2.0f, e.stiffenerArea,
                                             e.stiffenerCentroid, e.stiffenerInertia, n);
            const float own = area * (r * r);
            if (e.orientation <= 2) {
                cy = e.orientation == 1 ? e.y - offset : e.y + offset;
                e.inertiaAboutHorizontal = own;
                e.inertiaAboutVertical = rectanglesAcross(e);
            } else {
                cx = e.orientation == 3 ? e.x - offset : e.x + offset;
                e.inertiaAboutVertical = own;
                e.inertiaAboutHorizontal = rectanglesAcross(e);
            }
        }
        e.centroidX = cx;
        e.centroidY = cy;
        s.sectionArea += area;
        sx += cx * area;
        sy += cy * area;
        jv += cx * cx * area + e.inertiaAboutVertical;
        jh += cy * cy * area + e.inertiaAboutHorizontal;
    }
    // The order by height below needs comparable heights; a NaN one would also spoil every sum.
    for (int n = 1; n <= s.elementCount; ++n) {
        const Element& e = element(n);
        const std::string which = " of element " + std::to_string(n);
        requireFinite(e.centroidX, "the centroid x" + which);
        requireFinite(e.centroidY, "the centroid y" + which);
        requireFinite(e.inertiaAboutVertical, "the second moment about the vertical" + which);
        requireFinite(e.inertiaAboutHorizontal, "the second moment about the horizontal" + which);
    }
    s.neutralAxisX = sx / s.sectionArea;
    s.neutralAxisY = sy / s.sectionArea;
    s.elasticAxisX = s.neutralAxisX;
    s.elasticAxisY = s.neutralAxisY;
    s.horizontalBendingInertia = jv - (s.neutralAxisX * s.neutralAxisX) * s.sectionArea;
    s.verticalBendingInertia = jh - (s.neutralAxisY * s.neutralAxisY) * s.sectionArea;
    s.deckModulus = s.verticalBendingInertia / (s.sectionDepth - s.neutralAxisY);
    s.bottomModulus = s.verticalBendingInertia / s.neutralAxisY;
    s.elasticMoment = s.maxYieldStress * s.deckModulus;
    elasticMoment = s.elasticMoment;

    plasticProperties();
    plasticMoment = s.plasticMoment;

    const float plasticModulus = s.plasticMoment / s.maxYieldStress;
    const std::pair<float, const char*> results[] = {
        {s.sectionArea, "the section area"},
        {s.neutralAxisX, "the elastic neutral axis x"},
        {s.neutralAxisY, "the elastic neutral axis y"},
        {s.deckModulus, "the deck section modulus"},
        {s.elasticMoment, "the elastic bending moment"},
        {s.verticalBendingInertia, "the vertical bending second moment"},
        {s.horizontalBendingInertia, "the horizontal bending second moment"},
        {s.bottomModulus, "the bottom section modulus"},
        {s.plasticMoment, "the plastic bending moment"},
        {s.plasticNeutralAxis, "the plastic neutral axis"},
        {plasticModulus, "the plastic section modulus"},
    };
    for (const auto& [value, quantity] : results) requireFinite(value, quantity);

    writeRecords(caseResultsUnit, "(/,'SECTION PROPERTIES',/,'ELASTIC BENDING MOMENT',/)", {});
    for (int unit : {caseResultsUnit, reportUnit}) {
        writeRecords(unit, "(/,1X,'AREA     X EL.N.AXIS Y SECT. MOD.   EL.B.MOM ','VER. 2.MOM HOR. 2.MOM S.M.BOTTOM')",
                     {});
        writeRecords(unit, "(E9.4,2F7.0,5E11.5)",
                     {s.sectionArea, s.neutralAxisX, s.neutralAxisY, s.deckModulus, s.elasticMoment,
                      s.verticalBendingInertia, s.horizontalBendingInertia, s.bottomModulus});
    }
    for (int unit : {caseResultsUnit, reportUnit}) {
        writeRecords(unit,
                     "(/,'  PLASTIC BEND. Mom.','    PL. NEUTRAL AXIS',5X,'Pl. S. Modulus',/,E13.6,'(N.mm)',8X,"
                     "F6.0,'(mm)',5X,E13.6,'(mm3)')",
                     {s.plasticMoment, s.plasticNeutralAxis, plasticModulus});
    }
    for (int n = 1; n <= s.elementCount; ++n) {
        const Element& e = element(n);
        writeRecords(traceUnit, "(7F7.1,F3.0,F4.2,F6.1,2F9.1,F5.2,2F9.1,2E10.3,2I2)",
                     {e.frameSpacing, e.plateWidth, e.plateThickness, e.flangeWidth, e.flangeThickness, e.webHeight,
                      e.webThickness, e.propertySet, e.spareGeometryValue, e.totalDepth, e.x, e.y,
                      e.plateSlenderness, e.centroidX, e.centroidY, e.inertiaAboutVertical,
                      e.inertiaAboutHorizontal, e.orientation, e.elementKind});
    }
}

} // namespace tarnova::calcrun
