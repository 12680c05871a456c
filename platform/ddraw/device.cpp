// The 3D device: scenes, states, viewports and drawing.

#include "ddraw/device.h"

#include "control/control.h"

#include "ddraw/material.h"
#include "ddraw/pipeline_values.h"
#include "ddraw/render_states.h"
#include "ddraw/trace_text.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qv::ddraw {
namespace {

static_assert(sizeof(pipeline::Vertex) == sizeof(D3DVERTEX), "D3DVERTEX and pipeline::Vertex share their layout");
static_assert(sizeof(pipeline::Matrix) == sizeof(D3DMATRIX), "D3DMATRIX and pipeline::Matrix share their layout");

constexpr pipeline::Matrix kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
constexpr DWORD kDrawFlags = D3DDP_WAIT | D3DDP_OUTOFORDER | D3DDP_DONOTCLIP | D3DDP_DONOTUPDATEEXTENTS;
constexpr DWORD kMaxVertices = 0xFFFF;  // D3DMAXNUMVERTICES

}  // namespace

// The light states' defaults: no material, no ambient light, the RGB colour
// model, no fog, a fog density of 1.0.
constexpr std::array<DWORD, D3DLIGHTSTATE_FOGDENSITY> kLightStateDefaults = {0, 0, D3DCOLOR_RGB, D3DFOG_NONE,
                                                                             0, 0, 0x3F800000};

Device::Device(DirectDraw& parent, Surface& target)
    : parent_(&parent),
      target_(&target),
      world_(kIdentity),
      view_(kIdentity),
      projection_(kIdentity),
      lightStates_(kLightStateDefaults) {
    renderer_.Start(control::DrawThreads());
}

Device::~Device() {
    target_->SettleDrawing();
    for (Ref<Viewport>& viewport : viewports_) viewport->AttachTo(nullptr);
}

D3DMATERIALHANDLE Device::HandleFor(const Material& material) {
    auto known = std::find(materials_.begin(), materials_.end(), &material);
    if (known == materials_.end()) known = materials_.insert(materials_.end(), &material);
    return D3DMATERIALHANDLE(known - materials_.begin() + 1);
}

void Device::ForgetMaterial(const Material& material) {
    std::replace(materials_.begin(), materials_.end(), &material, static_cast<const Material*>(nullptr));
}

HRESULT Device::AddViewport(LPDIRECT3DVIEWPORT2 viewport) {
    return Call(
        "IDirect3DDevice2::AddViewport", [&] { return Add(viewport); },
        [&](control::CallTrace& trace) { trace.Arg(Viewport::LabelOf(viewport)); });
}

Outcome Device::Add(LPDIRECT3DVIEWPORT2 viewport) {
    if (!viewport) return Refuse(DDERR_INVALIDPARAMS, "no viewport");
    Viewport* added = Viewport::Find(viewport);
    if (!added || added->Released()) return Refuse(DDERR_INVALIDOBJECT, "not a live viewport");
    if (&added->Driver() != &Driver())
        return Refuse(DDERR_INVALIDPARAMS, "the viewport belongs to another DirectDraw object");
    if (added->OnDevice() == this) return Refuse(DDERR_INVALIDPARAMS, "the viewport was added already");
    if (added->OnDevice()) return Refuse(DDERR_INVALIDPARAMS, "the viewport belongs to another device");
    viewports_.emplace_back(added);
    added->AttachTo(this);
    return Ok();
}

HRESULT Device::SetCurrentViewport(LPDIRECT3DVIEWPORT2 viewport) {
    return Call(
        "IDirect3DDevice2::SetCurrentViewport", [&] { return SelectViewport(viewport); },
        [&](control::CallTrace& trace) { trace.Arg(Viewport::LabelOf(viewport)); });
}

Outcome Device::SelectViewport(LPDIRECT3DVIEWPORT2 viewport) {
    if (!viewport) return Refuse(DDERR_INVALIDPARAMS, "no viewport");
    Viewport* selected = Viewport::Find(viewport);
    if (!selected || selected->Released()) return Refuse(DDERR_INVALIDOBJECT, "not a live viewport");
    if (selected->OnDevice() != this) return Refuse(DDERR_INVALIDPARAMS, "add the viewport to this device first");
    current_ = selected;
    return Ok();
}

HRESULT Device::BeginScene() {
    return Call(
        "IDirect3DDevice2::BeginScene",
        [&] {
            if (inScene_) return Refuse(D3DERR_SCENE_IN_SCENE, "a scene is under way");
            inScene_ = true;
            return Ok();
        },
        [](control::CallTrace&) {});
}

