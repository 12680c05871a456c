// The vertex stages' SIMD loops, written once over a set of float lanes
// (four with SSE2, eight with AVX2, sixteen with AVX-512) and built by each
// instruction set's file with its own instructions; hence internal to each
// of them. The set L gives the float vector F and the integer vector I of
// kWidth lanes and the operations on them, named for what they do; a
// comparison gives all ones where it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "pipeline/batch.h"
#include "pipeline/geometry.h"
#include "pipeline/vertex_kernels.h"

namespace qv::pipeline {
namespace {

// Every element of a matrix in all lanes, taken once per batch (read from the
// matrix inside the loop, they would be read again after every store, as far
// as the compiler knows).
template <class L>
struct Spread {
    using F = typename L::F;
    F m[4][4];
    explicit Spread(const Matrix& matrix) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) m[i][j] = L::Set(matrix.m[i][j]);
        }
    }
    // Column j applied to directions, x m0j + y m1j + z m2j, and to points (+ m3j).
    F Direction(int j, F x, F y, F z) const { return L::Add(L::Add(L::Mul(x, m[0][j]), L::Mul(y, m[1][j])), L::Mul(z, m[2][j])); }
    F Point(int j, F x, F y, F z) const { return L::Add(Direction(j, x, y, z), m[3][j]); }
};

template <class L>
std::size_t TransformLoop(const Vertex* in, std::size_t count, const Matrix& toClip, const Matrix& world,
                          VertexBatch& out) {
    using F = typename L::F;
    const Spread<L> clip(toClip), model(world);
    std::size_t i = 0;
    for (; i + L::kWidth <= count; i += L::kWidth) {
        F x, y, z, nx, ny, nz;
        L::LoadVertices(in + i, x, y, z, nx, ny, nz);
        L::Store(out.x + i, clip.Point(0, x, y, z));
        L::Store(out.y + i, clip.Point(1, x, y, z));
        L::Store(out.z + i, clip.Point(2, x, y, z));
        L::Store(out.w + i, clip.Point(3, x, y, z));
        L::Store(out.px + i, model.Point(0, x, y, z));
        L::Store(out.py + i, model.Point(1, x, y, z));
        L::Store(out.pz + i, model.Point(2, x, y, z));
        L::Store(out.nx + i, model.Direction(0, nx, ny, nz));
        L::Store(out.ny + i, model.Direction(1, nx, ny, nz));
        L::Store(out.nz + i, model.Direction(2, nx, ny, nz));
    }
    return i;
}

// A zero or non-finite normal ends up NaN, which fails every light's N.L > 0
// test, so the vertex keeps emissive plus ambient.
template <class L>
void NormalizeLoop(std::size_t count, VertexBatch& b) {
    using F = typename L::F;
    const F one = L::Set(1.0f);
    for (std::size_t i = 0; i < count; i += L::kWidth) {
        const F x = L::Load(b.nx + i), y = L::Load(b.ny + i), z = L::Load(b.nz + i);
        const F len2 = L::Add(L::Add(L::Mul(x, x), L::Mul(y, y)), L::Mul(z, z));
        const F inv = L::Div(one, L::Sqrt(len2));
        L::Store(b.nx + i, L::Mul(x, inv));
        L::Store(b.ny + i, L::Mul(y, inv));
        L::Store(b.nz + i, L::Mul(z, inv));
    }
}

template <class L>
void PlainPointLightLoop(const PlainPointLight& light, std::size_t count, VertexBatch& b) {
    using F = typename L::F;
    const F range2 = L::Set(light.range2);
    const F lx0 = L::Set(light.position.x), ly0 = L::Set(light.position.y), lz0 = L::Set(light.position.z);
    const F dr = L::Set(light.diffuse.r), dg = L::Set(light.diffuse.g), db = L::Set(light.diffuse.b);
    const F zero = L::Zero();
    for (std::size_t i = 0; i < count; i += L::kWidth) {
        const F lx = L::Sub(lx0, L::Load(b.px + i)), ly = L::Sub(ly0, L::Load(b.py + i)),
                lz = L::Sub(lz0, L::Load(b.pz + i));
        const F d2 = L::Add(L::Add(L::Mul(lx, lx), L::Mul(ly, ly)), L::Mul(lz, lz));
        const F dot = L::Add(L::Add(L::Mul(L::Load(b.nx + i), lx), L::Mul(L::Load(b.ny + i), ly)),
                             L::Mul(L::Load(b.nz + i), lz));
        const F ndl = L::Div(dot, L::Sqrt(d2));
        // Lit where N.L > 0 and within range; NaN compares false.
        const F k = L::And(L::And(L::Greater(ndl, zero), L::LessEqual(d2, range2)), ndl);
        L::Store(b.r + i, L::Add(L::Load(b.r + i), L::Mul(dr, k)));
        L::Store(b.g + i, L::Add(L::Load(b.g + i), L::Mul(dg, k)));
        L::Store(b.b + i, L::Add(L::Load(b.b + i), L::Mul(db, k)));
    }
}

