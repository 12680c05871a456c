// Viewports: their rectangle, their lights, and clearing.

#include "ddraw/viewport.h"

#include "ddraw/device.h"
#include "ddraw/trace_text.h"

#include <cmath>
#include <cstdint>

namespace qv::ddraw {

static_assert(sizeof(pipeline::Rect) == sizeof(D3DRECT), "D3DRECT and pipeline::Rect share their layout");

Viewport::~Viewport() {
    for (Ref<Light>& light : lights_) light->PlaceIn(nullptr);
}

void Viewport::CollectLights(std::vector<pipeline::Light>& lights) const {
    for (const Ref<Light>& light : lights_) {
        if (light->Data()) lights.push_back(*light->Data());
    }
}

HRESULT Viewport::Clear(DWORD rectCount, LPD3DRECT rects, DWORD flags) {
    return Call(
        "IDirect3DViewport2::Clear", [&] { return ClearRects(rectCount, rects, flags); },
        [&](control::CallTrace& trace) {
            trace.Arg(rectCount).Arg(RectsText(rectCount, rects)).Arg(ClearFlagsText(flags));
        });
}

Outcome Viewport::ClearRects(DWORD rectCount, LPD3DRECT rects, DWORD flags) {
    if (flags & ~DWORD(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER)) return Refuse(DDERR_INVALIDPARAMS, "unknown clear flags");
    if (rectCount > 0 && !rects) return Refuse(DDERR_INVALIDPARAMS, "no rectangles");
    if (!device_) return Refuse(D3DERR_VIEWPORTHASNODEVICE, "the viewport is on no device");
    if (!data_) return Refuse(D3DERR_VIEWPORTDATANOTSET, "SetViewport2 was not called");
    if (device_->DrawTargetLocked()) return Refuse(DDERR_SURFACEBUSY, "the render target is locked");
    // Colour black and depth farthest: no background material is set.
    device_->ClearTarget(*data_, reinterpret_cast<const pipeline::Rect*>(rects), rectCount, flags & D3DCLEAR_TARGET,
                         flags & D3DCLEAR_ZBUFFER);
    return Ok();
}

HRESULT Viewport::AddLight(LPDIRECT3DLIGHT light) {
    return Call(
        "IDirect3DViewport2::AddLight", [&] { return Add(light); },
        [&](control::CallTrace& trace) { trace.Arg(Light::LabelOf(light)); });
}

Outcome Viewport::Add(LPDIRECT3DLIGHT light) {
    if (!light) return Refuse(DDERR_INVALIDPARAMS, "no light");
    Light* added = Light::Find(light);
    if (!added || added->Released()) return Refuse(DDERR_INVALIDOBJECT, "not a live light");
    if (&added->Driver() != &Driver()) return Refuse(DDERR_INVALIDPARAMS, "the light belongs to another DirectDraw object");
    if (added->InViewport()) return Refuse(D3DERR_LIGHTHASVIEWPORT, "the light is in a viewport already");
    lights_.emplace_back(added);
    added->PlaceIn(this);
    return Ok();
}

HRESULT Viewport::SetViewport2(LPD3DVIEWPORT2 viewportData) {
    return Call(
        "IDirect3DViewport2::SetViewport2", [&] { return SetData(viewportData); },
        [&](control::CallTrace& trace) { trace.Arg(ViewportText(viewportData)); });
}

Outcome Viewport::SetData(LPD3DVIEWPORT2 viewportData) {
    if (!viewportData) return Refuse(DDERR_INVALIDPARAMS, "no viewport record");
    const D3DVIEWPORT2& v = *viewportData;
    if (v.dwSize != sizeof(D3DVIEWPORT2)) return RefuseRecordSize("viewport record", sizeof(D3DVIEWPORT2));
    if (!device_) return Refuse(D3DERR_VIEWPORTHASNODEVICE, "add the viewport to a device first");
    if (v.dwWidth == 0 || v.dwHeight == 0) return Refuse(DDERR_INVALIDPARAMS, "zero width or height");
    if (uint64_t(v.dwX) + v.dwWidth > device_->Width() || uint64_t(v.dwY) + v.dwHeight > device_->Height())
        return Refuse(DDERR_INVALIDPARAMS, "the rectangle reaches outside the device's surface");
    for (float value : {v.dvClipX, v.dvClipY, v.dvClipWidth, v.dvClipHeight, v.dvMinZ, v.dvMaxZ}) {
        if (!std::isfinite(value)) return Refuse(DDERR_INVALIDPARAMS, "a value is not finite");
    }
    if (v.dvClipWidth == 0 || v.dvClipHeight == 0) return Refuse(DDERR_INVALIDPARAMS, "zero clip width or height");
    data_ = pipeline::Viewport{v.dwX,          v.dwY,          v.dwWidth, v.dwHeight, v.dvClipX, v.dvClipY,
                               v.dvClipWidth, v.dvClipHeight, v.dvMinZ,  v.dvMaxZ};
    return Ok();
}

}  // namespace qv::ddraw
