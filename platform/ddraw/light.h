// IDirect3DLight: one light's record. It shines in the one viewport it is
// added to, which holds it from then on.
#pragma once

#include "ddraw/com_object.h"
#include "ddraw/direct_draw.h"

#include "pipeline/pipeline.h"

#include <d3d.h>

#include <optional>

namespace qv::ddraw {

class Viewport;

class Light final : public ComObject<Light, IDirect3DLight> {
public:
    static constexpr const char* kKind = "light";

    explicit Light(DirectDraw& parent) : parent_(&parent) {}

    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECT3D direct3D) override;
    HRESULT STDMETHODCALLTYPE SetLight(LPD3DLIGHT lightData) override;
    HRESULT STDMETHODCALLTYPE GetLight(LPD3DLIGHT lightData) override;

    const DirectDraw& Driver() const { return *parent_; }
    // Null until SetLight gave it a record.
    const std::optional<pipeline::Light>& Data() const { return data_; }
    const Viewport* InViewport() const { return viewport_; }
    void PlaceIn(const Viewport* viewport) { viewport_ = viewport; }

private:
    ~Light() override = default;

    Ref<DirectDraw> parent_;
    D3DLIGHT record_ = SizedRecord<D3DLIGHT>();  // as set, for GetLight
    std::optional<pipeline::Light> data_;
    const Viewport* viewport_ = nullptr;
};

}  // namespace qv::ddraw
