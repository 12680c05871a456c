// Library functions the stand-in replaces for the program: the calendar
// clock (so a run can be given a fixed start, as a capture or a test needs)
// and the non-throwing array allocation (so its failure can be injected).
// Both behave exactly as the library's own unless a setting says otherwise.

#include "control/control.h"

#include <ctime>
#include <new>

// Declared as the C library declares it (glibc: noexcept; musl: not).
extern "C" std::time_t time(std::time_t* out) noexcept(noexcept(::time(nullptr))) {
    std::time_t now;
    if (auto fixed = qv::control::Clock()) {
        now = *fixed;
    } else {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        now = ts.tv_sec;
    }
    if (out) *out = now;
    return now;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (qv::control::TakeFault("operator new[]") != S_OK) return nullptr;
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
