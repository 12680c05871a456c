// The surfaces the stand-in offers: the primary surface (alone or with one
// back buffer as a flipping chain) and depth surfaces of 16, 24 or 32 bits.

#include "ddraw/surface_request.h"

namespace qv::ddraw {
namespace {

constexpr DWORD kMemoryCaps = DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY | DDSCAPS_LOCALVIDMEM;
constexpr DWORD kPrimaryCaps =
    DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE | DDSCAPS_VISIBLE | kMemoryCaps;
constexpr DWORD kDepthCaps = DDSCAPS_ZBUFFER | kMemoryCaps;

Outcome ReadPrimary(const DDSURFACEDESC& desc, SurfaceRequest& request) {
    DWORD caps = desc.ddsCaps.dwCaps;
    if (caps & ~kPrimaryCaps) return Refuse(DDERR_INVALIDCAPS, "capabilities a primary surface cannot have");
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT))
        return Refuse(DDERR_INVALIDPARAMS, "the primary surface takes the display mode's size and format");
    bool flipping = caps & DDSCAPS_FLIP;
    bool counted = desc.dwFlags & DDSD_BACKBUFFERCOUNT;
    if (flipping != counted)
        return Refuse(DDERR_INVALIDCAPS, "a flipping chain needs both DDSCAPS_FLIP and a back-buffer count");
    if (flipping && !(caps & DDSCAPS_COMPLEX)) return Refuse(DDERR_INVALIDCAPS, "a flipping chain is DDSCAPS_COMPLEX");
    if (flipping && desc.dwBackBufferCount == 0) return Refuse(DDERR_INVALIDPARAMS, "a flipping chain needs a back buffer");
    if (flipping && desc.dwBackBufferCount > 1) return Refuse(DDERR_UNSUPPORTED, "one back buffer is offered");
    request = {SurfaceKind::Primary, caps, 0, 0, flipping ? 1u : 0u};
    return Ok();
}

// Depth is kept as 32 bits whatever is asked for.
Outcome CheckDepthBits(const DDSURFACEDESC& desc) {
    DWORD bits = 0;
    if (desc.dwFlags & DDSD_PIXELFORMAT) {
        const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
        if (format.dwSize != sizeof(DDPIXELFORMAT)) return RefuseRecordSize("pixel format", sizeof(DDPIXELFORMAT));
        if (format.dwFlags != DDPF_ZBUFFER) return Refuse(DDERR_INVALIDPIXELFORMAT, "not a depth pixel format");
        bits = format.dwZBufferBitDepth;
    } else if (desc.dwFlags & DDSD_ZBUFFERBITDEPTH) {
        bits = desc.dwZBufferBitDepth;
    } else {
        return Refuse(DDERR_INVALIDPIXELFORMAT, "no depth given");
    }
    if (bits != 16 && bits != 24 && bits != 32) return Refuse(DDERR_INVALIDPIXELFORMAT, "depth of 16, 24 or 32 bits only");
    return Ok();
}

Outcome ReadDepth(const DDSURFACEDESC& desc, SurfaceRequest& request) {
    DWORD caps = desc.ddsCaps.dwCaps;
    if (caps & ~kDepthCaps) return Refuse(DDERR_INVALIDCAPS, "capabilities a depth surface cannot have");
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT))
        return Refuse(DDERR_INVALIDPARAMS, "a depth surface needs a width and a height");
    if (desc.dwFlags & DDSD_BACKBUFFERCOUNT) return Refuse(DDERR_INVALIDPARAMS, "a depth surface has no back buffer");
    if (desc.dwWidth == 0 || desc.dwHeight == 0) return Refuse(DDERR_INVALIDPARAMS, "zero width or height");
    if (desc.dwWidth > kMaxSurfaceSide) return Refuse(DDERR_TOOBIGWIDTH, "wider than 8192");
    if (desc.dwHeight > kMaxSurfaceSide) return Refuse(DDERR_TOOBIGHEIGHT, "taller than 8192");
    if (Outcome depth = CheckDepthBits(desc); depth.result != S_OK) return depth;
    request = {SurfaceKind::Depth, caps, desc.dwWidth, desc.dwHeight, 0};
    return Ok();
}

}  // namespace

void SetXrgbFormat(DDPIXELFORMAT& format) {
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = 32;
    format.dwRBitMask = 0x00FF0000;
    format.dwGBitMask = 0x0000FF00;
    format.dwBBitMask = 0x000000FF;
}

Outcome ReadSurfaceRequest(const DDSURFACEDESC* desc, SurfaceRequest& request) {
    if (!desc) return Refuse(DDERR_INVALIDPARAMS, "no surface description");
    if (desc->dwSize != sizeof(DDSURFACEDESC)) return RefuseRecordSize("surface description", sizeof(DDSURFACEDESC));
    if (desc->dwFlags & ~DWORD(DDSD_ALL | DDSD_CAPS)) return Refuse(DDERR_INVALIDPARAMS, "unknown description flags");
    if (!(desc->dwFlags & DDSD_CAPS)) return Refuse(DDERR_INVALIDPARAMS, "no capabilities given");
    DWORD caps = desc->ddsCaps.dwCaps;
    if ((caps & DDSCAPS_VIDEOMEMORY) && (caps & DDSCAPS_SYSTEMMEMORY))
        return Refuse(DDERR_INVALIDCAPS, "both video and system memory");
    bool primary = caps & DDSCAPS_PRIMARYSURFACE;
    bool depth = caps & DDSCAPS_ZBUFFER;
    if (primary && depth) return Refuse(DDERR_INVALIDCAPS, "a primary surface is not a depth surface");
    if (primary) return ReadPrimary(*desc, request);
    if (depth) return ReadDepth(*desc, request);
    return Refuse(DDERR_UNSUPPORTED, "only the primary surface and depth surfaces are offered");
}

}  // namespace qv::ddraw
