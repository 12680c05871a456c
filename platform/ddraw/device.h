// IDirect3DDevice2: the hardware 3D device, drawing into a surface made for
// 3D (and its attached depth surface, when there is one). It holds its
// surface and the viewports added to it, and keeps the render states, light
// states and transforms that DrawPrimitive hands to the pipeline.
#pragma once

#include "ddraw/com_object.h"
#include "ddraw/direct_draw.h"
#include "ddraw/surface.h"
#include "ddraw/viewport.h"

#include "pipeline/pipeline.h"
#include "pipeline/renderer.h"

#include <d3d.h>

#include <vector>

namespace qv::ddraw {

class Material;

class Device final : public ComObject<Device, IDirect3DDevice2> {
public:
    static constexpr const char* kKind = "device";

    Device(DirectDraw& parent, Surface& target);

    HRESULT STDMETHODCALLTYPE AddViewport(LPDIRECT3DVIEWPORT2 viewport) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE SetCurrentViewport(LPDIRECT3DVIEWPORT2 viewport) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetLightState(D3DLIGHTSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType,
                                            LPVOID vertices, DWORD vertexCount, DWORD flags) override;

    const DirectDraw& Driver() const { return *parent_; }
    pipeline::Target DrawTarget() const { return target_->DrawTarget(); }
    bool DrawTargetLocked() const { return target_->DrawTargetLocked(); }
    uint32_t Width() const { return target_->Width(); }
    // Clears rectangles of the target as pipeline::Clear does, with the device's threads.
    void ClearTarget(const pipeline::Viewport& viewport, const pipeline::Rect* rects, std::size_t rectCount,
                     bool clearColor, bool clearDepth) {
        renderer_.Clear(DrawTarget(), viewport, rects, rectCount, clearColor, clearDepth);
    }
    uint32_t Height() const { return target_->Height(); }

    // The material's handle on this device (the same one each time).
    D3DMATERIALHANDLE HandleFor(const Material& material);
    void ForgetMaterial(const Material& material);

private:
    ~Device() override;
    Outcome Add(LPDIRECT3DVIEWPORT2 viewport);
    Outcome SelectViewport(LPDIRECT3DVIEWPORT2 viewport);
    Outcome SetLight(D3DLIGHTSTATETYPE state, DWORD value);
    Outcome SetMatrix(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix);
    Outcome Draw(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices, DWORD vertexCount,
                 DWORD flags);
    pipeline::Material SelectedMaterial() const;

    Ref<DirectDraw> parent_;
    Ref<Surface> target_;
    std::vector<Ref<Viewport>> viewports_;
    Viewport* current_ = nullptr;
    bool inScene_ = false;
    pipeline::RenderStates states_;
    pipeline::Matrix world_, view_, projection_;
    D3DMATERIALHANDLE material_ = 0;
    D3DCOLOR ambient_ = 0;
    std::vector<const Material*> materials_;  // by handle - 1; null once freed
    std::vector<pipeline::Light> lights_;     // reused by every draw
    pipeline::Renderer renderer_;             // its threads live as long as the device
};

}  // namespace qv::ddraw
