// The Direct3D device: creation, render and light states, transforms,
// scenes, viewports and drawing, with their refusals.

#include "ddraw_fixture.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <thread>

namespace qv::ddraw::testing {
namespace {

class DeviceContract : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(BringUp(), DD_OK) << failedStep;
        device = objects.device;
    }
    HRESULT DrawTriangle(float x, float y) {
        std::vector<D3DVERTEX> triangle = Triangle(x, y);
        return device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, 0);
    }
    // Clears, draws one scene with draw(), and flips it to the display.
    template <class Draw>
    void Frame(Draw&& draw) {
        D3DRECT all = {{0}, {0}, {800}, {600}};
        ASSERT_EQ(objects.viewport->Clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        ASSERT_EQ(device->BeginScene(), D3D_OK);
        draw();
        ASSERT_EQ(device->EndScene(), D3D_OK);
        ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    }

    IDirect3DDevice2* device = nullptr;
};

TEST_F(DeviceContract, CreateDeviceNeedsTheHalDeviceOnASurfaceMadeFor3D) {
    IDirect3DDevice2* made = reinterpret_cast<IDirect3DDevice2*>(this);
    EXPECT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DDevice2, objects.primarySurface, &made),
              D3DERR_INVALID_DEVICE);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DHALDevice, objects.zBuffer, &made), DDERR_INVALIDCAPS);
    EXPECT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DHALDevice, nullptr, &made), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DHALDevice, reinterpret_cast<IDirectDrawSurface*>(this),
                                             &made),
              DDERR_INVALIDOBJECT);
    EXPECT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DHALDevice, objects.primarySurface, nullptr),
              DDERR_INVALIDPARAMS);
    ASSERT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DHALDevice, objects.primarySurface, &made), D3D_OK);
    EXPECT_EQ(made->Release(), 0u);
}

TEST_F(DeviceContract, RenderStatesTakeKnownStatesAndValidValues) {
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, TRUE), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_STIPPLEPATTERN31, 7), D3D_OK);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATETYPE(0), 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATETYPE(42), 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATETYPE(96), 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_ZFUNC, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_ZFUNC, 9), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_ZENABLE, 2), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, 4), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_SHADEMODE, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_FILLMODE, D3DFILL_WIREFRAME), DDERR_UNSUPPORTED);
}

TEST_F(DeviceContract, CounterClockwiseTrianglesAreCulledByDefault) {
    ApplyMaterial(AmbientMaterial(1, 1, 1));
    std::vector<D3DVERTEX> backward = Triangle(0, 0);
    std::swap(backward[0], backward[2]);
    Frame([&] { ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, backward.data(), 3, 0), D3D_OK); });
    EXPECT_EQ(PresentedPixel(400, 300), 0u);
    ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), D3D_OK);
    Frame([&] { ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, backward.data(), 3, 0), D3D_OK); });
    EXPECT_EQ(PresentedPixel(400, 300), 0xFFFFFFu);
}

TEST_F(DeviceContract, LightStates) {
    EXPECT_EQ(device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0x00808080), D3D_OK);
    EXPECT_EQ(device->SetLightState(D3DLIGHTSTATE_MATERIAL, 0), D3D_OK) << "no material";
    EXPECT_EQ(device->SetLightState(D3DLIGHTSTATE_MATERIAL, 1), DDERR_INVALIDPARAMS) << "no handle given yet";
    EXPECT_EQ(device->SetLightState(D3DLIGHTSTATE_COLORMODEL, 2), D3D_OK);
    EXPECT_EQ(device->SetLightState(D3DLIGHTSTATE_COLORMODEL, 7), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetLightState(D3DLIGHTSTATETYPE(0), 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetLightState(D3DLIGHTSTATETYPE(8), 0), DDERR_INVALIDPARAMS);
}

TEST_F(DeviceContract, TransformsNeedAKnownStateAndAMatrix) {
    D3DMATRIX matrix = Identity();
    EXPECT_EQ(device->SetTransform(D3DTRANSFORMSTATE_WORLD, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetTransform(D3DTRANSFORMSTATETYPE(0), &matrix), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetTransform(D3DTRANSFORMSTATETYPE(4), &matrix), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->SetTransform(D3DTRANSFORMSTATE_VIEW, &matrix), D3D_OK);
}

TEST_F(DeviceContract, TheWorldTransformMovesWhatIsDrawn) {
    ApplyMaterial(AmbientMaterial(1, 1, 1));
    D3DMATRIX world = Identity();
    world._41 = 3.0f;
    ASSERT_EQ(device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world), D3D_OK);
    Frame([&] { ASSERT_EQ(DrawTriangle(0, 0), D3D_OK); });
    EXPECT_EQ(PresentedPixel(400, 300), 0u);
    EXPECT_EQ(PresentedPixel(640, 300), 0xFFFFFFu);
}

TEST_F(DeviceContract, ScenesDoNotNestAndAFailedEndStillEndsOne) {
    EXPECT_EQ(device->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_TRUE(control::InjectFault("IDirect3DDevice2::EndScene"));
    EXPECT_EQ(device->EndScene(), D3DERR_SCENE_END_FAILED);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3D_OK);
}