// A scene whose end failed is over all the same, so that the next
// BeginScene can start one: a caller has no other way out of it.
HRESULT Device::EndScene() {
    HRESULT result = Call(
        "IDirect3DDevice2::EndScene",
        [&] { return inScene_ ? Ok() : Refuse(D3DERR_SCENE_NOT_IN_SCENE, "no scene under way"); },
        [](control::CallTrace&) {});
    inScene_ = false;
    renderer_.Rest();  // nothing more is drawn before the next frame
    return result;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return Call(
        "IDirect3DDevice2::SetRenderState", [&] { return states_.Set(state, value); },
        [&](control::CallTrace& trace) { trace.Arg(RenderStateText(state)).Arg(RenderStateValueText(state, value)); });
}

HRESULT Device::SetLightState(D3DLIGHTSTATETYPE state, DWORD value) {
    return Call(
        "IDirect3DDevice2::SetLightState", [&] { return SetLight(state, value); },
        [&](control::CallTrace& trace) { trace.Arg(LightStateText(state)).Arg(LightStateValueText(state, value)); });
}

Outcome Device::SetLight(D3DLIGHTSTATETYPE state, DWORD value) {
    switch (state) {
        case D3DLIGHTSTATE_MATERIAL:
            if (value != 0 && (value > materials_.size() || !materials_[value - 1]))
                return Refuse(DDERR_INVALIDPARAMS, "not a material handle of this device");
            break;
        case D3DLIGHTSTATE_AMBIENT:
            break;
        case D3DLIGHTSTATE_COLORMODEL:
            if (value != D3DCOLOR_MONO && value != D3DCOLOR_RGB)
                return Refuse(DDERR_INVALIDPARAMS, "not a colour model");
            break;
        case D3DLIGHTSTATE_FOGMODE:
            if (value > D3DFOG_LINEAR) return Refuse(DDERR_INVALIDPARAMS, "not a fog mode");
            break;
        case D3DLIGHTSTATE_FOGSTART:
        case D3DLIGHTSTATE_FOGEND:
        case D3DLIGHTSTATE_FOGDENSITY:
            break;  // kept; fog is not drawn
        default:
            return Refuse(DDERR_INVALIDPARAMS, "unknown light state");
    }
    lightStates_[state - 1] = value;
    return Ok();
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
    return Call(
        "IDirect3DDevice2::SetTransform", [&] { return SetMatrix(state, matrix); },
        [&](control::CallTrace& trace) { trace.Arg(TransformStateText(state)).Arg(MatrixText(matrix)); });
}

pipeline::Matrix* Device::TransformSlot(D3DTRANSFORMSTATETYPE state) {
    return state == D3DTRANSFORMSTATE_WORLD        ? &world_
           : state == D3DTRANSFORMSTATE_VIEW       ? &view_
           : state == D3DTRANSFORMSTATE_PROJECTION ? &projection_
                                                   : nullptr;
}

Outcome Device::SetMatrix(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
    pipeline::Matrix* slot = TransformSlot(state);
    if (!slot) return Refuse(DDERR_INVALIDPARAMS, "unknown transform state");
    if (!matrix) return Refuse(DDERR_INVALIDPARAMS, "no matrix");
    std::memcpy(slot, matrix, sizeof *slot);
    return Ok();
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices,
                              DWORD vertexCount, DWORD flags) {
    return Call(
        "IDirect3DDevice2::DrawPrimitive",
        [&] { return Draw(primitiveType, vertexType, vertices, vertexCount, flags); },
        [&](control::CallTrace& trace) {
            trace.Arg(PrimitiveTypeText(primitiveType))
                .Arg(VertexTypeText(vertexType))
                .Arg(vertices ? "vertices" : "NULL")
                .Arg(vertexCount)
                .Arg(DrawFlagsText(flags));
        });
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices,
                                     DWORD vertexCount, LPWORD indices, DWORD indexCount, DWORD flags) {
    return Call(
        "IDirect3DDevice2::DrawIndexedPrimitive",
        [&] { return DrawIndexed(primitiveType, vertexType, vertices, vertexCount, indices, indexCount, flags); },
        [&](control::CallTrace& trace) {
            trace.Arg(PrimitiveTypeText(primitiveType))
                .Arg(VertexTypeText(vertexType))
                .Arg(vertices ? "vertices" : "NULL")
                .Arg(vertexCount)
                .Arg(indices ? "indices" : "NULL")
                .Arg(indexCount)
                .Arg(DrawFlagsText(flags));
        });
}

