// IDirectDraw: the display driver. It holds the cooperative level and the
// display mode, makes surfaces, and gives the Direct3D interface. Only one
// DirectDraw object at a time can own the display in exclusive mode; it gives
// the display back when its callers release it.
#pragma once

#include "control/control.h"
#include "ddraw/com_object.h"
#include "ddraw/surface_request.h"

#include <d3d.h>

#include <optional>

namespace qv::ddraw {

class Surface;

class DirectDraw final : public ComObject<DirectDraw, IDirectDraw> {
public:
    static constexpr const char* kInterface = "IDirectDraw";
    static constexpr const char* kKind = "ddraw";
    static constexpr const GUID& kIid = IID_IDirectDraw;

    DirectDraw() = default;

    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override;

    // IID_IDirect3D2 gives a Direct3D object of this driver.
    Outcome QueryOther(REFIID iid, void** out, std::string& created);

    // The mode the display shows now: the one set, else the first offered.
    std::optional<control::DisplayMode> CurrentMode() const;
    bool Exclusive() const { return exclusive_; }
    void PrimaryDestroyed(const Surface* surface);

private:
    ~DirectDraw() override = default;
    void OnReleased() override;
    Outcome SetLevel(HWND window, DWORD flags);
    Outcome SetMode(DWORD width, DWORD height, DWORD bitsPerPixel);
    Outcome MakeSurface(const SurfaceRequest& request, Surface*& made);
    void GiveBackDisplay();

    bool levelSet_ = false;
    bool exclusive_ = false;
    HWND window_ = nullptr;
    std::optional<control::DisplayMode> mode_;
    const Surface* primary_ = nullptr;
};

}  // namespace qv::ddraw
