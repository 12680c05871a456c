#include "pipeline/instruction_set.h"

#include <atomic>

namespace qv::pipeline {
namespace {

#if defined(__SSE2__)
constexpr bool kHasSse2 = true;
#else
constexpr bool kHasSse2 = false;
#endif

std::atomic<InstructionSet> current{kHasSse2 ? InstructionSet::Sse2 : InstructionSet::Plain};

}  // namespace

bool Supports(InstructionSet set) { return set == InstructionSet::Plain || (set == InstructionSet::Sse2 && kHasSse2); }

bool UseInstructionSet(InstructionSet set) {
    if (!Supports(set)) return false;
    current.store(set, std::memory_order_relaxed);
    return true;
}

InstructionSet CurrentInstructionSet() { return current.load(std::memory_order_relaxed); }

}  // namespace qv::pipeline
