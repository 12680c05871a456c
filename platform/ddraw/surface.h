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
#include "ddraw/pixel_memory.h"
#include "ddraw/surface_request.h"

#include "pipeline/pipeline.h"
#include "pipeline/renderer.h"

#include <ddraw.h>

#include <cstdint>
#include <vector>

namespace qv::ddraw {

class Surface final : public ComObject<Surface, IDirectDrawSurface> {
public:
    static constexpr const char* kKind = "surface";

    // Throws std::bad_alloc when the memory cannot be had. A back buffer
    // has no memory of its own: it shows its chain's second buffer.
    Surface(DirectDraw& owner, const SurfaceRequest& request, DWORD width, DWORD height);

    // surface.cpp
    HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE attached) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC desc) override;
    // surface_attached.cpp
    HRESULT STDMETHODCALLTYPE DeleteAttachedSurface(DWORD flags, LPDIRECTDRAWSURFACE attached) override;
    HRESULT STDMETHODCALLTYPE EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) override;
    // surface_memory.cpp
    HRESULT STDMETHODCALLTYPE GetBltStatus(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS caps) override;
    HRESULT STDMETHODCALLTYPE GetFlipStatus(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT pixelFormat) override;
    HRESULT STDMETHODCALLTYPE IsLost() override;
    HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE event) override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID surfaceData) override;
    // unsupported.cpp
    HRESULT STDMETHODCALLTYPE AddOverlayDirtyRect(LPRECT rect) override;
    HRESULT STDMETHODCALLTYPE Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                                  LPDDBLTFX effects) override;
    HRESULT STDMETHODCALLTYPE BltBatch(LPDDBLTBATCH batch, DWORD count, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                                      DWORD transfer) override;
    HRESULT STDMETHODCALLTYPE EnumOverlayZOrders(DWORD flags, LPVOID context,
                                                 LPDDENUMSURFACESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* clipper) override;
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY colorKey) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE GetOverlayPosition(LPLONG x, LPLONG y) override;
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* palette) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW directDraw, LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY colorKey) override;
    HRESULT STDMETHODCALLTYPE SetOverlayPosition(LONG x, LONG y) override;
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlay(LPRECT sourceRect, LPDIRECTDRAWSURFACE dest, LPRECT destRect, DWORD flags,
                                            LPDDOVERLAYFX effects) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlayDisplay(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UpdateOverlayZOrder(DWORD flags, LPDIRECTDRAWSURFACE reference) override;

    const DirectDraw& Owner() const { return *owner_; }
    bool Renderable() const { return request_.caps & DDSCAPS_3DDEVICE; }
    // Where drawing goes: this surface's colour and the attached depth, if any.
    pipeline::Target DrawTarget();
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    // Between Lock and Unlock nothing else may use the memory: no drawing
    // into it (colour or attached depth) and no flipping.
    bool DrawTargetLocked() const { return locked_ || (depth_ && depth_->locked_); }
    // The renderer that draws into this surface may hold work for it (a
    // clear waiting for the next draw): anything else that uses the memory,
    // of this surface, its back buffer or its depth, settles it first.
    void DrawnBy(pipeline::Renderer& renderer);
    void SettleDrawing();

private:
    ~Surface() override;
    void OnReleased() override;
    Outcome Attach(LPDIRECTDRAWSURFACE attached);
    Outcome FlipChain(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags);
    Outcome Describe(LPDDSURFACEDESC desc) const;
    void DescribeFormat(DDPIXELFORMAT& format) const;
    bool IsDepth() const { return request_.kind == SurfaceKind::Depth; }
    bool Lost() const;
    PixelMemory& Memory() { return chain_ ? chain_->back_ : front_; }
    pipeline::DrawnArea& MemoryDrawn() { return chain_ ? chain_->backDrawn_ : frontDrawn_; }
    // The surfaces attached to this one: the back buffer of a chain (made
    // on first use, kept while the chain lives), then the depth surface.
    Outcome Attached(std::vector<Surface*>& found);
    Surface* BackBuffer();
    Outcome Detach(DWORD flags, LPDIRECTDRAWSURFACE attached);
    Outcome LockMemory(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags);
    HRESULT StatusQuery(control::OperationId call, DWORD flags, DWORD canStart, DWORD isDone);

    Ref<DirectDraw> owner_;
    SurfaceRequest request_;
    uint32_t width_, height_;
    PixelMemory front_;  // colour, or depth for a depth surface
    PixelMemory back_;   // the back buffer of a flipping chain
    // What of each may differ from the clear value: nothing when made (black
    // colour, farthest depth), everything once a caller has locked it.
    pipeline::DrawnArea frontDrawn_ = pipeline::DrawnArea::Nothing(), backDrawn_ = pipeline::DrawnArea::Nothing();
    Ref<Surface> depth_;
    Surface* attachedTo_ = nullptr;
    pipeline::Renderer* drawnBy_ = nullptr;
    Surface* backBuffer_ = nullptr;  // the chain's reference on it
    Ref<Surface> chain_;             // a back buffer's primary surface
    bool locked_ = false;
    unsigned displayGeneration_;
};

}  // namespace qv::ddraw
