// Render states: known states, valid values, and the ones the pipeline uses.

#include "ddraw/render_states.h"

namespace qv::ddraw {
namespace {

bool Known(D3DRENDERSTATETYPE state) {
    return (state >= D3DRENDERSTATE_TEXTUREHANDLE && state <= D3DRENDERSTATE_COLORKEYENABLE) ||
           (state >= D3DRENDERSTATE_BORDERCOLOR && state <= D3DRENDERSTATE_FLUSHBATCH) ||
           (state >= D3DRENDERSTATE_STIPPLEPATTERN00 && state <= D3DRENDERSTATE_STIPPLEPATTERN31);
}

bool InRange(DWORD value, DWORD first, DWORD last) { return value >= first && value <= last; }

}  // namespace

Outcome ApplyRenderState(pipeline::RenderStates& states, D3DRENDERSTATETYPE state, DWORD value) {
    if (!Known(state)) return Refuse(DDERR_INVALIDPARAMS, "unknown render state");
    switch (state) {
        case D3DRENDERSTATE_ZENABLE:
            if (value > TRUE) return Refuse(DDERR_INVALIDPARAMS, "TRUE or FALSE");
            states.zEnable = value;
            break;
        case D3DRENDERSTATE_ZWRITEENABLE:
            if (value > TRUE) return Refuse(DDERR_INVALIDPARAMS, "TRUE or FALSE");
            states.zWriteEnable = value;
            break;
        case D3DRENDERSTATE_ZFUNC:
            if (!InRange(value, D3DCMP_NEVER, D3DCMP_ALWAYS)) return Refuse(DDERR_INVALIDPARAMS, "not a D3DCMP value");
            states.zFunc = pipeline::Compare(value);
            break;
        case D3DRENDERSTATE_SHADEMODE:
            if (!InRange(value, D3DSHADE_FLAT, D3DSHADE_PHONG)) return Refuse(DDERR_INVALIDPARAMS, "not a D3DSHADE value");
            states.shadeMode = pipeline::ShadeMode(value);
            break;
        case D3DRENDERSTATE_CULLMODE:
            if (!InRange(value, D3DCULL_NONE, D3DCULL_CCW)) return Refuse(DDERR_INVALIDPARAMS, "not a D3DCULL value");
            states.cullMode = pipeline::CullMode(value);
            break;
        case D3DRENDERSTATE_FILLMODE:
            if (!InRange(value, D3DFILL_POINT, D3DFILL_SOLID)) return Refuse(DDERR_INVALIDPARAMS, "not a D3DFILL value");
            if (value != D3DFILL_SOLID) return Refuse(DDERR_UNSUPPORTED, "only solid fill is drawn");
            break;
        default:
            break;  // known, and without effect on how triangles are drawn here
    }
    return Ok();
}

}  // namespace qv::ddraw
