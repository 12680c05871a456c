// The device's render states: which ones the platform knows, which values it
// takes, and the ones that decide how the pipeline draws (their defaults are
// the platform's: depth test off, depth writes on, LESSEQUAL, Gouraud
// shading, counter-clockwise triangles culled, solid fill). Other known
// states are accepted and have no effect on drawing.
#pragma once

#include "ddraw/call.h"

#include "pipeline/pipeline.h"

#include <d3d.h>

namespace qv::ddraw {

// Sets one render state in states, or says which published error it earns.
Outcome ApplyRenderState(pipeline::RenderStates& states, D3DRENDERSTATETYPE state, DWORD value);

}  // namespace qv::ddraw
