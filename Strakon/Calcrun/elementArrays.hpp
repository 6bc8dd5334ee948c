#pragma once
// The element model over all elements of an iteration at once: the element table's inputs as
// arrays (one per quantity), and kernels that evaluate them several elements at a time. Every
// lane does exactly the operations of `RunContext::elementForce`, in the same order, so the
// results are those of the one-element code bit for bit; the caller sums in element order.

#include "Tables.hpp"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarnova::calcrun {

// Instruction sets the element kernel can run on; `scalar` is the one-element code.
enum class ElementKernel { scalar, sse2, avx2, avx512 };

// Widest lane count of any kernel: arrays are padded to a multiple of it.
inline constexpr std::size_t kernelLanes = 16;
inline constexpr std::size_t paddedElements = (maxElements + kernelLanes - 1) / kernelLanes * kernelLanes;

struct alignas(64) ElementArrays {
    template <class T> using Column = std::array<T, paddedElements>;
    // Inputs, fixed for a case study's collapse iteration. Padding lanes are bare hard corners of
    // unit area, which take none of the stopping paths.
    Column<float> x, y, centroidX, centroidY;
    Column<float> aspect;               // frame spacing over plate width
    Column<float> plateSlenderness, kind, plateArea, residualStressRatio, stiffenerArea;
    Column<float> plateCentroid;        // minus half the plate thickness
    Column<float> stiffenerCentroid, stiffenerInertia, frameSpacing, yieldStrain, yieldStress;
    Column<float> trippingRatio;        // column 1 of the tripping table
    Column<float> stressArea;           // plate area plus stiffener area
    // Outputs of the last evaluation.
    Column<float> strainRatio, effectivePlateArea, stiffnessPlateArea, elementStress, force;
    Column<float> momentX, momentY;     // force times the lever about each axis
    std::size_t count = 0;
};

// One evaluation: the curvature, the neutral axis, cos and sin of the heel, the options.
struct KernelCall {
    float curvature, xna, yna, cosine, sine;
    int behaviourCode, sheddingCode;
};

// Evaluates elements 0..count-1 into the outputs. Returns -1, or the zero-based index of the
// first element whose stiffened area is not positive on the column path: the outputs of that
// element's group and of later groups are then left untouched for the one-element code to stop on.
using ElementKernelFunction = int (*)(ElementArrays&, const KernelCall&);
int elementForcesSse2(ElementArrays&, const KernelCall&);
int elementForcesAvx2(ElementArrays&, const KernelCall&);
int elementForcesAvx512(ElementArrays&, const KernelCall&);

// The axial force and the two moments of the elements 0..count-1, summed in element order as the
// one-element loop sums them.
struct ElementSums {
    float force, momentX, momentY;
};
ElementSums sumInElementOrder(const ElementArrays& arrays, std::size_t count);

// The kernels this processor can run, narrowest first (always `scalar` first).
std::vector<ElementKernel> availableElementKernels();
// The kernel a run context starts with: the widest available, unless TARNOVA_ELEMENT_KERNEL names
// another available one ("scalar", "sse2", "avx2", "avx512").
ElementKernel defaultElementKernel();
std::string_view elementKernelName(ElementKernel k);
// nullptr for `scalar`.
ElementKernelFunction elementKernelFunction(ElementKernel k);

} // namespace tarnova::calcrun
