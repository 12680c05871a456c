// Light records.

#include "ddraw/light.h"

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
            data_ = pipeline::Light{pipeline::LightType(l.dltType),
                                    {l.dcvColor.r, l.dcvColor.g, l.dcvColor.b, l.dcvColor.a},
                                    {l.dvPosition.x, l.dvPosition.y, l.dvPosition.z},
                                    {l.dvDirection.x, l.dvDirection.y, l.dvDirection.z},
                                    l.dvRange,
                                    l.dvFalloff,
                                    l.dvAttenuation0,
                                    l.dvAttenuation1,
                                    l.dvAttenuation2,
                                    l.dvTheta,
                                    l.dvPhi};
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
