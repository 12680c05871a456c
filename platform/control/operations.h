// Every operation the stand-in carries, by its published name, with what an
// injected fault makes it return by default. This table is the one place a
// call is registered: a call names its entry (OperationId, checked when the
// call site is compiled), and a fault or trace line for a name that is not
// here cannot exist. A new call is one line below.
#pragma once

#include <d3d.h>
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv::control {

struct Operation {
    std::string_view name;
    // The code an injected fault returns unless the fault names its own;
    // S_OK for a call that cannot fail (it is traced, faults are refused).
    HRESULT fault;
    // What a failed call returns, as the trace shows it.
    std::string_view failure;
};

// A call returning an HRESULT, failing with code by default.
#define QV_RETURNS_CODE(name, code) {name, code, #code}
// A call that reports failure with one value (FALSE, NULL, 0, -1).
#define QV_RETURNS_ON_FAILURE(name, value) {name, E_FAIL, value}
// A call that cannot fail.
#define QV_CANNOT_FAIL(name) {name, S_OK, ""}
// IUnknown's three methods of an interface.
#define QV_IUNKNOWN(name)                                    \
    QV_RETURNS_CODE(name "::QueryInterface", E_NOINTERFACE), \
    QV_CANNOT_FAIL(name "::AddRef"), QV_CANNOT_FAIL(name "::Release")

inline constexpr Operation kOperations[] = {
    // DirectDraw and Direct3D.
    QV_RETURNS_CODE("DirectDrawCreate", DDERR_NODIRECTDRAWHW),
    QV_IUNKNOWN("IDirectDraw"),
    QV_RETURNS_CODE("IDirectDraw::SetCooperativeLevel", DDERR_EXCLUSIVEMODEALREADYSET),
    QV_RETURNS_CODE("IDirectDraw::SetDisplayMode", DDERR_UNSUPPORTEDMODE),
    QV_RETURNS_CODE("IDirectDraw::RestoreDisplayMode", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDraw::CreateSurface", DDERR_OUTOFVIDEOMEMORY),
    QV_RETURNS_CODE("IDirectDraw::Compact", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::CreateClipper", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::CreatePalette", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::DuplicateSurface", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::EnumDisplayModes", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDraw::EnumSurfaces", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::FlipToGDISurface", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::GetCaps", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDraw::GetDisplayMode", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDraw::GetFourCCCodes", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDraw::GetGDISurface", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::GetMonitorFrequency", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDraw::GetScanLine", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::GetVerticalBlankStatus", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDraw::Initialize", DDERR_ALREADYINITIALIZED),
    QV_RETURNS_CODE("IDirectDraw::WaitForVerticalBlank", DDERR_UNSUPPORTED),
    QV_IUNKNOWN("IDirectDrawSurface"),
    QV_RETURNS_CODE("IDirectDrawSurface::AddAttachedSurface", DDERR_CANNOTATTACHSURFACE),
    QV_RETURNS_CODE("IDirectDrawSurface::Flip", DDERR_SURFACELOST),
    QV_RETURNS_CODE("IDirectDrawSurface::GetSurfaceDesc", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDrawSurface::AddOverlayDirtyRect", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::Blt", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::BltBatch", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::BltFast", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::DeleteAttachedSurface", DDERR_CANNOTDETACHSURFACE),
    QV_RETURNS_CODE("IDirectDrawSurface::EnumAttachedSurfaces", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDrawSurface::EnumOverlayZOrders", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::GetAttachedSurface", DDERR_NOTFOUND),
    QV_RETURNS_CODE("IDirectDrawSurface::GetBltStatus", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDrawSurface::GetCaps", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDrawSurface::GetClipper", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::GetColorKey", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::GetDC", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::GetFlipStatus", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDrawSurface::GetOverlayPosition", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::GetPalette", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::GetPixelFormat", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDrawSurface::Initialize", DDERR_ALREADYINITIALIZED),
    QV_RETURNS_CODE("IDirectDrawSurface::IsLost", DDERR_SURFACELOST),
    QV_RETURNS_CODE("IDirectDrawSurface::Lock", DDERR_SURFACEBUSY),
    QV_RETURNS_CODE("IDirectDrawSurface::ReleaseDC", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::Restore", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirectDrawSurface::SetClipper", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::SetColorKey", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::SetOverlayPosition", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::SetPalette", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::Unlock", DDERR_NOTLOCKED),
    QV_RETURNS_CODE("IDirectDrawSurface::UpdateOverlay", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::UpdateOverlayDisplay", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirectDrawSurface::UpdateOverlayZOrder", DDERR_UNSUPPORTED),
    QV_IUNKNOWN("IDirect3D2"),
    QV_RETURNS_CODE("IDirect3D2::CreateDevice", D3DERR_INITFAILED),
    QV_RETURNS_CODE("IDirect3D2::CreateViewport", DDERR_OUTOFMEMORY),
    QV_RETURNS_CODE("IDirect3D2::CreateMaterial", DDERR_OUTOFMEMORY),
    QV_RETURNS_CODE("IDirect3D2::CreateLight", DDERR_OUTOFMEMORY),
    QV_RETURNS_CODE("IDirect3D2::EnumDevices", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3D2::FindDevice", DDERR_NOTFOUND),
    QV_IUNKNOWN("IDirect3DDevice2"),
    QV_RETURNS_CODE("IDirect3DDevice2::AddViewport", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::SetCurrentViewport", D3DERR_INVALIDCURRENTVIEWPORT),
    QV_RETURNS_CODE("IDirect3DDevice2::BeginScene", D3DERR_SCENE_BEGIN_FAILED),
    QV_RETURNS_CODE("IDirect3DDevice2::EndScene", D3DERR_SCENE_END_FAILED),
    QV_RETURNS_CODE("IDirect3DDevice2::SetRenderState", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::SetLightState", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::SetTransform", D3DERR_MATRIX_SETDATA_FAILED),
    QV_RETURNS_CODE("IDirect3DDevice2::DrawPrimitive", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirect3DDevice2::DrawIndexedPrimitive", DDERR_GENERIC),
    QV_RETURNS_CODE("IDirect3DDevice2::GetCaps", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::GetStats", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::DeleteViewport", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::NextViewport", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::GetDirect3D", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::GetCurrentViewport", D3DERR_NOCURRENTVIEWPORT),
    QV_RETURNS_CODE("IDirect3DDevice2::GetRenderTarget", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::GetRenderState", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::GetLightState", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DDevice2::GetTransform", D3DERR_MATRIX_GETDATA_FAILED),
    QV_RETURNS_CODE("IDirect3DDevice2::MultiplyTransform", D3DERR_MATRIX_SETDATA_FAILED),
    QV_RETURNS_CODE("IDirect3DDevice2::SwapTextureHandles", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::EnumTextureFormats", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::SetRenderTarget", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::Begin", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::BeginIndexed", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::Vertex", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::Index", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::End", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::SetClipStatus", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DDevice2::GetClipStatus", DDERR_UNSUPPORTED),
    QV_IUNKNOWN("IDirect3DViewport2"),
    QV_RETURNS_CODE("IDirect3DViewport2::SetViewport2", D3DERR_SETVIEWPORTDATA_FAILED),
    QV_RETURNS_CODE("IDirect3DViewport2::Clear", DDERR_SURFACELOST),
    QV_RETURNS_CODE("IDirect3DViewport2::AddLight", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DViewport2::Initialize", DDERR_ALREADYINITIALIZED),
    QV_RETURNS_CODE("IDirect3DViewport2::GetViewport", D3DERR_VIEWPORTDATANOTSET),
    QV_RETURNS_CODE("IDirect3DViewport2::SetViewport", D3DERR_SETVIEWPORTDATA_FAILED),
    QV_RETURNS_CODE("IDirect3DViewport2::GetViewport2", D3DERR_VIEWPORTDATANOTSET),
    QV_RETURNS_CODE("IDirect3DViewport2::SetBackground", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DViewport2::GetBackground", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DViewport2::DeleteLight", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DViewport2::NextLight", DDERR_INVALIDPARAMS),
    QV_RETURNS_CODE("IDirect3DViewport2::TransformVertices", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DViewport2::LightElements", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DViewport2::SetBackgroundDepth", DDERR_UNSUPPORTED),
    QV_RETURNS_CODE("IDirect3DViewport2::GetBackgroundDepth", DDERR_UNSUPPORTED),
    QV_IUNKNOWN("IDirect3DMaterial2"),
    QV_RETURNS_CODE("IDirect3DMaterial2::SetMaterial", D3DERR_MATERIAL_SETDATA_FAILED),
    QV_RETURNS_CODE("IDirect3DMaterial2::GetHandle", D3DERR_MATERIAL_GETDATA_FAILED),
    QV_RETURNS_CODE("IDirect3DMaterial2::GetMaterial", D3DERR_MATERIAL_GETDATA_FAILED),
    QV_IUNKNOWN("IDirect3DLight"),
    QV_RETURNS_CODE("IDirect3DLight::SetLight", D3DERR_LIGHT_SET_FAILED),
    QV_RETURNS_CODE("IDirect3DLight::Initialize", DDERR_ALREADYINITIALIZED),
    QV_RETURNS_CODE("IDirect3DLight::GetLight", D3DERR_LIGHT_SET_FAILED),
    // Windows and messages.
    QV_RETURNS_ON_FAILURE("RegisterClassExA", "0"),
    QV_RETURNS_ON_FAILURE("CreateWindowExA", "NULL"),
    QV_CANNOT_FAIL("ShowWindow"),
    QV_CANNOT_FAIL("UpdateWindow"),
    QV_RETURNS_ON_FAILURE("DestroyWindow", "FALSE"),
    QV_CANNOT_FAIL("IsWindow"),
    QV_CANNOT_FAIL("DefWindowProcA"),
    QV_RETURNS_ON_FAILURE("LoadIconA", "NULL"),
    QV_RETURNS_ON_FAILURE("LoadCursorA", "NULL"),
    QV_RETURNS_ON_FAILURE("MessageBoxA", "0"),
    QV_RETURNS_ON_FAILURE("PostMessageA", "FALSE"),
    QV_CANNOT_FAIL("PostQuitMessage"),
    QV_CANNOT_FAIL("PeekMessageA"),
    QV_RETURNS_ON_FAILURE("GetMessageA", "-1"),
    QV_CANNOT_FAIL("TranslateMessage"),
    QV_CANNOT_FAIL("DispatchMessageA"),
    QV_CANNOT_FAIL("SendMessageA"),
    // The program's allocation (the non-throwing operator new[]).
    QV_RETURNS_ON_FAILURE("operator new[]", "NULL"),
};

#undef QV_RETURNS_CODE
#undef QV_RETURNS_ON_FAILURE
#undef QV_CANNOT_FAIL
#undef QV_IUNKNOWN

// Calls name their operation through this: a name that is not in the table
// does not compile.
class OperationId {
public:
    template <std::size_t N>
    consteval OperationId(const char (&name)[N]) : index_(Find(std::string_view(name, N - 1), {})) {}
    // Interface::Method, for calls every interface shares.
    consteval OperationId(std::string_view scope, std::string_view method) : index_(Find(scope, method)) {}

    std::size_t Index() const { return index_; }
    const Operation& operator*() const { return kOperations[index_]; }
    const Operation* operator->() const { return &kOperations[index_]; }

private:
    static void NotRegistered();  // never defined: reaching it stops the compilation
    static consteval std::size_t Find(std::string_view first, std::string_view method) {
        for (std::size_t index = 0; index < std::size(kOperations); ++index) {
            std::string_view name = kOperations[index].name;
            if (method.empty() ? name == first
                               : name.size() == first.size() + 2 + method.size() && name.substr(0, first.size()) == first &&
                                     name.substr(first.size(), 2) == "::" && name.substr(first.size() + 2) == method)
                return index;
        }
        NotRegistered();
        return 0;
    }

    std::size_t index_;
};

// The entry of a name read at run time (exact spelling), or null.
const Operation* FindOperation(std::string_view name);
// The registered names that can fail closest to a misspelled one (case
// ignored; a bare method name matches its full name), at most three.
std::vector<std::string_view> NearestOperations(std::string_view name);

}  // namespace qv::control
