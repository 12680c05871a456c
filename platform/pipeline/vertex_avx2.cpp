// The vertex stages eight vertices at a time with AVX2. Built with AVX2 on x86
// alone and chosen only where the processor has it; everything here but its
// one external function stays internal to this file, so no code built for
// AVX2 can stand in for another file's.
#include "pipeline/vertex_kernels.h"

#if defined(__AVX2__)

#include "pipeline/vertex_avx2_lanes.h"
#include "pipeline/vertex_loops.h"

namespace qv::pipeline {

const VertexKernels& Avx2VertexKernels() {
    static constexpr VertexKernels kernels = MakeVertexKernels<Avx2Floats>();
    return kernels;
}

}  // namespace qv::pipeline

#elif defined(__SSE2__)

namespace qv::pipeline {

// Never chosen where the build has no AVX2.
const VertexKernels& Avx2VertexKernels() { return Sse2VertexKernels(); }

}  // namespace qv::pipeline

#endif
