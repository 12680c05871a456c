// IDirect3DDevice2: the hardware 3D device, drawing into a surface made for
// 3D (and its attached depth surface, when there is one). It holds its
// surface and the viewports added to it, and keeps the render states, light
// states and transforms that DrawPrimitive hands to the pipeline.
#pragma once

#include "ddraw/com_object.h"
#include "ddraw/direct_draw.h"
#include "ddraw/render_states.h"
#include "ddraw/surface.h"
#include "ddraw/viewport.h"

#include "pipeline/pipeline.h"
#include "pipeline/renderer.h"

#include <d3d.h>

#include <array>
#include <string>
#include <vector>

namespace qv::ddraw {

class Material;

class Device final : public ComObject<Device, IDirect3DDevice2> {
public:
    static constexpr const char* kKind = "device";

    Device(DirectDraw& parent, Surface& target);

    HRESULT STDMETHODCALLTYPE GetCaps(LPD3DDEVICEDESC halDesc, LPD3DDEVICEDESC helDesc) override;
    HRESULT STDMETHODCALLTYPE SwapTextureHandles(LPDIRECT3DTEXTURE2 texture1, LPDIRECT3DTEXTURE2 texture2) override;
    HRESULT STDMETHODCALLTYPE GetStats(LPD3DSTATS stats) override;
    HRESULT STDMETHODCALLTYPE AddViewport(LPDIRECT3DVIEWPORT2 viewport) override;
    HRESULT STDMETHODCALLTYPE DeleteViewport(LPDIRECT3DVIEWPORT2 viewport) override;
    HRESULT STDMETHODCALLTYPE NextViewport(LPDIRECT3DVIEWPORT2 reference, LPDIRECT3DVIEWPORT2* viewport,
                                           DWORD flags) override;
    HRESULT STDMETHODCALLTYPE EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK callback, LPVOID context) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(LPDIRECT3D2* direct3D) override;
    HRESULT STDMETHODCALLTYPE SetCurrentViewport(LPDIRECT3DVIEWPORT2 viewport) override;
    HRESULT STDMETHODCALLTYPE GetCurrentViewport(LPDIRECT3DVIEWPORT2* viewport) override;
    HRESULT STDMETHODCALLTYPE SetRenderTarget(LPDIRECTDRAWSURFACE surface, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetRenderTarget(LPDIRECTDRAWSURFACE* surface) override;
    HRESULT STDMETHODCALLTYPE Begin(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE BeginIndexed(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices,
                                           DWORD vertexCount, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Vertex(LPVOID vertex) override;
    HRESULT STDMETHODCALLTYPE Index(WORD index) override;
    HRESULT STDMETHODCALLTYPE End(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) override;
    HRESULT STDMETHODCALLTYPE SetLightState(D3DLIGHTSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType,
                                            LPVOID vertices, DWORD vertexCount, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType,
                                                   LPVOID vertices, DWORD vertexCount, LPWORD indices,
                                                   DWORD indexCount, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE SetClipStatus(LPD3DCLIPSTATUS clipStatus) override;
    HRESULT STDMETHODCALLTYPE GetClipStatus(LPD3DCLIPSTATUS clipStatus) override;

    const DirectDraw& Driver() const { return *parent_; }
    pipeline::Target DrawTarget() const { return target_->DrawTarget(); }
    bool DrawTargetLocked() const { return target_->DrawTargetLocked(); }
    uint32_t Width() const { return target_->Width(); }
    // Clears rectangles of the target as pipeline::Clear does, with the device's threads.
    void ClearTarget(const pipeline::Viewport& viewport, const pipeline::Rect* rects, std::size_t rectCount,
                     bool clearColor, bool clearDepth) {
        target_->DrawnBy(renderer_);
        renderer_.Clear(DrawTarget(), viewport, rects, rectCount, clearColor, clearDepth);
    }
    uint32_t Height() const { return target_->Height(); }

    // The material's handle on this device (the same one each time).
    D3DMATERIALHANDLE HandleFor(const Material& material);
    void ForgetMaterial(const Material& material);

private:
    ~Device() override;
    Outcome Add(LPDIRECT3DVIEWPORT2 viewport);
    Outcome Delete(LPDIRECT3DVIEWPORT2 viewport);
    Outcome Next(LPDIRECT3DVIEWPORT2 reference, LPDIRECT3DVIEWPORT2* viewport, DWORD flags, std::string& found);
    Outcome SelectViewport(LPDIRECT3DVIEWPORT2 viewport);
    Outcome SetLight(D3DLIGHTSTATETYPE state, DWORD value);
    // The matrix a transform state names, or null for an unknown state.
    pipeline::Matrix* TransformSlot(D3DTRANSFORMSTATETYPE state);
    Outcome SetMatrix(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix);
    Outcome MultiplyMatrix(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix);
    // What every draw checks first: a scene under way, types and flags.
    Outcome CheckDraw(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, DWORD flags) const;
    Outcome Draw(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices, DWORD vertexCount,
                 DWORD flags);
    Outcome DrawIndexed(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices,
                        DWORD vertexCount, LPWORD indices, DWORD indexCount, DWORD flags);
    // Draws a triangle list in the current viewport.
    Outcome Render(const pipeline::Vertex* vertices, DWORD vertexCount);
    pipeline::Material SelectedMaterial() const;
    DWORD LightState(D3DLIGHTSTATETYPE state) const { return lightStates_[state - 1]; }

    Ref<DirectDraw> parent_;
    Ref<Surface> target_;
    std::vector<Ref<Viewport>> viewports_;
    Viewport* current_ = nullptr;
    bool inScene_ = false;
    RenderStateTable states_;
    pipeline::Matrix world_, view_, projection_;
    std::array<DWORD, D3DLIGHTSTATE_FOGDENSITY> lightStates_;  // by state - 1
    std::vector<const Material*> materials_;                    // by handle - 1; null once freed
    std::vector<pipeline::Light> lights_;                       // reused by every draw
    std::vector<pipeline::Vertex> indexed_;                     // an indexed draw's triangles, reused
    D3DSTATS stats_ = SizedRecord<D3DSTATS>();
    pipeline::Renderer renderer_;                               // its threads live as long as the device
};

}  // namespace qv::ddraw
