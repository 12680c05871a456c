// Shared by the DirectDraw and Direct3D tests: a clean platform with the
// headless display and a main window, the records of the program's bring-up,
// and that bring-up and teardown themselves.
#pragma once

#include "control/control.h"
#include "display/display.h"
#include "display/headless.h"
#include "user/input.h"

#include <d3d.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv::ddraw::testing {

// The eight render objects of the bring-up, in the teardown's order.
struct RenderObjects {
    IDirect3D2* direct3D = nullptr;
    IDirectDrawSurface* primarySurface = nullptr;
    IDirectDrawSurface* zBuffer = nullptr;
    IDirect3DDevice2* device = nullptr;
    IDirect3DViewport2* viewport = nullptr;
    IDirect3DMaterial2* material = nullptr;
    IDirect3DLight* light = nullptr;
    IDirectDraw* directDraw = nullptr;

    // Each object as IUnknown, in the teardown's order.
    std::vector<IUnknown**> All() {
        return {reinterpret_cast<IUnknown**>(&direct3D), reinterpret_cast<IUnknown**>(&primarySurface),
                reinterpret_cast<IUnknown**>(&zBuffer),  reinterpret_cast<IUnknown**>(&device),
                reinterpret_cast<IUnknown**>(&viewport), reinterpret_cast<IUnknown**>(&material),
                reinterpret_cast<IUnknown**>(&light),    reinterpret_cast<IUnknown**>(&directDraw)};
    }
};

inline DDSURFACEDESC PrimaryDesc() {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
    return desc;
}

inline DDSURFACEDESC DepthDesc(DWORD width, DWORD height, DWORD bits = 32) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_ZBUFFER;
    desc.ddpfPixelFormat.dwZBufferBitDepth = bits;
    return desc;
}

inline D3DVIEWPORT2 FullViewport(DWORD width, DWORD height) {
    D3DVIEWPORT2 viewport{};
    viewport.dwSize = sizeof viewport;
    viewport.dwWidth = width;
    viewport.dwHeight = height;
    viewport.dvClipX = -1.0f;
    viewport.dvClipY = 1.0f;
    viewport.dvClipWidth = 2.0f;
    viewport.dvClipHeight = 2.0f;
    viewport.dvMaxZ = 1.0f;
    return viewport;
}

inline D3DLIGHT WhiteLight() {
    D3DLIGHT light{};
    light.dwSize = sizeof light;
    light.dltType = D3DLIGHT_POINT;
    light.dcvColor = {{1.0f}, {1.0f}, {1.0f}, {0.0f}};
    light.dvPosition = {{4.0f}, {4.0f}, {-4.0f}};
    light.dvRange = D3DLIGHT_RANGE_MAX;
    return light;
}

// A material lit only by the ambient light, in the given colour.
inline D3DMATERIAL AmbientMaterial(float r, float g, float b) {
    D3DMATERIAL material{};
    material.dwSize = sizeof material;
    material.ambient = {{r}, {g}, {b}, {0.0f}};
    return material;
}

