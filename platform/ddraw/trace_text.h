// How the arguments of DirectDraw and Direct3D calls read on the trace:
// constants by their published names, records by their fields (only as far
// as their size field says they reach), matrices as 16 values in row order.
#pragma once

#include <d3d.h>

#include <string>

namespace qv::ddraw {

std::string CooperativeFlagsText(DWORD flags);
std::string FlipFlagsText(DWORD flags);
std::string SurfaceCapsText(DWORD caps);
std::string SurfaceDescText(const DDSURFACEDESC* desc);

std::string RenderStateText(D3DRENDERSTATETYPE state);
std::string RenderStateValueText(D3DRENDERSTATETYPE state, DWORD value);
std::string LightStateText(D3DLIGHTSTATETYPE state);
std::string LightStateValueText(D3DLIGHTSTATETYPE state, DWORD value);
std::string TransformStateText(D3DTRANSFORMSTATETYPE state);
std::string MatrixText(const D3DMATRIX* matrix);
std::string PrimitiveTypeText(D3DPRIMITIVETYPE type);
std::string VertexTypeText(D3DVERTEXTYPE type);
std::string DrawFlagsText(DWORD flags);
std::string ClearFlagsText(DWORD flags);
std::string RectsText(DWORD count, const D3DRECT* rects);
std::string ViewportText(const D3DVIEWPORT* viewport);
std::string ViewportText(const D3DVIEWPORT2* viewport);
std::string NextFlagsText(DWORD flags);
std::string LightText(const D3DLIGHT* light);
std::string MaterialText(const D3DMATERIAL* material);

}  // namespace qv::ddraw
