// The methods of IDirectDraw and IDirectDrawSurface this driver does not
// offer: clippers, palettes, GDI, overlays, colour keys, blits and the
// scan-line and vertical-blank queries. Each answers DDERR_UNSUPPORTED on the
// trace and empties its out parameter; Initialize answers that the object is
// initialised already, as for every object DirectDrawCreate makes.

#include "ddraw/direct_draw.h"
#include "ddraw/surface.h"

namespace qv::ddraw {

HRESULT DirectDraw::Compact() { return Unsupported("IDirectDraw::Compact"); }

HRESULT DirectDraw::CreateClipper(DWORD, LPDIRECTDRAWCLIPPER* clipper, IUnknown*) {
    return Unsupported("IDirectDraw::CreateClipper", clipper);
}

HRESULT DirectDraw::CreatePalette(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE* palette, IUnknown*) {
    return Unsupported("IDirectDraw::CreatePalette", palette);
}

HRESULT DirectDraw::DuplicateSurface(LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE* duplicate) {
    return Unsupported("IDirectDraw::DuplicateSurface", duplicate);
}

HRESULT DirectDraw::EnumSurfaces(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK) {
    return Unsupported("IDirectDraw::EnumSurfaces");
}

HRESULT DirectDraw::FlipToGDISurface() { return Unsupported("IDirectDraw::FlipToGDISurface"); }

HRESULT DirectDraw::GetGDISurface(LPDIRECTDRAWSURFACE* surface) {
    return Unsupported("IDirectDraw::GetGDISurface", surface);
}

HRESULT DirectDraw::GetScanLine(LPDWORD) { return Unsupported("IDirectDraw::GetScanLine"); }

// The display back ends pace presented frames only: they cannot say when a
// refresh begins, so these would not be honest.
HRESULT DirectDraw::GetVerticalBlankStatus(LPBOOL) { return Unsupported("IDirectDraw::GetVerticalBlankStatus"); }

HRESULT DirectDraw::WaitForVerticalBlank(DWORD, HANDLE) { return Unsupported("IDirectDraw::WaitForVerticalBlank"); }

HRESULT DirectDraw::Initialize(GUID*) {
    return Call(
        "IDirectDraw::Initialize",
        [] { return Refuse(DDERR_ALREADYINITIALIZED, "made by DirectDrawCreate"); }, [](control::CallTrace&) {});
}

HRESULT Surface::AddOverlayDirtyRect(LPRECT) { return Unsupported("IDirectDrawSurface::AddOverlayDirtyRect"); }

HRESULT Surface::Blt(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX) {
    return Unsupported("IDirectDrawSurface::Blt");
}

HRESULT Surface::BltBatch(LPDDBLTBATCH, DWORD, DWORD) { return Unsupported("IDirectDrawSurface::BltBatch"); }

HRESULT Surface::BltFast(DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD) {
    return Unsupported("IDirectDrawSurface::BltFast");
}

HRESULT Surface::EnumOverlayZOrders(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK) {
    return Unsupported("IDirectDrawSurface::EnumOverlayZOrders");
}

HRESULT Surface::GetClipper(LPDIRECTDRAWCLIPPER* clipper) {
    return Unsupported("IDirectDrawSurface::GetClipper", clipper);
}

HRESULT Surface::GetColorKey(DWORD, LPDDCOLORKEY) { return Unsupported("IDirectDrawSurface::GetColorKey"); }

HRESULT Surface::GetDC(HDC* dc) { return Unsupported("IDirectDrawSurface::GetDC", dc); }

HRESULT Surface::GetOverlayPosition(LPLONG, LPLONG) { return Unsupported("IDirectDrawSurface::GetOverlayPosition"); }

HRESULT Surface::GetPalette(LPDIRECTDRAWPALETTE* palette) {
    return Unsupported("IDirectDrawSurface::GetPalette", palette);
}

HRESULT Surface::Initialize(LPDIRECTDRAW, LPDDSURFACEDESC) {
    return Call(
        "IDirectDrawSurface::Initialize",
        [] { return Refuse(DDERR_ALREADYINITIALIZED, "made by CreateSurface"); }, [](control::CallTrace&) {});
}

HRESULT Surface::ReleaseDC(HDC) { return Unsupported("IDirectDrawSurface::ReleaseDC"); }

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER) { return Unsupported("IDirectDrawSurface::SetClipper"); }

HRESULT Surface::SetColorKey(DWORD, LPDDCOLORKEY) { return Unsupported("IDirectDrawSurface::SetColorKey"); }

HRESULT Surface::SetOverlayPosition(LONG, LONG) { return Unsupported("IDirectDrawSurface::SetOverlayPosition"); }

HRESULT Surface::SetPalette(LPDIRECTDRAWPALETTE) { return Unsupported("IDirectDrawSurface::SetPalette"); }

HRESULT Surface::UpdateOverlay(LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDOVERLAYFX) {
    return Unsupported("IDirectDrawSurface::UpdateOverlay");
}

HRESULT Surface::UpdateOverlayDisplay(DWORD) { return Unsupported("IDirectDrawSurface::UpdateOverlayDisplay"); }

HRESULT Surface::UpdateOverlayZOrder(DWORD, LPDIRECTDRAWSURFACE) {
    return Unsupported("IDirectDrawSurface::UpdateOverlayZOrder");
}

}  // namespace qv::ddraw
