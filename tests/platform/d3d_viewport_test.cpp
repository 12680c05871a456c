// Viewports, materials and lights: their records, clearing, handles and
// membership, with their refusals.

#include "ddraw_fixture.h"

#include <gmock/gmock.h>

#include <limits>

namespace qv::ddraw::testing {
namespace {

class ViewportContract : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    }
    HRESULT SetViewport(D3DVIEWPORT2 data) { return objects.viewport->SetViewport2(&data); }
    // Draws white over the whole viewport.
    void DrawWhite() {
        ApplyMaterial(AmbientMaterial(1, 1, 1));
        ASSERT_EQ(objects.device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE), D3D_OK);
        std::vector<D3DVERTEX> cover(3);
        const float corners[3][2] = {{-100, -100}, {0, 100}, {100, -100}};
        for (int i = 0; i < 3; ++i) cover[i].x = corners[i][0], cover[i].y = corners[i][1];
        ASSERT_EQ(objects.device->BeginScene(), D3D_OK);
        ASSERT_EQ(objects.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, cover.data(), 3, 0), D3D_OK);
        ASSERT_EQ(objects.device->EndScene(), D3D_OK);
    }
    void ClearAndFlip(DWORD count, D3DRECT* rects) {
        ASSERT_EQ(objects.viewport->Clear(count, rects, D3DCLEAR_TARGET), D3D_OK);
        ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    }
};

TEST_F(ViewportContract, SetViewport2ChecksTheRecordAgainstTheSurface) {
    D3DVIEWPORT2 data = FullViewport(800, 600);
    EXPECT_EQ(objects.viewport->SetViewport2(nullptr), DDERR_INVALIDPARAMS);
    data.dwSize = 40;
    EXPECT_EQ(SetViewport(data), DDERR_INVALIDPARAMS);
    data = FullViewport(801, 600);
    EXPECT_EQ(SetViewport(data), DDERR_INVALIDPARAMS);
    data = FullViewport(800, 600);
    data.dwY = 1;
    EXPECT_EQ(SetViewport(data), DDERR_INVALIDPARAMS);
    data = FullViewport(800, 600);
    data.dwX = 0xFFFFFFF0;  // would wrap around in 32 bits
    EXPECT_EQ(SetViewport(data), DDERR_INVALIDPARAMS);
    EXPECT_EQ(SetViewport(FullViewport(0, 600)), DDERR_INVALIDPARAMS);
    data = FullViewport(800, 600);
    data.dvClipWidth = 0;
    EXPECT_EQ(SetViewport(data), DDERR_INVALIDPARAMS);
    data = FullViewport(800, 600);
    data.dvMaxZ = std::numeric_limits<float>::infinity();
    EXPECT_EQ(SetViewport(data), DDERR_INVALIDPARAMS);
    data = FullViewport(800, 600);
    data.dvClipX = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(SetViewport(data), DDERR_INVALIDPARAMS);
    EXPECT_EQ(SetViewport(FullViewport(400, 300)), D3D_OK);

    IDirect3DViewport2* loose = nullptr;
    ASSERT_EQ(objects.direct3D->CreateViewport(&loose, nullptr), D3D_OK);
    data = FullViewport(800, 600);
    EXPECT_EQ(loose->SetViewport2(&data), D3DERR_VIEWPORTHASNODEVICE);
    D3DRECT all = {{0}, {0}, {800}, {600}};
    EXPECT_EQ(loose->Clear(1, &all, D3DCLEAR_TARGET), D3DERR_VIEWPORTHASNODEVICE);
    EXPECT_EQ(loose->Release(), 0u);
}

TEST_F(ViewportContract, ClearNeedsDataAndValidArguments) {
    D3DRECT all = {{0}, {0}, {800}, {600}};
    EXPECT_EQ(objects.viewport->Clear(1, nullptr, D3DCLEAR_TARGET), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.viewport->Clear(1, &all, 4), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.viewport->Clear(0, nullptr, D3DCLEAR_TARGET), D3D_OK);
    IDirect3DViewport2* second = nullptr;
    ASSERT_EQ(objects.direct3D->CreateViewport(&second, nullptr), D3D_OK);
    ASSERT_EQ(objects.device->AddViewport(second), D3D_OK);
    EXPECT_EQ(second->Clear(1, &all, D3DCLEAR_TARGET), D3DERR_VIEWPORTDATANOTSET);
    EXPECT_EQ(second->Release(), 0u);
}

