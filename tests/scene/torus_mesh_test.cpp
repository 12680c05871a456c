#include "scene/torus_mesh.h"

#include "control/control.h"
#include "scene/constants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kRounding = 1e-6f;

struct Vec3 {
    double x, y, z;
};

Vec3 Position(const D3DVERTEX& v) { return {v.x, v.y, v.z}; }
Vec3 Normal(const D3DVERTEX& v) { return {v.nx, v.ny, v.nz}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

void ExpectVertex(const D3DVERTEX& v, Vec3 position, Vec3 normal) {
    EXPECT_NEAR(v.x, position.x, kRounding);
    EXPECT_NEAR(v.y, position.y, kRounding);
    EXPECT_NEAR(v.z, position.z, kRounding);
    EXPECT_NEAR(v.nx, normal.x, kRounding);
    EXPECT_NEAR(v.ny, normal.y, kRounding);
    EXPECT_NEAR(v.nz, normal.z, kRounding);
}

bool SameBits(const D3DVERTEX& a, const D3DVERTEX& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class TorusMesh : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(BuildTorusMesh()); }
    void TearDown() override {
        delete[] torusVertices;
        torusVertices = nullptr;
    }
};

TEST_F(TorusMesh, FirstVerticesOfTheFirstQuad) {
    const double c = std::cos(kPi / 16), s = std::sin(kPi / 16);
    ExpectVertex(torusVertices[0], {1.5, 0, 0}, {1, 0, 0});
    ExpectVertex(torusVertices[1], {1.5 * c, 1.5 * s, 0}, {c, s, 0});
    ExpectVertex(torusVertices[2], {1 + 0.5 * c, 0, 0.5 * s}, {c, 0, s});
}

TEST(TorusVertex, TopAndInnerEquatorOfTheTube) {
    ExpectVertex(MakeTorusVertex(0, 8), {1.0, 0, 0.5}, {0, 0, 1});
    ExpectVertex(MakeTorusVertex(0, 16), {0.5, 0, 0}, {-1, 0, 0});
}

TEST(TorusVertex, EveryVertexLiesOnTheTorusWithItsOutwardUnitNormal) {
    for (int i = 0; i <= kSegments; ++i) {
        for (int j = 0; j <= kSegments; ++j) {
            const D3DVERTEX v = MakeTorusVertex(i, j);
            const Vec3 normal = Normal(v);
            EXPECT_NEAR(Dot(normal, normal), 1.0, 1e-6);
            // The point lies half a unit along its normal from the ring circle.
            const double ring = std::hypot(v.x, v.y);
            const Vec3 ringPoint{v.x / ring, v.y / ring, 0};
            const Vec3 offset = Position(v) - ringPoint;
            EXPECT_NEAR(offset.x, 0.5 * normal.x, 1e-6);
            EXPECT_NEAR(offset.y, 0.5 * normal.y, 1e-6);
            EXPECT_NEAR(offset.z, 0.5 * normal.z, 1e-6);
            EXPECT_EQ(v.tu, 0.0f);
            EXPECT_EQ(v.tv, 0.0f);
        }
    }
}

TEST_F(TorusMesh, LastVertexIsTheFullTurnAndMeetsTheFirst) {
    const D3DVERTEX& last = torusVertices[kVertexCount - 1];
    EXPECT_TRUE(SameBits(last, MakeTorusVertex(kSegments, kSegments)));
    ExpectVertex(last, Position(torusVertices[0]), Normal(torusVertices[0]));
}

TEST_F(TorusMesh, QuadsAreStoredRowByRowAsSixSeparateVertices) {
    for (int i = 0; i < kSegments; ++i) {
        for (int j = 0; j < kSegments; ++j) {
            const D3DVERTEX* quad = torusVertices + (i * kSegments + j) * 6;
            const int corners[6][2] = {{i, j}, {i + 1, j}, {i, j + 1}, {i, j + 1}, {i + 1, j}, {i + 1, j + 1}};
            for (int n = 0; n < 6; ++n) {
                EXPECT_TRUE(SameBits(quad[n], MakeTorusVertex(corners[n][0], corners[n][1])))
                    << "quad (" << i << ", " << j << ") vertex " << n;
            }
        }
    }
}

TEST_F(TorusMesh, SeamVerticesAreComputedAtTheFullTurnNotCopied) {
    // The single-precision 2 pi lies a little past the true one, so the seam
    // differs from step 0 in the last bits.
    const D3DVERTEX& seam = torusVertices[(31 * kSegments + 0) * 6 + 1];  // V(32, 0)
    EXPECT_TRUE(SameBits(seam, MakeTorusVertex(32, 0)));
    EXPECT_FALSE(SameBits(seam, MakeTorusVertex(0, 0)));
}

TEST_F(TorusMesh, EveryTriangleWindsAgainstItsNormals) {
    // Clockwise seen from outside: (second - first) x (third - first) points
    // to the same side as the normals in the left-handed frame.
    for (int t = 0; t < kVertexCount / 3; ++t) {
        const D3DVERTEX* v = torusVertices + t * 3;
        const Vec3 face = Cross(Position(v[1]) - Position(v[0]), Position(v[2]) - Position(v[0]));
        for (int n = 0; n < 3; ++n) {
            EXPECT_GT(Dot(face, Normal(v[n])), 0.0) << "triangle " << t << " vertex " << n;
        }
    }
}

TEST_F(TorusMesh, SecondBuildKeepsTheMeshAlreadyBuilt) {
    const D3DVERTEX* first = torusVertices;
    EXPECT_TRUE(BuildTorusMesh());
    EXPECT_EQ(torusVertices, first);
}

TEST(TorusMeshAllocation, FailureIsReportedAndLeavesTheMeshEmpty) {
    // The stand-in fails the program's next nothrow array allocation.
    qv::control::InjectFault("operator new[]");
    const bool built = BuildTorusMesh();
    qv::control::Reset();
    EXPECT_FALSE(built);
    EXPECT_EQ(torusVertices, nullptr);
}

}  // namespace
