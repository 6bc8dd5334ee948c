// Tripping (torsional-flexural buckling) stresses of the stiffeners, with the rotational restraint
// of the plating and its loss as the plating nears its own buckling stress; table "AT.T".

#include "Engine.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

namespace tarnova::calcrun {

namespace {

int nearestInteger(float v)
{
    return static_cast<int>(std::lround(v));
}

// Elastic buckling stress of the plating between stiffeners for a half-wave ratio rho (N/mm2).
float plateBucklingStress(float yieldStress, float beta, float poisson, float rho)
{
    const float shape = 1.0f / rho + rho;
    return yieldStress * (pi * pi) / (12.0f * (1.0f - poisson * poisson) * (beta * beta)) * (shape * shape);
}

void elementTripping(RunContext& run, int n, float poisson)
{
    Element& el = run.element(n);
    auto column = [&run, n](int c) -> float& { return run.trippingStress(n, c); };
    auto& material = run.material;
    if (el.stiffenerArea == 0.0f) {
        for (int c = 1; c <= 8; ++c) column(c) = 1.0f;
        return;
    }
    const MaterialSet& m = material(static_cast<int>(el.propertySet));
    const float sigma0 = m.yieldStress;
    const float e = m.youngsModulus;
    const float a = el.frameSpacing;
    const float alpha = a / el.plateWidth;
    const int m0 = std::max(1, nearestInteger(alpha));
    const float rho0 = static_cast<float>(m0) / alpha;

    const float webArea = el.webHeight * el.webThickness;
    const float flangeArea = el.flangeWidth * el.flangeThickness;
    const float k0 = static_cast<float>(m0) * pi / a;
    const float shearModulus = (e / 2.0f) / (1.0f + poisson);
    // St Venant torsion constant of web and flange (mm4).
    const float torsion = (flangeArea * (el.flangeThickness * el.flangeThickness) +
                           webArea * (el.webThickness * el.webThickness)) / 3.0f;
    // Warping constant about the web-flange junction (mm6).
    const float warping0 = (4.0f * (webArea * webArea * webArea) + flangeArea * flangeArea * flangeArea) / 144.0f;
    // Lateral second moment of the stiffener (mm4).
    const float lateral = (el.flangeWidth * el.flangeWidth * flangeArea +
                           el.webThickness * el.webThickness * webArea) / 12.0f;
    // Polar moment and warping constant about the stiffener's root on the plating.
    const float zs = el.stiffenerCentroid;
    const float polar = zs * zs * el.stiffenerArea + el.stiffenerInertia + lateral;
    const float warping = zs * zs * lateral + warping0;
    // Rotational restraint of the plating per unit length (N.mm/mm).
    const float t = el.plateThickness;
    const float restraint = e * (t * t * t) / (2.73f * el.plateWidth);

    const int halfWaves = std::max(1, nearestInteger(a / pi * std::pow(restraint / (e * warping), 0.25f)));
    const float c0 = modeInteraction(nearestInteger(static_cast<float>(m0) / static_cast<float>(halfWaves)));
    const float beta = el.plateSlenderness;
    const float plate0 = plateBucklingStress(sigma0, beta, poisson, rho0);

    column(1) = (2.0f * std::sqrt(e * restraint * warping) + shearModulus * torsion) / polar / sigma0;
    const float k0Squared = k0 * k0;
    column(2) = (k0Squared * e * warping + restraint / k0Squared + shearModulus * torsion) / polar / sigma0;
    column(3) = column(2) * polar / (polar + c0 * (restraint / k0Squared) / plate0);

    const int modes = std::min(10, m0);
    for (int j = 1; j <= modes; ++j) {
        const float kj = static_cast<float>(j) * pi / a;
        const float rhoJ = static_cast<float>(j) / alpha;
        const float cj = modeInteraction(j);
        const float plateJ = plateBucklingStress(sigma0, beta, poisson, rhoJ);
        const float kjSquared = kj * kj;
        column(j + 3) = (kjSquared * e * warping + restraint / kjSquared + shearModulus * torsion) /
                        (polar + cj * (restraint / kjSquared) / plateJ) / sigma0;
    }
    for (int c = 4; c <= modes + 3; ++c) column(1) = std::min(column(1), column(c));

    // A run that met this element without a stiffener in an earlier case study (a heavier
    // corrosion allowance) left 1.0 in its first eight columns; those beyond its modes stay so.
    if (modes + 3 < 8) {
        const ElementRecord& read = run.input.elements[static_cast<std::size_t>(n - 1)];
        for (int code : run.earlierCorrosionCodes) {
            if (stiffenerAreaAfterCorrosion(read, code) == 0.0f) {
                for (int c = modes + 4; c <= 8; ++c) column(c) = 1.0f;
                break;
            }
        }
    }
}

// The format of one row of the tripping table. A ratio that F8.3 cannot hold (a stocky stiffener
// on thick plating trips at ten thousand times its yield stress and more) is written with E8.2 in
// the same eight columns, rather than as asterisks; every other row keeps the classic format.
std::string trippingRowFormat(std::span<const float> ratios)
{
    constexpr std::string_view classic = "(I4,2X,10F8.3,2F9.1,I2)";
    const auto fits = [](float v) { return v < 9999.9995f && v > -999.9995f; };
    if (std::all_of(ratios.begin(), ratios.end(), fits)) return std::string(classic);
    std::string format = "(I4,2X";
    for (const float v : ratios) format += fits(v) ? ",F8.3" : ",E8.2";
    return format + ",2F9.1,I2)";
}

} // namespace

float modeInteraction(int j)
{
    if (j == 1) return 1.0f;
    if (j == 3) return 0.5f;
    return 0.0f;
}

void RunContext::trippingStresses(float poissonRatio)
{
    openUnit(geometryUnit, "AT.T");
    rewindUnit(geometryUnit);
    writeRecords(traceUnit, "(' Tripping-inicio')", {});
    for (int n = 1; n <= section.elementCount; ++n) elementTripping(*this, n, poissonRatio);

    writeRecords(geometryUnit,
                 "(' TRIPPING STRESSES',/,6X,' MINIMUM',' CONST CS',' VARIA CS','  M=1 ','    M=2 ',"
                 "'    M=3 ','    M=4 ','    M=5 ','    M=6 ','    M=7 ','     X   ','     Y   ',' H')",
                 {});
    for (int n = 1; n <= section.elementCount; ++n) {
        const Element& el = element(n);
        float& t = trippingStress(n, 1);
        // Plasticity correction of the elastic tripping stress ratio (equal at 0.8, tends to 1).
        if (t > 0.8f) t = 1.0f / (1.0f + 0.16f / (t * t));
        if (el.stiffenerArea == 0.0f) t = 1.0f;
        if (t < 1.0f) {
            const auto& row = trippingStress.rows[static_cast<std::size_t>(n - 1)];
            writeRecords(geometryUnit, trippingRowFormat(std::span<const float>(row.data(), 10)),
                         {n, std::span<const float>(row.data(), 10), el.x, el.y, el.elementKind});
        }
    }
    closeUnit(geometryUnit);
    writeRecords(traceUnit, "(' Tripping-Fim')", {});
}

} // namespace tarnova::calcrun
