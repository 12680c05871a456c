// The Direct3D interface of the DirectDraw object: the factory of devices,
// viewports, materials and lights.

#include "ddraw/direct_draw.h"

#include "ddraw/device.h"
#include "ddraw/light.h"
#include "ddraw/material.h"
#include "ddraw/surface.h"
#include "ddraw/trace_text.h"
#include "ddraw/viewport.h"

namespace qv::ddraw {

template <class Made, class Out>
HRESULT DirectDraw::CreateChild(control::OperationId call, Out** out, IUnknown* outer) {
    if (out) *out = nullptr;  // also when the call fails
    std::string created;
    return Call(
        call,
        [&] {
            if (!out) return Refuse(DDERR_INVALIDPARAMS, "no place for the object");
            if (outer) return Refuse(CLASS_E_NOAGGREGATION, "no aggregation");
            Made* made = Make<Made>(*this);
            if (!made) return Refuse(DDERR_OUTOFMEMORY, "no memory for the object");
            *out = made->As();
            created = made->Label();
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(OutText(out, created)).Arg(outer ? "outer" : "NULL"); });
}

HRESULT DirectDraw::CreateLight(LPDIRECT3DLIGHT* light, IUnknown* outer) {
    return CreateChild<Light>("IDirect3D2::CreateLight", light, outer);
}

HRESULT DirectDraw::CreateMaterial(LPDIRECT3DMATERIAL2* material, IUnknown* outer) {
    return CreateChild<Material>("IDirect3D2::CreateMaterial", material, outer);
}

HRESULT DirectDraw::CreateViewport(LPDIRECT3DVIEWPORT2* viewport, IUnknown* outer) {
    return CreateChild<Viewport>("IDirect3D2::CreateViewport", viewport, outer);
}

HRESULT DirectDraw::CreateDevice(REFCLSID deviceGuid, LPDIRECTDRAWSURFACE surface, LPDIRECT3DDEVICE2* device) {
    if (device) *device = nullptr;  // also when the call fails
    std::string created;
    return Call(
        "IDirect3D2::CreateDevice",
        [&] { return MakeDevice(deviceGuid, surface, device, created); },
        [&](control::CallTrace& trace) {
            trace.Arg(GuidName(deviceGuid)).Arg(Surface::LabelOf(surface)).Arg(OutText(device, created));
        });
}

Outcome DirectDraw::MakeDevice(REFCLSID deviceGuid, LPDIRECTDRAWSURFACE surface, LPDIRECT3DDEVICE2* device,
                             std::string& created) {
    if (!device) return Refuse(DDERR_INVALIDPARAMS, "no place for the device");
    if (deviceGuid != IID_IDirect3DHALDevice) return Refuse(D3DERR_INVALID_DEVICE, "only the HAL device is offered");
    if (!surface) return Refuse(DDERR_INVALIDPARAMS, "no surface to render to");
    Surface* target = Surface::Find(surface);
    if (!target || target->Released()) return Refuse(DDERR_INVALIDOBJECT, "not a live surface");
    if (&target->Owner() != this)
        return Refuse(DDERR_INVALIDPARAMS, "the surface belongs to another DirectDraw object");
    if (!target->Renderable()) return Refuse(DDERR_INVALIDCAPS, "the surface was not made with DDSCAPS_3DDEVICE");
    Device* made = Make<Device>(*this, *target);
    if (!made) return Refuse(DDERR_OUTOFMEMORY, "no memory for the device");
    *device = made->As();
    created = made->Label();
    return Ok();
}

}  // namespace qv::ddraw
