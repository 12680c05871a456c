#include "render/bring_up_values.h"

// D3DLIGHT_RANGE_MAX is sqrt(FLT_MAX) in some SDK headers.
#include <cfloat>
#include <cmath>

#include "scene/constants.h"

const RenderStateSetting kRenderStateSettings[3] = {
    {D3DRENDERSTATE_ZENABLE, TRUE},
    {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD},
};

D3DVIEWPORT2 ScreenViewport() {
    D3DVIEWPORT2 viewport = ClearedRecord<D3DVIEWPORT2>();
    viewport.dwSize = sizeof viewport;
    viewport.dwX = 0;
    viewport.dwY = 0;
    viewport.dwWidth = kScreenWidth;
    viewport.dwHeight = kScreenHeight;
    viewport.dvClipX = -1.0f;
    viewport.dvClipY = 1.0f;
    viewport.dvClipWidth = 2.0f;
    viewport.dvClipHeight = 2.0f;
    viewport.dvMinZ = 0.0f;
    viewport.dvMaxZ = 1.0f;
    return viewport;
}

D3DLIGHT WhiteLight() {
    D3DLIGHT light = ClearedRecord<D3DLIGHT>();
    light.dwSize = sizeof light;
    light.dltType = D3DLIGHT_POINT;
    light.dcvColor.r = 1.0f;
    light.dcvColor.g = 1.0f;
    light.dcvColor.b = 1.0f;
    light.dcvColor.a = 0.0f;
    light.dvPosition.x = 4.0f;
    light.dvPosition.y = 4.0f;
    light.dvPosition.z = -4.0f;
    light.dvRange = D3DLIGHT_RANGE_MAX;
    return light;
}

D3DMATRIX IdentityMatrix() {
    D3DMATRIX matrix = ClearedRecord<D3DMATRIX>();
    matrix._11 = matrix._22 = matrix._33 = matrix._44 = 1.0f;
    return matrix;
}

D3DMATRIX ViewMatrix() {
    D3DMATRIX view = IdentityMatrix();
    view._43 = 10.0f;
    return view;
}

D3DMATRIX ProjectionMatrix() {
    D3DMATRIX projection = ClearedRecord<D3DMATRIX>();
    projection._11 = 2.0f;
    projection._22 = 2.6666667f;
    projection._33 = 1.0f;
    projection._34 = 1.0f;
    projection._43 = -1.0f;
    return projection;
}