TEST_F(ViewportContract, ClearBlackensOnlyTheRectanglesWithinTheViewport) {
    D3DRECT rects[2] = {{{10}, {10}, {20}, {20}}, {{790}, {590}, {5000}, {5000}}};
    DrawWhite();
    ClearAndFlip(2, rects);
    EXPECT_EQ(PresentedPixel(15, 15), 0u);
    EXPECT_EQ(PresentedPixel(795, 595), 0u);
    EXPECT_EQ(PresentedPixel(25, 15), 0xFFFFFFu);
    EXPECT_EQ(PresentedPixel(400, 300), 0xFFFFFFu);

    DrawWhite();
    ASSERT_EQ(SetViewport(FullViewport(100, 100)), D3D_OK);
    D3DRECT all = {{0}, {0}, {800}, {600}};
    ClearAndFlip(1, &all);
    EXPECT_EQ(PresentedPixel(50, 50), 0u);
    EXPECT_EQ(PresentedPixel(150, 50), 0xFFFFFFu) << "outside the viewport";
}

TEST_F(ViewportContract, ClearBlackensWhatALockWrote) {
    D3DRECT all = {{0}, {0}, {800}, {600}};
    ClearAndFlip(1, &all);
    ClearAndFlip(1, &all);  // both buffers of the chain are black
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(objects.primarySurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    static_cast<uint32_t*>(desc.lpSurface)[5 * 800 + 700] = 0xFFFFFF;
    ASSERT_EQ(objects.primarySurface->Unlock(desc.lpSurface), DD_OK);
    ClearAndFlip(1, &all);
    EXPECT_EQ(PresentedPixel(700, 5), 0u);
}

// With drawing threads a clear may wait for the next draw; whatever uses the
// memory first finds it done all the same.
class HeldClear : public PlatformTest {
protected:
    // The pixel (700, 5) of a surface's memory, written with value.
    uint32_t Pixel(IDirectDrawSurface* surface, const uint32_t* value = nullptr) {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        uint32_t& pixel = static_cast<uint32_t*>(desc.lpSurface)[5 * 800 + 700];
        if (value) pixel = *value;
        const uint32_t seen = pixel;
        EXPECT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
        return seen;
    }
};

TEST_F(HeldClear, IsDoneBeforeTheMemoryIsUsed) {
    enum Use { LockTarget, Flip, LockDepth, DetachDepth };
    for (Use use : {LockTarget, Flip, LockDepth, DetachDepth}) {
        TearDown();
        SetUp();
        control::SetDrawThreads(2);
        ASSERT_EQ(BringUp(), DD_OK) << failedStep;
        const bool depth = use == LockDepth || use == DetachDepth;
        IDirectDrawSurface* surface = depth ? objects.zBuffer : objects.primarySurface;
        const uint32_t drawn = 0x123456;
        Pixel(surface, &drawn);
        D3DRECT all = {{0}, {0}, {800}, {600}};
        ASSERT_EQ(objects.viewport->Clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
        uint32_t seen = 0;
        if (use == Flip) {
            ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
            seen = PresentedPixel(700, 5);
        } else {
            if (use == DetachDepth) {
                ASSERT_EQ(objects.primarySurface->DeleteAttachedSurface(0, surface), DD_OK);
            }
            seen = Pixel(surface);
        }
        EXPECT_EQ(seen, depth ? 0xFFFFFFFFu : 0u) << "use " << use;
    }
}

TEST_F(ViewportContract, ALightShinesInOneViewport) {
    IDirect3DViewport2* second = nullptr;
    ASSERT_EQ(objects.direct3D->CreateViewport(&second, nullptr), D3D_OK);
    EXPECT_EQ(second->AddLight(objects.light), D3DERR_LIGHTHASVIEWPORT);
    EXPECT_EQ(objects.viewport->AddLight(objects.light), D3DERR_LIGHTHASVIEWPORT);
    EXPECT_EQ(second->AddLight(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(second->AddLight(reinterpret_cast<IDirect3DLight*>(objects.material)), DDERR_INVALIDOBJECT);
    IDirect3DLight* light = nullptr;
    ASSERT_EQ(objects.direct3D->CreateLight(&light, nullptr), D3D_OK);
    EXPECT_EQ(second->AddLight(light), D3D_OK);
    EXPECT_EQ(light->Release(), 0u) << "the viewport holds it";
    EXPECT_EQ(second->Release(), 0u);
}

TEST_F(ViewportContract, SetLightTakesTheFirstVersionOfTheRecord) {
    D3DLIGHT data = WhiteLight();
    EXPECT_EQ(objects.light->SetLight(nullptr), DDERR_INVALIDPARAMS);
    data.dwSize = 80;
    EXPECT_EQ(objects.light->SetLight(&data), DDERR_INVALIDPARAMS);
    data = WhiteLight();
    data.dltType = D3DLIGHTTYPE(0);
    EXPECT_EQ(objects.light->SetLight(&data), DDERR_INVALIDPARAMS);
    data.dltType = D3DLIGHTTYPE(5);
    EXPECT_EQ(objects.light->SetLight(&data), DDERR_INVALIDPARAMS);
    data.dltType = D3DLIGHT_DIRECTIONAL;
    EXPECT_EQ(objects.light->SetLight(&data), D3D_OK);
}

TEST_F(ViewportContract, MaterialsCheckTheirRecordAndGiveOneHandlePerDevice) {
    D3DMATERIAL data = AmbientMaterial(1, 0, 0);
    EXPECT_EQ(objects.material->SetMaterial(nullptr), DDERR_INVALIDPARAMS);
    data.dwSize = 68;
    EXPECT_EQ(objects.material->SetMaterial(&data), DDERR_INVALIDPARAMS);

    D3DMATERIALHANDLE first = 0, again = 0, other = 0;
    ASSERT_EQ(objects.material->GetHandle(objects.device, &first), D3D_OK);
    EXPECT_NE(first, 0u);
    ASSERT_EQ(objects.material->GetHandle(objects.device, &again), D3D_OK);
    EXPECT_EQ(again, first);
    IDirect3DMaterial2* second = nullptr;
    ASSERT_EQ(objects.direct3D->CreateMaterial(&second, nullptr), D3D_OK);
    ASSERT_EQ(second->GetHandle(objects.device, &other), D3D_OK);
    EXPECT_NE(other, first);
    EXPECT_EQ(objects.device->SetLightState(D3DLIGHTSTATE_MATERIAL, other), D3D_OK);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(objects.device->SetLightState(D3DLIGHTSTATE_MATERIAL, other), DDERR_INVALIDPARAMS)
        << "the handle died with its material";

    D3DMATERIALHANDLE none = 7;
    EXPECT_EQ(objects.material->GetHandle(nullptr, &none), DDERR_INVALIDPARAMS);
    EXPECT_EQ(none, 0u);
    EXPECT_EQ(objects.material->GetHandle(reinterpret_cast<IDirect3DDevice2*>(objects.viewport), &none),
              DDERR_INVALIDOBJECT);
    EXPECT_EQ(objects.material->GetHandle(objects.device, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(ViewportContract, TheFactoryRefusesWhatItCannotMake) {
    IDirect3DLight* light = reinterpret_cast<IDirect3DLight*>(this);
    EXPECT_EQ(objects.direct3D->CreateLight(&light, reinterpret_cast<IUnknown*>(this)), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(light, nullptr);
    EXPECT_EQ(objects.direct3D->CreateLight(nullptr, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.direct3D->CreateMaterial(nullptr, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.direct3D->CreateViewport(nullptr, nullptr), DDERR_INVALIDPARAMS);
}

}  // namespace
}  // namespace qv::ddraw::testing
