// A surface's memory and attachments as callers reach them: Lock/Unlock,
// the back buffer and depth surface of a chain, and surfaces lost when the
// display is given back.

#include "ddraw_fixture.h"

namespace qv::ddraw::testing {
namespace {

class SurfaceMemory : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    }
    static DDSURFACEDESC Empty() {
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof desc;
        return desc;
    }
    IDirectDrawSurface* Attached(DWORD caps, HRESULT expected = DD_OK) {
        DDSCAPS wanted = {caps};
        IDirectDrawSurface* found = reinterpret_cast<IDirectDrawSurface*>(1);
        EXPECT_EQ(objects.primarySurface->GetAttachedSurface(&wanted, &found), expected);
        return found;
    }
};

TEST_F(SurfaceMemory, LockGivesTheMemoryOnceUntilUnlock) {
    IDirectDrawSurface* primary = objects.primarySurface;
    DDSURFACEDESC desc = Empty();
    ASSERT_EQ(primary->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(desc.lPitch, 3200);
    EXPECT_TRUE(desc.dwFlags & DDSD_LPSURFACE);
    auto* pixels = static_cast<uint32_t*>(desc.lpSurface);
    DDSURFACEDESC again = Empty();
    EXPECT_EQ(primary->Lock(nullptr, &again, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
    D3DRECT all = {{0}, {0}, {800}, {600}};
    EXPECT_EQ(objects.viewport->Clear(1, &all, D3DCLEAR_TARGET), DDERR_SURFACEBUSY);
    pixels[600 * 800 - 1] = 0x123456;
    EXPECT_EQ(primary->Unlock(nullptr), DD_OK);
    EXPECT_EQ(primary->Unlock(nullptr), DDERR_NOTLOCKED);

    RECT corner = {799, 599, 800, 600};
    ASSERT_EQ(primary->Lock(&corner, &desc, 0, nullptr), DD_OK);
    EXPECT_EQ(*static_cast<uint32_t*>(desc.lpSurface), 0x123456u);
    EXPECT_EQ(primary->Unlock(desc.lpSurface), DD_OK);
    RECT outside = {0, 0, 801, 600};
    EXPECT_EQ(primary->Lock(&outside, &desc, 0, nullptr), DDERR_INVALIDRECT);
    desc.dwSize = 12;
    EXPECT_EQ(primary->Lock(nullptr, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(SurfaceMemory, TheBackBufferIsOneObjectShowingTheFramePresented) {
    IDirectDrawSurface* back = Attached(DDSCAPS_BACKBUFFER);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(Attached(DDSCAPS_FLIP), back) << "the same object each time";
    EXPECT_EQ(back->Release(), 2u) << "the chain's reference and the first caller's";

    DDSURFACEDESC desc = Empty();
    ASSERT_EQ(objects.primarySurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    static_cast<uint32_t*>(desc.lpSurface)[0] = 0xABCDEF;
    ASSERT_EQ(objects.primarySurface->Unlock(nullptr), DD_OK);
    ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    ASSERT_EQ(back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(static_cast<uint32_t*>(desc.lpSurface)[0], 0xABCDEFu);
    EXPECT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY) << "its back buffer is locked";
    EXPECT_EQ(back->Unlock(nullptr), DD_OK);
    DDSCAPS caps{};
    ASSERT_EQ(back->GetCaps(&caps), DD_OK);
    EXPECT_TRUE(caps.dwCaps & DDSCAPS_BACKBUFFER);
    EXPECT_EQ(back->Release(), 1u);
}

TEST_F(SurfaceMemory, TheDepthSurfaceIsFoundEnumeratedAndDetached) {
    EXPECT_EQ(Attached(DDSCAPS_ZBUFFER), objects.zBuffer);
    EXPECT_EQ(objects.zBuffer->Release(), 1u);

    std::vector<IDirectDrawSurface*> found;
    auto collect = [](LPDIRECTDRAWSURFACE surface, LPDDSURFACEDESC, LPVOID context) -> HRESULT {
        static_cast<std::vector<IDirectDrawSurface*>*>(context)->push_back(surface);
        return DDENUMRET_OK;
    };
    ASSERT_EQ(objects.primarySurface->EnumAttachedSurfaces(&found, collect), DD_OK);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1], objects.zBuffer);
    for (IDirectDrawSurface* surface : found) surface->Release();

    EXPECT_EQ(objects.primarySurface->DeleteAttachedSurface(0, found[0]), DDERR_CANNOTDETACHSURFACE);
    EXPECT_EQ(objects.primarySurface->DeleteAttachedSurface(0, objects.zBuffer), DD_OK);
    EXPECT_EQ(Attached(DDSCAPS_ZBUFFER, DDERR_NOTFOUND), nullptr);
    EXPECT_EQ(objects.primarySurface->DeleteAttachedSurface(0, objects.zBuffer), DDERR_SURFACENOTATTACHED);
    EXPECT_EQ(objects.primarySurface->AddAttachedSurface(objects.zBuffer), DD_OK) << "it can be attached again";
}

TEST_F(SurfaceMemory, SurfacesAreLostWhenTheDisplayIsGivenBackAndRestoredWithIt) {
    IDirectDrawSurface* primary = objects.primarySurface;
    EXPECT_EQ(primary->IsLost(), DD_OK);
    ASSERT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
    DDSURFACEDESC desc = Empty();
    EXPECT_EQ(primary->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Restore(), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(objects.zBuffer->Restore(), DD_OK);
    ASSERT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(objects.directDraw->SetDisplayMode(640, 480, 32), DD_OK);
    EXPECT_EQ(primary->Restore(), DDERR_WRONGMODE);
    ASSERT_EQ(objects.directDraw->SetDisplayMode(800, 600, 32), DD_OK);
    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(primary->IsLost(), DD_OK);
}

TEST_F(SurfaceMemory, FormatAndStatusQueries) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    ASSERT_EQ(objects.zBuffer->GetPixelFormat(&format), DD_OK);
    EXPECT_EQ(format.dwFlags, DWORD(DDPF_ZBUFFER));
    EXPECT_EQ(format.dwZBufferBitDepth, 32u);
    format.dwSize = 0;
    EXPECT_EQ(objects.primarySurface->GetPixelFormat(&format), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.primarySurface->GetFlipStatus(DDGFS_ISFLIPDONE), DD_OK);
    EXPECT_EQ(objects.primarySurface->GetBltStatus(DDGBS_CANBLT), DD_OK);
    EXPECT_EQ(objects.primarySurface->GetFlipStatus(0), DDERR_INVALIDPARAMS);
}

}  // namespace
}  // namespace qv::ddraw::testing
