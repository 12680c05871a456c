// DirectDraw: creation, cooperative level, display modes, surfaces,
// attachment and flipping, with their refusals.

#include "ddraw_fixture.h"

#include <gmock/gmock.h>

namespace qv::ddraw::testing {
namespace {

// A display that cannot be taken, or cannot show any mode.
class RefusingDisplay : public display::HeadlessBackend {
public:
    explicit RefusingDisplay(bool opens) : opens_(opens) {}
    bool Open(HWND, std::string& error) override {
        error = "no display here";
        return opens_;
    }
    bool SetMode(uint32_t, uint32_t, uint32_t, std::string& error) override {
        error = "mode rejected by the monitor";
        return false;
    }

private:
    bool opens_;
};

class DirectDrawContract : public PlatformTest {
protected:
    // DirectDraw in exclusive mode at 800 x 600 x 32.
    void TakeDisplay() {
        ASSERT_EQ(DirectDrawCreate(nullptr, &objects.directDraw, nullptr), DD_OK);
        ASSERT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
        ASSERT_EQ(objects.directDraw->SetDisplayMode(800, 600, 32), DD_OK);
    }
    HRESULT Create(DDSURFACEDESC desc, IDirectDrawSurface** surface) {
        return objects.directDraw->CreateSurface(&desc, surface, nullptr);
    }
    // A description that should be refused, and with what.
    void ExpectRefused(DDSURFACEDESC desc, HRESULT expected) {
        IDirectDrawSurface* surface = reinterpret_cast<IDirectDrawSurface*>(this);
        EXPECT_EQ(Create(desc, &surface), expected);
        EXPECT_EQ(surface, nullptr);
    }
};

TEST_F(DirectDrawContract, DirectDrawCreateTakesTheDefaultDriverOnly) {
    IDirectDraw* directDraw = nullptr;
    GUID driver = IID_IDirectDraw;
    EXPECT_EQ(DirectDrawCreate(&driver, &directDraw, nullptr), DDERR_INVALIDDIRECTDRAWGUID);
    EXPECT_EQ(DirectDrawCreate(reinterpret_cast<GUID*>(1), &directDraw, nullptr), DDERR_INVALIDDIRECTDRAWGUID)
        << "special driver values are not read";
    EXPECT_EQ(DirectDrawCreate(nullptr, &directDraw, reinterpret_cast<IUnknown*>(this)), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(DirectDrawCreate(nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    ASSERT_EQ(DirectDrawCreate(nullptr, &objects.directDraw, nullptr), DD_OK);
    EXPECT_NE(objects.directDraw, nullptr);
}

TEST_F(DirectDrawContract, ExclusiveModeNeedsARealWindowAndFlagsThatGoTogether) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &objects.directDraw, nullptr), DD_OK);
    IDirectDraw* dd = objects.directDraw;
    EXPECT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(reinterpret_cast<HWND>(this), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL | DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(window, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dd->SetCooperativeLevel(window, 0x80000000 | DDSCL_NORMAL), DDERR_INVALIDPARAMS);
    EXPECT_EQ(headless->OpenWindow(), nullptr);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(headless->OpenWindow(), window);
    EXPECT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK) << "again, same window";
    EXPECT_EQ(dd->SetCooperativeLevel(MakeWindow(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_HWNDALREADYSET);
}

TEST_F(DirectDrawContract, OnlyOneDirectDrawOwnsTheDisplay) {
    TakeDisplay();
    IDirectDraw* other = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &other, nullptr), DD_OK);
    EXPECT_EQ(other->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_EXCLUSIVEMODEALREADYSET);
    EXPECT_EQ(other->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    ASSERT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK) << "gives the display back";
    EXPECT_EQ(headless->OpenWindow(), nullptr);
    EXPECT_EQ(other->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(other->Release(), 0u);
    EXPECT_EQ(headless->OpenWindow(), nullptr);
}

TEST_F(DirectDrawContract, DisplayModesAreTheOfferedOnesInExclusiveMode) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &objects.directDraw, nullptr), DD_OK);
    IDirectDraw* dd = objects.directDraw;
    EXPECT_EQ(dd->SetDisplayMode(800, 600, 32), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(dd->SetDisplayMode(801, 600, 32), DDERR_INVALIDMODE);
    EXPECT_EQ(dd->SetDisplayMode(800, 600, 24), DDERR_INVALIDMODE);
    EXPECT_EQ(dd->SetDisplayMode(800, 600, 32), DD_OK);
    EXPECT_EQ(headless->ModeWidth(), 800u);
    EXPECT_EQ(headless->ModeHeight(), 600u);
    EXPECT_EQ(headless->ModeBitsPerPixel(), 32u);
    control::SetDisplayModes({{640, 480, 32}});
    EXPECT_EQ(dd->SetDisplayMode(800, 600, 32), DDERR_INVALIDMODE) << "a display that refuses 800 x 600 x 32";
    EXPECT_EQ(dd->RestoreDisplayMode(), DD_OK);
}

TEST_F(DirectDrawContract, ADisplayBackEndThatFailsIsReportedWithItsReason) {
    display::Install(std::make_unique<RefusingDisplay>(false));
    RecordTrace();
    ASSERT_EQ(DirectDrawCreate(nullptr, &objects.directDraw, nullptr), DD_OK);
    EXPECT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DDERR_GENERIC);
    EXPECT_THAT(traceLines.back(), ::testing::EndsWith("-> DDERR_GENERIC: display: no display here"));
    display::Install(std::make_unique<RefusingDisplay>(true));
    ASSERT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    EXPECT_EQ(objects.directDraw->SetDisplayMode(800, 600, 32), DDERR_UNSUPPORTEDMODE);
    EXPECT_THAT(traceLines.back(), ::testing::EndsWith(": display: mode rejected by the monitor"));
    ReleaseAll();
}

