// A program built against mingw-w64's own DirectX declarations that calls
// what Quorvane never calls, and checks the published answers: the queries,
// the surfaces' memory, the Get counterparts of the Sets, COM identity and
// reference counts. One line per check; exit code 1 when any is wrong.

#include <windows.h>

#include <d3d.h>
#include <ddraw.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

int failures = 0;

void Check(const char* what, bool ok) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    failures += !ok;
}

HRESULT WINAPI CountMode(LPDDSURFACEDESC desc, LPVOID context) {
    auto* found = static_cast<int*>(context);
    ++found[0];
    if (desc->dwWidth == 800 && desc->dwHeight == 600 && desc->ddpfPixelFormat.dwRGBBitCount == 32) ++found[1];
    return DDENUMRET_OK;
}

template <class T>
void** Out(T** pointer) {
    return reinterpret_cast<void**>(pointer);
}

}  // namespace

int main() {
    HWND window = CreateWindowExA(0, "STATIC", "ddraw client", WS_POPUP, 0, 0, 320, 240, nullptr, nullptr, nullptr,
                                  nullptr);
    IDirectDraw* dd = nullptr;
    Check("DirectDrawCreate", DirectDrawCreate(nullptr, &dd, nullptr) == DD_OK && dd);
    if (!dd) return 1;
    Check("AddRef and Release report the count", dd->AddRef() == 2 && dd->Release() == 1);

    IDirect3D2 *d3d = nullptr, *again = nullptr;
    Check("QueryInterface(IID_IDirect3D2)", dd->QueryInterface(IID_IDirect3D2, Out(&d3d)) == DD_OK && d3d);
    Check("the same IDirect3D2 each time",
          dd->QueryInterface(IID_IDirect3D2, Out(&again)) == DD_OK && again == d3d && again->Release() == 2);
    IUnknown *fromDraw = nullptr, *from3D = nullptr;
    dd->QueryInterface(IID_IUnknown, Out(&fromDraw));
    d3d->QueryInterface(IID_IUnknown, Out(&from3D));
    Check("one IUnknown from either interface", fromDraw && fromDraw == from3D);
    if (fromDraw) fromDraw->Release();
    if (from3D) from3D->Release();
    IDirectDraw* back = nullptr;
    Check("IDirectDraw back from IDirect3D2", d3d->QueryInterface(IID_IDirectDraw, Out(&back)) == DD_OK && back == dd);
    if (back) back->Release();

    DDCAPS caps{};
    caps.dwSize = sizeof caps;
    Check("GetCaps", dd->GetCaps(&caps, nullptr) == DD_OK);
    int found[2] = {0, 0};
    Check("EnumDisplayModes offers 800 x 600 x 32",
          dd->EnumDisplayModes(0, nullptr, found, CountMode) == DD_OK && found[0] > 0 && found[1] == 1);

    Check("SetCooperativeLevel", dd->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) == DD_OK);
    Check("SetDisplayMode", dd->SetDisplayMode(800, 600, 32) == DD_OK);
    DDSURFACEDESC mode{};
    mode.dwSize = sizeof mode;
    Check("GetDisplayMode", dd->GetDisplayMode(&mode) == DD_OK && mode.dwWidth == 800 && mode.dwHeight == 600 &&
                                mode.ddpfPixelFormat.dwRGBBitCount == 32);

    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    IDirectDrawSurface *primary = nullptr, *backBuffer = nullptr, *zBuffer = nullptr;
    Check("CreateSurface (flipping chain)", dd->CreateSurface(&desc, &primary, nullptr) == DD_OK && primary);
    if (!primary) return 1;
    DDSURFACEDESC got{};
    got.dwSize = sizeof got;
    Check("GetSurfaceDesc", primary->GetSurfaceDesc(&got) == DD_OK && got.dwWidth == 800 && got.dwHeight == 600);
    DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
    Check("GetAttachedSurface (the back buffer)",
          primary->GetAttachedSurface(&backCaps, &backBuffer) == DD_OK && backBuffer && backBuffer != primary);
    DDSURFACEDESC locked{};
    locked.dwSize = sizeof locked;
    bool lockedOk = backBuffer && backBuffer->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) == DD_OK &&
                    locked.lpSurface && locked.lPitch >= 800 * 4;
    if (lockedOk) static_cast<DWORD*>(locked.lpSurface)[0] = 0x00FF00FF;
    Check("Lock gives the memory", lockedOk);
    Check("Unlock", backBuffer && backBuffer->Unlock(nullptr) == DD_OK);
    Check("IsLost and Restore", primary->IsLost() == DD_OK && primary->Restore() == DD_OK);

    DDSURFACEDESC depth{};
    depth.dwSize = sizeof depth;
    depth.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    depth.dwWidth = 800;
    depth.dwHeight = 600;
    depth.ddsCaps.dwCaps = DDSCAPS_ZBUFFER;
    depth.ddpfPixelFormat.dwSize = sizeof depth.ddpfPixelFormat;
    depth.ddpfPixelFormat.dwFlags = DDPF_ZBUFFER;
    depth.ddpfPixelFormat.dwZBufferBitDepth = 32;
    Check("CreateSurface (32-bit depth)", dd->CreateSurface(&depth, &zBuffer, nullptr) == DD_OK && zBuffer);
    Check("AddAttachedSurface", zBuffer && primary->AddAttachedSurface(zBuffer) == DD_OK);

    IDirect3DDevice2* device = nullptr;
    Check("CreateDevice", d3d->CreateDevice(IID_IDirect3DHALDevice, primary, &device) == D3D_OK && device);
    if (!device) return 1;
    IDirectDrawSurface* target = nullptr;
    Check("GetRenderTarget", device->GetRenderTarget(&target) == D3D_OK && target == primary);
    if (target) target->Release();
    DWORD state = 0;
    Check("SetRenderState and GetRenderState",
          device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD) == D3D_OK &&
              device->GetRenderState(D3DRENDERSTATE_SHADEMODE, &state) == D3D_OK && state == D3DSHADE_GOURAUD);
    Check("SetLightState and GetLightState",
          device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0x00808080) == D3D_OK &&
              device->GetLightState(D3DLIGHTSTATE_AMBIENT, &state) == D3D_OK && state == 0x00808080);
    D3DMATRIX scale{}, gotMatrix{};
    scale._11 = 2;
    scale._22 = 3;
    scale._33 = 4;
    scale._44 = 1;
    Check("SetTransform and GetTransform",
          device->SetTransform(D3DTRANSFORMSTATE_WORLD, &scale) == D3D_OK &&
              device->GetTransform(D3DTRANSFORMSTATE_WORLD, &gotMatrix) == D3D_OK &&
              std::memcmp(&scale, &gotMatrix, sizeof scale) == 0);

    IDirect3DViewport2 *viewport = nullptr, *current = nullptr;
    Check("CreateViewport and AddViewport", d3d->CreateViewport(&viewport, nullptr) == D3D_OK && viewport &&
                                                device->AddViewport(viewport) == D3D_OK);
    if (!viewport) return 1;
    D3DVIEWPORT2 area{}, gotArea{};
    area.dwSize = gotArea.dwSize = sizeof area;
    area.dwWidth = 800;
    area.dwHeight = 600;
    area.dvClipX = -1;
    area.dvClipY = 1;
    area.dvClipWidth = 2;
    area.dvClipHeight = 2;
    area.dvMaxZ = 1;
    Check("SetViewport2 and GetViewport2", viewport->SetViewport2(&area) == D3D_OK &&
                                               viewport->GetViewport2(&gotArea) == D3D_OK &&
                                               std::memcmp(&area, &gotArea, sizeof area) == 0);
    Check("SetCurrentViewport and GetCurrentViewport",
          device->SetCurrentViewport(viewport) == D3D_OK && device->GetCurrentViewport(&current) == D3D_OK &&
              current == viewport);
    if (current) current->Release();

    IDirect3DMaterial2* material = nullptr;
    D3DMATERIAL colour{}, gotColour{};
    colour.dwSize = gotColour.dwSize = sizeof colour;
    colour.diffuse.r = 1;
    colour.ambient.b = 0.5f;
    Check("SetMaterial and GetMaterial", d3d->CreateMaterial(&material, nullptr) == D3D_OK && material &&
                                             material->SetMaterial(&colour) == D3D_OK &&
                                             material->GetMaterial(&gotColour) == D3D_OK &&
                                             std::memcmp(&colour, &gotColour, sizeof colour) == 0);
    IDirect3DLight* light = nullptr;
    D3DLIGHT lamp{}, gotLamp{};
    lamp.dwSize = gotLamp.dwSize = sizeof lamp;
    lamp.dltType = D3DLIGHT_POINT;
    lamp.dcvColor.r = lamp.dcvColor.g = lamp.dcvColor.b = 1;
    lamp.dvPosition.x = 4;
    lamp.dvRange = 100;
    Check("SetLight and GetLight", d3d->CreateLight(&light, nullptr) == D3D_OK && light &&
                                       light->SetLight(&lamp) == D3D_OK && light->GetLight(&gotLamp) == D3D_OK &&
                                       std::memcmp(&lamp, &gotLamp, sizeof lamp) == 0);

    Check("DeleteViewport, once", device->DeleteViewport(viewport) == D3D_OK &&
                                      device->DeleteViewport(viewport) != D3D_OK);

    // Everything released but the Direct3D interface: releasing the
    // DirectDraw interface first keeps the object alive through it.
    for (IUnknown* object : {static_cast<IUnknown*>(light), static_cast<IUnknown*>(material),
                             static_cast<IUnknown*>(viewport), static_cast<IUnknown*>(device),
                             static_cast<IUnknown*>(backBuffer), static_cast<IUnknown*>(zBuffer),
                             static_cast<IUnknown*>(primary)}) {
        if (object) object->Release();
    }
    Check("releasing IDirectDraw first leaves IDirect3D2's reference", dd->Release() == 1);
    IDirect3DMaterial2* late = nullptr;
    Check("IDirect3D2 still works", d3d->CreateMaterial(&late, nullptr) == D3D_OK && late && late->Release() == 0);
    Check("the last Release reports 0", d3d->Release() == 0);
    DestroyWindow(window);
    std::printf("%d wrong\n", failures);
    return failures ? 1 : 0;
}
