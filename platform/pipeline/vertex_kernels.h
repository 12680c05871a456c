// The vertex stages' inner loops once per SIMD instruction set, each set in
// its own file from the one set of templates in vertex_loops.h. Every value
// is formed by the same operations in the same order as in the plain loops
// of transform.cpp, lighting.cpp and viewport.cpp, so all give the same bits.
#pragma once

#include <cstddef>

#include "pipeline/batch.h"
#include "pipeline/pipeline.h"

namespace qv::pipeline {

// A point light without attenuation or highlight, as the loops need it.
struct PlainPointLight {
    Vec3 position;
    Color diffuse;  // material diffuse x light colour
    float range2;   // the range squared; negative when nothing is in range
};

// The loops over a batch run past count, up to a whole number of lanes,
// within the batch's arrays; transform reads the caller's vertices, so it
// does whole groups only and returns the vertices done.
struct VertexKernels {
    std::size_t (*transform)(const Vertex* in, std::size_t count, const Matrix& toClip, const Matrix& world,
                             VertexBatch& out);
    void (*normalize)(std::size_t count, VertexBatch& b);
    void (*addPlainPointLight)(const PlainPointLight& light, std::size_t count, VertexBatch& b);
    void (*clampColors)(std::size_t count, VertexBatch& b);
    void (*project)(VertexBatch& b, std::size_t count, const ScreenMapping& m);
};

// Those of the instruction set in use; null for the plain loops.
const VertexKernels* CurrentVertexKernels();

// Each set's, where the build has SSE2 (a wider set's are a narrower one's
// where the build lacks it; they are never chosen there).
const VertexKernels& Sse2VertexKernels();
const VertexKernels& Avx2VertexKernels();
const VertexKernels& Avx512VertexKernels();

// Whether the build has the AVX-512 loops and the processor can run them.
bool ProcessorHasAvx512();

}  // namespace qv::pipeline