TEST_F(DirectDrawContract, ThePrimarySurfaceIsAFlippingChainInTheModesSize) {
    TakeDisplay();
    ASSERT_EQ(Create(PrimaryDesc(), &objects.primarySurface), DD_OK);
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(objects.primarySurface->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 800u);
    EXPECT_EQ(desc.dwHeight, 600u);
    EXPECT_EQ(desc.dwBackBufferCount, 1u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, 0x00FF0000u);
    EXPECT_EQ(desc.lPitch, 3200);
    IDirectDrawSurface* second = nullptr;
    EXPECT_EQ(Create(PrimaryDesc(), &second), DDERR_PRIMARYSURFACEALREADYEXISTS);
    desc.dwSize = 1;
    EXPECT_EQ(objects.primarySurface->GetSurfaceDesc(&desc), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.primarySurface->GetSurfaceDesc(nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawContract, InconsistentDescriptionsAreRefused) {
    TakeDisplay();
    DDSURFACEDESC desc = PrimaryDesc();
    desc.dwSize = 108 - 1;
    ExpectRefused(desc, DDERR_INVALIDPARAMS);
    desc = PrimaryDesc();
    desc.dwFlags = DDSD_BACKBUFFERCOUNT;
    ExpectRefused(desc, DDERR_INVALIDPARAMS);
    desc = PrimaryDesc();
    desc.ddsCaps.dwCaps &= ~DWORD(DDSCAPS_COMPLEX);
    ExpectRefused(desc, DDERR_INVALIDCAPS);
    desc = PrimaryDesc();
    desc.dwFlags = DDSD_CAPS;
    ExpectRefused(desc, DDERR_INVALIDCAPS);
    desc = PrimaryDesc();
    desc.dwBackBufferCount = 0;
    ExpectRefused(desc, DDERR_INVALIDPARAMS);
    desc = PrimaryDesc();
    desc.ddsCaps.dwCaps |= DDSCAPS_ZBUFFER;
    ExpectRefused(desc, DDERR_INVALIDCAPS);
    desc = PrimaryDesc();
    desc.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
    ExpectRefused(desc, DDERR_INVALIDCAPS);
    desc = PrimaryDesc();
    desc.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 640;
    desc.dwHeight = 480;
    ExpectRefused(desc, DDERR_INVALIDPARAMS);

    ExpectRefused(DepthDesc(800, 600, 8), DDERR_INVALIDPIXELFORMAT);
    desc = DepthDesc(800, 600);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    ExpectRefused(desc, DDERR_INVALIDPIXELFORMAT);
    desc = DepthDesc(800, 600);
    desc.ddpfPixelFormat.dwSize = 0;
    ExpectRefused(desc, DDERR_INVALIDPARAMS);
    desc = DepthDesc(800, 600);
    desc.dwFlags &= ~DWORD(DDSD_WIDTH);
    ExpectRefused(desc, DDERR_INVALIDPARAMS);
    ExpectRefused(DepthDesc(0, 600), DDERR_INVALIDPARAMS);
    ExpectRefused(DepthDesc(100000, 600), DDERR_TOOBIGWIDTH);
    ExpectRefused(DepthDesc(800, 100000), DDERR_TOOBIGHEIGHT);
    desc = DepthDesc(800, 600);
    desc.ddsCaps.dwCaps |= DDSCAPS_3DDEVICE;
    ExpectRefused(desc, DDERR_INVALIDCAPS);
    desc = DepthDesc(800, 600);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    ExpectRefused(desc, DDERR_UNSUPPORTED);

    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(objects.directDraw->CreateSurface(nullptr, &surface, nullptr), DDERR_INVALIDPARAMS);
    desc = PrimaryDesc();
    EXPECT_EQ(objects.directDraw->CreateSurface(&desc, nullptr, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.directDraw->CreateSurface(&desc, &surface, reinterpret_cast<IUnknown*>(this)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(surface, nullptr);
}

TEST_F(DirectDrawContract, SurfacesNeedACooperativeLevelAndFlippingNeedsExclusiveMode) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &objects.directDraw, nullptr), DD_OK);
    ExpectRefused(PrimaryDesc(), DDERR_NOCOOPERATIVELEVELSET);
    ExpectRefused(DepthDesc(800, 600), DDERR_NOCOOPERATIVELEVELSET);
    ASSERT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    ExpectRefused(PrimaryDesc(), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(Create(DepthDesc(64, 48, 16), &objects.zBuffer), DD_OK) << "16 bits are kept as 32";
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(objects.zBuffer->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.ddpfPixelFormat.dwZBufferBitDepth, 32u);
}

TEST_F(DirectDrawContract, DepthAttachesOnceToASurfaceMadeFor3D) {
    TakeDisplay();
    ASSERT_EQ(Create(PrimaryDesc(), &objects.primarySurface), DD_OK);
    ASSERT_EQ(Create(DepthDesc(800, 600), &objects.zBuffer), DD_OK);
    IDirectDrawSurface* primary = objects.primarySurface;
    IDirectDrawSurface* small = nullptr;
    ASSERT_EQ(Create(DepthDesc(400, 300), &small), DD_OK);
    EXPECT_EQ(primary->AddAttachedSurface(nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(primary->AddAttachedSurface(reinterpret_cast<IDirectDrawSurface*>(this)), DDERR_INVALIDOBJECT);
    EXPECT_EQ(primary->AddAttachedSurface(reinterpret_cast<IDirectDrawSurface*>(objects.directDraw)),
              DDERR_INVALIDOBJECT)
        << "an object of another kind";
    EXPECT_EQ(primary->AddAttachedSurface(primary), DDERR_CANNOTATTACHSURFACE);
    EXPECT_EQ(primary->AddAttachedSurface(small), DDERR_CANNOTATTACHSURFACE) << "size differs";
    EXPECT_EQ(objects.zBuffer->AddAttachedSurface(small), DDERR_CANNOTATTACHSURFACE) << "depth onto depth";
    EXPECT_EQ(primary->AddAttachedSurface(objects.zBuffer), DD_OK);
    EXPECT_EQ(primary->AddAttachedSurface(objects.zBuffer), DDERR_SURFACEALREADYATTACHED);
    EXPECT_EQ(small->Release(), 0u);
}

TEST_F(DirectDrawContract, FlipPresentsTheFrameAsDrawnAndSwapsTheMemory) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    D3DRECT all = {{0}, {0}, {800}, {600}};
    ASSERT_EQ(objects.viewport->Clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
    ApplyMaterial(AmbientMaterial(1, 0, 0));
    std::vector<D3DVERTEX> left = Triangle(-3, 0), right = Triangle(3, 0);
    ASSERT_EQ(objects.device->BeginScene(), D3D_OK);
    ASSERT_EQ(objects.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, left.data(), 3, 0), D3D_OK);
    ASSERT_EQ(objects.device->EndScene(), D3D_OK);
    ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(headless->PresentedFrames(), 1u);
    EXPECT_EQ(PresentedPixel(160, 300), 0xFF0000u);
    EXPECT_EQ(PresentedPixel(640, 300), 0u);

    // Drawing goes on in the other buffer: the former back buffer, black.
    ASSERT_EQ(objects.device->BeginScene(), D3D_OK);
    ASSERT_EQ(objects.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, right.data(), 3, 0), D3D_OK);
    ASSERT_EQ(objects.device->EndScene(), D3D_OK);
    ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(headless->PresentedFrames(), 2u);
    EXPECT_EQ(PresentedPixel(160, 300), 0u);
    EXPECT_EQ(PresentedPixel(640, 300), 0xFF0000u);
}

// The flip, not a display back end, honours the frame limit: the flip that
// reaches it closes the main window once, as a user would.
TEST_F(DirectDrawContract, FrameLimitClosesTheMainWindowOnce) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    control::SetFrameLimit(3);
    for (int flip = 1; flip <= 5; ++flip) {
        ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
        int closes = 0;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) closes += msg.message == WM_CLOSE && msg.hwnd == window;
        EXPECT_EQ(closes, flip == 3 ? 1 : 0) << "flip " << flip;
    }
}

TEST_F(DirectDrawContract, FlipRefusals) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    EXPECT_EQ(objects.zBuffer->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    EXPECT_EQ(objects.primarySurface->Flip(objects.zBuffer, DDFLIP_WAIT), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.primarySurface->Flip(nullptr, 0x100), DDERR_INVALIDPARAMS);
    ASSERT_EQ(objects.directDraw->SetDisplayMode(640, 480, 32), DD_OK);
    EXPECT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DDERR_WRONGMODE);
    ASSERT_EQ(objects.directDraw->SetDisplayMode(800, 600, 32), DD_OK);
    EXPECT_EQ(objects.primarySurface->Flip(nullptr, 0), DD_OK) << "without waiting";
    ASSERT_EQ(objects.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    EXPECT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(headless->PresentedFrames(), 1u);
}

}  // namespace
}  // namespace qv::ddraw::testing
