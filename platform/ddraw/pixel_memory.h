// Memory for a surface's pixels. Colour and depth buffers are walked all
// over every frame; on Linux they sit on huge pages where the kernel offers
// them, so a frame touches three pages instead of about a thousand and its
// address translations stay cached between frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace qv::ddraw {

void* AllocatePixels(std::size_t bytes);
void FreePixels(void* memory, std::size_t bytes);

template <class T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <class U>
    PixelAllocator(const PixelAllocator<U>&) {}
    T* allocate(std::size_t count) { return static_cast<T*>(AllocatePixels(count * sizeof(T))); }
    void deallocate(T* memory, std::size_t count) { FreePixels(memory, count * sizeof(T)); }
    template <class U>
    bool operator==(const PixelAllocator<U>&) const { return true; }
    template <class U>
    bool operator!=(const PixelAllocator<U>&) const { return false; }
};

using PixelMemory = std::vector<uint32_t, PixelAllocator<uint32_t>>;

}  // namespace qv::ddraw