Outcome Device::CheckDraw(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, DWORD flags) const {
    if (!inScene_) return Refuse(D3DERR_SCENE_NOT_IN_SCENE, "draw between BeginScene and EndScene");
    if (DrawTargetLocked()) return Refuse(DDERR_SURFACEBUSY, "the render target is locked");
    if (primitiveType < D3DPT_POINTLIST || primitiveType > D3DPT_TRIANGLEFAN)
        return Refuse(D3DERR_INVALIDPRIMITIVETYPE, "unknown primitive type");
    if (primitiveType != D3DPT_TRIANGLELIST) return Refuse(DDERR_UNSUPPORTED, "only triangle lists are drawn");
    if (vertexType < D3DVT_VERTEX || vertexType > D3DVT_TLVERTEX)
        return Refuse(D3DERR_INVALIDVERTEXTYPE, "unknown vertex type");
    if (vertexType != D3DVT_VERTEX) return Refuse(DDERR_UNSUPPORTED, "only D3DVT_VERTEX is drawn");
    if (flags & ~kDrawFlags) return Refuse(DDERR_INVALIDPARAMS, "unknown draw flags");
    return Ok();
}

Outcome Device::Draw(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices, DWORD vertexCount,
                     DWORD flags) {
    if (Outcome checked = CheckDraw(primitiveType, vertexType, flags); checked.result != S_OK) return checked;
    if (!vertices) return Refuse(DDERR_INVALIDPARAMS, "no vertices");
    if (vertexCount > kMaxVertices) return Refuse(DDERR_INVALIDPARAMS, "more than 65535 vertices");
    return Render(static_cast<const pipeline::Vertex*>(vertices), vertexCount);
}

// The indices are expanded into a list of their vertices, drawn as
// DrawPrimitive draws; the list's memory is kept for the next indexed draw.
Outcome Device::DrawIndexed(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices,
                            DWORD vertexCount, LPWORD indices, DWORD indexCount, DWORD flags) {
    if (Outcome checked = CheckDraw(primitiveType, vertexType, flags); checked.result != S_OK) return checked;
    if (!vertices || !indices) return Refuse(DDERR_INVALIDPARAMS, "no vertices or no indices");
    if (vertexCount > kMaxVertices || indexCount > kMaxVertices)
        return Refuse(DDERR_INVALIDPARAMS, "more than 65535 vertices or indices");
    const auto* source = static_cast<const pipeline::Vertex*>(vertices);
    if (std::any_of(indices, indices + indexCount, [&](WORD index) { return index >= vertexCount; }))
        return Refuse(DDERR_INVALIDPARAMS, "an index past the vertices");
    try {
        indexed_.resize(indexCount);
    } catch (const std::bad_alloc&) {
        return Refuse(DDERR_OUTOFMEMORY, "no memory for the indexed vertices");
    }
    for (DWORD i = 0; i < indexCount; ++i) indexed_[i] = source[indices[i]];
    return Render(indexed_.data(), indexCount);
}

Outcome Device::Render(const pipeline::Vertex* vertices, DWORD vertexCount) {
    if (!current_) return Refuse(D3DERR_NOCURRENTVIEWPORT, "no current viewport");
    if (!current_->Data()) return Refuse(D3DERR_VIEWPORTDATANOTSET, "SetViewport2 was not called");
    lights_.clear();
    current_->CollectLights(lights_);
    pipeline::DrawCall call{vertices,
                            vertexCount,
                            world_,
                            view_,
                            projection_,
                            SelectedMaterial(),
                            lights_.data(),
                            lights_.size(),
                            ColorOf(LightState(D3DLIGHTSTATE_AMBIENT)),
                            states_.Pipeline(),
                            *current_->Data()};
    target_->DrawnBy(renderer_);
    renderer_.DrawTriangleList(target_->DrawTarget(), call);
    stats_.dwTrianglesDrawn += vertexCount / 3;
    stats_.dwVerticesProcessed += vertexCount;
    return Ok();
}

// The selected material as it stands now; black when none is selected.
pipeline::Material Device::SelectedMaterial() const {
    const DWORD handle = LightState(D3DLIGHTSTATE_MATERIAL);
    if (handle == 0 || !materials_[handle - 1]) return {};
    return materials_[handle - 1]->Data();
}

}  // namespace qv::ddraw
