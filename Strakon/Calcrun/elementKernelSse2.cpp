// The element kernel compiled for sse2.
#include "elementKernel.hpp"

namespace tarnova::calcrun {

int elementForcesSse2(ElementArrays& a, const KernelCall& c) { return kernel::elementForces<xsimd::sse2>(a, c); }

} // namespace tarnova::calcrun
