// The DirectDraw object, with its two interfaces on one reference count:
// IDirectDraw, the display driver (cooperative level, display mode,
// surfaces), and IDirect3D2, the factory of Direct3D objects. Only one
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

class DirectDraw final : public ComObject<DirectDraw, IDirectDraw, IDirect3D2> {
public:
    static constexpr const char* kKind = "ddraw";

    DirectDraw() = default;

    // IDirectDraw (direct_draw.cpp, direct_draw_queries.cpp, unsupported.cpp)
    HRESULT STDMETHODCALLTYPE Compact() override;
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                                            IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE DuplicateSurface(LPDIRECTDRAWSURFACE surface, LPDIRECTDRAWSURFACE* duplicate) override;
    HRESULT STDMETHODCALLTYPE EnumDisplayModes(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                               LPDDENUMMODESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE EnumSurfaces(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                           LPDDENUMSURFACESCALLBACK callback) override;
    HRESULT STDMETHODCALLTYPE FlipToGDISurface() override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC desc) override;
    HRESULT STDMETHODCALLTYPE GetFourCCCodes(LPDWORD count, LPDWORD codes) override;
    HRESULT STDMETHODCALLTYPE GetGDISurface(LPDIRECTDRAWSURFACE* surface) override;
    HRESULT STDMETHODCALLTYPE GetMonitorFrequency(LPDWORD frequency) override;
    HRESULT STDMETHODCALLTYPE GetScanLine(LPDWORD scanLine) override;
    HRESULT STDMETHODCALLTYPE GetVerticalBlankStatus(LPBOOL inVerticalBlank) override;
    HRESULT STDMETHODCALLTYPE Initialize(GUID* driverGuid) override;
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
    HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) override;

    // IDirect3D2 (direct3d.cpp, direct3d_devices.cpp): the factory of
    // devices, viewports, materials and lights, which all hold this object.
    HRESULT STDMETHODCALLTYPE EnumDevices(LPD3DENUMDEVICESCALLBACK callback, LPVOID context) override;
    HRESULT STDMETHODCALLTYPE CreateLight(LPDIRECT3DLIGHT* light, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateMaterial(LPDIRECT3DMATERIAL2* material, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateViewport(LPDIRECT3DVIEWPORT2* viewport, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE FindDevice(LPD3DFINDDEVICESEARCH search, LPD3DFINDDEVICERESULT result) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(REFCLSID deviceGuid, LPDIRECTDRAWSURFACE surface,
                                           LPDIRECT3DDEVICE2* device) override;

    // The mode the display shows now: the one set, else the first offered.
    std::optional<control::DisplayMode> CurrentMode() const;
    bool Exclusive() const { return exclusive_; }
    // How many times the display was given back; surfaces made before the
    // last time are lost.
    unsigned DisplayGeneration() const { return displayGeneration_; }
    void PrimaryDestroyed(const Surface* surface);

private:
    ~DirectDraw() override = default;
    void OnReleased() override;
    Outcome SetLevel(HWND window, DWORD flags);
    Outcome SetMode(DWORD width, DWORD height, DWORD bitsPerPixel);
    Outcome MakeSurface(const SurfaceRequest& request, Surface*& made);
    void GiveBackDisplay();
    template <class Made, class Out>
    HRESULT CreateChild(control::OperationId call, Out** out, IUnknown* outer);
    Outcome SearchDevices(LPD3DFINDDEVICESEARCH search, LPD3DFINDDEVICERESULT result);
    Outcome MakeDevice(REFCLSID deviceGuid, LPDIRECTDRAWSURFACE surface, LPDIRECT3DDEVICE2* device,
                       std::string& created);

    bool levelSet_ = false;
    bool exclusive_ = false;
    HWND window_ = nullptr;
    std::optional<control::DisplayMode> mode_;
    const Surface* primary_ = nullptr;
    unsigned displayGeneration_ = 0;
};

}  // namespace qv::ddraw
