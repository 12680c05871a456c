// Light records.

#include "ddraw/light.h"

#include "ddraw/pipeline_values.h"
#include "ddraw/trace_text.h"

namespace qv::ddraw {

HRESULT Light::Initialize(LPDIRECT3D direct3D) {
    return Call(
        "IDirect3DLight::Initialize",
        [] { return Refuse(DDERR_ALREADYINITIALIZED, "made by CreateLight"); },
        [&](control::CallTrace& trace) { trace.Arg(direct3D ? "direct3D" : "NULL"); });
}

HRESULT Light::SetLight(LPD3DLIGHT lightData) {
    return Call(
        "IDirect3DLight::SetLight",
        [&] {
            if (!lightData) return Refuse(DDERR_INVALIDPARAMS, "no light record");
            if (lightData->dwSize != sizeof(D3DLIGHT)) return RefuseRecordSize("light record", sizeof(D3DLIGHT));
            const D3DLIGHT& l = *lightData;
            if (l.dltType < D3DLIGHT_POINT || l.dltType > D3DLIGHT_PARALLELPOINT)
                return Refuse(DDERR_INVALIDPARAMS, "unknown light type");
            record_ = l;
            data_ = LightOf(l);
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(LightText(lightData)); });
}

HRESULT Light::GetLight(LPD3DLIGHT lightData) {
    return Call(
        "IDirect3DLight::GetLight",
        [&] {
            if (Outcome check = CheckCallerRecord(lightData, "light record"); check.result != S_OK) return check;
            *lightData = record_;
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(lightData ? "&light" : "NULL"); });
}

}  // namespace qv::ddraw
