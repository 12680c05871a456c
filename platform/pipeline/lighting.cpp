// Lighting rules of the stand-in:
// - Normals are transformed by the world matrix's upper 3x3 and normalised.
// - Point and spot lights shine from their position; a light farther than its
//   range adds nothing. Attenuation is 1 / (a0 + a1 d + a2 d^2); a light with
//   all three terms zero is weighed 1 at any distance (the common reading of
//   "no attenuation", and the one that avoids a division by zero).
// - Spot lights: full inside the cone of angle theta, nothing outside phi,
//   ((cos - cos(phi/2)) / (cos(theta/2) - cos(phi/2)))^falloff in between.
// - Directional lights shine along their direction; parallel-point lights
//   along the line from their position to the object's origin. Neither attenuates.
// - Specular (Blinn: (N.H)^power, H between the light and the eye) only where
//   the material has a non-zero specular colour and a positive power.
#include "pipeline/lighting.h"

#include <cmath>
#include <initializer_list>

#include "pipeline/vertex_kernels.h"

namespace qv::pipeline {
namespace {

struct Vec {
    float x, y, z;
};

float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Zero (never NaN) when v has no finite, non-zero length.
Vec Normalized(Vec v) {
    const float len = std::sqrt(Dot(v, v));
    if (!(len > 0) || !std::isfinite(len)) return {0, 0, 0};
    return {v.x / len, v.y / len, v.z / len};
}

// The eye in world space: the point the view matrix maps to the origin.
// False when the view has no such single point.
bool EyePosition(const Matrix& view, Vec& eye) {
    const auto& m = view.m;
    const float det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                      m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                      m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (det == 0 || !std::isfinite(det)) return false;
    // eye = -t x R^-1, with R^-1 = adjugate / det.
    const float t[3] = {m[3][0], m[3][1], m[3][2]};
    float inv[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            inv[i][j] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    }
    eye = {-(t[0] * inv[0][0] + t[1] * inv[1][0] + t[2] * inv[2][0]),
           -(t[0] * inv[0][1] + t[1] * inv[1][1] + t[2] * inv[2][1]),
           -(t[0] * inv[0][2] + t[1] * inv[1][2] + t[2] * inv[2][2])};
    return std::isfinite(eye.x) && std::isfinite(eye.y) && std::isfinite(eye.z);
}

// The loops every draw runs, with SIMD where the instruction set has it (the
// plain loops would not vectorize: sqrt may set errno).
void ClampColors(std::size_t count, VertexBatch& b) {
    if (const VertexKernels* kernels = CurrentVertexKernels()) return kernels->clampColors(count, b);
    for (float* channel : {b.r, b.g, b.b}) {
        for (std::size_t i = 0; i < count; ++i) channel[i] = channel[i] > 0 ? (channel[i] < 1 ? channel[i] : 1) : 0;
    }
}

void NormalizeNormals(std::size_t count, VertexBatch& b) {
    if (const VertexKernels* kernels = CurrentVertexKernels()) return kernels->normalize(count, b);
    for (std::size_t i = 0; i < count; ++i) {
        const float inv = 1.0f / std::sqrt(b.nx[i] * b.nx[i] + b.ny[i] * b.ny[i] + b.nz[i] * b.nz[i]);
        b.nx[i] *= inv;
        b.ny[i] *= inv;
        b.nz[i] *= inv;
    }
}

// Everything about one light that stays the same over a draw.
struct LightTerms {
    Color diffuse;   // material diffuse x light colour
    Color specular;  // material specular x light colour, or zero
    float power;     // of the highlight
    bool positional;
    Vec position;    // positional lights
    Vec toLight;     // directional lights: unit vector towards the light
    float range;
    bool attenuates;
    float a0, a1, a2;
    bool spot;
    Vec spotDirection;  // unit
    float cosInner, cosOuter, falloff;
};

bool MakeLightTerms(const Light& light, const DrawCall& call, LightTerms& t) {
    const Material& mat = call.material;
    t = {};
    t.diffuse = {mat.diffuse.r * light.color.r, mat.diffuse.g * light.color.g, mat.diffuse.b * light.color.b, 0};
    const bool hasSpecular = (mat.specular.r != 0 || mat.specular.g != 0 || mat.specular.b != 0) && mat.power > 0;
    if (hasSpecular) {
        t.specular = {mat.specular.r * light.color.r, mat.specular.g * light.color.g, mat.specular.b * light.color.b, 0};
        t.power = mat.power;
    }
    const Vec position{light.position.x, light.position.y, light.position.z};
    switch (light.type) {
        case LightType::Point:
        case LightType::Spot:
            t.positional = true;
            t.position = position;
            t.range = light.range;
            t.attenuates = light.attenuation0 != 0 || light.attenuation1 != 0 || light.attenuation2 != 0;
            t.a0 = light.attenuation0;
            t.a1 = light.attenuation1;
            t.a2 = light.attenuation2;
            if (light.type == LightType::Spot) {
                t.spot = true;
                t.spotDirection = Normalized({light.direction.x, light.direction.y, light.direction.z});
                t.cosInner = std::cos(light.theta * 0.5f);
                t.cosOuter = std::cos(light.phi * 0.5f);
                t.falloff = light.falloff;
            }
            return true;
        case LightType::Directional:
            t.toLight = Normalized({-light.direction.x, -light.direction.y, -light.direction.z});
            return Dot(t.toLight, t.toLight) > 0;
        case LightType::ParallelPoint: {
            const auto& o = call.world.m[3];
            t.toLight = Normalized({position.x - o[0], position.y - o[1], position.z - o[2]});
            return Dot(t.toLight, t.toLight) > 0;
        }
    }
    return false;  // a light type the platform does not define adds nothing
}

// The common case, and the one worth keeping fast: a point light without
// attenuation or highlight.
void AddPlainPointLight(const LightTerms& t, std::size_t count, VertexBatch& b) {
    const float range2 = t.range >= 0 ? t.range * t.range : -1;  // NaN range: never lit
    if (const VertexKernels* kernels = CurrentVertexKernels()) {
        return kernels->addPlainPointLight({{t.position.x, t.position.y, t.position.z}, t.diffuse, range2}, count, b);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const float lx = t.position.x - b.px[i], ly = t.position.y - b.py[i], lz = t.position.z - b.pz[i];
        const float d2 = lx * lx + ly * ly + lz * lz;
        const float ndl = (b.nx[i] * lx + b.ny[i] * ly + b.nz[i] * lz) / std::sqrt(d2);
        const float k = ndl > 0 && d2 <= range2 ? ndl : 0;
        b.r[i] += t.diffuse.r * k;
        b.g[i] += t.diffuse.g * k;
        b.b[i] += t.diffuse.b * k;
    }
}

void AddLight(const LightTerms& t, bool hasEye, Vec eye, std::size_t count, VertexBatch& b) {
    const bool specular = hasEye && (t.specular.r != 0 || t.specular.g != 0 || t.specular.b != 0);
    for (std::size_t i = 0; i < count; ++i) {
        const Vec p{b.px[i], b.py[i], b.pz[i]}, n{b.nx[i], b.ny[i], b.nz[i]};
        Vec l = t.toLight;
        float weight = 1;
        if (t.positional) {
            const Vec toLight{t.position.x - p.x, t.position.y - p.y, t.position.z - p.z};
            const float d = std::sqrt(Dot(toLight, toLight));
            if (!(d <= t.range) || !(d > 0)) continue;
            l = {toLight.x / d, toLight.y / d, toLight.z / d};
            if (t.attenuates) {
                const float den = t.a0 + t.a1 * d + t.a2 * d * d;
                if (!(den > 0)) continue;
                weight = 1 / den;
            }
            if (t.spot) {
                const float rho = -Dot(l, t.spotDirection);
                if (!(rho > t.cosOuter)) continue;
                if (rho < t.cosInner) {
                    weight *= std::pow((rho - t.cosOuter) / (t.cosInner - t.cosOuter), t.falloff);
                }
            }
        }
        const float ndl = Dot(n, l);
        if (!(ndl > 0)) continue;
        float r = t.diffuse.r * ndl, g = t.diffuse.g * ndl, bl = t.diffuse.b * ndl;
        if (specular) {
            const Vec v = Normalized({eye.x - p.x, eye.y - p.y, eye.z - p.z});
            const float ndh = Dot(n, Normalized({l.x + v.x, l.y + v.y, l.z + v.z}));
            if (ndh > 0) {
                const float s = std::pow(ndh, t.power);
                r += t.specular.r * s;
                g += t.specular.g * s;
                bl += t.specular.b * s;
            }
        }
        b.r[i] += r * weight;
        b.g[i] += g * weight;
        b.b[i] += bl * weight;
    }
}

}  // namespace

void LightBatch(std::size_t count, const DrawCall& call, VertexBatch& out) {
    NormalizeNormals(count, out);
    const Material& mat = call.material;
    const Color base{mat.emissive.r + mat.ambient.r * call.ambient.r, mat.emissive.g + mat.ambient.g * call.ambient.g,
                     mat.emissive.b + mat.ambient.b * call.ambient.b, 0};
    for (std::size_t i = 0; i < count; ++i) {
        out.r[i] = base.r;
        out.g[i] = base.g;
        out.b[i] = base.b;
    }
    Vec eye{};
    const bool hasEye = EyePosition(call.view, eye);
    for (std::size_t k = 0; call.lights && k < call.lightCount; ++k) {
        LightTerms terms;
        if (!MakeLightTerms(call.lights[k], call, terms)) continue;
        const bool plain = terms.positional && !terms.attenuates && !terms.spot &&
                           terms.specular.r == 0 && terms.specular.g == 0 && terms.specular.b == 0;
        if (plain) {
            AddPlainPointLight(terms, count, out);
        } else {
            AddLight(terms, hasEye, eye, count, out);
        }
    }
    ClampColors(count, out);
}

}  // namespace qv::pipeline
