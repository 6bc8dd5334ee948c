// The element kernel compiled for avx2.
#include "elementKernel.hpp"

namespace tarnova::calcrun {

int elementForcesAvx2(ElementArrays& a, const KernelCall& c) { return kernel::elementForces<xsimd::avx2>(a, c); }

} // namespace tarnova::calcrun
