// The calendar clock of a program built against the real platform.
#pragma once

#include <cstdint>

namespace qv::win32 {

// Makes the program's calls of the C runtime's clock read seconds; returns
// how many imports were redirected (0: the program does not read the clock
// through its import table, and the setting cannot reach it).
int FixClock(int64_t seconds);

}  // namespace qv::win32
