// Trace texts of the DirectDraw and Direct3D arguments.

#include "ddraw/trace_text.h"

#include "ddraw/com_object.h"

#include "control/trace.h"

#include <cstdio>
#include <cstring>

namespace qv::ddraw {
namespace {

using control::Float;
using control::NamedValue;

std::string Field(const char* name, const std::string& value) { return std::string(name) + "=" + value; }
std::string Field(const char* name, unsigned long long value) { return Field(name, std::to_string(value)); }

std::string Record(std::initializer_list<std::string> fields) {
    std::string text = "{";
    for (const std::string& field : fields) {
        if (text.size() > 1) text += ", ";
        text += field;
    }
    return text + "}";
}

std::string ColorText(const D3DCOLORVALUE& color) {
    return Record({Float(color.r), Float(color.g), Float(color.b), Float(color.a)});
}

std::string VectorText(const D3DVECTOR& vector) { return Record({Float(vector.x), Float(vector.y), Float(vector.z)}); }

std::string BoolText(DWORD value) { return value == TRUE ? "TRUE" : value == FALSE ? "FALSE" : std::to_string(value); }

std::string PixelFormatText(const DDPIXELFORMAT& format) {
    std::string text = "{" + Field("dwSize", format.dwSize) + ", " +
                       Field("dwFlags", control::Flags(format.dwFlags, {{DDPF_ALPHAPIXELS, "DDPF_ALPHAPIXELS"},
                                                                        {DDPF_ALPHA, "DDPF_ALPHA"},
                                                                        {DDPF_FOURCC, "DDPF_FOURCC"},
                                                                        {DDPF_PALETTEINDEXED8, "DDPF_PALETTEINDEXED8"},
                                                                        {DDPF_RGB, "DDPF_RGB"},
                                                                        {DDPF_ZBUFFER, "DDPF_ZBUFFER"}}));
    if (format.dwFlags & DDPF_ZBUFFER) text += ", " + Field("dwZBufferBitDepth", format.dwZBufferBitDepth);
    if (format.dwFlags & DDPF_RGB) {
        text += ", " + Field("dwRGBBitCount", format.dwRGBBitCount) + ", " +
                Field("dwRBitMask", control::HexText(format.dwRBitMask)) + ", " +
                Field("dwGBitMask", control::HexText(format.dwGBitMask)) + ", " +
                Field("dwBBitMask", control::HexText(format.dwBBitMask));
    }
    return text + "}";
}

}  // namespace

std::string OutText(const void* out, const std::string& createdLabel) {
    if (!out) return "NULL";
    return "&" + (createdLabel.empty() ? std::string("NULL") : createdLabel);
}

std::string GuidName(REFGUID guid) {
    static const struct {
        const GUID* guid;
        const char* name;
    } kNames[] = {
        {&IID_IUnknown, "IID_IUnknown"},
        {&IID_IDirectDraw, "IID_IDirectDraw"},
        {&IID_IDirectDrawSurface, "IID_IDirectDrawSurface"},
        {&IID_IDirect3D2, "IID_IDirect3D2"},
        {&IID_IDirect3DHALDevice, "IID_IDirect3DHALDevice"},
        {&IID_IDirect3DDevice2, "IID_IDirect3DDevice2"},
        {&IID_IDirect3DViewport2, "IID_IDirect3DViewport2"},
        {&IID_IDirect3DMaterial2, "IID_IDirect3DMaterial2"},
        {&IID_IDirect3DLight, "IID_IDirect3DLight"},
    };
    for (const auto& entry : kNames) {
        if (*entry.guid == guid) return entry.name;
    }
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

std::string CooperativeFlagsText(DWORD flags) {
    return control::Flags(flags, {{DDSCL_EXCLUSIVE, "DDSCL_EXCLUSIVE"},
                                  {DDSCL_FULLSCREEN, "DDSCL_FULLSCREEN"},
                                  {DDSCL_NORMAL, "DDSCL_NORMAL"},
                                  {DDSCL_ALLOWREBOOT, "DDSCL_ALLOWREBOOT"},
                                  {DDSCL_NOWINDOWCHANGES, "DDSCL_NOWINDOWCHANGES"},
                                  {DDSCL_ALLOWMODEX, "DDSCL_ALLOWMODEX"}});
}

std::string FlipFlagsText(DWORD flags) {
    return control::Flags(flags, {{DDFLIP_WAIT, "DDFLIP_WAIT"}, {DDFLIP_EVEN, "DDFLIP_EVEN"}, {DDFLIP_ODD, "DDFLIP_ODD"}});
}

std::string SurfaceCapsText(DWORD caps) {
    return control::Flags(caps, {{DDSCAPS_ALPHA, "DDSCAPS_ALPHA"},
                                 {DDSCAPS_BACKBUFFER, "DDSCAPS_BACKBUFFER"},
                                 {DDSCAPS_COMPLEX, "DDSCAPS_COMPLEX"},
                                 {DDSCAPS_FLIP, "DDSCAPS_FLIP"},
                                 {DDSCAPS_FRONTBUFFER, "DDSCAPS_FRONTBUFFER"},
                                 {DDSCAPS_OFFSCREENPLAIN, "DDSCAPS_OFFSCREENPLAIN"},
                                 {DDSCAPS_OVERLAY, "DDSCAPS_OVERLAY"},
                                 {DDSCAPS_PALETTE, "DDSCAPS_PALETTE"},
                                 {DDSCAPS_PRIMARYSURFACE, "DDSCAPS_PRIMARYSURFACE"},
                                 {DDSCAPS_SYSTEMMEMORY, "DDSCAPS_SYSTEMMEMORY"},
                                 {DDSCAPS_TEXTURE, "DDSCAPS_TEXTURE"},
                                 {DDSCAPS_3DDEVICE, "DDSCAPS_3DDEVICE"},
                                 {DDSCAPS_VIDEOMEMORY, "DDSCAPS_VIDEOMEMORY"},
                                 {DDSCAPS_VISIBLE, "DDSCAPS_VISIBLE"},
                                 {DDSCAPS_WRITEONLY, "DDSCAPS_WRITEONLY"},
                                 {DDSCAPS_ZBUFFER, "DDSCAPS_ZBUFFER"},
                                 {DDSCAPS_OWNDC, "DDSCAPS_OWNDC"},
                                 {DDSCAPS_MIPMAP, "DDSCAPS_MIPMAP"},
                                 {DDSCAPS_LOCALVIDMEM, "DDSCAPS_LOCALVIDMEM"}});
}

std::string SurfaceDescText(const DDSURFACEDESC* desc) {
    if (!desc) return "NULL";
    std::string text = "{" + Field("dwSize", desc->dwSize);
    if (desc->dwSize != sizeof(DDSURFACEDESC)) return text + "}";
    DWORD flags = desc->dwFlags;
    text += ", " + Field("dwFlags", control::Flags(flags, {{DDSD_CAPS, "DDSD_CAPS"},
                                                           {DDSD_HEIGHT, "DDSD_HEIGHT"},
                                                           {DDSD_WIDTH, "DDSD_WIDTH"},
                                                           {DDSD_PITCH, "DDSD_PITCH"},
                                                           {DDSD_BACKBUFFERCOUNT, "DDSD_BACKBUFFERCOUNT"},
                                                           {DDSD_ZBUFFERBITDEPTH, "DDSD_ZBUFFERBITDEPTH"},
                                                           {DDSD_ALPHABITDEPTH, "DDSD_ALPHABITDEPTH"},
                                                           {DDSD_LPSURFACE, "DDSD_LPSURFACE"},
                                                           {DDSD_PIXELFORMAT, "DDSD_PIXELFORMAT"},
                                                           {DDSD_CKDESTOVERLAY, "DDSD_CKDESTOVERLAY"},
                                                           {DDSD_CKDESTBLT, "DDSD_CKDESTBLT"},
                                                           {DDSD_CKSRCOVERLAY, "DDSD_CKSRCOVERLAY"},
                                                           {DDSD_CKSRCBLT, "DDSD_CKSRCBLT"},
                                                           {DDSD_MIPMAPCOUNT, "DDSD_MIPMAPCOUNT"},
                                                           {DDSD_REFRESHRATE, "DDSD_REFRESHRATE"},
                                                           {DDSD_LINEARSIZE, "DDSD_LINEARSIZE"}}));
    if (flags & DDSD_HEIGHT) text += ", " + Field("dwHeight", desc->dwHeight);
    if (flags & DDSD_WIDTH) text += ", " + Field("dwWidth", desc->dwWidth);
    if (flags & DDSD_PITCH) text += ", " + Field("lPitch", std::to_string(desc->lPitch));
    if (flags & DDSD_BACKBUFFERCOUNT) text += ", " + Field("dwBackBufferCount", desc->dwBackBufferCount);
    if (flags & DDSD_ZBUFFERBITDEPTH) text += ", " + Field("dwZBufferBitDepth", desc->dwZBufferBitDepth);
    if (flags & DDSD_PIXELFORMAT) text += ", " + Field("ddpfPixelFormat", PixelFormatText(desc->ddpfPixelFormat));
    if (flags & DDSD_CAPS) text += ", " + Field("ddsCaps", SurfaceCapsText(desc->ddsCaps.dwCaps));
    return text + "}";
}

std::string RenderStateText(D3DRENDERSTATETYPE state) {
    static const std::initializer_list<NamedValue> kNames = {
        {D3DRENDERSTATE_TEXTUREHANDLE, "D3DRENDERSTATE_TEXTUREHANDLE"},
        {D3DRENDERSTATE_ANTIALIAS, "D3DRENDERSTATE_ANTIALIAS"},
        {D3DRENDERSTATE_TEXTUREADDRESS, "D3DRENDERSTATE_TEXTUREADDRESS"},
        {D3DRENDERSTATE_TEXTUREPERSPECTIVE, "D3DRENDERSTATE_TEXTUREPERSPECTIVE"},
        {D3DRENDERSTATE_WRAPU, "D3DRENDERSTATE_WRAPU"},
        {D3DRENDERSTATE_WRAPV, "D3DRENDERSTATE_WRAPV"},
        {D3DRENDERSTATE_ZENABLE, "D3DRENDERSTATE_ZENABLE"},
        {D3DRENDERSTATE_FILLMODE, "D3DRENDERSTATE_FILLMODE"},
        {D3DRENDERSTATE_SHADEMODE, "D3DRENDERSTATE_SHADEMODE"},
        {D3DRENDERSTATE_LINEPATTERN, "D3DRENDERSTATE_LINEPATTERN"},
        {D3DRENDERSTATE_MONOENABLE, "D3DRENDERSTATE_MONOENABLE"},
        {D3DRENDERSTATE_ROP2, "D3DRENDERSTATE_ROP2"},
        {D3DRENDERSTATE_PLANEMASK, "D3DRENDERSTATE_PLANEMASK"},
        {D3DRENDERSTATE_ZWRITEENABLE, "D3DRENDERSTATE_ZWRITEENABLE"},
        {D3DRENDERSTATE_ALPHATESTENABLE, "D3DRENDERSTATE_ALPHATESTENABLE"},
        {D3DRENDERSTATE_LASTPIXEL, "D3DRENDERSTATE_LASTPIXEL"},
        {D3DRENDERSTATE_TEXTUREMAG, "D3DRENDERSTATE_TEXTUREMAG"},
        {D3DRENDERSTATE_TEXTUREMIN, "D3DRENDERSTATE_TEXTUREMIN"},
        {D3DRENDERSTATE_SRCBLEND, "D3DRENDERSTATE_SRCBLEND"},
        {D3DRENDERSTATE_DESTBLEND, "D3DRENDERSTATE_DESTBLEND"},
        {D3DRENDERSTATE_TEXTUREMAPBLEND, "D3DRENDERSTATE_TEXTUREMAPBLEND"},
        {D3DRENDERSTATE_CULLMODE, "D3DRENDERSTATE_CULLMODE"},
        {D3DRENDERSTATE_ZFUNC, "D3DRENDERSTATE_ZFUNC"},
        {D3DRENDERSTATE_ALPHAREF, "D3DRENDERSTATE_ALPHAREF"},
        {D3DRENDERSTATE_ALPHAFUNC, "D3DRENDERSTATE_ALPHAFUNC"},
        {D3DRENDERSTATE_DITHERENABLE, "D3DRENDERSTATE_DITHERENABLE"},
        {D3DRENDERSTATE_ALPHABLENDENABLE, "D3DRENDERSTATE_ALPHABLENDENABLE"},
        {D3DRENDERSTATE_FOGENABLE, "D3DRENDERSTATE_FOGENABLE"},
        {D3DRENDERSTATE_SPECULARENABLE, "D3DRENDERSTATE_SPECULARENABLE"},
        {D3DRENDERSTATE_ZVISIBLE, "D3DRENDERSTATE_ZVISIBLE"},
        {D3DRENDERSTATE_SUBPIXEL, "D3DRENDERSTATE_SUBPIXEL"},
        {D3DRENDERSTATE_SUBPIXELX, "D3DRENDERSTATE_SUBPIXELX"},
        {D3DRENDERSTATE_STIPPLEDALPHA, "D3DRENDERSTATE_STIPPLEDALPHA"},
        {D3DRENDERSTATE_FOGCOLOR, "D3DRENDERSTATE_FOGCOLOR"},
        {D3DRENDERSTATE_FOGTABLEMODE, "D3DRENDERSTATE_FOGTABLEMODE"},
        {D3DRENDERSTATE_FOGTABLESTART, "D3DRENDERSTATE_FOGTABLESTART"},
        {D3DRENDERSTATE_FOGTABLEEND, "D3DRENDERSTATE_FOGTABLEEND"},
        {D3DRENDERSTATE_FOGTABLEDENSITY, "D3DRENDERSTATE_FOGTABLEDENSITY"},
        {D3DRENDERSTATE_STIPPLEENABLE, "D3DRENDERSTATE_STIPPLEENABLE"},
        {D3DRENDERSTATE_EDGEANTIALIAS, "D3DRENDERSTATE_EDGEANTIALIAS"},
        {D3DRENDERSTATE_COLORKEYENABLE, "D3DRENDERSTATE_COLORKEYENABLE"},
        {D3DRENDERSTATE_BORDERCOLOR, "D3DRENDERSTATE_BORDERCOLOR"},
        {D3DRENDERSTATE_TEXTUREADDRESSU, "D3DRENDERSTATE_TEXTUREADDRESSU"},
        {D3DRENDERSTATE_TEXTUREADDRESSV, "D3DRENDERSTATE_TEXTUREADDRESSV"},
        {D3DRENDERSTATE_MIPMAPLODBIAS, "D3DRENDERSTATE_MIPMAPLODBIAS"},
        {D3DRENDERSTATE_ZBIAS, "D3DRENDERSTATE_ZBIAS"},
        {D3DRENDERSTATE_RANGEFOGENABLE, "D3DRENDERSTATE_RANGEFOGENABLE"},
        {D3DRENDERSTATE_ANISOTROPY, "D3DRENDERSTATE_ANISOTROPY"},
        {D3DRENDERSTATE_FLUSHBATCH, "D3DRENDERSTATE_FLUSHBATCH"},
    };
    if (state >= D3DRENDERSTATE_STIPPLEPATTERN00 && state <= D3DRENDERSTATE_STIPPLEPATTERN31)
        return "D3DRENDERSTATE_STIPPLEPATTERN" + std::string(state - D3DRENDERSTATE_STIPPLEPATTERN00 < 10 ? "0" : "") +
               std::to_string(state - D3DRENDERSTATE_STIPPLEPATTERN00);
    return control::Enum(state, kNames);
}

std::string RenderStateValueText(D3DRENDERSTATETYPE state, DWORD value) {
    switch (state) {
        case D3DRENDERSTATE_ZENABLE:
        case D3DRENDERSTATE_ZWRITEENABLE:
        case D3DRENDERSTATE_ALPHATESTENABLE:
        case D3DRENDERSTATE_LASTPIXEL:
        case D3DRENDERSTATE_DITHERENABLE:
        case D3DRENDERSTATE_ALPHABLENDENABLE:
        case D3DRENDERSTATE_FOGENABLE:
        case D3DRENDERSTATE_SPECULARENABLE:
        case D3DRENDERSTATE_TEXTUREPERSPECTIVE:
        case D3DRENDERSTATE_MONOENABLE:
        case D3DRENDERSTATE_SUBPIXEL:
        case D3DRENDERSTATE_SUBPIXELX:
        case D3DRENDERSTATE_STIPPLEDALPHA:
        case D3DRENDERSTATE_STIPPLEENABLE:
        case D3DRENDERSTATE_EDGEANTIALIAS:
        case D3DRENDERSTATE_COLORKEYENABLE:
        case D3DRENDERSTATE_RANGEFOGENABLE:
            return BoolText(value);
        case D3DRENDERSTATE_ZFUNC:
        case D3DRENDERSTATE_ALPHAFUNC:
            return control::Enum(value, {{D3DCMP_NEVER, "D3DCMP_NEVER"},
                                         {D3DCMP_LESS, "D3DCMP_LESS"},
                                         {D3DCMP_EQUAL, "D3DCMP_EQUAL"},
                                         {D3DCMP_LESSEQUAL, "D3DCMP_LESSEQUAL"},
                                         {D3DCMP_GREATER, "D3DCMP_GREATER"},
                                         {D3DCMP_NOTEQUAL, "D3DCMP_NOTEQUAL"},
                                         {D3DCMP_GREATEREQUAL, "D3DCMP_GREATEREQUAL"},
                                         {D3DCMP_ALWAYS, "D3DCMP_ALWAYS"}});
        case D3DRENDERSTATE_SHADEMODE:
            return control::Enum(value, {{D3DSHADE_FLAT, "D3DSHADE_FLAT"},
                                         {D3DSHADE_GOURAUD, "D3DSHADE_GOURAUD"},
                                         {D3DSHADE_PHONG, "D3DSHADE_PHONG"}});
        case D3DRENDERSTATE_FILLMODE:
            return control::Enum(value, {{D3DFILL_POINT, "D3DFILL_POINT"},
                                         {D3DFILL_WIREFRAME, "D3DFILL_WIREFRAME"},
                                         {D3DFILL_SOLID, "D3DFILL_SOLID"}});
        case D3DRENDERSTATE_CULLMODE:
            return control::Enum(
                value, {{D3DCULL_NONE, "D3DCULL_NONE"}, {D3DCULL_CW, "D3DCULL_CW"}, {D3DCULL_CCW, "D3DCULL_CCW"}});
        case D3DRENDERSTATE_FOGCOLOR:
        case D3DRENDERSTATE_PLANEMASK:
        case D3DRENDERSTATE_BORDERCOLOR:
            return control::HexText(value);
        default:
            return std::to_string(value);
    }
}

std::string LightStateText(D3DLIGHTSTATETYPE state) {
    return control::Enum(state, {{D3DLIGHTSTATE_MATERIAL, "D3DLIGHTSTATE_MATERIAL"},
                                 {D3DLIGHTSTATE_AMBIENT, "D3DLIGHTSTATE_AMBIENT"},
                                 {D3DLIGHTSTATE_COLORMODEL, "D3DLIGHTSTATE_COLORMODEL"},
                                 {D3DLIGHTSTATE_FOGMODE, "D3DLIGHTSTATE_FOGMODE"},
                                 {D3DLIGHTSTATE_FOGSTART, "D3DLIGHTSTATE_FOGSTART"},
                                 {D3DLIGHTSTATE_FOGEND, "D3DLIGHTSTATE_FOGEND"},
                                 {D3DLIGHTSTATE_FOGDENSITY, "D3DLIGHTSTATE_FOGDENSITY"}});
}

std::string LightStateValueText(D3DLIGHTSTATETYPE state, DWORD value) {
    if (state == D3DLIGHTSTATE_AMBIENT) return control::HexText(value);
    if (state >= D3DLIGHTSTATE_FOGSTART && state <= D3DLIGHTSTATE_FOGDENSITY) {
        float number;
        static_assert(sizeof number == sizeof value);
        std::memcpy(&number, &value, sizeof number);
        return Float(number);
    }
    return std::to_string(value);
}

std::string TransformStateText(D3DTRANSFORMSTATETYPE state) {
    return control::Enum(state, {{D3DTRANSFORMSTATE_WORLD, "D3DTRANSFORMSTATE_WORLD"},
                                 {D3DTRANSFORMSTATE_VIEW, "D3DTRANSFORMSTATE_VIEW"},
                                 {D3DTRANSFORMSTATE_PROJECTION, "D3DTRANSFORMSTATE_PROJECTION"}});
}

std::string MatrixText(const D3DMATRIX* matrix) {
    if (!matrix) return "NULL";
    const D3DMATRIX& m = *matrix;
    return Record({Float(m._11), Float(m._12), Float(m._13), Float(m._14), Float(m._21), Float(m._22), Float(m._23),
                   Float(m._24), Float(m._31), Float(m._32), Float(m._33), Float(m._34), Float(m._41), Float(m._42),
                   Float(m._43), Float(m._44)});
}

std::string PrimitiveTypeText(D3DPRIMITIVETYPE type) {
    return control::Enum(type, {{D3DPT_POINTLIST, "D3DPT_POINTLIST"},
                                {D3DPT_LINELIST, "D3DPT_LINELIST"},
                                {D3DPT_LINESTRIP, "D3DPT_LINESTRIP"},
                                {D3DPT_TRIANGLELIST, "D3DPT_TRIANGLELIST"},
                                {D3DPT_TRIANGLESTRIP, "D3DPT_TRIANGLESTRIP"},
                                {D3DPT_TRIANGLEFAN, "D3DPT_TRIANGLEFAN"}});
}

std::string VertexTypeText(D3DVERTEXTYPE type) {
    return control::Enum(
        type, {{D3DVT_VERTEX, "D3DVT_VERTEX"}, {D3DVT_LVERTEX, "D3DVT_LVERTEX"}, {D3DVT_TLVERTEX, "D3DVT_TLVERTEX"}});
}

std::string DrawFlagsText(DWORD flags) {
    return control::Flags(flags, {{D3DDP_WAIT, "D3DDP_WAIT"},
                                  {D3DDP_OUTOFORDER, "D3DDP_OUTOFORDER"},
                                  {D3DDP_DONOTCLIP, "D3DDP_DONOTCLIP"},
                                  {D3DDP_DONOTUPDATEEXTENTS, "D3DDP_DONOTUPDATEEXTENTS"}});
}

std::string ClearFlagsText(DWORD flags) {
    return control::Flags(flags, {{D3DCLEAR_TARGET, "D3DCLEAR_TARGET"}, {D3DCLEAR_ZBUFFER, "D3DCLEAR_ZBUFFER"}});
}

std::string RectsText(DWORD count, const D3DRECT* rects) {
    if (!rects) return "NULL";
    std::string text = "{";
    for (DWORD i = 0; i < count; ++i) {
        if (i > 0) text += ", ";
        const D3DRECT& r = rects[i];
        text += Record({Field("x1", std::to_string(r.x1)), Field("y1", std::to_string(r.y1)),
                        Field("x2", std::to_string(r.x2)), Field("y2", std::to_string(r.y2))});
    }
    return text + "}";
}

std::string ViewportText(const D3DVIEWPORT* viewport) {
    if (!viewport) return "NULL";
    if (viewport->dwSize != sizeof(D3DVIEWPORT)) return Record({Field("dwSize", viewport->dwSize)});
    const D3DVIEWPORT& v = *viewport;
    return Record({Field("dwSize", v.dwSize), Field("dwX", v.dwX), Field("dwY", v.dwY), Field("dwWidth", v.dwWidth),
                   Field("dwHeight", v.dwHeight), Field("dvScaleX", Float(v.dvScaleX)),
                   Field("dvScaleY", Float(v.dvScaleY)), Field("dvMaxX", Float(v.dvMaxX)),
                   Field("dvMaxY", Float(v.dvMaxY)), Field("dvMinZ", Float(v.dvMinZ)),
                   Field("dvMaxZ", Float(v.dvMaxZ))});
}

std::string NextFlagsText(DWORD flags) {
    return control::Flags(flags,
                          {{D3DNEXT_NEXT, "D3DNEXT_NEXT"}, {D3DNEXT_HEAD, "D3DNEXT_HEAD"}, {D3DNEXT_TAIL, "D3DNEXT_TAIL"}});
}

std::string ViewportText(const D3DVIEWPORT2* viewport) {
    if (!viewport) return "NULL";
    if (viewport->dwSize != sizeof(D3DVIEWPORT2)) return Record({Field("dwSize", viewport->dwSize)});
    const D3DVIEWPORT2& v = *viewport;
    return Record({Field("dwSize", v.dwSize), Field("dwX", v.dwX), Field("dwY", v.dwY), Field("dwWidth", v.dwWidth),
                   Field("dwHeight", v.dwHeight), Field("dvClipX", Float(v.dvClipX)),
                   Field("dvClipY", Float(v.dvClipY)), Field("dvClipWidth", Float(v.dvClipWidth)),
                   Field("dvClipHeight", Float(v.dvClipHeight)), Field("dvMinZ", Float(v.dvMinZ)),
                   Field("dvMaxZ", Float(v.dvMaxZ))});
}

std::string LightText(const D3DLIGHT* light) {
    if (!light) return "NULL";
    if (light->dwSize != sizeof(D3DLIGHT)) return Record({Field("dwSize", light->dwSize)});
    const D3DLIGHT& l = *light;
    return Record({Field("dwSize", l.dwSize),
                   Field("dltType", control::Enum(l.dltType, {{D3DLIGHT_POINT, "D3DLIGHT_POINT"},
                                                              {D3DLIGHT_SPOT, "D3DLIGHT_SPOT"},
                                                              {D3DLIGHT_DIRECTIONAL, "D3DLIGHT_DIRECTIONAL"},
                                                              {D3DLIGHT_PARALLELPOINT, "D3DLIGHT_PARALLELPOINT"}})),
                   Field("dcvColor", ColorText(l.dcvColor)), Field("dvPosition", VectorText(l.dvPosition)),
                   Field("dvDirection", VectorText(l.dvDirection)), Field("dvRange", Float(l.dvRange)),
                   Field("dvFalloff", Float(l.dvFalloff)), Field("dvAttenuation0", Float(l.dvAttenuation0)),
                   Field("dvAttenuation1", Float(l.dvAttenuation1)), Field("dvAttenuation2", Float(l.dvAttenuation2)),
                   Field("dvTheta", Float(l.dvTheta)), Field("dvPhi", Float(l.dvPhi))});
}

std::string MaterialText(const D3DMATERIAL* material) {
    if (!material) return "NULL";
    if (material->dwSize != sizeof(D3DMATERIAL)) return Record({Field("dwSize", material->dwSize)});
    const D3DMATERIAL& m = *material;
    return Record({Field("dwSize", m.dwSize), Field("diffuse", ColorText(m.diffuse)),
                   Field("ambient", ColorText(m.ambient)), Field("specular", ColorText(m.specular)),
                   Field("emissive", ColorText(m.emissive)), Field("power", Float(m.power)),
                   Field("hTexture", m.hTexture), Field("dwRampSize", m.dwRampSize)});
}

}  // namespace qv::ddraw
