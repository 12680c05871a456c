#include "ddraw/pixel_memory.h"

#include <cstdint>
#include <cstdlib>

// The address sanitizer checks heap blocks only: its builds keep pixels there.
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#define QV_HUGE_PAGES 1
#include <sys/mman.h>
#endif

namespace qv::ddraw {
namespace {

void* FromHeap(std::size_t bytes) {
    void* memory = std::malloc(bytes ? bytes : 1);
    if (!memory) throw std::bad_alloc();
    return memory;
}

}  // namespace

#if defined(QV_HUGE_PAGES)
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Buffers of half a huge page or more are mapped on their own, aligned to
// huge pages, and marked as wanting them.
bool OwnMapping(std::size_t bytes) { return bytes >= kHugePage / 2; }
std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

}  // namespace

void* AllocatePixels(std::size_t bytes) {
    if (!OwnMapping(bytes)) return FromHeap(bytes);
    // Map a huge page more than needed and give back the ends around the
    // aligned part.
    const std::size_t size = Rounded(bytes);
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) munmap(mapped, aligned - start);
    if (start + kHugePage > aligned) munmap(reinterpret_cast<void*>(aligned + size), start + kHugePage - aligned);
    void* memory = reinterpret_cast<void*>(aligned);
    madvise(memory, size, MADV_HUGEPAGE);  // only a wish: without it the pages are small
    return memory;
}

void FreePixels(void* memory, std::size_t bytes) {
    if (OwnMapping(bytes)) {
        munmap(memory, Rounded(bytes));
    } else {
        std::free(memory);
    }
}
#else
void* AllocatePixels(std::size_t bytes) { return FromHeap(bytes); }
void FreePixels(void* memory, std::size_t) { std::free(memory); }
#endif

}  // namespace qv::ddraw
