// A surface's memory as callers see it: Lock/Unlock, its capabilities and
// pixel format, losing it when the display is given back, and the status
// queries of a driver that finishes every flip within the call.

#include "ddraw/surface.h"

#include "ddraw/trace_text.h"

namespace qv::ddraw {
namespace {

constexpr DWORD kLockFlags = DDLOCK_WAIT | DDLOCK_EVENT | DDLOCK_READONLY | DDLOCK_WRITEONLY | DDLOCK_NOSYSLOCK;

bool Inside(const RECT& rect, uint32_t width, uint32_t height) {
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           uint32_t(rect.right) <= width && uint32_t(rect.bottom) <= height;
}

std::string RectText(const RECT* rect) {
    if (!rect) return "NULL";
    return "{" + std::to_string(rect->left) + ", " + std::to_string(rect->top) + ", " + std::to_string(rect->right) +
           ", " + std::to_string(rect->bottom) + "}";
}

}  // namespace

bool Surface::Lost() const { return displayGeneration_ != owner_->DisplayGeneration(); }

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE event) {
    return Call(
        "IDirectDrawSurface::Lock",
        [&] { return event ? Refuse(DDERR_INVALIDPARAMS, "no event is taken") : LockMemory(rect, desc, flags); },
        [&](control::CallTrace& trace) { trace.Arg(RectText(rect)).Arg(desc ? "desc" : "NULL").Arg(flags); });
}

Outcome Surface::LockMemory(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags) {
    if (!desc) return Refuse(DDERR_INVALIDPARAMS, "no description to fill");
    if (desc->dwSize != sizeof(DDSURFACEDESC)) return RefuseRecordSize("surface description", sizeof(DDSURFACEDESC));
    if (flags & ~kLockFlags) return Refuse(DDERR_INVALIDPARAMS, "unknown lock flags");
    if (rect && !Inside(*rect, width_, height_)) return Refuse(DDERR_INVALIDRECT, "the rectangle is not inside the surface");
    if (locked_) return Refuse(DDERR_SURFACEBUSY, "the surface is locked already");
    if (Lost()) return Refuse(DDERR_SURFACELOST, "the display was given back");
    if (Outcome described = Describe(desc); described.result != S_OK) return described;
    SettleDrawing();
    std::size_t first = rect ? std::size_t(rect->top) * width_ + std::size_t(rect->left) : 0;
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = Memory().data() + first;
    MemoryDrawn() = {};  // the caller may write anything there
    locked_ = true;
    return Ok();
}

HRESULT Surface::Unlock(LPVOID surfaceData) {
    return Call(
        "IDirectDrawSurface::Unlock",
        [&] {
            if (!locked_) return Refuse(DDERR_NOTLOCKED, "the surface is not locked");
            locked_ = false;
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(surfaceData ? "memory" : "NULL"); });
}

HRESULT Surface::IsLost() {
    return Call(
        "IDirectDrawSurface::IsLost",
        [&] { return Lost() ? Refuse(DDERR_SURFACELOST, "the display was given back") : Ok(); },
        [](control::CallTrace&) {});
}

HRESULT Surface::Restore() {
    return Call(
        "IDirectDrawSurface::Restore",
        [&] {
            if (!Lost()) return Ok();
            bool primary = request_.kind != SurfaceKind::Depth;
            if (primary && !owner_->Exclusive()) return Refuse(DDERR_NOEXCLUSIVEMODE, "the display is not taken");
            std::optional<control::DisplayMode> mode = owner_->CurrentMode();
            if (primary && (!mode || mode->width != width_ || mode->height != height_))
                return Refuse(DDERR_WRONGMODE, "made for another display mode");
            displayGeneration_ = owner_->DisplayGeneration();
            return Ok();
        },
        [](control::CallTrace&) {});
}

HRESULT Surface::GetCaps(LPDDSCAPS caps) {
    return Call(
        "IDirectDrawSurface::GetCaps",
        [&] {
            if (!caps) return Refuse(DDERR_INVALIDPARAMS, "no place for the capabilities");
            caps->dwCaps = request_.caps;
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(caps ? SurfaceCapsText(caps->dwCaps) : "NULL"); });
}

HRESULT Surface::GetPixelFormat(LPDDPIXELFORMAT pixelFormat) {
    return Call(
        "IDirectDrawSurface::GetPixelFormat",
        [&] {
            if (!pixelFormat) return Refuse(DDERR_INVALIDPARAMS, "no pixel format to fill");
            if (pixelFormat->dwSize != sizeof(DDPIXELFORMAT))
                return RefuseRecordSize("pixel format", sizeof(DDPIXELFORMAT));
            DescribeFormat(*pixelFormat);
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(pixelFormat ? "format" : "NULL"); });
}

// Flips and drawing finish within their calls, so a surface is always ready.
HRESULT Surface::GetFlipStatus(DWORD flags) {
    return StatusQuery("IDirectDrawSurface::GetFlipStatus", flags, DDGFS_CANFLIP, DDGFS_ISFLIPDONE);
}

HRESULT Surface::GetBltStatus(DWORD flags) {
    return StatusQuery("IDirectDrawSurface::GetBltStatus", flags, DDGBS_CANBLT, DDGBS_ISBLTDONE);
}

HRESULT Surface::StatusQuery(control::OperationId call, DWORD flags, DWORD canStart, DWORD isDone) {
    return Call(
        call,
        [&] { return flags == canStart || flags == isDone ? Ok() : Refuse(DDERR_INVALIDPARAMS, "unknown flags"); },
        [&](control::CallTrace& trace) { trace.Arg(flags); });
}

}  // namespace qv::ddraw
