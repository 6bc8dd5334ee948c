// Element load-shortening model: the axial force of one element at a given curvature about a
// given neutral axis, in closed form (yield, effective-width plate buckling, residual stress,
// Johnson-Ostenfeld beam-column buckling, tripping; SHED or CONST beyond yield).
// Strain ratio phi = strain / yield strain, positive when shortening; forces positive in compression.

#include "Engine.hpp"
#include "records/Records.hpp"

#include <algorithm>
#include <cmath>

namespace tarnova::calcrun {

float residualStressFactor(float phi, float r)
{
    const float withBlocks = std::fabs((1.0f + r * (phi - 1.0f)) / (1.0f + r));
    return std::max(-1.0f, std::min({1.0f, phi, withBlocks}));
}

PlateStrength plateStrength(float phi, float aspect, float beta, int behaviourCode, int sheddingCode,
                            int elementKind)
{
    PlateStrength s;
    if (phi <= 0.0f || elementKind == 1 || behaviourCode == 1) return s;
    const float root = std::sqrt(phi);
    // Slenderness at the current strain; CONST holds it at its value at yield.
    const float betaE = sheddingCode == 2 ? beta * std::min(root, 1.0f) : beta * root;
    float psi = std::min(1.0f, 1.0f / betaE);
    if (aspect >= 1.0f && elementKind != 2) {
        // Faulkner's effective width: 2/beta - 1/beta^2 beyond beta = 1.
        s.stiffnessRatio = psi;
        s.strengthRatio = 2.0f * psi - psi * psi;
        return s;
    }
    // Wide plate (shorter than wide) and the wide-plate limit of element kind 2.
    const float betaW = aspect * betaE;
    psi = std::min(1.0f, 1.0f / betaW);
    const float lift = (1.0f + psi * psi) * (1.0f + psi * psi);
    if (betaW > 1.0f) s.strengthRatio = aspect * (2.0f * psi - psi * psi) + 0.08f * (1.0f - aspect) * lift;
    if (elementKind == 2) s.strengthRatio = 0.08f * lift;
    s.stiffnessRatio = psi;
    return s;
}

float RunContext::radiusOfGyration(float ape, float aps, float zp, float as, float zs, float is, int n)
{
    const float stiffArea = as + aps;
    const float loadArea = as + ape;
    if (!(stiffArea > 0.0f)) stopNulArea(n);
    const float zg = (zs * as + zp * aps) / stiffArea;
    float inertia = zs * zs * as + zp * zp * aps + is - stiffArea * (zg * zg);
    // A bare plate's terms cancel exactly; rounding may leave a tiny negative second moment.
    if (inertia < 0.0f) inertia = 0.0f;
    if (!(loadArea > 0.0f)) return 0.0f;
    return std::sqrt(inertia / loadArea);
}

float RunContext::columnStrength(int n, float yieldStrain, float phiC, float area, float rho, int sheddingCode)
{
    const float s = elasticPlasticRatio(phiC);
    const Element& e = element(n);
    if (phiC <= 0.0f || e.stiffenerArea == 0.0f) return area * s;
    // Euler stress over yield stress of the stiffener with its plating, column length a.
    const float euler = pi * rho / e.frameSpacing;
    const float eulerRatio = euler * euler / yieldStrain;
    const float r = sheddingCode == 1 ? eulerRatio / phiC : eulerRatio / s;
    // Johnson-Ostenfeld parabola above half the yield stress.
    const float ratio = r > 0.5f ? s * (1.0f - 0.25f / r) : s * r;
    return area * ratio;
}

float RunContext::elementForce(int n, float curvature, float xna, float yna, float theta)
{
    Element& e = element(n);
    const MaterialSet& m = material(e.materialSet);
    const float yieldStrain = m.yieldStrainRoot * m.yieldStrainRoot;
    const float sigma0 = m.yieldStress;
    if (theta != heel_.theta) heel_ = {theta, std::cos(theta), std::sin(theta)};

    const float phi = ((e.y - yna) * heel_.cosine + (e.x - xna) * heel_.sine) * curvature / yieldStrain;
    e.strainRatio = phi;
    const float phiC = ((e.centroidX - xna) * heel_.sine + (e.centroidY - yna) * heel_.cosine) * curvature / yieldStrain;

    const int behaviourCode = options.behaviourCode;
    const int sheddingCode = options.sheddingCode;
    const PlateStrength plate = plateStrength(phi, e.frameSpacing / e.plateWidth, e.plateSlenderness, behaviourCode,
                                              sheddingCode, e.elementKind);
    e.effectivePlateArea = e.plateArea * plate.strengthRatio;
    e.stiffnessPlateArea = e.plateArea * plate.stiffnessRatio;
    const float ratio = elasticPlasticRatio(phi);
    if (phi > 0.001f) {
        e.effectivePlateArea = e.effectivePlateArea * residualStressFactor(phi, e.residualStressRatio) / ratio;
    }
    const float carrying = e.effectivePlateArea + e.stiffenerArea;
    float f = carrying * ratio;

    if (behaviourCode != 1 && phi > 0.0f && e.elementKind != 1) {
        const float rho = radiusOfGyration(e.effectivePlateArea, e.stiffnessPlateArea, -e.plateThickness / 2.0f,
                                           e.stiffenerArea, e.stiffenerCentroid, e.stiffenerInertia, n);
        f = std::min(f, columnStrength(n, yieldStrain, phiC, carrying, rho, sheddingCode));
        const float t = trippingStress(n, 1);
        if (behaviourCode != 2 && t < 1.0f) {
            float trip = carrying * t;
            if (sheddingCode == 1) {
                trip = phiC == 0.0f ? 0.0f : trip * std::sqrt(std::fabs(elasticPlasticRatio(t / phiC)));
            }
            f = std::min(f, trip);
        }
    }
    const float force = sigma0 * f;
    e.elementStress = force / (e.plateArea + e.stiffenerArea);
    return force;
}

} // namespace tarnova::calcrun

