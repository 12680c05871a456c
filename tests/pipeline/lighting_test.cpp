// Colours at vertices against the lighting equation, evaluated here in double
// precision: a vertex placed on a pixel centre as the top-left corner of its
// triangle colours exactly that pixel.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "canvas.h"

namespace qv::pipeline::test {
namespace {

struct V3 {
    double x, y, z;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Unit(V3 a) {
    const double l = std::sqrt(Dot(a, a));
    return {a.x / l, a.y / l, a.z / l};
}
V3 Row(const Matrix& m, V3 p, double w) {
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + w * m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + w * m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + w * m.m[3][2]};
}

// A turn about z then x, then a translation.
Matrix Rigid(float a, float b, V3 t) {
    const float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    return {{{ca, sa * cb, sa * sb, 0}, {-sa, ca * cb, ca * sb, 0}, {0, -sb, cb, 0}, {float(t.x), float(t.y), float(t.z), 1}}};
}

Matrix RigidInverse(const Matrix& m) {
    Matrix r = Identity();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) r.m[i][j] = m.m[j][i];
    }
    for (int j = 0; j < 3; ++j) r.m[3][j] = -(m.m[3][0] * r.m[0][j] + m.m[3][1] * r.m[1][j] + m.m[3][2] * r.m[2][j]);
    return r;
}

// The colour the stand-in's rules give a vertex (model position p, normal n).
Color Expected(const DrawCall& call, V3 p, V3 n) {
    const Material& m = call.material;
    const V3 wp = Row(call.world, p, 1), wn = Unit(Row(call.world, n, 0));
    double c[3] = {m.emissive.r + m.ambient.r * call.ambient.r, m.emissive.g + m.ambient.g * call.ambient.g,
                   m.emissive.b + m.ambient.b * call.ambient.b};
    const bool specular = (m.specular.r || m.specular.g || m.specular.b) && m.power > 0;
    for (std::size_t k = 0; k < call.lightCount; ++k) {
        const Light& l = call.lights[k];
        V3 toLight;
        double weight = 1;
        if (l.type == LightType::Directional) {
            toLight = Unit({-l.direction.x, -l.direction.y, -l.direction.z});
        } else {
            const V3 d = V3{l.position.x, l.position.y, l.position.z} - wp;
            const double dist = std::sqrt(Dot(d, d));
            if (dist > l.range) continue;
            toLight = Unit(d);
            if (l.attenuation0 || l.attenuation1 || l.attenuation2) {
                weight = 1 / (l.attenuation0 + l.attenuation1 * dist + l.attenuation2 * dist * dist);
            }
        }
        const double ndl = Dot(wn, toLight);
        if (ndl <= 0) continue;
        const double diffuse[3] = {m.diffuse.r * l.color.r, m.diffuse.g * l.color.g, m.diffuse.b * l.color.b};
        const double highlight[3] = {m.specular.r * l.color.r, m.specular.g * l.color.g, m.specular.b * l.color.b};
        double s = 0;
        if (specular) {
            const V3 eye{0, 0, 0};  // the view is the identity
            s = std::pow(std::max(0.0, Dot(wn, Unit(toLight + Unit(eye - wp)))), m.power);
        }
        for (int i = 0; i < 3; ++i) c[i] += (diffuse[i] * ndl + highlight[i] * s) * weight;
    }
    const auto clamp = [](double v) { return float(std::min(1.0, std::max(0.0, v))); };
    return {clamp(c[0]), clamp(c[1]), clamp(c[2]), m.diffuse.a};
}

// Draws a triangle whose first vertex (normal n) lands on pixel (2, 2) and
// returns that pixel; the projection undoes the world matrix so that model
// x, y are pixel coordinates while lighting sees the world positions.
uint32_t Shade(DrawCall call, V3 n) {
    Canvas canvas(8, 8);
    std::vector<Vertex> v{At(2, 2), At(6, 2), At(2, 6)};
    v[0].nx = float(n.x);
    v[0].ny = float(n.y);
    v[0].nz = float(n.z);
    const DrawCall grid = PixelGridCall(canvas, v);
    call.vertices = v.data();
    call.vertexCount = 3;
    call.view = Identity();
    call.projection = RigidInverse(call.world);
    for (auto& row : call.projection.m) row[1] = -row[1];  // then the grid's flip of y
    call.viewport = grid.viewport;
    DrawTriangleList(canvas.target(), call);
    return canvas.at(2, 2);
}

