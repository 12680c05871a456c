// Compiled into the Windows build: the records the program hands the
// platform have the sizes the platform expects on each architecture
// (on 32-bit Windows, the platform's original ABI: 48 and 108 bytes).

#include <windows.h>
#include <ddraw.h>

constexpr bool k32Bit = sizeof(void*) == 4;
static_assert(sizeof(WNDCLASSEXA) == (k32Bit ? 48 : 80), "WNDCLASSEXA size");
static_assert(sizeof(DDSURFACEDESC) == (k32Bit ? 108 : 120), "DDSURFACEDESC size");
