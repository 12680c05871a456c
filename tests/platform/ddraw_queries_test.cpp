// The DirectDraw object's queries (capabilities, display modes, refresh) and
// the methods this driver answers as unsupported.

#include "ddraw_fixture.h"

#include <gmock/gmock.h>

namespace qv::ddraw::testing {
namespace {

using ::testing::Contains;
using ::testing::StartsWith;

class DriverQueries : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    }
};

struct Modes {
    std::vector<control::DisplayMode> seen;
    size_t stopAfter = 0;  // 0: never stop
};

HRESULT CALLBACK CollectMode(LPDDSURFACEDESC desc, LPVOID context) {
    auto& modes = *static_cast<Modes*>(context);
    modes.seen.push_back({desc->dwWidth, desc->dwHeight, desc->ddpfPixelFormat.dwRGBBitCount});
    return modes.seen.size() == modes.stopAfter ? DDENUMRET_CANCEL : DDENUMRET_OK;
}

TEST_F(DriverQueries, GetCapsFillsEveryPublishedSizeAndRefusesOthers) {
    struct Case {
        DWORD size;
        HRESULT expected;
    };
    for (const Case& c : {Case{316, DD_OK}, Case{364, DD_OK}, Case{380, DD_OK}, Case{100, DDERR_INVALIDPARAMS},
                          Case{0, DDERR_INVALIDPARAMS}}) {
        std::vector<DWORD> driver(100, 0xAAAAAAAA), emulation(100, 0xAAAAAAAA);
        driver[0] = emulation[0] = c.size;
        auto* driverCaps = reinterpret_cast<DDCAPS*>(driver.data());
        auto* emulationCaps = reinterpret_cast<DDCAPS*>(emulation.data());
        EXPECT_EQ(objects.directDraw->GetCaps(driverCaps, emulationCaps), c.expected) << c.size;
        EXPECT_EQ(driver[0], c.size);
        if (c.expected != DD_OK) continue;
        EXPECT_EQ(driverCaps->dwCaps & DDCAPS_3D, DWORD(DDCAPS_3D));
        EXPECT_EQ(driverCaps->dwZBufferBitDepths, DWORD(DDBD_16 | DDBD_24 | DDBD_32));
        EXPECT_EQ(emulationCaps->dwCaps, 0u) << "nothing is emulated";
        EXPECT_EQ(driver[c.size / 4], 0xAAAAAAAA) << "nothing written past the record";
    }
    EXPECT_EQ(objects.directDraw->GetCaps(nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DriverQueries, GetDisplayModeDescribesTheModeShown) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(objects.directDraw->GetDisplayMode(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 800u);
    EXPECT_EQ(desc.dwHeight, 600u);
    EXPECT_EQ(desc.lPitch, 3200);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, 0x00FF0000u);
    desc.dwSize = 12;
    EXPECT_EQ(objects.directDraw->GetDisplayMode(&desc), DDERR_INVALIDPARAMS);
}

TEST_F(DriverQueries, EnumDisplayModesListsTheOfferedModesFilteredAndStoppable) {
    control::SetDisplayModes({{640, 480, 16}, {800, 600, 32}, {1024, 768, 32}});
    Modes all;
    ASSERT_EQ(objects.directDraw->EnumDisplayModes(0, nullptr, &all, CollectMode), DD_OK);
    EXPECT_EQ(all.seen.size(), 3u);

    DDSURFACEDESC filter{};
    filter.dwSize = sizeof filter;
    filter.dwFlags = DDSD_PIXELFORMAT;
    filter.ddpfPixelFormat.dwRGBBitCount = 32;
    Modes deep;
    ASSERT_EQ(objects.directDraw->EnumDisplayModes(0, &filter, &deep, CollectMode), DD_OK);
    ASSERT_EQ(deep.seen.size(), 2u);
    EXPECT_EQ(deep.seen[1].width, 1024u);

    Modes first;
    first.stopAfter = 1;
    ASSERT_EQ(objects.directDraw->EnumDisplayModes(0, nullptr, &first, CollectMode), DD_OK);
    EXPECT_EQ(first.seen.size(), 1u);
    EXPECT_EQ(objects.directDraw->EnumDisplayModes(0, nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    control::SetDisplayModes(control::DefaultDisplayModes());
}

TEST_F(DriverQueries, SmallAnswers) {
    DWORD value = 7;
    EXPECT_EQ(objects.directDraw->GetMonitorFrequency(&value), DD_OK);
    EXPECT_EQ(value, 60u);
    EXPECT_EQ(objects.directDraw->GetFourCCCodes(&value, nullptr), DD_OK);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(objects.directDraw->Initialize(nullptr), DDERR_ALREADYINITIALIZED);
    EXPECT_EQ(objects.primarySurface->Initialize(objects.directDraw, nullptr), DDERR_ALREADYINITIALIZED);
}

TEST_F(DriverQueries, UnsupportedMethodsAnswerSoOnTheTraceAndEmptyTheirOut) {
    RenderObjects& o = objects;
    void* out = &o;
    auto clipper = reinterpret_cast<LPDIRECTDRAWCLIPPER*>(&out);
    auto palette = reinterpret_cast<LPDIRECTDRAWPALETTE*>(&out);
    auto surface = reinterpret_cast<LPDIRECTDRAWSURFACE*>(&out);
    auto dc = reinterpret_cast<HDC*>(&out);
    struct Case {
        const char* name;
        std::function<HRESULT()> call;
    };
    IDirectDraw* d = o.directDraw;
    IDirectDrawSurface* s = o.primarySurface;
    const Case cases[] = {
        {"IDirectDraw::Compact", [&] { return d->Compact(); }},
        {"IDirectDraw::CreateClipper", [&] { return d->CreateClipper(0, clipper, nullptr); }},
        {"IDirectDraw::CreatePalette", [&] { return d->CreatePalette(0, nullptr, palette, nullptr); }},
        {"IDirectDraw::DuplicateSurface", [&] { return d->DuplicateSurface(s, surface); }},
        {"IDirectDraw::EnumSurfaces", [&] { return d->EnumSurfaces(0, nullptr, nullptr, nullptr); }},
        {"IDirectDraw::FlipToGDISurface", [&] { return d->FlipToGDISurface(); }},
        {"IDirectDraw::GetGDISurface", [&] { return d->GetGDISurface(surface); }},
        {"IDirectDraw::GetScanLine", [&] { return d->GetScanLine(nullptr); }},
        {"IDirectDraw::GetVerticalBlankStatus", [&] { return d->GetVerticalBlankStatus(nullptr); }},
        {"IDirectDraw::WaitForVerticalBlank", [&] { return d->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr); }},
        {"IDirectDrawSurface::AddOverlayDirtyRect", [&] { return s->AddOverlayDirtyRect(nullptr); }},
        {"IDirectDrawSurface::Blt", [&] { return s->Blt(nullptr, nullptr, nullptr, 0, nullptr); }},
        {"IDirectDrawSurface::BltBatch", [&] { return s->BltBatch(nullptr, 0, 0); }},
        {"IDirectDrawSurface::BltFast", [&] { return s->BltFast(0, 0, nullptr, nullptr, 0); }},
        {"IDirectDrawSurface::EnumOverlayZOrders", [&] { return s->EnumOverlayZOrders(0, nullptr, nullptr); }},
        {"IDirectDrawSurface::GetClipper", [&] { return s->GetClipper(clipper); }},
        {"IDirectDrawSurface::GetColorKey", [&] { return s->GetColorKey(0, nullptr); }},
        {"IDirectDrawSurface::GetDC", [&] { return s->GetDC(dc); }},
        {"IDirectDrawSurface::GetOverlayPosition", [&] { return s->GetOverlayPosition(nullptr, nullptr); }},
        {"IDirectDrawSurface::GetPalette", [&] { return s->GetPalette(palette); }},
        {"IDirectDrawSurface::ReleaseDC", [&] { return s->ReleaseDC(nullptr); }},
        {"IDirectDrawSurface::SetClipper", [&] { return s->SetClipper(nullptr); }},
        {"IDirectDrawSurface::SetColorKey", [&] { return s->SetColorKey(0, nullptr); }},
        {"IDirectDrawSurface::SetOverlayPosition", [&] { return s->SetOverlayPosition(0, 0); }},
        {"IDirectDrawSurface::SetPalette", [&] { return s->SetPalette(nullptr); }},
        {"IDirectDrawSurface::UpdateOverlay", [&] { return s->UpdateOverlay(nullptr, nullptr, nullptr, 0, nullptr); }},
        {"IDirectDrawSurface::UpdateOverlayDisplay", [&] { return s->UpdateOverlayDisplay(0); }},
        {"IDirectDrawSurface::UpdateOverlayZOrder", [&] { return s->UpdateOverlayZOrder(0, nullptr); }},
    };
    RecordTrace();
    for (const Case& c : cases) {
        out = &o;
        EXPECT_EQ(c.call(), DDERR_UNSUPPORTED) << c.name;
        EXPECT_TRUE(out == nullptr || out == &o) << c.name;
        EXPECT_THAT(traceLines.back(), StartsWith(std::string(c.name) + "(")) << c.name;
    }
    out = &o;
    d->CreateClipper(0, clipper, nullptr);
    EXPECT_EQ(out, nullptr);
    EXPECT_THAT(traceLines, Contains("IDirectDraw::Compact(ddraw#1) -> DDERR_UNSUPPORTED: not offered by this driver"));
}

}  // namespace
}  // namespace qv::ddraw::testing