uint32_t ToXrgb(Color c) {
    const auto ch = [](float v) { return uint32_t(v * 255 + 0.5f); };
    return ch(c.r) << 16 | ch(c.g) << 8 | ch(c.b);
}

void ExpectChannelsNear(uint32_t got, uint32_t want, const char* what) {
    for (int shift : {16, 8, 0}) {
        EXPECT_NEAR(int(got >> shift & 0xFF), int(want >> shift & 0xFF), 1) << what << std::hex << " got " << got
                                                                                << " want " << want;
    }
}

Light PointLight(V3 at) {
    Light l{};
    l.type = LightType::Point;
    l.color = {1, 1, 1, 0};
    l.position = {float(at.x), float(at.y), float(at.z)};
    l.range = std::sqrt(FLT_MAX);
    return l;
}

DrawCall SceneMaterialCall() {
    DrawCall call{};
    call.world = Identity();
    call.material.diffuse = {0.9f, 1.0f, 0.0f, 0};
    call.material.ambient = {0.1f, 0.0f, 0.0f, 0};
    call.ambient = {1, 1, 1, 1};
    return call;
}

TEST(Lighting, SceneLightShinesAtFullStrengthAtAnyDistance) {
    DrawCall call = SceneMaterialCall();
    const Light light = PointLight({4, 4, -4});
    call.lights = &light;
    call.lightCount = 1;
    call.world = Rigid(0.3f, 1.1f, {-1, 2, 3});
    for (V3 n : {V3{0, 0, -1}, V3{1, 1, -1}, V3{-0.3, 0.8, 0.1}, V3{0, 0, 1}}) {
        ExpectChannelsNear(Shade(call, n), ToXrgb(Expected(call, {2, 2, 0.5}, n)), "scene light");
    }
    call.world.m[3][0] = 1e6f;  // far away: still unattenuated
    ExpectChannelsNear(Shade(call, {-1, 0, 0}), ToXrgb(Expected(call, {2, 2, 0.5}, {-1, 0, 0})), "far");
    EXPECT_GT(Shade(call, {-1, 0, 0}) >> 8 & 0xFF, 200u);
}

TEST(Lighting, FacingAwayLeavesEmissivePlusAmbient) {
    DrawCall call = SceneMaterialCall();
    const Light light = PointLight({0, 0, -100});
    call.lights = &light;
    call.lightCount = 1;
    call.material.emissive = {0.0f, 0.2f, 0.0f, 0};
    EXPECT_EQ(Shade(call, {0, 0, 1}), Xrgb(26, 51, 0));
}

TEST(Lighting, NormalWithoutDirectionLeavesEmissivePlusAmbient) {
    DrawCall call = SceneMaterialCall();
    call.material.emissive = {0.0f, 0.2f, 0.0f, 0};
    Light lights[2] = {PointLight({0, 0, -100}), PointLight({0, 0, 0})};  // the plain and the general light paths
    lights[1].type = LightType::Directional;
    lights[1].direction = {0, 0, 1};
    call.lights = lights;
    call.lightCount = 2;
    for (V3 n : {V3{0, 0, 0}, V3{NAN, 0, -1}, V3{INFINITY, 0, -1}, V3{0, -INFINITY, 0}}) {
        EXPECT_EQ(Shade(call, n), Xrgb(26, 51, 0)) << n.x << ", " << n.y << ", " << n.z;
    }
}

