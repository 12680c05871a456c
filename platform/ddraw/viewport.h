// IDirect3DViewport2: the part of a device's surface drawn into, and the
// lights that shine there. Added to one device, it takes that device's
// surface as the bounds of its rectangle and the target of its Clear.
#pragma once

#include "ddraw/com_object.h"
#include "ddraw/direct_draw.h"
#include "ddraw/light.h"

#include "pipeline/pipeline.h"

#include <d3d.h>

#include <optional>
#include <string>
#include <vector>

namespace qv::ddraw {

class Device;

class Viewport final : public ComObject<Viewport, IDirect3DViewport2> {
public:
    static constexpr const char* kKind = "viewport";

    explicit Viewport(DirectDraw& parent) : parent_(&parent) {}

    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECT3D direct3D) override;
    HRESULT STDMETHODCALLTYPE GetViewport(LPD3DVIEWPORT viewportData) override;
    HRESULT STDMETHODCALLTYPE SetViewport(LPD3DVIEWPORT viewportData) override;
    HRESULT STDMETHODCALLTYPE TransformVertices(DWORD vertexCount, LPD3DTRANSFORMDATA data, DWORD flags,
                                                LPDWORD offscreen) override;
    HRESULT STDMETHODCALLTYPE LightElements(DWORD elementCount, LPD3DLIGHTDATA data) override;
    HRESULT STDMETHODCALLTYPE SetBackground(D3DMATERIALHANDLE material) override;
    HRESULT STDMETHODCALLTYPE GetBackground(LPD3DMATERIALHANDLE material, LPBOOL valid) override;
    HRESULT STDMETHODCALLTYPE SetBackgroundDepth(LPDIRECTDRAWSURFACE surface) override;
    HRESULT STDMETHODCALLTYPE GetBackgroundDepth(LPDIRECTDRAWSURFACE* surface, LPBOOL valid) override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD rectCount, LPD3DRECT rects, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE AddLight(LPDIRECT3DLIGHT light) override;
    HRESULT STDMETHODCALLTYPE DeleteLight(LPDIRECT3DLIGHT light) override;
    HRESULT STDMETHODCALLTYPE NextLight(LPDIRECT3DLIGHT reference, LPDIRECT3DLIGHT* light, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetViewport2(LPD3DVIEWPORT2 viewportData) override;
    HRESULT STDMETHODCALLTYPE SetViewport2(LPD3DVIEWPORT2 viewportData) override;

    const DirectDraw& Driver() const { return *parent_; }
    // The device it was added to; null before, and after that device is gone.
    const Device* OnDevice() const { return device_; }
    void AttachTo(Device* device) { device_ = device; }
    // Null until SetViewport2.
    const std::optional<pipeline::Viewport>& Data() const { return data_; }
    // Appends the lights that have a record.
    void CollectLights(std::vector<pipeline::Light>& lights) const;

private:
    ~Viewport() override;
    Outcome ClearRects(DWORD rectCount, LPD3DRECT rects, DWORD flags);
    Outcome Add(LPDIRECT3DLIGHT light);
    Outcome Delete(LPDIRECT3DLIGHT light);
    Outcome Next(LPDIRECT3DLIGHT reference, LPDIRECT3DLIGHT* light, DWORD flags, std::string& found);
    Outcome SetData(LPD3DVIEWPORT2 viewportData);
    Outcome SetFirstVersionData(LPD3DVIEWPORT viewportData);
    Outcome GetFirstVersionData(LPD3DVIEWPORT viewportData) const;

    Ref<DirectDraw> parent_;
    Device* device_ = nullptr;
    std::optional<pipeline::Viewport> data_;
    std::vector<Ref<Light>> lights_;
    D3DMATERIALHANDLE background_ = 0;  // kept for GetBackground; Clear writes black
};

}  // namespace qv::ddraw
