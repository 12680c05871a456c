// The Direct3D methods the program does not call: their published answers,
// the objects they hand out, and the ones the stand-in does not offer.

#include "ddraw/call.h"
#include "ddraw_fixture.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace qv::ddraw::testing {
namespace {

// The caller references an object has now.
ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

class Direct3DMethods : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    }
    HRESULT Find(DWORD flags, void (*tweak)(D3DFINDDEVICESEARCH&), D3DFINDDEVICERESULT& result) {
        D3DFINDDEVICESEARCH search{};
        search.dwSize = sizeof search;
        search.dwFlags = flags;
        if (tweak) tweak(search);
        result = {};
        result.dwSize = sizeof result;
        return objects.direct3D->FindDevice(&search, &result);
    }
};

TEST_F(Direct3DMethods, MethodsNotOfferedAnswerTheirCodeAndLeaveATraceLine) {
    struct Case {
        const char* call;
        HRESULT code;
        std::function<HRESULT(RenderObjects&)> run;
    };
    D3DTRANSFORMDATA transform{};
    D3DLIGHTDATA lighting{};
    D3DCLIPSTATUS clip{};
    IDirectDrawSurface* surface = nullptr;
    BOOL valid = TRUE;
    DWORD offscreen = 1;
    const Case cases[] = {
        {"IDirect3DDevice2::SwapTextureHandles", DDERR_UNSUPPORTED,
         [](RenderObjects& o) { return o.device->SwapTextureHandles(nullptr, nullptr); }},
        {"IDirect3DDevice2::EnumTextureFormats", DDERR_UNSUPPORTED,
         [](RenderObjects& o) { return o.device->EnumTextureFormats(nullptr, nullptr); }},
        {"IDirect3DDevice2::SetRenderTarget", DDERR_UNSUPPORTED,
         [](RenderObjects& o) { return o.device->SetRenderTarget(o.primarySurface, 0); }},
        {"IDirect3DDevice2::Begin", DDERR_UNSUPPORTED,
         [](RenderObjects& o) { return o.device->Begin(D3DPT_TRIANGLELIST, D3DVT_VERTEX, 0); }},
        {"IDirect3DDevice2::BeginIndexed", DDERR_UNSUPPORTED,
         [](RenderObjects& o) { return o.device->BeginIndexed(D3DPT_TRIANGLELIST, D3DVT_VERTEX, nullptr, 0, 0); }},
        {"IDirect3DDevice2::Vertex", DDERR_UNSUPPORTED, [](RenderObjects& o) { return o.device->Vertex(nullptr); }},
        {"IDirect3DDevice2::Index", DDERR_UNSUPPORTED, [](RenderObjects& o) { return o.device->Index(0); }},
        {"IDirect3DDevice2::End", DDERR_UNSUPPORTED, [](RenderObjects& o) { return o.device->End(0); }},
        {"IDirect3DDevice2::SetClipStatus", DDERR_UNSUPPORTED,
         [&](RenderObjects& o) { return o.device->SetClipStatus(&clip); }},
        {"IDirect3DDevice2::GetClipStatus", DDERR_UNSUPPORTED,
         [&](RenderObjects& o) { return o.device->GetClipStatus(&clip); }},
        {"IDirect3DViewport2::TransformVertices", DDERR_UNSUPPORTED,
         [&](RenderObjects& o) { return o.viewport->TransformVertices(0, &transform, 0, &offscreen); }},
        {"IDirect3DViewport2::LightElements", DDERR_UNSUPPORTED,
         [&](RenderObjects& o) { return o.viewport->LightElements(0, &lighting); }},
        {"IDirect3DViewport2::SetBackgroundDepth", DDERR_UNSUPPORTED,
         [](RenderObjects& o) { return o.viewport->SetBackgroundDepth(o.zBuffer); }},
        {"IDirect3DViewport2::GetBackgroundDepth", DDERR_UNSUPPORTED,
         [&](RenderObjects& o) { return o.viewport->GetBackgroundDepth(&surface, &valid); }},
        {"IDirect3DViewport2::Initialize", DDERR_ALREADYINITIALIZED,
         [](RenderObjects& o) { return o.viewport->Initialize(nullptr); }},
        {"IDirect3DLight::Initialize", DDERR_ALREADYINITIALIZED,
         [](RenderObjects& o) { return o.light->Initialize(nullptr); }},
    };
    RecordTrace();
    for (const Case& c : cases) {
        traceLines.clear();
        EXPECT_EQ(c.run(objects), c.code) << c.call;
        ASSERT_EQ(traceLines.size(), 1u) << c.call;
        EXPECT_THAT(traceLines[0], ::testing::StartsWith(std::string(c.call) + "("));
        EXPECT_THAT(traceLines[0], ::testing::HasSubstr("-> " + ResultName(c.code, c.call)));
    }
    EXPECT_EQ(surface, nullptr);
    EXPECT_EQ(valid, FALSE);
    EXPECT_EQ(offscreen, 0u);
}

