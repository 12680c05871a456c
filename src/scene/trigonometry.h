// Sine and cosine of a single-precision angle, the same to the last bit on
// every system the program is built for. The C libraries' single-precision
// functions (glibc's, mingw-w64's runtime's, musl's in the browser) round
// some angles differently in the last bit; their double-precision ones are
// exact to well under a unit in the last place, so in practice the double
// result rounds to the same float everywhere.
#pragma once

#include <cmath>

inline float Cosine(float angle) { return static_cast<float>(std::cos(static_cast<double>(angle))); }
inline float Sine(float angle) { return static_cast<float>(std::sin(static_cast<double>(angle))); }
