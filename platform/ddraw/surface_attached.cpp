// The surfaces attached to a surface: the back buffer of a flipping chain and
// an attached depth surface, found by their capabilities, enumerated, and
// the depth surface detached.

#include "ddraw/surface.h"

#include "ddraw/trace_text.h"

namespace qv::ddraw {
namespace {

// What a back buffer is, besides the memory caps of its chain.
constexpr DWORD kBackBufferCaps = DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
constexpr DWORD kChainMemoryCaps = DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY | DDSCAPS_LOCALVIDMEM;

}  // namespace

Surface* Surface::BackBuffer() {
    if (back_.empty() || backBuffer_) return backBuffer_;
    SurfaceRequest request{SurfaceKind::BackBuffer, (request_.caps & kChainMemoryCaps) | kBackBufferCaps, width_,
                           height_, 0};
    backBuffer_ = Make<Surface>(*owner_, request, width_, height_);
    if (backBuffer_) backBuffer_->chain_ = Ref<Surface>(this);
    return backBuffer_;
}

Outcome Surface::Attached(std::vector<Surface*>& found) {
    if (!back_.empty()) {
        Surface* backBuffer = BackBuffer();
        if (!backBuffer) return Refuse(DDERR_OUTOFMEMORY, "no memory for the back buffer");
        found.push_back(backBuffer);
    }
    if (depth_) found.push_back(depth_.Get());
    return Ok();
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) {
    if (attached) *attached = nullptr;  // also when the call fails
    Surface* given = nullptr;
    return Call(
        "IDirectDrawSurface::GetAttachedSurface",
        [&] {
            if (!caps || !attached) return Refuse(DDERR_INVALIDPARAMS, "no capabilities or no place for the surface");
            std::vector<Surface*> found;
            if (Outcome listed = Attached(found); listed.result != S_OK) return listed;
            for (Surface* surface : found) {
                if ((surface->request_.caps & caps->dwCaps) != caps->dwCaps) continue;
                surface->AddReference();
                given = surface;
                *attached = surface;
                return Ok();
            }
            return Refuse(DDERR_NOTFOUND, "no attached surface has these capabilities");
        },
        [&](control::CallTrace& trace) {
            trace.Arg(caps ? SurfaceCapsText(caps->dwCaps) : "NULL").Arg(OutText(attached, given ? given->Label() : ""));
        });
}

HRESULT Surface::DeleteAttachedSurface(DWORD flags, LPDIRECTDRAWSURFACE attached) {
    return Call(
        "IDirectDrawSurface::DeleteAttachedSurface", [&] { return Detach(flags, attached); },
        [&](control::CallTrace& trace) { trace.Arg(flags).Arg(LabelOf(attached)); });
}

Outcome Surface::Detach(DWORD flags, LPDIRECTDRAWSURFACE attached) {
    if (flags != 0) return Refuse(DDERR_INVALIDPARAMS, "no flags are defined");
    if (!attached) return Refuse(DDERR_INVALIDPARAMS, "no surface to detach");
    Surface* surface = Find(attached);
    if (!surface || surface->Released()) return Refuse(DDERR_INVALIDOBJECT, "not a live surface");
    if (surface->chain_.Get() == this) return Refuse(DDERR_CANNOTDETACHSURFACE, "the back buffer belongs to its chain");
    if (surface != depth_.Get()) return Refuse(DDERR_SURFACENOTATTACHED, "not attached to this surface");
    SettleDrawing();
    depth_->attachedTo_ = nullptr;
    depth_.Reset();
    return Ok();
}

HRESULT Surface::EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK callback) {
    return Call(
        "IDirectDrawSurface::EnumAttachedSurfaces",
        [&] {
            if (!callback) return Refuse(DDERR_INVALIDPARAMS, "no callback");
            std::vector<Surface*> found;
            if (Outcome listed = Attached(found); listed.result != S_OK) return listed;
            std::vector<Ref<Surface>> kept(found.begin(), found.end());  // whatever the callback releases
            for (Ref<Surface>& surface : kept) {
                DDSURFACEDESC desc{};
                desc.dwSize = sizeof desc;
                surface->Describe(&desc);
                surface->AddReference();  // the callback's, to release
                if (callback(surface.Get(), &desc, context) == DDENUMRET_CANCEL) break;
            }
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(context ? "context" : "NULL").Arg("callback"); });
}

}  // namespace qv::ddraw
