#include "pipeline/instruction_set.h"

#include <atomic>

#include "pipeline/raster_kernels.h"
#include "pipeline/vertex_kernels.h"

namespace qv::pipeline {
namespace {

#if defined(__SSE2__)
constexpr bool kHasSse2 = true;
#else
constexpr bool kHasSse2 = false;
#endif

// AVX2 implies SSE2, which its builds have; the AVX-512 set draws pixels with AVX2.
const bool hasAvx2 = kHasSse2 && ProcessorHasAvx2();
const bool hasAvx512 = hasAvx2 && ProcessorHasAvx512();

InstructionSet Best() {
    if (hasAvx512) return InstructionSet::Avx512;
    if (hasAvx2) return InstructionSet::Avx2;
    return kHasSse2 ? InstructionSet::Sse2 : InstructionSet::Plain;
}

std::atomic<InstructionSet> current{Best()};

}  // namespace

bool Supports(InstructionSet set) {
    switch (set) {
        case InstructionSet::Plain: return true;
        case InstructionSet::Sse2: return kHasSse2;
        case InstructionSet::Avx2: return hasAvx2;
        case InstructionSet::Avx512: return hasAvx512;
    }
    return false;
}

bool UseInstructionSet(InstructionSet set) {
    if (!Supports(set)) return false;
    current.store(set, std::memory_order_relaxed);
    return true;
}

InstructionSet CurrentInstructionSet() { return current.load(std::memory_order_relaxed); }

const VertexKernels* CurrentVertexKernels() {
#if defined(__SSE2__)
    switch (CurrentInstructionSet()) {
        case InstructionSet::Avx512: return &Avx512VertexKernels();
        case InstructionSet::Avx2: return &Avx2VertexKernels();
        case InstructionSet::Sse2: return &Sse2VertexKernels();
        case InstructionSet::Plain: break;
    }
#endif
    return nullptr;
}

}  // namespace qv::pipeline
