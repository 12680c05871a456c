#include "render/bring_up.h"

#include "render/bring_up_values.h"
#include "render/main_window.h"
#include "render/render_objects.h"
#include "scene/constants.h"
#include "scene/scene.h"
#include "scene/torus_mesh.h"

namespace {

template <typename Object>
void ReleaseObject(Object*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

bool CreateSurfaces() {
    DDSURFACEDESC primaryDesc = ClearedRecord<DDSURFACEDESC>();
    primaryDesc.dwSize = sizeof primaryDesc;
    primaryDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    primaryDesc.dwBackBufferCount = 1;
    primaryDesc.ddsCaps.dwCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
    if (directDraw->CreateSurface(&primaryDesc, &primarySurface, nullptr) != DD_OK) return false;

    DDSURFACEDESC depthDesc = ClearedRecord<DDSURFACEDESC>();
    depthDesc.dwSize = sizeof depthDesc;
    depthDesc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    depthDesc.dwWidth = kScreenWidth;
    depthDesc.dwHeight = kScreenHeight;
    depthDesc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    depthDesc.ddpfPixelFormat.dwSize = sizeof depthDesc.ddpfPixelFormat;
    depthDesc.ddpfPixelFormat.dwFlags = DDPF_ZBUFFER;
    depthDesc.ddpfPixelFormat.dwZBufferBitDepth = 32;
    if (directDraw->CreateSurface(&depthDesc, &zBuffer, nullptr) != DD_OK) return false;

    return primarySurface->AddAttachedSurface(zBuffer) == DD_OK;
}

bool CreateDeviceAndStates() {
    if (direct3D->CreateDevice(IID_IDirect3DHALDevice, primarySurface, &device) != D3D_OK) return false;
    for (const RenderStateSetting& setting : kRenderStateSettings) {
        if (device->SetRenderState(setting.state, setting.value) != D3D_OK) return false;
    }
    return true;
}

bool CreateViewport() {
    if (direct3D->CreateViewport(&viewport, nullptr) != D3D_OK) return false;
    if (device->AddViewport(viewport) != D3D_OK) return false;

    D3DVIEWPORT2 viewportData = ScreenViewport();
    if (viewport->SetViewport2(&viewportData) != D3D_OK) return false;

    return device->SetCurrentViewport(viewport) == D3D_OK;
}

bool CreateMaterialAndLight() {
    if (direct3D->CreateMaterial(&material, nullptr) != D3D_OK) return false;
    if (direct3D->CreateLight(&light, nullptr) != D3D_OK) return false;

    D3DLIGHT lightData = WhiteLight();
    if (light->SetLight(&lightData) != D3D_OK) return false;
    if (viewport->AddLight(light) != D3D_OK) return false;

    return device->SetLightState(D3DLIGHTSTATE_AMBIENT, kAmbientLight) == D3D_OK;
}

}  // namespace

bool InitDirect3D() {
    if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return ReportInitFailure();
    if (directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&direct3D)) != DD_OK)
        return ReportInitFailure();
    if (directDraw->SetCooperativeLevel(mainWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) != DD_OK)
        return ReportInitFailure();
    if (directDraw->SetDisplayMode(kScreenWidth, kScreenHeight, kScreenBits) != DD_OK) return ReportInitFailure();
    if (!CreateSurfaces() || !CreateDeviceAndStates() || !CreateViewport() || !CreateMaterialAndLight())
        return ReportInitFailure();
    if (!SetupTransforms()) return false;
    // The mesh allocation is the one step that can fail outside the platform.
    if (!BuildTorusMesh()) return ReportInitFailure();
    InitScene();
    return true;
}

bool SetupTransforms() {
    D3DMATRIX world = IdentityMatrix();
    if (device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world) != D3D_OK) return ReportInitFailure();

    D3DMATRIX view = ViewMatrix();
    if (device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view) != D3D_OK) return ReportInitFailure();

    D3DMATRIX projection = ProjectionMatrix();
    if (device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection) != D3D_OK) return ReportInitFailure();
    return true;
}

bool ReportInitFailure() {
    MessageBoxA(mainWindow, "Direct3D init failed!", "My Quorvane application", MB_ICONERROR);
    return false;
}

void ReleaseAll() {
    if (directDraw) {
        ReleaseObject(direct3D);
        ReleaseObject(primarySurface);
        ReleaseObject(zBuffer);
        ReleaseObject(device);
        ReleaseObject(viewport);
        ReleaseObject(material);
        ReleaseObject(light);
        ReleaseObject(directDraw);
    }
    if (torusVertices) {
        delete[] torusVertices;
        torusVertices = nullptr;
    }
}
