// Surfaces: their memory, attaching depth, flipping.

#include "ddraw/surface.h"

#include "ddraw/trace_text.h"

#include "host/window_system.h"

#include <cstring>
#include <utility>

namespace qv::ddraw {

Surface::Surface(DirectDraw& owner, const SurfaceRequest& request, DWORD width, DWORD height)
    : owner_(&owner),
      request_(request),
      width_(width),
      height_(height),
      front_(request.kind == SurfaceKind::BackBuffer ? 0 : std::size_t(width) * height,
             request.kind == SurfaceKind::Depth ? 0xFFFFFFFFu : 0u),
      back_(request.backBufferCount > 0 ? std::size_t(width) * height : 0, 0u),
      displayGeneration_(owner.DisplayGeneration()) {}

Surface::~Surface() {
    if (depth_) depth_->attachedTo_ = nullptr;
    if (chain_) chain_->backBuffer_ = nullptr;
    owner_->PrimaryDestroyed(this);
}

// The chain gives up its reference on its back buffer with the callers' last
// reference on the chain.
void Surface::OnReleased() {
    if (Surface* backBuffer = std::exchange(backBuffer_, nullptr)) backBuffer->ReleaseReference();
}

HRESULT Surface::AddAttachedSurface(LPDIRECTDRAWSURFACE attached) {
    return Call(
        "IDirectDrawSurface::AddAttachedSurface", [&] { return Attach(attached); },
        [&](control::CallTrace& trace) { trace.Arg(LabelOf(attached)); });
}

Outcome Surface::Attach(LPDIRECTDRAWSURFACE attached) {
    SettleDrawing();
    if (!attached) return Refuse(DDERR_INVALIDPARAMS, "no surface to attach");
    Surface* depth = Find(attached);
    if (!depth || depth->Released()) return Refuse(DDERR_INVALIDOBJECT, "not a live surface");
    if (depth == this) return Refuse(DDERR_CANNOTATTACHSURFACE, "a surface cannot be attached to itself");
    if (!depth->IsDepth()) return Refuse(DDERR_CANNOTATTACHSURFACE, "only a depth surface can be attached");
    if (!Renderable()) return Refuse(DDERR_CANNOTATTACHSURFACE, "the surface is not made for 3D");
    if (depth_) return Refuse(DDERR_SURFACEALREADYATTACHED, "a depth surface is already attached");
    if (depth->attachedTo_) return Refuse(DDERR_SURFACEALREADYATTACHED, "the depth surface is attached elsewhere");
    if (owner_.Get() != depth->owner_.Get())
        return Refuse(DDERR_CANNOTATTACHSURFACE, "the surfaces belong to different DirectDraw objects");
    if (depth->width_ != width_ || depth->height_ != height_)
        return Refuse(DDERR_CANNOTATTACHSURFACE, "the depth surface's size differs");
    depth_ = Ref<Surface>(depth);
    depth->attachedTo_ = this;
    return Ok();
}

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) {
    return Call(
        "IDirectDrawSurface::Flip", [&] { return FlipChain(overrideSurface, flags); },
        [&](control::CallTrace& trace) { trace.Arg(LabelOf(overrideSurface)).Arg(FlipFlagsText(flags)); });
}

Outcome Surface::FlipChain(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) {
    if (flags & ~DWORD(DDFLIP_WAIT)) return Refuse(DDERR_INVALIDPARAMS, "flags other than DDFLIP_WAIT");
    if (back_.empty()) return Refuse(DDERR_NOTFLIPPABLE, "not a flipping chain");
    if (locked_ || (backBuffer_ && backBuffer_->locked_)) return Refuse(DDERR_SURFACEBUSY, "the chain is locked");
    if (overrideSurface) return Refuse(DDERR_INVALIDPARAMS, "a chain of two takes no override surface");
    if (owner_->Released()) return Refuse(DDERR_SURFACELOST, "its DirectDraw object was released");
    if (!owner_->Exclusive()) return Refuse(DDERR_NOEXCLUSIVEMODE, "the display was given back");
    std::optional<control::DisplayMode> mode = owner_->CurrentMode();
    if (!mode || mode->width != width_ || mode->height != height_)
        return Refuse(DDERR_WRONGMODE, "made for another display mode");
    // The frame just drawn becomes the back buffer; the device draws on
    // into the other memory, which is now the front.
    SettleDrawing();
    front_.swap(back_);
    std::swap(frontDrawn_, backDrawn_);
    const host::Frame frame{back_.data(), width_, width_, height_, &backDrawn_};
    host::Active().Present(frame, flags & DDFLIP_WAIT);
    // The flip that reaches the frame limit ends the run as a user would.
    if (control::CountFlippedFrame()) {
        control::CaptureFrame(frame.pixels, frame.pitch, frame.width, frame.height);
        host::Active().CloseMainWindow();
    }
    return Ok();
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC desc) {
    return Call(
        "IDirectDrawSurface::GetSurfaceDesc", [&] { return Describe(desc); },
        [&](control::CallTrace& trace) { trace.Arg(desc ? "desc" : "NULL"); });
}

Outcome Surface::Describe(LPDDSURFACEDESC desc) const {
    if (!desc) return Refuse(DDERR_INVALIDPARAMS, "no description to fill");
    if (desc->dwSize != sizeof(DDSURFACEDESC)) return RefuseRecordSize("surface description", sizeof(DDSURFACEDESC));
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = sizeof *desc;
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = width_;
    desc->dwHeight = height_;
    desc->lPitch = LONG(width_ * sizeof(uint32_t));
    desc->ddsCaps.dwCaps = request_.caps;
    DescribeFormat(desc->ddpfPixelFormat);
    if (request_.backBufferCount > 0) {
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc->dwBackBufferCount = request_.backBufferCount;
    }
    return Ok();
}

void Surface::DescribeFormat(DDPIXELFORMAT& format) const {
    std::memset(&format, 0, sizeof format);
    format.dwSize = sizeof format;
    if (IsDepth()) {
        format.dwFlags = DDPF_ZBUFFER;
        format.dwZBufferBitDepth = 32;
    } else {
        SetXrgbFormat(format);
    }
}

void Surface::DrawnBy(pipeline::Renderer& renderer) {
    if (drawnBy_ != &renderer) SettleDrawing();
    drawnBy_ = &renderer;
}

void Surface::SettleDrawing() {
    if (chain_) chain_->SettleDrawing();
    if (attachedTo_) attachedTo_->SettleDrawing();
    if (drawnBy_) std::exchange(drawnBy_, nullptr)->Settle();
}

pipeline::Target Surface::DrawTarget() {
    uint32_t* depth = depth_ ? depth_->front_.data() : nullptr;
    return {front_.data(), width_, depth, width_, width_, height_, &frontDrawn_, depth_ ? &depth_->frontDrawn_ : nullptr};
}

}  // namespace qv::ddraw
