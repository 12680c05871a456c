// What a device tells: its description, its statistics, its viewports, the
// objects it draws with and into, and the states and transforms it keeps.

#include "ddraw/device.h"
#include "ddraw/device_caps.h"
#include "ddraw/next_in_list.h"
#include "ddraw/trace_text.h"

#include <algorithm>
#include <cstring>

namespace qv::ddraw {

HRESULT Device::GetCaps(LPD3DDEVICEDESC halDesc, LPD3DDEVICEDESC helDesc) {
    return Call(
        "IDirect3DDevice2::GetCaps",
        [&] {
            if (!halDesc || !helDesc) return Refuse(DDERR_INVALIDPARAMS, "no place for a description");
            if (!DeviceDescSizeKnown(halDesc->dwSize) || !DeviceDescSizeKnown(helDesc->dwSize))
                return Refuse(DDERR_INVALIDPARAMS, "description size is not a published one");
            DescribeHardware(halDesc, halDesc->dwSize);
            DescribeSoftware(helDesc, helDesc->dwSize);
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(halDesc ? "&hal" : "NULL").Arg(helDesc ? "&hel" : "NULL"); });
}

HRESULT Device::GetStats(LPD3DSTATS stats) {
    return Call(
        "IDirect3DDevice2::GetStats",
        [&] {
            if (Outcome check = CheckCallerRecord(stats, "statistics record"); check.result != S_OK) return check;
            *stats = stats_;
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(stats ? "&stats" : "NULL"); });
}

HRESULT Device::DeleteViewport(LPDIRECT3DVIEWPORT2 viewport) {
    return Call(
        "IDirect3DDevice2::DeleteViewport", [&] { return Delete(viewport); },
        [&](control::CallTrace& trace) { trace.Arg(Viewport::LabelOf(viewport)); });
}

Outcome Device::Delete(LPDIRECT3DVIEWPORT2 viewport) {
    if (!viewport) return Refuse(DDERR_INVALIDPARAMS, "no viewport");
    Viewport* deleted = Viewport::Find(viewport);
    if (!deleted) return Refuse(DDERR_INVALIDOBJECT, "not a viewport");
    auto it = std::find_if(viewports_.begin(), viewports_.end(),
                           [&](const Ref<Viewport>& held) { return held.Get() == deleted; });
    if (it == viewports_.end()) return Refuse(DDERR_INVALIDPARAMS, "the viewport is not on this device");
    if (current_ == deleted) current_ = nullptr;
    deleted->AttachTo(nullptr);
    viewports_.erase(it);  // may free a viewport its callers released
    return Ok();
}

HRESULT Device::NextViewport(LPDIRECT3DVIEWPORT2 reference, LPDIRECT3DVIEWPORT2* viewport, DWORD flags) {
    if (viewport) *viewport = nullptr;  // also when the call fails
    std::string found;
    return Call(
        "IDirect3DDevice2::NextViewport", [&] { return Next(reference, viewport, flags, found); },
        [&](control::CallTrace& trace) {
            trace.Arg(Viewport::LabelOf(reference)).Arg(OutText(viewport, found)).Arg(NextFlagsText(flags));
        });
}

Outcome Device::Next(LPDIRECT3DVIEWPORT2 reference, LPDIRECT3DVIEWPORT2* viewport, DWORD flags, std::string& found) {
    if (!viewport) return Refuse(DDERR_INVALIDPARAMS, "no place for the viewport");
    Viewport* next = nullptr;
    Outcome outcome = NextInList(viewports_, Viewport::Find(reference), flags, D3DERR_NOVIEWPORTS, next);
    if (outcome.result != S_OK) return outcome;
    *viewport = next->NewReference();
    if (!*viewport) return Refuse(DDERR_INVALIDOBJECT, "the viewport was released");
    found = next->Label();
    return Ok();
}

HRESULT Device::GetDirect3D(LPDIRECT3D2* direct3D) {
    if (direct3D) *direct3D = nullptr;  // also when the call fails
    return Call(
        "IDirect3DDevice2::GetDirect3D",
        [&] {
            if (!direct3D) return Refuse(DDERR_INVALIDPARAMS, "no place for the Direct3D interface");
            *direct3D = parent_->NewReference<IDirect3D2>();
            if (!*direct3D) return Refuse(DDERR_INVALIDOBJECT, "its DirectDraw object was released");
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(OutText(direct3D, direct3D && *direct3D ? parent_->Label() : ""));
        });
}

HRESULT Device::GetCurrentViewport(LPDIRECT3DVIEWPORT2* viewport) {
    if (viewport) *viewport = nullptr;  // also when the call fails
    return Call(
        "IDirect3DDevice2::GetCurrentViewport",
        [&] {
            if (!viewport) return Refuse(DDERR_INVALIDPARAMS, "no place for the viewport");
            if (!current_) return Refuse(D3DERR_NOCURRENTVIEWPORT, "no current viewport");
            *viewport = current_->NewReference();
            if (!*viewport) return Refuse(DDERR_INVALIDOBJECT, "the viewport was released");
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(OutText(viewport, viewport && *viewport ? current_->Label() : ""));
        });
}

HRESULT Device::GetRenderTarget(LPDIRECTDRAWSURFACE* surface) {
    if (surface) *surface = nullptr;  // also when the call fails
    return Call(
        "IDirect3DDevice2::GetRenderTarget",
        [&] {
            if (!surface) return Refuse(DDERR_INVALIDPARAMS, "no place for the surface");
            *surface = target_->NewReference();
            if (!*surface) return Refuse(DDERR_INVALIDOBJECT, "the surface was released");
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(OutText(surface, surface && *surface ? target_->Label() : "")); });
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) {
    if (value) *value = 0;  // also when the call fails
    return Call(
        "IDirect3DDevice2::GetRenderState",
        [&] {
            if (!value) return Refuse(DDERR_INVALIDPARAMS, "no place for the value");
            return states_.Get(state, *value);
        },
        [&](control::CallTrace& trace) {
            trace.Arg(RenderStateText(state)).Arg(value ? "&" + RenderStateValueText(state, *value) : "NULL");
        });
}

HRESULT Device::GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) {
    if (value) *value = 0;  // also when the call fails
    return Call(
        "IDirect3DDevice2::GetLightState",
        [&] {
            if (!value) return Refuse(DDERR_INVALIDPARAMS, "no place for the value");
            if (state < D3DLIGHTSTATE_MATERIAL || state > D3DLIGHTSTATE_FOGDENSITY)
                return Refuse(DDERR_INVALIDPARAMS, "unknown light state");
            *value = LightState(state);
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(LightStateText(state)).Arg(value ? "&" + LightStateValueText(state, *value) : "NULL");
        });
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
    return Call(
        "IDirect3DDevice2::GetTransform",
        [&] {
            const pipeline::Matrix* slot = TransformSlot(state);
            if (!slot) return Refuse(DDERR_INVALIDPARAMS, "unknown transform state");
            if (!matrix) return Refuse(DDERR_INVALIDPARAMS, "no place for the matrix");
            std::memcpy(matrix, slot, sizeof *slot);
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(TransformStateText(state)).Arg(MatrixText(matrix)); });
}

HRESULT Device::MultiplyTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
    return Call(
        "IDirect3DDevice2::MultiplyTransform",
        [&] { return MultiplyMatrix(state, matrix); },
        [&](control::CallTrace& trace) { trace.Arg(TransformStateText(state)).Arg(MatrixText(matrix)); });
}

// The new transform is the given matrix times the current one: in the
// row-vector convention the given matrix applies first.
Outcome Device::MultiplyMatrix(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
    pipeline::Matrix* slot = TransformSlot(state);
    if (!slot) return Refuse(DDERR_INVALIDPARAMS, "unknown transform state");
    if (!matrix) return Refuse(DDERR_INVALIDPARAMS, "no matrix");
    pipeline::Matrix given, product{};
    std::memcpy(&given, matrix, sizeof given);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            for (int k = 0; k < 4; ++k) product.m[row][column] += given.m[row][k] * slot->m[k][column];
    *slot = product;
    return Ok();
}

}  // namespace qv::ddraw
