// Choice of the element kernel: the widest instruction set this processor runs, or the one
// TARNOVA_ELEMENT_KERNEL names (to compare them: every kernel gives the same bits).

#include "elementArrays.hpp"

#include <cstdlib>
#include <cstdio>

#if defined(TARNOVA_X86_KERNELS) && __has_include(<sys/platform/x86.h>)
// glibc answers from the features it read at start. __builtin_cpu_supports would link a second
// reader that runs CPUID at every program start, some 50 us under a hypervisor.
#include <sys/platform/x86.h>
#define TARNOVA_CPU_HAS(glibcName, gccName) CPU_FEATURE_ACTIVE(glibcName)
#else
#define TARNOVA_CPU_HAS(glibcName, gccName) (__builtin_cpu_init(), __builtin_cpu_supports(gccName))
#endif

namespace tarnova::calcrun {

std::vector<ElementKernel> availableElementKernels()
{
    std::vector<ElementKernel> kernels{ElementKernel::scalar};
#if defined(TARNOVA_X86_KERNELS)
    kernels.push_back(ElementKernel::sse2);   // part of every x86-64 processor
    if (TARNOVA_CPU_HAS(AVX2, "avx2")) kernels.push_back(ElementKernel::avx2);
    if (TARNOVA_CPU_HAS(AVX512F, "avx512f")) kernels.push_back(ElementKernel::avx512);
#endif
    return kernels;
}

std::string_view elementKernelName(ElementKernel k)
{
    switch (k) {
    case ElementKernel::sse2: return "sse2";
    case ElementKernel::avx2: return "avx2";
    case ElementKernel::avx512: return "avx512";
    case ElementKernel::scalar: break;
    }
    return "scalar";
}

ElementKernel defaultElementKernel()
{
    static const ElementKernel chosen = [] {
        const std::vector<ElementKernel> kernels = availableElementKernels();
        const char* wanted = std::getenv("TARNOVA_ELEMENT_KERNEL");
        if (wanted != nullptr && *wanted != '\0') {
            for (ElementKernel k : kernels)
                if (elementKernelName(k) == wanted) return k;
            std::fprintf(stderr, "TARNOVA_ELEMENT_KERNEL=%s is not a kernel this processor runs; using %s\n", wanted,
                         std::string(elementKernelName(kernels.back())).c_str());
        }
        return kernels.back();
    }();
    return chosen;
}

ElementKernelFunction elementKernelFunction(ElementKernel k)
{
#if defined(TARNOVA_X86_KERNELS)
    switch (k) {
    case ElementKernel::sse2: return elementForcesSse2;
    case ElementKernel::avx2: return elementForcesAvx2;
    case ElementKernel::avx512: return elementForcesAvx512;
    case ElementKernel::scalar: break;
    }
#else
    (void)k;
#endif
    return nullptr;
}

ElementSums sumInElementOrder(const ElementArrays& arrays, std::size_t count)
{
    // Three chains of single additions in registers: the order of each sum is the element order.
    float force = 0.0f, momentX = 0.0f, momentY = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        force += arrays.force[i];
        momentX += arrays.momentX[i];
        momentY += arrays.momentY[i];
    }
    return {force, momentX, momentY};
}

} // namespace tarnova::calcrun
