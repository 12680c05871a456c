// IDirect3D2: the Direct3D interface of a DirectDraw object, the factory of
// devices, viewports, materials and lights. Everything it makes holds it, and
// it holds its DirectDraw object.
#pragma once

#include "ddraw/com_object.h"
#include "ddraw/direct_draw.h"

#include <d3d.h>

namespace qv::ddraw {

class Direct3D final : public ComObject<Direct3D, IDirect3D2> {
public:
    static constexpr const char* kInterface = "IDirect3D2";
    static constexpr const char* kKind = "d3d";
    static constexpr const GUID& kIid = IID_IDirect3D2;

    explicit Direct3D(DirectDraw& owner) : owner_(&owner) {}

    HRESULT STDMETHODCALLTYPE EnumDevices(LPD3DENUMDEVICESCALLBACK callback, LPVOID context) override;
    HRESULT STDMETHODCALLTYPE CreateLight(LPDIRECT3DLIGHT* light, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateMaterial(LPDIRECT3DMATERIAL2* material, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE CreateViewport(LPDIRECT3DVIEWPORT2* viewport, IUnknown* outer) override;
    HRESULT STDMETHODCALLTYPE FindDevice(LPD3DFINDDEVICESEARCH search, LPD3DFINDDEVICERESULT result) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(REFCLSID deviceGuid, LPDIRECTDRAWSURFACE surface,
                                           LPDIRECT3DDEVICE2* device) override;

    // The display driver behind everything this object makes.
    const DirectDraw& Driver() const { return *owner_; }

private:
    ~Direct3D() override = default;
    template <class Made, class Out>
    HRESULT CreateChild(control::OperationId call, Out** out, IUnknown* outer);
    Outcome Find(LPD3DFINDDEVICESEARCH search, LPD3DFINDDEVICERESULT result);
    Outcome MakeDevice(REFCLSID deviceGuid, LPDIRECTDRAWSURFACE surface, LPDIRECT3DDEVICE2* device,
                       std::string& created);

    Ref<DirectDraw> owner_;
};

}  // namespace qv::ddraw
