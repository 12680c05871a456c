// IDirect3DMaterial2: one material record, selected for drawing on a device
// by its handle. A draw reads the record as it stands at the draw.
#pragma once

#include "ddraw/com_object.h"
#include "ddraw/direct_draw.h"

#include "pipeline/pipeline.h"

#include <d3d.h>

namespace qv::ddraw {

class Material final : public ComObject<Material, IDirect3DMaterial2> {
public:
    static constexpr const char* kKind = "material";

    explicit Material(DirectDraw& parent) : parent_(&parent) {}

    HRESULT STDMETHODCALLTYPE SetMaterial(LPD3DMATERIAL materialData) override;
    HRESULT STDMETHODCALLTYPE GetMaterial(LPD3DMATERIAL materialData) override;
    HRESULT STDMETHODCALLTYPE GetHandle(LPDIRECT3DDEVICE2 device, LPD3DMATERIALHANDLE handle) override;

    // All zero until SetMaterial.
    const pipeline::Material& Data() const { return data_; }

private:
    ~Material() override;  // devices forget its handles

    Ref<DirectDraw> parent_;
    D3DMATERIAL record_ = SizedRecord<D3DMATERIAL>();  // as set, for GetMaterial
    pipeline::Material data_{};
};

}  // namespace qv::ddraw
