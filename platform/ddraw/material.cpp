// Material records and their handles.

#include "ddraw/material.h"

#include "ddraw/device.h"
#include "ddraw/pipeline_values.h"
#include "ddraw/trace_text.h"

namespace qv::ddraw {

Material::~Material() {
    Device::ForEach([this](Device& device) { device.ForgetMaterial(*this); });
}

HRESULT Material::SetMaterial(LPD3DMATERIAL materialData) {
    return Call(
        "IDirect3DMaterial2::SetMaterial",
        [&] {
            if (Outcome check = CheckCallerRecord(materialData, "material record"); check.result != S_OK) return check;
            const D3DMATERIAL& m = *materialData;
            record_ = m;
            data_ = MaterialOf(m);
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(MaterialText(materialData)); });
}

HRESULT Material::GetMaterial(LPD3DMATERIAL materialData) {
    return Call(
        "IDirect3DMaterial2::GetMaterial",
        [&] {
            if (Outcome check = CheckCallerRecord(materialData, "material record"); check.result != S_OK) return check;
            *materialData = record_;
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(materialData ? "&material" : "NULL"); });
}

HRESULT Material::GetHandle(LPDIRECT3DDEVICE2 device, LPD3DMATERIALHANDLE handle) {
    if (handle) *handle = 0;  // also when the call fails
    D3DMATERIALHANDLE given = 0;
    return Call(
        "IDirect3DMaterial2::GetHandle",
        [&] {
            if (!handle) return Refuse(DDERR_INVALIDPARAMS, "no place for the handle");
            if (!device) return Refuse(DDERR_INVALIDPARAMS, "no device");
            Device* target = Device::Find(device);
            if (!target || target->Released()) return Refuse(DDERR_INVALIDOBJECT, "not a live device");
            if (&target->Driver() != parent_.Get())
                return Refuse(DDERR_INVALIDPARAMS, "the device belongs to another DirectDraw object");
            given = target->HandleFor(*this);
            *handle = given;
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(Device::LabelOf(device)).Arg(OutText(handle, given ? std::to_string(given) : ""));
        });
}

}  // namespace qv::ddraw
