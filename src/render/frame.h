// One frame: clear, the four tori each with its own transform and material,
// flip. Called whenever the message queue is empty.
#pragma once

#include <d3d.h>

// Draws one frame and advances the animation by one step. Only between a
// successful InitDirect3D and ReleaseAll.
void RenderFrame();

// Loads the record into the shared material object and selects it for the
// primitives drawn after it.
void ApplyMaterial(D3DMATERIAL m);