TEST_F(DeviceContract, ViewportsAreAddedOnceBeforeTheyBecomeCurrent) {
    IDirect3DViewport2* second = nullptr;
    ASSERT_EQ(objects.direct3D->CreateViewport(&second, nullptr), D3D_OK);
    EXPECT_EQ(device->SetCurrentViewport(second), DDERR_INVALIDPARAMS) << "not added yet";
    EXPECT_EQ(device->AddViewport(objects.viewport), DDERR_INVALIDPARAMS) << "added already";
    EXPECT_EQ(device->AddViewport(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->AddViewport(reinterpret_cast<IDirect3DViewport2*>(objects.material)), DDERR_INVALIDOBJECT);
    EXPECT_EQ(device->SetCurrentViewport(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->AddViewport(second), D3D_OK);
    EXPECT_EQ(device->SetCurrentViewport(second), D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(DrawTriangle(0, 0), D3DERR_VIEWPORTDATANOTSET);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(second->Release(), 0u) << "the device holds it";
    EXPECT_EQ(device->SetCurrentViewport(objects.viewport), D3D_OK);
}

TEST_F(DeviceContract, DrawPrimitiveValidatesItsInput) {
    std::vector<D3DVERTEX> triangle = Triangle(0, 0);
    void* vertices = triangle.data();
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, vertices, 3, 0), D3DERR_SCENE_NOT_IN_SCENE);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPRIMITIVETYPE(0), D3DVT_VERTEX, vertices, 3, 0), D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(device->DrawPrimitive(D3DPRIMITIVETYPE(7), D3DVT_VERTEX, vertices, 3, 0), D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DVT_VERTEX, vertices, 3, 0), DDERR_UNSUPPORTED);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVERTEXTYPE(9), vertices, 3, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_TLVERTEX, vertices, 3, 0), DDERR_UNSUPPORTED);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, nullptr, 3, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, vertices, 3, 0x100), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, vertices, 0x10000, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, vertices, 0, 0), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, vertices, 2, D3DDP_WAIT), D3D_OK)
        << "a partial triangle is not drawn";
    ASSERT_EQ(device->EndScene(), D3D_OK);
}

TEST_F(DeviceContract, DrawingNeedsACurrentViewport) {
    IDirect3DDevice2* bare = nullptr;
    ASSERT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DHALDevice, objects.primarySurface, &bare), D3D_OK);
    std::vector<D3DVERTEX> triangle = Triangle(0, 0);
    ASSERT_EQ(bare->BeginScene(), D3D_OK);
    EXPECT_EQ(bare->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, 0), D3DERR_NOCURRENTVIEWPORT);
    ASSERT_EQ(bare->EndScene(), D3D_OK);
    EXPECT_EQ(bare->Release(), 0u);
}

TEST_F(DeviceContract, ArbitraryNumbersDrawWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), huge = 3e38f;
    std::vector<D3DVERTEX> wild = Triangle(0, 0);
    wild[0].x = nan;
    wild[1].y = huge;
    wild[2].z = -huge;
    D3DMATRIX world = Identity();
    world._11 = huge;
    ASSERT_EQ(device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world), D3D_OK);
    Frame([&] { EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, wild.data(), 3, 0), D3D_OK); });
}

TEST_F(DeviceContract, APrimitiveIsLitWithTheMaterialAsItStoodWhenDrawn) {
    Frame([&] {
        ApplyMaterial(AmbientMaterial(1, 0, 0));
        ASSERT_EQ(DrawTriangle(-3, 0), D3D_OK);
        ApplyMaterial(AmbientMaterial(0, 1, 0));  // the same material object, recoloured
        ASSERT_EQ(DrawTriangle(3, 0), D3D_OK);
        D3DMATERIAL blue = AmbientMaterial(0, 0, 1);
        ASSERT_EQ(objects.material->SetMaterial(&blue), D3D_OK);  // after the last draw
    });
    EXPECT_EQ(PresentedPixel(160, 300), 0xFF0000u);
    EXPECT_EQ(PresentedPixel(640, 300), 0x00FF00u);
}

TEST_F(DeviceContract, TheDepthTestKeepsTheNearerTriangle) {
    Frame([&] {
        D3DMATRIX world = Identity();
        world._43 = -2.0f;  // nearer
        ApplyMaterial(AmbientMaterial(1, 0, 0));
        ASSERT_EQ(device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world), D3D_OK);
        ASSERT_EQ(DrawTriangle(0, 0), D3D_OK);
        world._43 = 2.0f;  // farther, drawn later
        ApplyMaterial(AmbientMaterial(0, 1, 0));
        ASSERT_EQ(device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world), D3D_OK);
        ASSERT_EQ(DrawTriangle(0, 0), D3D_OK);
    });
    EXPECT_EQ(PresentedPixel(400, 300), 0xFF0000u);
}

std::size_t ThreadCount() {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return std::size_t(std::distance(std::filesystem::begin(tasks), std::filesystem::end(tasks)));
}

// Within a second: a joined thread may take a moment to leave the list.
bool ThreadCountReaches(std::size_t want) {
    for (int attempt = 0; attempt < 100 && ThreadCount() != want; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return ThreadCount() == want;
}

TEST_F(PlatformTest, DrawingThreadsStartWithTheDeviceAndEndWithIt) {
    control::SetDrawThreads(3);
    const std::size_t before = ThreadCount();
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    EXPECT_TRUE(ThreadCountReaches(before + 2));
    ReleaseAll();
    EXPECT_TRUE(ThreadCountReaches(before));
}

}  // namespace
}  // namespace qv::ddraw::testing
