#pragma once
// The element model on batches of elements, for one instruction set (included by one source file
// per instruction set, each compiled for it). Each line mirrors a line of elementModel.cpp: the
// same operations in the same order, branches as per-lane selections. std::min(a, b) is
// "b < a ? b : a" and std::max(a, b) is "a < b ? b : a", kept literally for signed zeros and NaN.

#include "elementArrays.hpp"

#include <xsimd/xsimd.hpp>

namespace tarnova::calcrun::kernel {

template <class A>
int elementForces(ElementArrays& a, const KernelCall& c)
{
    using B = xsimd::batch<float, A>;
    constexpr std::size_t width = B::size;
    const auto minOf = [](const B& p, const B& q) { return xsimd::select(q < p, q, p); };
    const auto maxOf = [](const B& p, const B& q) { return xsimd::select(p < q, q, p); };
    const B one(1.0f), zero(0.0f), two(2.0f), minusOne(-1.0f);
    const auto elasticPlastic = [&](const B& v) {
        return xsimd::select(v > one, one, xsimd::select(v < minusOne, minusOne, v));
    };
    const B curvature(c.curvature), xna(c.xna), yna(c.yna), cosine(c.cosine), sine(c.sine);
    const B shoulder(0.08f), onset(0.001f), half(0.5f), quarter(0.25f), piB(pi);
    const bool bareElements = c.behaviourCode == 1;

    for (std::size_t i = 0; i < a.count; i += width) {
        const auto load = [i](const ElementArrays::Column<float>& column) {
            return B::load_aligned(column.data() + i);
        };
        const B yieldStrain = load(a.yieldStrain), kind = load(a.kind);
        const B centroidX = load(a.centroidX), centroidY = load(a.centroidY);
        const B phi = ((load(a.y) - yna) * cosine + (load(a.x) - xna) * sine) * curvature / yieldStrain;
        const B phiC = ((centroidX - xna) * sine + (centroidY - yna) * cosine) * curvature / yieldStrain;

        // Plate strength (plateStrength).
        const B aspect = load(a.aspect), beta = load(a.plateSlenderness);
        const B root = xsimd::sqrt(phi);
        const B betaE = c.sheddingCode == 2 ? beta * minOf(root, one) : beta * root;
        const B psi = minOf(one, one / betaE);
        const B betaW = aspect * betaE;
        const B psiW = minOf(one, one / betaW);
        const B lift = (one + psiW * psiW) * (one + psiW * psiW);
        B wideStrength = xsimd::select(
            betaW > one, aspect * (two * psiW - psiW * psiW) + shoulder * (one - aspect) * lift, one);
        wideStrength = xsimd::select(kind == two, shoulder * lift, wideStrength);
        const auto longPlate = (aspect >= one) && (kind != two);
        const auto plain = (phi <= zero) || (kind == one) || xsimd::batch_bool<float, A>(bareElements);
        const B strengthRatio =
            xsimd::select(plain, one, xsimd::select(longPlate, two * psi - psi * psi, wideStrength));
        const B stiffnessRatio = xsimd::select(plain, one, xsimd::select(longPlate, psi, psiW));

        const B plateArea = load(a.plateArea), stiffenerArea = load(a.stiffenerArea);
        B effective = plateArea * strengthRatio;
        const B stiffness = plateArea * stiffnessRatio;
        const B ratio = elasticPlastic(phi);
        // Residual stress (residualStressFactor).
        const B r = load(a.residualStressRatio);
        const B withBlocks = xsimd::abs((one + r * (phi - one)) / (one + r));
        const B residual = maxOf(minusOne, minOf(minOf(one, phi), withBlocks));
        effective = xsimd::select(phi > onset, effective * residual / ratio, effective);
        const B carrying = effective + stiffenerArea;
        B f = carrying * ratio;

        if (!bareElements) {
            const auto column = (phi > zero) && (kind != one);
            // Radius of gyration of the stiffener with its effective plating (radiusOfGyration).
            const B plateCentroid = load(a.plateCentroid), stiffenerCentroid = load(a.stiffenerCentroid);
            const B stiffArea = stiffenerArea + stiffness;
            const B loadArea = stiffenerArea + effective;
            const auto nul = column && !(stiffArea > zero);
            if (xsimd::any(nul)) {
                for (std::size_t lane = 0; lane < width; ++lane)
                    if (nul.get(lane)) return static_cast<int>(i + lane);
            }
            const B zg = (stiffenerCentroid * stiffenerArea + plateCentroid * stiffness) / stiffArea;
            B inertia = stiffenerCentroid * stiffenerCentroid * stiffenerArea +
                        plateCentroid * plateCentroid * stiffness + load(a.stiffenerInertia) - stiffArea * (zg * zg);
            inertia = xsimd::select(inertia < zero, zero, inertia);
            const B rho = xsimd::select(loadArea > zero, xsimd::sqrt(inertia / loadArea), zero);
            // Johnson-Ostenfeld column strength (columnStrength).
            const B s = elasticPlastic(phiC);
            const B euler = piB * rho / load(a.frameSpacing);
            const B eulerRatio = euler * euler / yieldStrain;
            const B rc = c.sheddingCode == 1 ? eulerRatio / phiC : eulerRatio / s;
            const B columnRatio = xsimd::select(rc > half, s * (one - quarter / rc), s * rc);
            const B columnForce =
                xsimd::select((phiC <= zero) || (stiffenerArea == zero), carrying * s, carrying * columnRatio);
            B g = minOf(f, columnForce);
            if (c.behaviourCode != 2) {
                // Tripping of the stiffener.
                const B t = load(a.trippingRatio);
                B trip = carrying * t;
                if (c.sheddingCode == 1) {
                    trip = xsimd::select(phiC == zero, zero,
                                         trip * xsimd::sqrt(xsimd::abs(elasticPlastic(t / phiC))));
                }
                g = xsimd::select(t < one, minOf(g, trip), g);
            }
            f = xsimd::select(column, g, f);
        }
        const B force = load(a.yieldStress) * f;
        phi.store_aligned(a.strainRatio.data() + i);
        effective.store_aligned(a.effectivePlateArea.data() + i);
        stiffness.store_aligned(a.stiffnessPlateArea.data() + i);
        (force / load(a.stressArea)).store_aligned(a.elementStress.data() + i);
        force.store_aligned(a.force.data() + i);
        (force * (centroidY - yna)).store_aligned(a.momentX.data() + i);
        (force * (centroidX - xna)).store_aligned(a.momentY.data() + i);
    }
    return -1;
}

} // namespace tarnova::calcrun::kernel
