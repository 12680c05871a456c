// The values the bring-up hands the device: render states, viewport, light,
// ambient light and transforms. Tools that draw the program's frame without
// the platform objects take them from here, so they draw with the same ones.
#pragma once

#include <windows.h>
#include <d3d.h>

#include <cstring>

// A record with every field zero; its size field, where it has one, is set by the caller.
template <typename Record>
Record ClearedRecord() {
    Record record;
    std::memset(&record, 0, sizeof record);
    return record;
}

struct RenderStateSetting {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

// Depth test on (less or equal), Gouraud shading.
extern const RenderStateSetting kRenderStateSettings[3];

// The ambient light state: full white.
constexpr DWORD kAmbientLight = 0xFFFFFFFF;

// The whole screen, clip space -1..1 across and down, depth 0..1.
D3DVIEWPORT2 ScreenViewport();

// The white point light at (4, 4, -4) with the largest range.
D3DLIGHT WhiteLight();

// Identity world; the camera 10 units back; the projection.
D3DMATRIX IdentityMatrix();
D3DMATRIX ViewMatrix();
D3DMATRIX ProjectionMatrix();
