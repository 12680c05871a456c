// The call trace of a short scripted session: one line per call, in call
// order, with published names, records by their fields, objects by labels,
// results by name and refusals with their reason.

#include "ddraw_fixture.h"

#include <gmock/gmock.h>

namespace qv::ddraw::testing {
namespace {

using ::testing::ElementsAreArray;

class CallTraceOfObjects : public PlatformTest {};

TEST_F(CallTraceOfObjects, AScriptedSessionLeavesOneLinePerCall) {
    RecordTrace();
    RenderObjects& o = objects;
    ASSERT_EQ(DirectDrawCreate(nullptr, &o.directDraw, nullptr), DD_OK);
    ASSERT_EQ(o.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&o.direct3D)), DD_OK);
    ASSERT_EQ(o.directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(o.directDraw->SetDisplayMode(801, 600, 32), DDERR_INVALIDMODE);
    ASSERT_EQ(o.directDraw->SetDisplayMode(800, 600, 32), DD_OK);
    DDSURFACEDESC primary = PrimaryDesc(), depth = DepthDesc(800, 600);
    ASSERT_EQ(o.directDraw->CreateSurface(&primary, &o.primarySurface, nullptr), DD_OK);
    ASSERT_EQ(o.directDraw->CreateSurface(&depth, &o.zBuffer, nullptr), DD_OK);
    ASSERT_EQ(o.primarySurface->AddAttachedSurface(o.zBuffer), DD_OK);
    ASSERT_EQ(o.direct3D->CreateDevice(IID_IDirect3DHALDevice, o.primarySurface, &o.device), D3D_OK);
    ASSERT_EQ(o.device->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL), D3D_OK);
    ASSERT_EQ(o.direct3D->CreateViewport(&o.viewport, nullptr), D3D_OK);
    ASSERT_EQ(o.device->AddViewport(o.viewport), D3D_OK);
    D3DVIEWPORT2 viewportData = FullViewport(800, 600);
    ASSERT_EQ(o.viewport->SetViewport2(&viewportData), D3D_OK);
    ASSERT_EQ(o.device->SetCurrentViewport(o.viewport), D3D_OK);
    ASSERT_EQ(o.direct3D->CreateMaterial(&o.material, nullptr), D3D_OK);
    D3DMATERIAL material = AmbientMaterial(0.1f, 0, 0);
    material.diffuse = {{0.9f}, {1.0f}, {0.0f}, {0.0f}};
    ASSERT_EQ(o.material->SetMaterial(&material), D3D_OK);
    D3DMATERIALHANDLE handle = 0;
    ASSERT_EQ(o.material->GetHandle(o.device, &handle), D3D_OK);
    ASSERT_EQ(o.device->SetLightState(D3DLIGHTSTATE_MATERIAL, handle), D3D_OK);
    ASSERT_EQ(o.direct3D->CreateLight(&o.light, nullptr), D3D_OK);
    D3DLIGHT light = WhiteLight();
    ASSERT_EQ(o.light->SetLight(&light), D3D_OK);
    ASSERT_EQ(o.viewport->AddLight(o.light), D3D_OK);
    ASSERT_EQ(o.device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0xFFFFFFFF), D3D_OK);
    D3DMATRIX projection = ProjectionMatrix();
    ASSERT_EQ(o.device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection), D3D_OK);
    D3DRECT all = {{0}, {0}, {800}, {600}};
    ASSERT_EQ(o.viewport->Clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
    control::InjectFault("IDirect3DDevice2::BeginScene");
    ASSERT_EQ(o.device->BeginScene(), D3DERR_SCENE_BEGIN_FAILED);
    ASSERT_EQ(o.device->BeginScene(), D3D_OK);
    std::vector<D3DVERTEX> triangle = Triangle(0, 0);
    ASSERT_EQ(o.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, 0), D3D_OK);
    ASSERT_EQ(o.device->EndScene(), D3D_OK);
    ASSERT_EQ(o.primarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    ReleaseAll();

    const std::string size = std::to_string(sizeof(DDSURFACEDESC));
    const std::string expected[] = {
        "DirectDrawCreate(NULL, &ddraw#1, NULL) -> DD_OK",
        "IDirectDraw::QueryInterface(ddraw#1, IID_IDirect3D2, &ddraw#1) -> DD_OK",
        "IDirectDraw::SetCooperativeLevel(ddraw#1, hwnd#1, DDSCL_EXCLUSIVE|DDSCL_FULLSCREEN) -> DD_OK",
        "IDirectDraw::SetDisplayMode(ddraw#1, 801, 600, 32) -> DDERR_INVALIDMODE: the display does not offer this mode",
        "IDirectDraw::SetDisplayMode(ddraw#1, 800, 600, 32) -> DD_OK",
        "IDirectDraw::CreateSurface(ddraw#1, {dwSize=" + size +
            ", dwFlags=DDSD_CAPS|DDSD_BACKBUFFERCOUNT, dwBackBufferCount=1, "
            "ddsCaps=DDSCAPS_COMPLEX|DDSCAPS_FLIP|DDSCAPS_PRIMARYSURFACE|DDSCAPS_3DDEVICE|DDSCAPS_VIDEOMEMORY}, "
            "&surface#1, NULL) -> DD_OK",
        "IDirectDraw::CreateSurface(ddraw#1, {dwSize=" + size +
            ", dwFlags=DDSD_CAPS|DDSD_HEIGHT|DDSD_WIDTH|DDSD_PIXELFORMAT, dwHeight=600, dwWidth=800, "
            "ddpfPixelFormat={dwSize=32, dwFlags=DDPF_ZBUFFER, dwZBufferBitDepth=32}, "
            "ddsCaps=DDSCAPS_VIDEOMEMORY|DDSCAPS_ZBUFFER}, &surface#2, NULL) -> DD_OK",
        "IDirectDrawSurface::AddAttachedSurface(surface#1, surface#2) -> DD_OK",
        "IDirect3D2::CreateDevice(ddraw#1, IID_IDirect3DHALDevice, surface#1, &device#1) -> D3D_OK",
        "IDirect3DDevice2::SetRenderState(device#1, D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL) -> D3D_OK",
        "IDirect3D2::CreateViewport(ddraw#1, &viewport#1, NULL) -> D3D_OK",
        "IDirect3DDevice2::AddViewport(device#1, viewport#1) -> D3D_OK",
        "IDirect3DViewport2::SetViewport2(viewport#1, {dwSize=44, dwX=0, dwY=0, dwWidth=800, dwHeight=600, "
        "dvClipX=-1, dvClipY=1, dvClipWidth=2, dvClipHeight=2, dvMinZ=0, dvMaxZ=1}) -> D3D_OK",
        "IDirect3DDevice2::SetCurrentViewport(device#1, viewport#1) -> D3D_OK",
        "IDirect3D2::CreateMaterial(ddraw#1, &material#1, NULL) -> D3D_OK",
        "IDirect3DMaterial2::SetMaterial(material#1, {dwSize=80, diffuse={0.9, 1, 0, 0}, ambient={0.1, 0, 0, 0}, "
        "specular={0, 0, 0, 0}, emissive={0, 0, 0, 0}, power=0, hTexture=0, dwRampSize=0}) -> D3D_OK",
        "IDirect3DMaterial2::GetHandle(material#1, device#1, &1) -> D3D_OK",
        "IDirect3DDevice2::SetLightState(device#1, D3DLIGHTSTATE_MATERIAL, 1) -> D3D_OK",
        "IDirect3D2::CreateLight(ddraw#1, &light#1, NULL) -> D3D_OK",
        "IDirect3DLight::SetLight(light#1, {dwSize=76, dltType=D3DLIGHT_POINT, dcvColor={1, 1, 1, 0}, "
        "dvPosition={4, 4, -4}, dvDirection={0, 0, 0}, dvRange=1.8446743e+19, dvFalloff=0, dvAttenuation0=0, "
        "dvAttenuation1=0, dvAttenuation2=0, dvTheta=0, dvPhi=0}) -> D3D_OK",
        "IDirect3DViewport2::AddLight(viewport#1, light#1) -> D3D_OK",
        "IDirect3DDevice2::SetLightState(device#1, D3DLIGHTSTATE_AMBIENT, 0xFFFFFFFF) -> D3D_OK",
        "IDirect3DDevice2::SetTransform(device#1, D3DTRANSFORMSTATE_PROJECTION, "
        "{2, 0, 0, 0, 0, 2.6666667, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0}) -> D3D_OK",
        "IDirect3DViewport2::Clear(viewport#1, 1, {{x1=0, y1=0, x2=800, y2=600}}, "
        "D3DCLEAR_TARGET|D3DCLEAR_ZBUFFER) -> D3D_OK",
        "IDirect3DDevice2::BeginScene(device#1) -> D3DERR_SCENE_BEGIN_FAILED: injected fault",
        "IDirect3DDevice2::BeginScene(device#1) -> D3D_OK",
        "IDirect3DDevice2::DrawPrimitive(device#1, D3DPT_TRIANGLELIST, D3DVT_VERTEX, vertices, 3, 0) -> D3D_OK",
        "IDirect3DDevice2::EndScene(device#1) -> D3D_OK",
        "IDirectDrawSurface::Flip(surface#1, NULL, DDFLIP_WAIT) -> DD_OK",
        "IDirect3D2::Release(ddraw#1) -> 1",
        "IDirectDrawSurface::Release(surface#1) -> 0",
        "IDirectDrawSurface::Release(surface#2) -> 0",
        "IDirect3DDevice2::Release(device#1) -> 0",
        "IDirect3DViewport2::Release(viewport#1) -> 0",
        "IDirect3DMaterial2::Release(material#1) -> 0",
        "IDirect3DLight::Release(light#1) -> 0",
        "IDirectDraw::Release(ddraw#1) -> 0",
    };
    EXPECT_THAT(traceLines, ElementsAreArray(expected));
}

TEST_F(CallTraceOfObjects, RefusalsSayWhyAndForeignPointersHaveNoAddress) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    RecordTrace();
    int foreign = 0;
    EXPECT_EQ(objects.device->AddViewport(reinterpret_cast<IDirect3DViewport2*>(&foreign)), DDERR_INVALIDOBJECT);
    D3DMATERIAL shortRecord{};
    shortRecord.dwSize = 12;
    EXPECT_EQ(objects.material->SetMaterial(&shortRecord), DDERR_INVALIDPARAMS);
    EXPECT_EQ(objects.device->SetTransform(D3DTRANSFORMSTATE_WORLD, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_THAT(traceLines,
                ElementsAreArray({
                    "IDirect3DDevice2::AddViewport(device#1, unknown object) -> DDERR_INVALIDOBJECT: not a live viewport",
                    "IDirect3DMaterial2::SetMaterial(material#1, {dwSize=12}) -> DDERR_INVALIDPARAMS: material record "
                    "size is not 80",
                    "IDirect3DDevice2::SetTransform(device#1, D3DTRANSFORMSTATE_WORLD, NULL) -> DDERR_INVALIDPARAMS: "
                    "no matrix",
                }));
}

}  // namespace
}  // namespace qv::ddraw::testing
