// The device's render states: which ones the platform knows, which values it
// takes, and the ones that decide how the pipeline draws (their defaults are
// the platform's: depth test off, depth writes on, LESSEQUAL, Gouraud
// shading, counter-clockwise triangles culled, solid fill). Other known
// states are kept for GetRenderState and have no effect on drawing.
#pragma once

#include "ddraw/call.h"

#include "pipeline/pipeline.h"

#include <d3d.h>

#include <array>

namespace qv::ddraw {

class RenderStateTable {
public:
    RenderStateTable();  // every state at the platform's default

    // Sets one state, or says which published error it earns.
    Outcome Set(D3DRENDERSTATETYPE state, DWORD value);
    // The state's value, or DDERR_INVALIDPARAMS for an unknown state.
    Outcome Get(D3DRENDERSTATETYPE state, DWORD& value) const;
    const pipeline::RenderStates& Pipeline() const { return pipeline_; }

private:
    std::array<DWORD, D3DRENDERSTATE_STIPPLEPATTERN31 + 1> values_{};
    pipeline::RenderStates pipeline_;
};

}  // namespace qv::ddraw
