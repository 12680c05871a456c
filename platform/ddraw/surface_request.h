// What a CreateSurface description asks for, checked for consistency on its
// own; what depends on the DirectDraw object's state (cooperative level,
// display mode, an existing primary surface) is checked by that object.
#pragma once

#include "ddraw/call.h"

#include <ddraw.h>

namespace qv::ddraw {

// A back buffer is made by its flipping chain, never by a request.
enum class SurfaceKind { Primary, Depth, BackBuffer };

struct SurfaceRequest {
    SurfaceKind kind;
    DWORD caps;
    DWORD width = 0, height = 0;  // depth surfaces only; the primary takes the mode's
    DWORD backBufferCount = 0;    // 1 for a flipping chain
};

// The largest width or height a surface may have.
inline constexpr DWORD kMaxSurfaceSide = 8192;

// Fills the 32-bit XRGB format of colour surfaces and 32-bit display modes
// (the caller sets dwSize).
void SetXrgbFormat(DDPIXELFORMAT& format);

// Reads desc into request, or says which published error it earns.
Outcome ReadSurfaceRequest(const DDSURFACEDESC* desc, SurfaceRequest& request);

}  // namespace qv::ddraw
