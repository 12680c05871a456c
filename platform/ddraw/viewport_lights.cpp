// The lights of a viewport: adding, deleting, walking, and handing them to
// a draw.

#include "ddraw/next_in_list.h"
#include "ddraw/trace_text.h"
#include "ddraw/viewport.h"

namespace qv::ddraw {

void Viewport::CollectLights(std::vector<pipeline::Light>& lights) const {
    for (const Ref<Light>& light : lights_) {
        if (light->Data()) lights.push_back(*light->Data());
    }
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
    if (&added->Driver() != &Driver())
        return Refuse(DDERR_INVALIDPARAMS, "the light belongs to another DirectDraw object");
    if (added->InViewport()) return Refuse(D3DERR_LIGHTHASVIEWPORT, "the light is in a viewport already");
    lights_.emplace_back(added);
    added->PlaceIn(this);
    return Ok();
}

HRESULT Viewport::DeleteLight(LPDIRECT3DLIGHT light) {
    return Call(
        "IDirect3DViewport2::DeleteLight", [&] { return Delete(light); },
        [&](control::CallTrace& trace) { trace.Arg(Light::LabelOf(light)); });
}

Outcome Viewport::Delete(LPDIRECT3DLIGHT light) {
    if (!light) return Refuse(DDERR_INVALIDPARAMS, "no light");
    Light* deleted = Light::Find(light);
    if (!deleted) return Refuse(DDERR_INVALIDOBJECT, "not a light");
    auto it =
        std::find_if(lights_.begin(), lights_.end(), [&](const Ref<Light>& held) { return held.Get() == deleted; });
    if (it == lights_.end()) return Refuse(D3DERR_LIGHTNOTINTHISVIEWPORT, "the light is not in this viewport");
    deleted->PlaceIn(nullptr);
    lights_.erase(it);  // may free a light its callers released
    return Ok();
}

HRESULT Viewport::NextLight(LPDIRECT3DLIGHT reference, LPDIRECT3DLIGHT* light, DWORD flags) {
    if (light) *light = nullptr;  // also when the call fails
    std::string found;
    return Call(
        "IDirect3DViewport2::NextLight", [&] { return Next(reference, light, flags, found); },
        [&](control::CallTrace& trace) {
            trace.Arg(Light::LabelOf(reference)).Arg(OutText(light, found)).Arg(NextFlagsText(flags));
        });
}

Outcome Viewport::Next(LPDIRECT3DLIGHT reference, LPDIRECT3DLIGHT* light, DWORD flags, std::string& found) {
    if (!light) return Refuse(DDERR_INVALIDPARAMS, "no place for the light");
    Light* next = nullptr;
    Outcome outcome = NextInList(lights_, Light::Find(reference), flags, DDERR_NOTFOUND, next);
    if (outcome.result != S_OK) return outcome;
    *light = next->NewReference();
    if (!*light) return Refuse(DDERR_INVALIDOBJECT, "the light was released");
    found = next->Label();
    return Ok();
}

}  // namespace qv::ddraw
