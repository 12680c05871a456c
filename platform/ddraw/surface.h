// IDirectDrawSurface: pixel memory the surface owns. A primary surface holds
// 32-bit XRGB pixels in the display mode's size; as a flipping chain it has a
// second buffer, and Flip swaps the memory behind the two. A depth surface
// holds 32-bit depth values whatever depth was asked for, and can be attached
// to a 3D-capable surface, which holds it from then on.
//
// The device renders into the primary surface itself; after a flip that
// surface's memory is the former back buffer. Flip hands the display the
// frame just drawn, as it stands at the call: no tearing and no frame of lag.
#pragma once

#include "ddraw/com_object.h"
#include "ddraw/direct_draw.h"
#include "ddraw/surface_request.h"

#include "pipeline/pipeline.h"

#include <ddraw.h>

#include <cstdint>
#include <vector>

namespace qv::ddraw {

class Surface final : public ComObject<Surface, IDirectDrawSurface> {
public:
    static constexpr const char* kInterface = "IDirectDrawSurface";
    static constexpr const char* kKind = "surface";
    static constexpr const GUID& kIid = IID_IDirectDrawSurface;

    // Throws std::bad_alloc when the memory cannot be had.
    Surface(DirectDraw& owner, const SurfaceRequest& request, DWORD width, DWORD height);

    HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE attached) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC desc) override;

    const DirectDraw& Owner() const { return *owner_; }
    bool Renderable() const { return request_.caps & DDSCAPS_3DDEVICE; }
    // Where drawing goes: this surface's colour and the attached depth, if any.
    pipeline::Target DrawTarget();
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }

private:
    ~Surface() override;
    Outcome Attach(LPDIRECTDRAWSURFACE attached);
    Outcome FlipChain(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags);
    Outcome Describe(LPDDSURFACEDESC desc) const;
    bool IsDepth() const { return request_.kind == SurfaceKind::Depth; }

    Ref<DirectDraw> owner_;
    SurfaceRequest request_;
    uint32_t width_, height_;
    std::vector<uint32_t> front_;  // colour, or depth for a depth surface
    std::vector<uint32_t> back_;   // the back buffer of a flipping chain
    Ref<Surface> depth_;
    Surface* attachedTo_ = nullptr;
};

}  // namespace qv::ddraw
