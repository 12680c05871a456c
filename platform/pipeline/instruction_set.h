// The instructions the pipeline computes with: plain C++, the reference;
// SSE2 where the build has it (every x86-64 processor, and the browser's
// 128-bit SIMD); AVX2 for the vertex stages and the pixel traversal where the
// build has it and the processor too, with SSE2 for setup; AVX-512 (its
// foundation) for the vertex stages, with the others as AVX2's. All give the
// same bits; the best available is used unless another is chosen.
#pragma once

namespace qv::pipeline {

enum class InstructionSet { Plain, Sse2, Avx2, Avx512 };

// Whether this build, on this processor, can compute with the set.
bool Supports(InstructionSet set);

// The set used from the next draw on; false (and no change) when
// unsupported. Meant for start-up and tests: draws in flight on other threads
// may use either.
bool UseInstructionSet(InstructionSet set);
InstructionSet CurrentInstructionSet();

// Whether the current set has SSE2, for the stages that have an SSE2 twin.
inline bool UsingSse2() { return CurrentInstructionSet() != InstructionSet::Plain; }

}  // namespace qv::pipeline