inline D3DMATRIX Identity() {
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

inline D3DMATRIX ViewMatrix() {
    D3DMATRIX m = Identity();
    m._43 = 10.0f;
    return m;
}

inline D3DMATRIX ProjectionMatrix() {
    D3DMATRIX m{};
    m._11 = 2.0f;
    m._22 = 8.0f / 3.0f;
    m._33 = 1.0f;
    m._34 = 1.0f;
    m._43 = -1.0f;
    return m;
}

// A triangle facing the eye (clockwise on screen) around (x, y) on the
// plane z = 0 of the world, two units across.
inline std::vector<D3DVERTEX> Triangle(float x, float y) {
    std::vector<D3DVERTEX> vertices(3);
    const float corners[3][2] = {{-1.0f, -1.0f}, {0.0f, 1.0f}, {1.0f, -1.0f}};
    for (int i = 0; i < 3; ++i) {
        vertices[i].x = x + corners[i][0];
        vertices[i].y = y + corners[i][1];
        vertices[i].nz = -1.0f;
    }
    return vertices;
}

LRESULT CALLBACK PlainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        control::Reset();
        user::Reset();
        auto backend = std::make_unique<display::HeadlessBackend>();
        backend->KeepLastFrame();
        headless = backend.get();
        display::Install(std::move(backend));
        window = MakeWindow();
    }
    void TearDown() override {
        ReleaseAll();
        display::Install(nullptr);
        user::Reset();
        control::Reset();
    }

    HWND MakeWindow() {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = PlainWindowProcedure;
        windowClass.lpszClassName = "QuorvaneObjects";
        RegisterClassExA(&windowClass);
        return CreateWindowExA(0, "QuorvaneObjects", "objects", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT,
                               0, nullptr, nullptr, nullptr, nullptr);
    }

    // The program's bring-up chain in its order, in a width x height x 32
    // display mode; stops at the first failure and returns its code, naming
    // the step in failedStep.
    HRESULT BringUp(DWORD width = 800, DWORD height = 600) {
        RenderObjects& o = objects;
        DDSURFACEDESC primary = PrimaryDesc(), depth = DepthDesc(width, height);
        D3DVIEWPORT2 viewportData = FullViewport(width, height);
        D3DLIGHT lightData = WhiteLight();
        D3DMATRIX world = Identity(), view = ViewMatrix(), projection = ProjectionMatrix();
        struct Step {
            const char* name;
            std::function<HRESULT()> call;
        };
        const Step steps[] = {
            {"DirectDrawCreate", [&] { return DirectDrawCreate(nullptr, &o.directDraw, nullptr); }},
            {"IDirectDraw::QueryInterface",
             [&] { return o.directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&o.direct3D)); }},
            {"IDirectDraw::SetCooperativeLevel",
             [&] { return o.directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN); }},
            {"IDirectDraw::SetDisplayMode", [&] { return o.directDraw->SetDisplayMode(width, height, 32); }},
            {"IDirectDraw::CreateSurface", [&] { return o.directDraw->CreateSurface(&primary, &o.primarySurface, nullptr); }},
            {"IDirectDraw::CreateSurface", [&] { return o.directDraw->CreateSurface(&depth, &o.zBuffer, nullptr); }},
            {"IDirectDrawSurface::AddAttachedSurface", [&] { return o.primarySurface->AddAttachedSurface(o.zBuffer); }},
            {"IDirect3D2::CreateDevice",
             [&] { return o.direct3D->CreateDevice(IID_IDirect3DHALDevice, o.primarySurface, &o.device); }},
            {"IDirect3DDevice2::SetRenderState", [&] { return o.device->SetRenderState(D3DRENDERSTATE_ZENABLE, TRUE); }},
            {"IDirect3DDevice2::SetRenderState",
             [&] { return o.device->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL); }},
            {"IDirect3DDevice2::SetRenderState",
             [&] { return o.device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD); }},
            {"IDirect3D2::CreateViewport", [&] { return o.direct3D->CreateViewport(&o.viewport, nullptr); }},
            {"IDirect3DDevice2::AddViewport", [&] { return o.device->AddViewport(o.viewport); }},
            {"IDirect3DViewport2::SetViewport2", [&] { return o.viewport->SetViewport2(&viewportData); }},
            {"IDirect3DDevice2::SetCurrentViewport", [&] { return o.device->SetCurrentViewport(o.viewport); }},
            {"IDirect3D2::CreateMaterial", [&] { return o.direct3D->CreateMaterial(&o.material, nullptr); }},
            {"IDirect3D2::CreateLight", [&] { return o.direct3D->CreateLight(&o.light, nullptr); }},
            {"IDirect3DLight::SetLight", [&] { return o.light->SetLight(&lightData); }},
            {"IDirect3DViewport2::AddLight", [&] { return o.viewport->AddLight(o.light); }},
            {"IDirect3DDevice2::SetLightState",
             [&] { return o.device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0xFFFFFFFF); }},
            {"IDirect3DDevice2::SetTransform",
             [&] { return o.device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world); }},
            {"IDirect3DDevice2::SetTransform", [&] { return o.device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view); }},
            {"IDirect3DDevice2::SetTransform",
             [&] { return o.device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection); }},
        };
        for (const Step& step : steps) {
            if (HRESULT result = step.call(); result != DD_OK) {
                failedStep = step.name;
                return result;
            }
        }
        return DD_OK;
    }

    // The program's teardown: every present object in the teardown's order.
    void ReleaseAll() {
        for (IUnknown** object : objects.All()) {
            if (*object) (*object)->Release();
            *object = nullptr;
        }
    }

    // Sets the material and selects it on the device, as a frame does.
    void ApplyMaterial(D3DMATERIAL material) {
        D3DMATERIALHANDLE handle = 0;
        ASSERT_EQ(objects.material->SetMaterial(&material), D3D_OK);
        ASSERT_EQ(objects.material->GetHandle(objects.device, &handle), D3D_OK);
        ASSERT_EQ(objects.device->SetLightState(D3DLIGHTSTATE_MATERIAL, handle), D3D_OK);
    }

    // The pixel the device last drew at (x, y) of the presented frame.
    uint32_t PresentedPixel(uint32_t x, uint32_t y) const {
        return headless->LastFramePixels().at(std::size_t(y) * headless->LastFrameWidth() + x) & 0xFFFFFF;
    }

    // Collects the trace lines from now on.
    void RecordTrace() {
        control::SetTraceSink([this](const std::string& line) { traceLines.push_back(line); });
    }

    display::HeadlessBackend* headless = nullptr;
    HWND window = nullptr;
    RenderObjects objects;
    std::string failedStep;
    std::vector<std::string> traceLines;
};

inline LRESULT CALLBACK PlainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace qv::ddraw::testing
