// The device's methods the stand-in does not offer: textures, the
// Begin/Vertex/End way of drawing, other render targets and clip status.

#include "ddraw/device.h"
#include "ddraw/trace_text.h"

namespace qv::ddraw {

HRESULT Device::SwapTextureHandles(LPDIRECT3DTEXTURE2 texture1, LPDIRECT3DTEXTURE2 texture2) {
    return Unsupported("IDirect3DDevice2::SwapTextureHandles", [&](control::CallTrace& trace) {
        trace.Arg(texture1 ? "texture" : "NULL").Arg(texture2 ? "texture" : "NULL");
    });
}

HRESULT Device::EnumTextureFormats(LPD3DENUMTEXTUREFORMATSCALLBACK callback, LPVOID context) {
    return Unsupported("IDirect3DDevice2::EnumTextureFormats", [&](control::CallTrace& trace) {
        trace.Arg(callback ? "callback" : "NULL").Arg(context ? "context" : "NULL");
    });
}

HRESULT Device::SetRenderTarget(LPDIRECTDRAWSURFACE surface, DWORD flags) {
    return Unsupported("IDirect3DDevice2::SetRenderTarget",
                       [&](control::CallTrace& trace) { trace.Arg(Surface::LabelOf(surface)).Arg(flags); });
}

HRESULT Device::Begin(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, DWORD flags) {
    return Unsupported("IDirect3DDevice2::Begin", [&](control::CallTrace& trace) {
        trace.Arg(PrimitiveTypeText(primitiveType)).Arg(VertexTypeText(vertexType)).Arg(DrawFlagsText(flags));
    });
}

HRESULT Device::BeginIndexed(D3DPRIMITIVETYPE primitiveType, D3DVERTEXTYPE vertexType, LPVOID vertices,
                             DWORD vertexCount, DWORD flags) {
    return Unsupported("IDirect3DDevice2::BeginIndexed", [&](control::CallTrace& trace) {
        trace.Arg(PrimitiveTypeText(primitiveType))
            .Arg(VertexTypeText(vertexType))
            .Arg(vertices ? "vertices" : "NULL")
            .Arg(vertexCount)
            .Arg(DrawFlagsText(flags));
    });
}

HRESULT Device::Vertex(LPVOID vertex) {
    return Unsupported("IDirect3DDevice2::Vertex",
                       [&](control::CallTrace& trace) { trace.Arg(vertex ? "vertex" : "NULL"); });
}

HRESULT Device::Index(WORD index) {
    return Unsupported("IDirect3DDevice2::Index", [&](control::CallTrace& trace) { trace.Arg(index); });
}

HRESULT Device::End(DWORD flags) {
    return Unsupported("IDirect3DDevice2::End", [&](control::CallTrace& trace) { trace.Arg(flags); });
}

HRESULT Device::SetClipStatus(LPD3DCLIPSTATUS clipStatus) {
    return Unsupported("IDirect3DDevice2::SetClipStatus",
                       [&](control::CallTrace& trace) { trace.Arg(clipStatus ? "clip status" : "NULL"); });
}

HRESULT Device::GetClipStatus(LPD3DCLIPSTATUS clipStatus) {
    return Unsupported("IDirect3DDevice2::GetClipStatus",
                       [&](control::CallTrace& trace) { trace.Arg(clipStatus ? "&clip status" : "NULL"); });
}

}  // namespace qv::ddraw