TEST(Lighting, LightBeyondItsRangeAddsNothing) {
    DrawCall call = SceneMaterialCall();
    Light light = PointLight({2, 2, -10});
    light.range = 10.4f;  // the vertex is 10.5 away
    call.lights = &light;
    call.lightCount = 1;
    EXPECT_EQ(Shade(call, {0, 0, -1}), Xrgb(26, 0, 0));
    light.range = 11.6f;
    EXPECT_EQ(Shade(call, {0, 0, -1}), Xrgb(255, 255, 0));
}

TEST(Lighting, AttenuationDividesByTheDistancePolynomial) {
    DrawCall call = SceneMaterialCall();
    Light light = PointLight({2, 2, -3.5f});  // 4 away, straight ahead of the normal
    light.attenuation0 = 0.5f;
    light.attenuation1 = 0.25f;
    light.attenuation2 = 0.0625f;  // 0.5 + 1 + 1 = 2.5
    call.lights = &light;
    call.lightCount = 1;
    EXPECT_EQ(Shade(call, {0, 0, -1}), ToXrgb({0.1f + 0.9f / 2.5f, 1 / 2.5f, 0, 0}));
}

TEST(Lighting, DirectionalLightsAndSumsClampedToOne) {
    DrawCall call = SceneMaterialCall();
    Light lights[2] = {PointLight({3, 5, -2}), {}};
    lights[1].type = LightType::Directional;
    lights[1].color = {0.5f, 2.0f, 0.25f, 0};
    lights[1].direction = {0.2f, -0.3f, 1};
    call.lights = lights;
    call.lightCount = 2;
    call.world = Rigid(-0.7f, 0.4f, {0.5f, -2, 1});
    std::mt19937 random(7);
    std::uniform_real_distribution<float> u(-1, 1);
    for (int i = 0; i < 40; ++i) {
        const V3 n{u(random), u(random), u(random)};
        ExpectChannelsNear(Shade(call, n), ToXrgb(Expected(call, {2, 2, 0.5}, n)), "two lights");
    }
}

TEST(Lighting, HighlightOnlyWithSpecularColourAndPower) {
    DrawCall call = SceneMaterialCall();
    const Light light = PointLight({2, 2, -5});
    call.lights = &light;
    call.lightCount = 1;
    call.material.diffuse = {0.2f, 0.2f, 0.2f, 0};
    call.material.specular = {0.5f, 0.5f, 0.5f, 0};
    const V3 n{0.3, 0.2, -1};
    call.material.power = 0;
    const uint32_t noPower = Shade(call, n);
    call.material.power = 8;
    const uint32_t lit = Shade(call, n);
    ExpectChannelsNear(lit, ToXrgb(Expected(call, {2, 2, 0.5}, n)), "specular");
    EXPECT_GT(lit & 0xFF, noPower & 0xFF);
    call.material.specular = {0, 0, 0, 0};
    EXPECT_EQ(Shade(call, n), noPower);
}

TEST(Lighting, GouraudInterpolatesAndFlatTakesTheFirstVertex) {
    Canvas canvas(8, 8);
    std::vector<Vertex> v{At(0, 0), At(4, 0), At(0, 4)};
    v[1].nz = 1;  // unlit: black; the first vertex is fully lit
    const Light light{LightType::Directional, {1, 1, 1, 0}, {}, {0, 0, 1}, 0, 0, 0, 0, 0, 0, 0};
    DrawCall call = PixelGridCall(canvas, v, {0, 0, 0, 0});
    call.material.diffuse = {1, 1, 1, 0};
    call.lights = &light;
    call.lightCount = 1;
    DrawTriangleList(canvas.target(), call);
    EXPECT_EQ(canvas.at(0, 0), Xrgb(255, 255, 255));
    EXPECT_EQ(canvas.at(2, 0), Xrgb(128, 128, 128));  // half way: 127.5 rounds up
    call.states.shadeMode = ShadeMode::Flat;
    DrawTriangleList(canvas.target(), call);
    EXPECT_EQ(canvas.at(2, 0), Xrgb(255, 255, 255));
    EXPECT_EQ(canvas.at(3, 0), Xrgb(255, 255, 255));
}

}  // namespace
}  // namespace qv::pipeline::test
