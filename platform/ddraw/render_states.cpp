// Render states: known states, valid values, defaults, and the ones the
// pipeline uses.

#include "ddraw/render_states.h"

namespace qv::ddraw {
namespace {

bool Known(D3DRENDERSTATETYPE state) {
    return (state >= D3DRENDERSTATE_TEXTUREHANDLE && state <= D3DRENDERSTATE_COLORKEYENABLE) ||
           (state >= D3DRENDERSTATE_BORDERCOLOR && state <= D3DRENDERSTATE_FLUSHBATCH) ||
           (state >= D3DRENDERSTATE_STIPPLEPATTERN00 && state <= D3DRENDERSTATE_STIPPLEPATTERN31);
}

bool InRange(DWORD value, DWORD first, DWORD last) { return value >= first && value <= last; }

// The states whose default is not zero (FALSE).
struct Default {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
constexpr Default kDefaults[] = {
    {D3DRENDERSTATE_TEXTUREADDRESS, D3DTADDRESS_WRAP},
    {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID},
    {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRENDERSTATE_ROP2, 13},  // R2_COPYPEN
    {D3DRENDERSTATE_ZWRITEENABLE, TRUE},
    {D3DRENDERSTATE_LASTPIXEL, TRUE},
    {D3DRENDERSTATE_TEXTUREMAG, D3DFILTER_NEAREST},
    {D3DRENDERSTATE_TEXTUREMIN, D3DFILTER_NEAREST},
    {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE},
    {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO},
    {D3DRENDERSTATE_TEXTUREMAPBLEND, D3DTBLEND_MODULATE},
    {D3DRENDERSTATE_CULLMODE, D3DCULL_CCW},
    {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS},
    {D3DRENDERSTATE_SPECULARENABLE, TRUE},
    {D3DRENDERSTATE_FOGTABLEDENSITY, 0x3F800000},  // 1.0f
    {D3DRENDERSTATE_TEXTUREADDRESSU, D3DTADDRESS_WRAP},
    {D3DRENDERSTATE_TEXTUREADDRESSV, D3DTADDRESS_WRAP},
    {D3DRENDERSTATE_ANISOTROPY, 1},
};

// Checks a value of a state that drives the pipeline and hands it over.
Outcome ApplyToPipeline(pipeline::RenderStates& states, D3DRENDERSTATETYPE state, DWORD value) {
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

}  // namespace

RenderStateTable::RenderStateTable() {
    for (const Default& entry : kDefaults) values_[entry.state] = entry.value;
}

Outcome RenderStateTable::Set(D3DRENDERSTATETYPE state, DWORD value) {
    if (!Known(state)) return Refuse(DDERR_INVALIDPARAMS, "unknown render state");
    Outcome outcome = ApplyToPipeline(pipeline_, state, value);
    if (outcome.result == S_OK) values_[state] = value;
    return outcome;
}

Outcome RenderStateTable::Get(D3DRENDERSTATETYPE state, DWORD& value) const {
    if (!Known(state)) return Refuse(DDERR_INVALIDPARAMS, "unknown render state");
    value = values_[state];
    return Ok();
}

}  // namespace qv::ddraw
