// Viewports: their rectangle in both record versions, their background, and
// clearing.

#include "ddraw/viewport.h"

#include "ddraw/device.h"
#include "ddraw/pipeline_values.h"
#include "ddraw/trace_text.h"

#include <cmath>
#include <cstdint>

namespace qv::ddraw {

static_assert(sizeof(pipeline::Rect) == sizeof(D3DRECT), "D3DRECT and pipeline::Rect share their layout");

Viewport::~Viewport() {
    for (Ref<Light>& light : lights_) light->PlaceIn(nullptr);
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
    // Colour black and depth farthest: the background material is not drawn.
    device_->ClearTarget(*data_, reinterpret_cast<const pipeline::Rect*>(rects), rectCount, flags & D3DCLEAR_TARGET,
                         flags & D3DCLEAR_ZBUFFER);
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
    data_ = ViewportOf(v);
    return Ok();
}

HRESULT Viewport::GetViewport2(LPD3DVIEWPORT2 viewportData) {
    return Call(
        "IDirect3DViewport2::GetViewport2",
        [&] {
            if (Outcome check = CheckCallerRecord(viewportData, "viewport record"); check.result != S_OK) return check;
            if (!data_) return Refuse(D3DERR_VIEWPORTDATANOTSET, "no viewport record was set");
            const pipeline::Viewport& v = *data_;
            *viewportData = {sizeof(D3DVIEWPORT2), v.x,         v.y,          v.width,   v.height, v.clipX,
                             v.clipY,              v.clipWidth, v.clipHeight, v.minZ,    v.maxZ};
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(ViewportText(viewportData)); });
}

// The first version of the record maps x/w to dwX + dwWidth/2 + x/w*dvScaleX
// (and y the other way up): the same as a clip rectangle of dwWidth/dvScaleX
// by dwHeight/dvScaleY centred on the origin. Its clip extents dvMaxX and
// dvMaxY are not kept apart from that: clipping is at the rectangle's edges.
HRESULT Viewport::SetViewport(LPD3DVIEWPORT viewportData) {
    return Call(
        "IDirect3DViewport2::SetViewport",
        [&] { return SetFirstVersionData(viewportData); },
        [&](control::CallTrace& trace) { trace.Arg(ViewportText(viewportData)); });
}

Outcome Viewport::SetFirstVersionData(LPD3DVIEWPORT viewportData) {
    if (!viewportData) return Refuse(DDERR_INVALIDPARAMS, "no viewport record");
    const D3DVIEWPORT& v = *viewportData;
    if (v.dwSize != sizeof(D3DVIEWPORT)) return RefuseRecordSize("viewport record", sizeof(D3DVIEWPORT));
    if (v.dvScaleX == 0 || v.dvScaleY == 0) return Refuse(DDERR_INVALIDPARAMS, "zero scale");
    const float clipWidth = float(v.dwWidth) / v.dvScaleX, clipHeight = float(v.dwHeight) / v.dvScaleY;
    D3DVIEWPORT2 second = {sizeof(D3DVIEWPORT2), v.dwX,      v.dwY,     v.dwWidth, v.dwHeight, -clipWidth / 2,
                           clipHeight / 2,        clipWidth, clipHeight, v.dvMinZ,  v.dvMaxZ};
    return SetData(&second);
}

HRESULT Viewport::GetViewport(LPD3DVIEWPORT viewportData) {
    return Call(
        "IDirect3DViewport2::GetViewport",
        [&] { return GetFirstVersionData(viewportData); },
        [&](control::CallTrace& trace) { trace.Arg(ViewportText(viewportData)); });
}

Outcome Viewport::GetFirstVersionData(LPD3DVIEWPORT viewportData) const {
    if (!viewportData) return Refuse(DDERR_INVALIDPARAMS, "no viewport record");
    if (viewportData->dwSize != sizeof(D3DVIEWPORT))
        return RefuseRecordSize("viewport record", sizeof(D3DVIEWPORT));
    if (!data_) return Refuse(D3DERR_VIEWPORTDATANOTSET, "no viewport record was set");
    const pipeline::Viewport& v = *data_;
    *viewportData = {sizeof(D3DVIEWPORT),  v.x,
                     v.y,                  v.width,
                     v.height,             float(v.width) / v.clipWidth,
                     float(v.height) / v.clipHeight, v.clipWidth / 2,
                     v.clipHeight / 2,     v.minZ,
                     v.maxZ};
    return Ok();
}

HRESULT Viewport::SetBackground(D3DMATERIALHANDLE material) {
    return Call(
        "IDirect3DViewport2::SetBackground",
        [&] {
            background_ = material;
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(material); });
}

HRESULT Viewport::GetBackground(LPD3DMATERIALHANDLE material, LPBOOL valid) {
    if (material) *material = 0;  // also when the call fails
    if (valid) *valid = FALSE;
    return Call(
        "IDirect3DViewport2::GetBackground",
        [&] {
            if (!material || !valid) return Refuse(DDERR_INVALIDPARAMS, "no place for the handle or its validity");
            *material = background_;
            *valid = background_ != 0;
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(material ? "&" + std::to_string(*material) : "NULL")
                .Arg(valid ? (*valid ? "&TRUE" : "&FALSE") : "NULL");
        });
}

HRESULT Viewport::Initialize(LPDIRECT3D direct3D) {
    return Call(
        "IDirect3DViewport2::Initialize",
        [] { return Refuse(DDERR_ALREADYINITIALIZED, "made by CreateViewport"); },
        [&](control::CallTrace& trace) { trace.Arg(direct3D ? "direct3D" : "NULL"); });
}

HRESULT Viewport::TransformVertices(DWORD vertexCount, LPD3DTRANSFORMDATA data, DWORD flags, LPDWORD offscreen) {
    if (offscreen) *offscreen = 0;
    return Unsupported("IDirect3DViewport2::TransformVertices", [&](control::CallTrace& trace) {
        trace.Arg(vertexCount).Arg(data ? "data" : "NULL").Arg(flags).Arg(offscreen ? "&offscreen" : "NULL");
    });
}

HRESULT Viewport::LightElements(DWORD elementCount, LPD3DLIGHTDATA data) {
    return Unsupported("IDirect3DViewport2::LightElements",
                       [&](control::CallTrace& trace) { trace.Arg(elementCount).Arg(data ? "data" : "NULL"); });
}

HRESULT Viewport::SetBackgroundDepth(LPDIRECTDRAWSURFACE surface) {
    return Unsupported("IDirect3DViewport2::SetBackgroundDepth",
                       [&](control::CallTrace& trace) { trace.Arg(Surface::LabelOf(surface)); });
}

HRESULT Viewport::GetBackgroundDepth(LPDIRECTDRAWSURFACE* surface, LPBOOL valid) {
    if (surface) *surface = nullptr;
    if (valid) *valid = FALSE;
    return Unsupported("IDirect3DViewport2::GetBackgroundDepth", [&](control::CallTrace& trace) {
        trace.Arg(OutText(surface, "")).Arg(OutText(valid, ""));
    });
}

}  // namespace qv::ddraw