TEST_F(Direct3DMethods, EnumDevicesDescribesTheOneHalDevice) {
    struct Seen {
        int calls = 0;
        GUID guid{};
        D3DDEVICEDESC hardware{}, software{};
    } seen;
    auto callback = [](LPGUID guid, LPSTR, LPSTR, LPD3DDEVICEDESC hardware, LPD3DDEVICEDESC software,
                       LPVOID context) -> HRESULT {
        Seen& s = *static_cast<Seen*>(context);
        ++s.calls;
        s.guid = *guid;
        s.hardware = *hardware;
        s.software = *software;
        return D3DENUMRET_OK;
    };
    ASSERT_EQ(objects.direct3D->EnumDevices(callback, &seen), D3D_OK);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.guid, IID_IDirect3DHALDevice);
    EXPECT_EQ(seen.hardware.dcmColorModel, D3DCOLOR_RGB);
    EXPECT_EQ(seen.hardware.dwDeviceRenderBitDepth, DWORD(DDBD_32));
    EXPECT_TRUE(seen.hardware.dwDeviceZBufferBitDepth & DDBD_32);
    EXPECT_TRUE(seen.hardware.dpcTriCaps.dwShadeCaps & D3DPSHADECAPS_COLORGOURAUDRGB);
    EXPECT_EQ(seen.software.dwSize, sizeof(D3DDEVICEDESC));
    EXPECT_EQ(seen.software.dwFlags, 0u);
    EXPECT_EQ(objects.direct3D->EnumDevices(nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Direct3DMethods, FindDeviceFindsTheHalDeviceForWhatItOffers) {
    struct Case {
        DWORD flags;
        void (*tweak)(D3DFINDDEVICESEARCH&);
        HRESULT code;
    };
    const Case cases[] = {
        {D3DFDS_HARDWARE, [](D3DFINDDEVICESEARCH& s) { s.bHardware = TRUE; }, D3D_OK},
        {D3DFDS_HARDWARE, nullptr, DDERR_NOTFOUND},
        {D3DFDS_GUID, [](D3DFINDDEVICESEARCH& s) { s.guid = IID_IDirect3DHALDevice; }, D3D_OK},
        {D3DFDS_GUID, [](D3DFINDDEVICESEARCH& s) { s.guid = IID_IDirect3D2; }, DDERR_NOTFOUND},
        {D3DFDS_COLORMODEL, [](D3DFINDDEVICESEARCH& s) { s.dcmColorModel = D3DCOLOR_MONO; }, DDERR_NOTFOUND},
        {D3DFDS_TRIANGLES | D3DFDS_SHADECAPS | D3DFDS_ZCMPCAPS,
         [](D3DFINDDEVICESEARCH& s) {
             s.dpcPrimCaps.dwShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB;
             s.dpcPrimCaps.dwZCmpCaps = D3DPCMPCAPS_LESSEQUAL;
         },
         D3D_OK},
        {D3DFDS_TRIANGLES | D3DFDS_TEXTURECAPS, [](D3DFINDDEVICESEARCH& s) { s.dpcPrimCaps.dwTextureCaps = 1; },
         DDERR_NOTFOUND},
        {D3DFDS_LINES | D3DFDS_ZCMPCAPS, [](D3DFINDDEVICESEARCH& s) { s.dpcPrimCaps.dwZCmpCaps = D3DPCMPCAPS_LESS; },
         DDERR_NOTFOUND},
        {0, [](D3DFINDDEVICESEARCH& s) { s.dwSize = 88; }, DDERR_INVALIDPARAMS},
    };
    for (const Case& c : cases) {
        D3DFINDDEVICERESULT result;
        EXPECT_EQ(Find(c.flags, c.tweak, result), c.code) << std::hex << c.flags;
        if (c.code == D3D_OK) {
            EXPECT_EQ(result.guid, IID_IDirect3DHALDevice);
            EXPECT_EQ(result.ddHwDesc.dwSize, sizeof(D3DDEVICEDESC));
            EXPECT_EQ(result.ddHwDesc.dwMaxVertexCount, 0xFFFFu);
        }
    }
}

TEST_F(Direct3DMethods, DescriptionsFillTheSizeTheCallerGives) {
    constexpr DWORD kDirectX3 = 172, kDirectX6 = 252;
    for (DWORD size : {kDirectX3, DWORD(sizeof(D3DDEVICEDESC)), kDirectX6}) {
        std::vector<BYTE> hal(kDirectX6 + 4, 0xAB), hel(kDirectX6 + 4, 0xAB);
        reinterpret_cast<D3DDEVICEDESC*>(hal.data())->dwSize = size;
        reinterpret_cast<D3DDEVICEDESC*>(hel.data())->dwSize = size;
        ASSERT_EQ(objects.device->GetCaps(reinterpret_cast<D3DDEVICEDESC*>(hal.data()),
                                          reinterpret_cast<D3DDEVICEDESC*>(hel.data())),
                  D3D_OK)
            << size;
        EXPECT_EQ(reinterpret_cast<D3DDEVICEDESC*>(hal.data())->dcmColorModel, D3DCOLOR_RGB);
        EXPECT_EQ(hal[size], 0xAB) << "written past dwSize " << size;
        EXPECT_TRUE(std::all_of(hel.begin() + 4, hel.begin() + size, [](BYTE b) { return b == 0; })) << size;
    }
    D3DDEVICEDESC hal{}, hel{};
    hal.dwSize = hel.dwSize = 100;
    EXPECT_EQ(objects.device->GetCaps(&hal, &hel), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.device->GetCaps(nullptr, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Direct3DMethods, GetsAnswerWhatWasSetOrThePlatformDefault) {
    IDirect3DDevice2* device = objects.device;
    DWORD value = 7;
    const std::pair<D3DRENDERSTATETYPE, DWORD> renderStates[] = {{D3DRENDERSTATE_ZENABLE, TRUE},
                                                                 {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD},
                                                                 {D3DRENDERSTATE_CULLMODE, D3DCULL_CCW},
                                                                 {D3DRENDERSTATE_ZWRITEENABLE, TRUE},
                                                                 {D3DRENDERSTATE_ALPHAFUNC, D3DCMP_ALWAYS},
                                                                 {D3DRENDERSTATE_DITHERENABLE, FALSE}};
    for (const auto& [state, expected] : renderStates) {
        ASSERT_EQ(device->GetRenderState(state, &value), D3D_OK) << state;
        EXPECT_EQ(value, expected) << state;
    }
    ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, TRUE), D3D_OK);
    ASSERT_EQ(device->GetRenderState(D3DRENDERSTATE_DITHERENABLE, &value), D3D_OK);
    EXPECT_EQ(value, DWORD(TRUE));
    EXPECT_EQ(device->GetRenderState(D3DRENDERSTATETYPE(42), &value), DDERR_INVALIDPARAMS);
    EXPECT_EQ(value, 0u);

    ASSERT_EQ(device->GetLightState(D3DLIGHTSTATE_AMBIENT, &value), D3D_OK);
    EXPECT_EQ(value, 0xFFFFFFFFu);
    ASSERT_EQ(device->GetLightState(D3DLIGHTSTATE_COLORMODEL, &value), D3D_OK);
    EXPECT_EQ(value, DWORD(D3DCOLOR_RGB));
    EXPECT_EQ(device->GetLightState(D3DLIGHTSTATETYPE(8), &value), DDERR_INVALIDPARAMS);

    D3DMATRIX matrix{}, view = ViewMatrix();
    ASSERT_EQ(device->GetTransform(D3DTRANSFORMSTATE_VIEW, &matrix), D3D_OK);
    EXPECT_EQ(std::memcmp(&matrix, &view, sizeof matrix), 0);
    D3DMATRIX scale = Identity();
    scale._33 = 2.0f;
    ASSERT_EQ(device->MultiplyTransform(D3DTRANSFORMSTATE_VIEW, &scale), D3D_OK);
    ASSERT_EQ(device->GetTransform(D3DTRANSFORMSTATE_VIEW, &matrix), D3D_OK);
    EXPECT_EQ(matrix._33, 2.0f);
    EXPECT_EQ(matrix._43, 10.0f);  // the given matrix applies first: the translation is not scaled

    D3DVIEWPORT2 second{}, full = FullViewport(800, 600);
    second.dwSize = sizeof second;
    ASSERT_EQ(objects.viewport->GetViewport2(&second), D3D_OK);
    EXPECT_EQ(std::memcmp(&second, &full, sizeof second), 0);
    D3DVIEWPORT first{};
    first.dwSize = sizeof first;
    ASSERT_EQ(objects.viewport->GetViewport(&first), D3D_OK);
    EXPECT_EQ(first.dvScaleX, 400.0f);
    EXPECT_EQ(first.dvScaleY, 300.0f);
    EXPECT_EQ(first.dvMaxX, 1.0f);
    first.dvScaleX = 200.0f;  // a clip rectangle twice as wide
    ASSERT_EQ(objects.viewport->SetViewport(&first), D3D_OK);
    ASSERT_EQ(objects.viewport->GetViewport2(&second), D3D_OK);
    EXPECT_EQ(second.dvClipX, -2.0f);
    EXPECT_EQ(second.dvClipWidth, 4.0f);

    D3DMATERIAL material = AmbientMaterial(0.5f, 0.25f, 1.0f), readMaterial{};
    readMaterial.dwSize = sizeof readMaterial;
    ASSERT_EQ(objects.material->SetMaterial(&material), D3D_OK);
    ASSERT_EQ(objects.material->GetMaterial(&readMaterial), D3D_OK);
    EXPECT_EQ(std::memcmp(&readMaterial, &material, sizeof material), 0);
    D3DLIGHT light = WhiteLight(), readLight{};
    readLight.dwSize = sizeof readLight;
    ASSERT_EQ(objects.light->GetLight(&readLight), D3D_OK);
    EXPECT_EQ(std::memcmp(&readLight, &light, sizeof light), 0);
    readLight.dwSize = 80;
    EXPECT_EQ(objects.light->GetLight(&readLight), DDERR_INVALIDPARAMS);

    D3DMATERIALHANDLE background = 9;
    BOOL valid = TRUE;
    ASSERT_EQ(objects.viewport->GetBackground(&background, &valid), D3D_OK);
    EXPECT_EQ(valid, FALSE);
    ASSERT_EQ(objects.viewport->SetBackground(3), D3D_OK);
    ASSERT_EQ(objects.viewport->GetBackground(&background, &valid), D3D_OK);
    EXPECT_EQ(background, 3u);
    EXPECT_EQ(valid, TRUE);
}

TEST_F(Direct3DMethods, ObjectsHandedOutAreTheSameWithOneMoreReference) {
    struct Case {
        IUnknown* expected;
        std::function<HRESULT(void**)> get;
    };
    RenderObjects& o = objects;
    const Case cases[] = {
        {o.direct3D, [&](void** out) { return o.device->GetDirect3D(reinterpret_cast<IDirect3D2**>(out)); }},
        {o.viewport,
         [&](void** out) { return o.device->GetCurrentViewport(reinterpret_cast<IDirect3DViewport2**>(out)); }},
        {o.primarySurface,
         [&](void** out) { return o.device->GetRenderTarget(reinterpret_cast<IDirectDrawSurface**>(out)); }},
        {o.viewport,
         [&](void** out) {
             return o.device->NextViewport(nullptr, reinterpret_cast<IDirect3DViewport2**>(out), D3DNEXT_HEAD);
         }},
        {o.light,
         [&](void** out) {
             return o.viewport->NextLight(nullptr, reinterpret_cast<IDirect3DLight**>(out), D3DNEXT_TAIL);
         }},
    };
    for (const Case& c : cases) {
        const ULONG before = References(c.expected);
        void* got = nullptr;
        ASSERT_EQ(c.get(&got), D3D_OK);
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(References(c.expected), before + 1);
        static_cast<IUnknown*>(got)->Release();
    }
}

TEST_F(Direct3DMethods, DeletedViewportsAndLightsLeaveTheirLists) {
    IDirect3DViewport2* next = nullptr;
    EXPECT_EQ(objects.device->NextViewport(objects.viewport, &next, D3DNEXT_NEXT), D3DERR_NOVIEWPORTS);
    EXPECT_EQ(objects.device->NextViewport(nullptr, &next, D3DNEXT_HEAD | D3DNEXT_TAIL), DDERR_INVALIDPARAMS);
    ASSERT_EQ(objects.device->DeleteViewport(objects.viewport), D3D_OK);
    EXPECT_EQ(objects.device->DeleteViewport(objects.viewport), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.device->GetCurrentViewport(&next), D3DERR_NOCURRENTVIEWPORT);
    EXPECT_EQ(objects.device->NextViewport(nullptr, &next, D3DNEXT_HEAD), D3DERR_NOVIEWPORTS);
    EXPECT_EQ(next, nullptr);
    ASSERT_EQ(objects.device->BeginScene(), D3D_OK);
    std::vector<D3DVERTEX> triangle = Triangle(0, 0);
    EXPECT_EQ(objects.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, 0),
              D3DERR_NOCURRENTVIEWPORT);
    ASSERT_EQ(objects.device->EndScene(), D3D_OK);

    IDirect3DLight* light = nullptr;
    ASSERT_EQ(objects.viewport->DeleteLight(objects.light), D3D_OK);
    EXPECT_EQ(objects.viewport->DeleteLight(objects.light), D3DERR_LIGHTNOTINTHISVIEWPORT);
    EXPECT_EQ(objects.viewport->NextLight(nullptr, &light, D3DNEXT_HEAD), DDERR_NOTFOUND);
    EXPECT_EQ(objects.viewport->AddLight(objects.light), D3D_OK);  // free for a viewport again
}

TEST_F(Direct3DMethods, IndexedTrianglesDrawAsTheirVerticesAndAreCounted) {
    ApplyMaterial(AmbientMaterial(1, 1, 1));
    std::vector<D3DVERTEX> triangle = Triangle(0, 0);
    WORD indices[] = {0, 1, 2}, outside[] = {0, 1, 3};
    D3DRECT all = {{0}, {0}, {800}, {600}};
    ASSERT_EQ(objects.viewport->Clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
    ASSERT_EQ(objects.device->BeginScene(), D3D_OK);
    EXPECT_EQ(objects.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, outside, 3, 0),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, indices, 3, 0),
              D3D_OK);
    ASSERT_EQ(objects.device->EndScene(), D3D_OK);
    ASSERT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(PresentedPixel(400, 300), 0xFFFFFFu);

    D3DSTATS stats{};
    stats.dwSize = sizeof stats;
    ASSERT_EQ(objects.device->GetStats(&stats), D3D_OK);
    EXPECT_EQ(stats.dwTrianglesDrawn, 1u);
    EXPECT_EQ(stats.dwVerticesProcessed, 3u);
}

}  // namespace
}  // namespace qv::ddraw::testing
