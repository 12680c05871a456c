// The published Direct3D records as the pipeline's values: the one place the
// objects (and the benchmark, which draws the program's values straight
// through the pipeline) turn one into the other.
#pragma once

#include "pipeline/pipeline.h"

#include <d3d.h>

namespace qv::ddraw {

inline pipeline::Color ColorOf(const D3DCOLORVALUE& c) { return {c.r, c.g, c.b, c.a}; }

// A packed colour as the device reads it: each channel over 255.
inline pipeline::Color ColorOf(D3DCOLOR c) {
    return {RGBA_GETRED(c) / 255.0f, RGBA_GETGREEN(c) / 255.0f, RGBA_GETBLUE(c) / 255.0f,
            RGBA_GETALPHA(c) / 255.0f};
}

inline pipeline::Material MaterialOf(const D3DMATERIAL& m) {
    return {ColorOf(m.diffuse), ColorOf(m.ambient), ColorOf(m.specular), ColorOf(m.emissive), m.power};
}

inline pipeline::Light LightOf(const D3DLIGHT& l) {
    return {pipeline::LightType(l.dltType),
            ColorOf(l.dcvColor),
            {l.dvPosition.x, l.dvPosition.y, l.dvPosition.z},
            {l.dvDirection.x, l.dvDirection.y, l.dvDirection.z},
            l.dvRange,
            l.dvFalloff,
            l.dvAttenuation0,
            l.dvAttenuation1,
            l.dvAttenuation2,
            l.dvTheta,
            l.dvPhi};
}

inline pipeline::Viewport ViewportOf(const D3DVIEWPORT2& v) {
    return {v.dwX, v.dwY, v.dwWidth, v.dwHeight, v.dvClipX, v.dvClipY, v.dvClipWidth, v.dvClipHeight, v.dvMinZ, v.dvMaxZ};
}

}  // namespace qv::ddraw
