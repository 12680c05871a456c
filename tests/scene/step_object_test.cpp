#include "scene/scene.h"

#include "render/render_objects.h"
#include "scene/motion.h"
#include "scene/random.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using testing::_;
using testing::DoAll;
using testing::Return;
using testing::SaveArgPointee;
using testing::StrictMock;

class MockDevice : public IDirect3DDevice2 {
public:
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(ULONG, AddRef, (), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(ULONG, Release, (), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, AddViewport, (LPDIRECT3DVIEWPORT2), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, BeginScene, (), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, EndScene, (), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, SetCurrentViewport, (LPDIRECT3DVIEWPORT2), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, SetRenderState, (D3DRENDERSTATETYPE, DWORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, SetLightState, (D3DLIGHTSTATETYPE, DWORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, SetTransform, (D3DTRANSFORMSTATETYPE, LPD3DMATRIX), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, DrawPrimitive, (D3DPRIMITIVETYPE, D3DVERTEXTYPE, LPVOID, DWORD, DWORD),
                (override, Calltype(STDMETHODCALLTYPE)));
    // The methods the scene does not call.
    MOCK_METHOD(HRESULT, GetCaps, (LPD3DDEVICEDESC, LPD3DDEVICEDESC), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, SwapTextureHandles, (LPDIRECT3DTEXTURE2, LPDIRECT3DTEXTURE2),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetStats, (LPD3DSTATS), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, DeleteViewport, (LPDIRECT3DVIEWPORT2), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, NextViewport, (LPDIRECT3DVIEWPORT2, LPDIRECT3DVIEWPORT2*, DWORD),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, EnumTextureFormats, (LPD3DENUMTEXTUREFORMATSCALLBACK, LPVOID),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetDirect3D, (LPDIRECT3D2*), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetCurrentViewport, (LPDIRECT3DVIEWPORT2*), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, SetRenderTarget, (LPDIRECTDRAWSURFACE, DWORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetRenderTarget, (LPDIRECTDRAWSURFACE*), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, Begin, (D3DPRIMITIVETYPE, D3DVERTEXTYPE, DWORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, BeginIndexed, (D3DPRIMITIVETYPE, D3DVERTEXTYPE, LPVOID, DWORD, DWORD),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, Vertex, (LPVOID), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, Index, (WORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, End, (DWORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetRenderState, (D3DRENDERSTATETYPE, LPDWORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetLightState, (D3DLIGHTSTATETYPE, LPDWORD), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetTransform, (D3DTRANSFORMSTATETYPE, LPD3DMATRIX), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, MultiplyTransform, (D3DTRANSFORMSTATETYPE, LPD3DMATRIX),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, DrawIndexedPrimitive, (D3DPRIMITIVETYPE, D3DVERTEXTYPE, LPVOID, DWORD, LPWORD, DWORD, DWORD),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, SetClipStatus, (LPD3DCLIPSTATUS), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, GetClipStatus, (LPD3DCLIPSTATUS), (override, Calltype(STDMETHODCALLTYPE)));
};

bool SameBits(const D3DMATRIX& a, const D3DMATRIX& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Puts a strict mock in the global device for the test and empties it after.
class StepObjectTest : public testing::Test {
protected:
    void SetUp() override {
        device = &mockDevice;
        SeedRandom(4242);
        InitScene();
    }
    void TearDown() override { device = nullptr; }

    StrictMock<MockDevice> mockDevice;
};

TEST_F(StepObjectTest, SetsTheWorldTransformFromTheStateBeforeTheMove) {
    for (int k = 0; k < kObjectCount; ++k) {
        const SceneObject before = objectTable[k];
        SceneObject after = before;
        SeedRandom(k);  // the same draws for the copy and the object
        MoveObject(after);

        D3DMATRIX world;
        EXPECT_CALL(mockDevice, SetTransform(D3DTRANSFORMSTATE_WORLD, _))
            .WillOnce(DoAll(SaveArgPointee<1>(&world), Return(D3D_OK)));
        SeedRandom(k);
        StepObject(k);
        testing::Mock::VerifyAndClearExpectations(&mockDevice);

        EXPECT_TRUE(SameBits(world, MakeWorldMatrix(before))) << "torus " << k;
        EXPECT_EQ(std::memcmp(&objectTable[k], &after, sizeof after), 0) << "torus " << k;
    }
}

TEST_F(StepObjectTest, MovesOnEvenWhenTheDeviceRefuses) {
    EXPECT_CALL(mockDevice, SetTransform(D3DTRANSFORMSTATE_WORLD, _)).WillOnce(Return(D3DERR_INVALID_DEVICE));
    const float x = objectTable[2].x;
    StepObject(2);
    EXPECT_NE(objectTable[2].x, x);
}

TEST_F(StepObjectTest, FourToriDrawInObjectOrderThenAxisOrder) {
    // Every torus bounces on every axis, so one frame takes twelve draws.
    for (SceneObject& object : objectTable) object = SceneObject{1.0f, 3.95f, 2.95f, 3.95f, 0.08f, 0.08f, 0.08f};
    SeedRandom(31337);
    int draws[kObjectCount * 3];
    for (int& r : draws) r = NextRandom();

    EXPECT_CALL(mockDevice, SetTransform(D3DTRANSFORMSTATE_WORLD, _)).Times(kObjectCount).WillRepeatedly(Return(D3D_OK));
    SeedRandom(31337);
    for (int k = 0; k < kObjectCount; ++k) StepObject(k);

    for (int k = 0; k < kObjectCount; ++k) {
        const float velocities[3] = {objectTable[k].vx, objectTable[k].vy, objectTable[k].vz};
        for (int axis = 0; axis < 3; ++axis) {
            const float factor = static_cast<float>(draws[k * 3 + axis]) * kBounceScale + 0.8f;
            EXPECT_EQ(velocities[axis], -(0.08f * factor)) << "torus " << k << " axis " << axis;
        }
    }
}

}  // namespace
