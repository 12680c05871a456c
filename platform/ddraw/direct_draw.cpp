// The DirectDraw object: cooperative level, display mode and surfaces.

#include "ddraw/direct_draw.h"

#include "ddraw/surface.h"
#include "ddraw/trace_text.h"

#include "host/window_system.h"

namespace qv::ddraw {
namespace {

constexpr DWORD kKnownLevels = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NOWINDOWCHANGES | DDSCL_NORMAL |
                               DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;

// The one DirectDraw object that owns the display in exclusive mode.
const DirectDraw*& ExclusiveOwner() {
    static const DirectDraw* owner = nullptr;
    return owner;
}

// A display back end that fails leaves the person running the program one
// line on why, besides the refusal on the trace.
Outcome DisplayFailure(HRESULT code, const std::string& error) {
    host::Active().Tell("display: " + error);
    return Refuse(code, "display: " + error);
}

bool Offered(DWORD width, DWORD height, DWORD bitsPerPixel) {
    for (const control::DisplayMode& mode : control::DisplayModes()) {
        if (mode.width == width && mode.height == height && mode.bitsPerPixel == bitsPerPixel) return true;
    }
    return false;
}

}  // namespace

HRESULT DirectDraw::SetCooperativeLevel(HWND window, DWORD flags) {
    return Call(
        "IDirectDraw::SetCooperativeLevel", [&] { return SetLevel(window, flags); },
        [&](control::CallTrace& trace) {
            trace.Arg(host::Active().WindowName(window)).Arg(CooperativeFlagsText(flags));
        });
}

Outcome DirectDraw::SetLevel(HWND window, DWORD flags) {
    if (flags & ~kKnownLevels) return Refuse(DDERR_INVALIDPARAMS, "unknown cooperative-level flags");
    bool exclusive = flags & DDSCL_EXCLUSIVE;
    bool normal = flags & DDSCL_NORMAL;
    if (exclusive != bool(flags & DDSCL_FULLSCREEN))
        return Refuse(DDERR_INVALIDPARAMS, "DDSCL_EXCLUSIVE and DDSCL_FULLSCREEN go together");
    if (exclusive == normal) return Refuse(DDERR_INVALIDPARAMS, "either DDSCL_NORMAL or DDSCL_EXCLUSIVE");
    if ((flags & DDSCL_ALLOWMODEX) && !exclusive) return Refuse(DDERR_INVALIDPARAMS, "DDSCL_ALLOWMODEX needs exclusive mode");
    if (window && !host::Active().IsWindow(window)) return Refuse(DDERR_INVALIDPARAMS, "not a window");
    if (normal) {
        GiveBackDisplay();
        window_ = window;
        levelSet_ = true;
        return Ok();
    }
    if (!window) return Refuse(DDERR_INVALIDPARAMS, "exclusive mode needs a window");
    if (exclusive_) {
        if (window != window_) return Refuse(DDERR_HWNDALREADYSET, "exclusive mode is set for another window");
        return Ok();
    }
    if (ExclusiveOwner()) return Refuse(DDERR_EXCLUSIVEMODEALREADYSET, "another DirectDraw object owns the display");
    std::string error;
    if (!host::Active().TakeDisplay(window, error)) return DisplayFailure(DDERR_GENERIC, error);
    ExclusiveOwner() = this;
    exclusive_ = true;
    window_ = window;
    levelSet_ = true;
    return Ok();
}

HRESULT DirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    return Call(
        "IDirectDraw::SetDisplayMode", [&] { return SetMode(width, height, bitsPerPixel); },
        [&](control::CallTrace& trace) { trace.Arg(width).Arg(height).Arg(bitsPerPixel); });
}

Outcome DirectDraw::SetMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    if (!exclusive_) return Refuse(DDERR_NOEXCLUSIVEMODE, "full-screen modes need exclusive mode");
    if (!Offered(width, height, bitsPerPixel)) return Refuse(DDERR_INVALIDMODE, "the display does not offer this mode");
    std::string error;
    if (!host::Active().SetMode(width, height, bitsPerPixel, error))
        return DisplayFailure(DDERR_UNSUPPORTEDMODE, error);
    mode_ = control::DisplayMode{width, height, bitsPerPixel};
    return Ok();
}

HRESULT DirectDraw::RestoreDisplayMode() {
    return Call(
        "IDirectDraw::RestoreDisplayMode",
        [&] {
            if (!exclusive_) return Refuse(DDERR_NOEXCLUSIVEMODE, "no mode was set in exclusive mode");
            mode_.reset();
            return Ok();
        },
        [](control::CallTrace&) {});
}

HRESULT DirectDraw::CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface, IUnknown* outer) {
    if (surface) *surface = nullptr;  // also when the call fails
    Surface* made = nullptr;
    return Call(
        "IDirectDraw::CreateSurface",
        [&] {
            if (!surface) return Refuse(DDERR_INVALIDPARAMS, "no place for the surface");
            if (outer) return Refuse(CLASS_E_NOAGGREGATION, "surfaces cannot be aggregated");
            SurfaceRequest request{};
            if (Outcome read = ReadSurfaceRequest(desc, request); read.result != S_OK) return read;
            Outcome outcome = MakeSurface(request, made);
            if (made) *surface = made;
            return outcome;
        },
        [&](control::CallTrace& trace) {
            trace.Arg(SurfaceDescText(desc)).Arg(OutText(surface, made ? made->Label() : "")).Arg(outer ? "outer" : "NULL");
        });
}

Outcome DirectDraw::MakeSurface(const SurfaceRequest& request, Surface*& made) {
    if (!levelSet_) return Refuse(DDERR_NOCOOPERATIVELEVELSET, "no cooperative level set");
    DWORD width = request.width, height = request.height;
    if (request.kind == SurfaceKind::Primary) {
        if (request.backBufferCount > 0 && !exclusive_)
            return Refuse(DDERR_NOEXCLUSIVEMODE, "a flipping chain needs exclusive mode");
        if (primary_) return Refuse(DDERR_PRIMARYSURFACEALREADYEXISTS, "there is a primary surface");
        std::optional<control::DisplayMode> mode = CurrentMode();
        if (!mode) return Refuse(DDERR_INVALIDMODE, "the display offers no mode");
        if (mode->bitsPerPixel != 32) return Refuse(DDERR_INVALIDPIXELFORMAT, "only 32-bit pixels are drawn");
        width = mode->width;
        height = mode->height;
        if (width == 0 || height == 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
            return Refuse(DDERR_INVALIDMODE, "the display mode has no usable size");
    }
    made = Make<Surface>(*this, request, width, height);
    if (!made) return Refuse(DDERR_OUTOFVIDEOMEMORY, "no memory for the surface");
    if (request.kind == SurfaceKind::Primary) primary_ = made;
    return Ok();
}

std::optional<control::DisplayMode> DirectDraw::CurrentMode() const {
    if (mode_) return mode_;
    const std::vector<control::DisplayMode>& modes = control::DisplayModes();
    if (modes.empty()) return std::nullopt;
    return modes.front();
}

void DirectDraw::PrimaryDestroyed(const Surface* surface) {
    if (primary_ == surface) primary_ = nullptr;
}

void DirectDraw::OnReleased() { GiveBackDisplay(); }

void DirectDraw::GiveBackDisplay() {
    if (exclusive_) {
        host::Active().GiveBackDisplay();
        ExclusiveOwner() = nullptr;
        ++displayGeneration_;
    }
    exclusive_ = false;
    window_ = nullptr;
    mode_.reset();
}

}  // namespace qv::ddraw