namespace tarnova::calcrun {

void RunContext::loadElementArrays()
{
    ElementArrays& a = elementArrays;
    a.count = static_cast<std::size_t>(section.elementCount);
    for (std::size_t i = 0; i < paddedElements; ++i) {
        if (i >= a.count) {
            // A bare hard corner of unit area and no strength: no stopping path, finite results.
            a.x[i] = a.y[i] = a.centroidX[i] = a.centroidY[i] = 0.0f;
            a.aspect[i] = a.plateSlenderness[i] = a.kind[i] = a.plateArea[i] = 1.0f;
            a.residualStressRatio[i] = a.stiffenerArea[i] = a.plateCentroid[i] = 0.0f;
            a.stiffenerCentroid[i] = a.stiffenerInertia[i] = a.yieldStress[i] = 0.0f;
            a.frameSpacing[i] = a.yieldStrain[i] = a.trippingRatio[i] = a.stressArea[i] = 1.0f;
            continue;
        }
        const int n = static_cast<int>(i) + 1;
        const Element& e = element(n);
        const MaterialSet& m = material(e.materialSet);
        // The same operations as elementForce, done once.
        a.x[i] = e.x;
        a.y[i] = e.y;
        a.centroidX[i] = e.centroidX;
        a.centroidY[i] = e.centroidY;
        a.aspect[i] = e.frameSpacing / e.plateWidth;
        a.plateSlenderness[i] = e.plateSlenderness;
        a.kind[i] = static_cast<float>(e.elementKind);
        a.plateArea[i] = e.plateArea;
        a.residualStressRatio[i] = e.residualStressRatio;
        a.stiffenerArea[i] = e.stiffenerArea;
        a.plateCentroid[i] = -e.plateThickness / 2.0f;
        a.stiffenerCentroid[i] = e.stiffenerCentroid;
        a.stiffenerInertia[i] = e.stiffenerInertia;
        a.frameSpacing[i] = e.frameSpacing;
        a.yieldStrain[i] = m.yieldStrainRoot * m.yieldStrainRoot;
        a.yieldStress[i] = m.yieldStress;
        a.trippingRatio[i] = trippingStress(n, 1);
        a.stressArea[i] = e.plateArea + e.stiffenerArea;
    }
}

void RunContext::storeElementArrays()
{
    const ElementArrays& a = elementArrays;
    for (std::size_t i = 0; i < a.count; ++i) {
        Element& e = element(static_cast<int>(i) + 1);
        e.strainRatio = a.strainRatio[i];
        e.effectivePlateArea = a.effectivePlateArea[i];
        e.stiffnessPlateArea = a.stiffnessPlateArea[i];
        e.elementStress = a.elementStress[i];
    }
}

} // namespace tarnova::calcrun