// Each channel to 0..1; NaN to 0 (max returns its second operand then).
template <class L>
void ClampLoop(std::size_t count, VertexBatch& b) {
    using F = typename L::F;
    const F zero = L::Zero(), one = L::Set(1.0f);
    for (float* channel : {b.r, b.g, b.b}) {
        for (std::size_t i = 0; i < count; i += L::kWidth) {
            L::Store(channel + i, L::Min(L::Max(L::Load(channel + i), zero), one));
        }
    }
}

template <class L>
void ProjectLoop(VertexBatch& b, std::size_t count, const ScreenMapping& m) {
    using F = typename L::F;
    using I = typename L::I;
    const F zero = L::Zero(), one = L::Set(1.0f), half = L::Set(0.5f);
    const auto finite = [zero](F v) { return L::Equal(L::Sub(v, v), zero); };
    const F limit = L::Set(kGuardBand * kSubpixelOne), lowest = L::Sub(zero, limit);
    const F sign = L::AsFloat(L::SetInt(int32_t(0x80000000u))), scale = L::Set(float(kSubpixelOne));
    // The mapping in all lanes, taken once. Each plane weighs w and one
    // coordinate only: z for near and far, x for left and right, y for top
    // and bottom.
    constexpr int kAxis[kPlaneCount] = {2, 2, 0, 0, 1, 1};
    F weight[kPlaneCount], bias[kPlaneCount];
    for (int p = 0; p < kPlaneCount; ++p) {
        const Plane& pl = m.planes[p];
        weight[p] = L::Set(kAxis[p] == 0 ? pl.x : kAxis[p] == 1 ? pl.y : pl.z);
        bias[p] = L::Set(pl.w);
    }
    const F offsetX = L::Set(m.offsetX), scaleX = L::Set(m.scaleX), offsetY = L::Set(m.offsetY),
            scaleY = L::Set(m.scaleY), offsetZ = L::Set(m.offsetZ), scaleZ = L::Set(m.scaleZ);
    for (std::size_t i = 0; i < count; i += L::kWidth) {
        const F x = L::Load(b.x + i), y = L::Load(b.y + i), z = L::Load(b.z + i), w = L::Load(b.w + i);
        const F axes[3] = {x, y, z};
        I code = L::SetInt(0);
        for (int p = 0; p < kPlaneCount; ++p) {
            const F d = L::Add(L::Mul(axes[kAxis[p]], weight[p]), L::Mul(w, bias[p]));
            code = L::OrInt(code, L::AndInt(L::AsInt(L::Less(d, zero)), L::SetInt(1 << p)));
        }
        const F inv = L::Div(one, w);
        F fx = L::Mul(L::Add(offsetX, L::Mul(scaleX, L::Mul(x, inv))), scale);
        F fy = L::Mul(L::Add(offsetY, L::Mul(scaleY, L::Mul(y, inv))), scale);
        const F fz = L::Add(offsetZ, L::Mul(scaleZ, L::Mul(z, inv)));
        const F inputOk = L::And(L::And(finite(x), finite(y)), L::And(finite(z), finite(w)));
        const F projected = L::And(L::And(L::Greater(w, zero), finite(fx)), L::And(finite(fy), finite(fz)));
        // max and min return their second operand for NaN: NaN goes to the lower bound.
        fx = L::Min(L::Max(fx, lowest), limit);
        fy = L::Min(L::Max(fy, lowest), limit);
        const F roundX = L::Or(L::And(fx, sign), half), roundY = L::Or(L::And(fy, sign), half);
        L::StoreInt(b.sx + i, L::Truncate(L::Add(fx, roundX)));
        L::StoreInt(b.sy + i, L::Truncate(L::Add(fy, roundY)));
        L::Store(b.sz + i, L::Min(L::Max(fz, zero), one));
        const I inside = L::EqualInt(code, L::SetInt(0));
        const I invalid = L::OrInt(L::AndNotInt(L::AsInt(inputOk), L::SetInt(-1)), L::AndNotInt(L::AsInt(projected), inside));
        code = L::OrInt(L::AndInt(invalid, L::SetInt(int32_t(kOutsideInvalid))), L::AndNotInt(invalid, code));
        L::StoreInt(reinterpret_cast<int32_t*>(b.outcode + i), code);
    }
}

template <class L>
constexpr VertexKernels MakeVertexKernels() {
    return {TransformLoop<L>, NormalizeLoop<L>, PlainPointLightLoop<L>, ClampLoop<L>, ProjectLoop<L>};
}

}  // namespace
}  // namespace qv::pipeline
