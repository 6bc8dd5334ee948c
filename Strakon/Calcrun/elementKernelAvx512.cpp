// The element kernel compiled for avx512f.
#include "elementKernel.hpp"

namespace tarnova::calcrun {

int elementForcesAvx512(ElementArrays& a, const KernelCall& c) { return kernel::elementForces<xsimd::avx512f>(a, c); }

} // namespace tarnova::calcrun
