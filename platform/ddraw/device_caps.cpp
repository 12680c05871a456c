// The HAL device's description and the search for it.

#include "ddraw/device_caps.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace qv::ddraw {
namespace {

constexpr DWORD kDirectX3DescSize = offsetof(D3DDEVICEDESC, dwMinTextureWidth);
constexpr DWORD kDirectX6DescSize = 252;  // ten fields on from DirectX 5's

D3DPRIMCAPS TriangleCaps() {
    D3DPRIMCAPS caps{};
    caps.dwSize = sizeof caps;
    caps.dwMiscCaps = D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLCCW;
    caps.dwRasterCaps = D3DPRASTERCAPS_ZTEST;
    caps.dwZCmpCaps = D3DPCMPCAPS_NEVER | D3DPCMPCAPS_LESS | D3DPCMPCAPS_EQUAL | D3DPCMPCAPS_LESSEQUAL |
                      D3DPCMPCAPS_GREATER | D3DPCMPCAPS_NOTEQUAL | D3DPCMPCAPS_GREATEREQUAL | D3DPCMPCAPS_ALWAYS;
    caps.dwShadeCaps = D3DPSHADECAPS_COLORFLATRGB | D3DPSHADECAPS_COLORGOURAUDRGB | D3DPSHADECAPS_SPECULARFLATRGB |
                       D3DPSHADECAPS_SPECULARGOURAUDRGB;
    return caps;
}

D3DDEVICEDESC Hardware() {
    D3DDEVICEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = D3DDD_COLORMODEL | D3DDD_DEVCAPS | D3DDD_TRANSFORMCAPS | D3DDD_LIGHTINGCAPS | D3DDD_BCLIPPING |
                   D3DDD_LINECAPS | D3DDD_TRICAPS | D3DDD_DEVICERENDERBITDEPTH | D3DDD_DEVICEZBUFFERBITDEPTH |
                   D3DDD_MAXBUFFERSIZE | D3DDD_MAXVERTEXCOUNT;
    desc.dcmColorModel = D3DCOLOR_RGB;
    desc.dwDevCaps = D3DDEVCAPS_CANRENDERAFTERFLIP;
    desc.dtcTransformCaps = {sizeof(D3DTRANSFORMCAPS), D3DTRANSFORMCAPS_CLIP};
    desc.bClipping = TRUE;
    desc.dlcLightingCaps = {
        sizeof(D3DLIGHTINGCAPS),
        D3DLIGHTCAPS_POINT | D3DLIGHTCAPS_SPOT | D3DLIGHTCAPS_DIRECTIONAL | D3DLIGHTCAPS_PARALLELPOINT,
        D3DLIGHTINGMODEL_RGB, 0};
    desc.dpcLineCaps.dwSize = sizeof(D3DPRIMCAPS);
    desc.dpcTriCaps = TriangleCaps();
    desc.dwDeviceRenderBitDepth = DDBD_32;
    desc.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_24 | DDBD_32;
    desc.dwMaxVertexCount = 0xFFFF;
    return desc;
}

void Write(LPD3DDEVICEDESC out, DWORD size, const D3DDEVICEDESC& desc) {
    std::memset(out, 0, size);
    std::memcpy(out, &desc, std::min<DWORD>(size, sizeof desc));
    out->dwSize = size;
}

bool Offers(DWORD offered, DWORD wanted) { return (offered & wanted) == wanted; }

bool CapsMatch(const D3DPRIMCAPS& offered, const D3DPRIMCAPS& wanted, DWORD flags) {
    struct Member {
        DWORD flag;
        DWORD D3DPRIMCAPS::*caps;
    };
    static constexpr Member kMembers[] = {
        {D3DFDS_MISCCAPS, &D3DPRIMCAPS::dwMiscCaps},
        {D3DFDS_RASTERCAPS, &D3DPRIMCAPS::dwRasterCaps},
        {D3DFDS_ZCMPCAPS, &D3DPRIMCAPS::dwZCmpCaps},
        {D3DFDS_ALPHACMPCAPS, &D3DPRIMCAPS::dwAlphaCmpCaps},
        {D3DFDS_SRCBLENDCAPS, &D3DPRIMCAPS::dwSrcBlendCaps},
        {D3DFDS_DSTBLENDCAPS, &D3DPRIMCAPS::dwDestBlendCaps},
        {D3DFDS_SHADECAPS, &D3DPRIMCAPS::dwShadeCaps},
        {D3DFDS_TEXTURECAPS, &D3DPRIMCAPS::dwTextureCaps},
        {D3DFDS_TEXTUREFILTERCAPS, &D3DPRIMCAPS::dwTextureFilterCaps},
        {D3DFDS_TEXTUREBLENDCAPS, &D3DPRIMCAPS::dwTextureBlendCaps},
        {D3DFDS_TEXTUREADDRESSCAPS, &D3DPRIMCAPS::dwTextureAddressCaps},
    };
    return std::all_of(std::begin(kMembers), std::end(kMembers), [&](const Member& member) {
        return !(flags & member.flag) || Offers(offered.*member.caps, wanted.*member.caps);
    });
}

}  // namespace

bool DeviceDescSizeKnown(DWORD size) {
    return size == kDirectX3DescSize || size == sizeof(D3DDEVICEDESC) || size == kDirectX6DescSize;
}

void DescribeHardware(LPD3DDEVICEDESC desc, DWORD size) { Write(desc, size, Hardware()); }

void DescribeSoftware(LPD3DDEVICEDESC desc, DWORD size) { Write(desc, size, D3DDEVICEDESC{}); }

bool Matches(const D3DFINDDEVICESEARCH& search) {
    const D3DDEVICEDESC hardware = Hardware();
    const DWORD flags = search.dwFlags;
    if ((flags & D3DFDS_GUID) && search.guid != IID_IDirect3DHALDevice) return false;
    if ((flags & D3DFDS_HARDWARE) && !search.bHardware) return false;
    if ((flags & D3DFDS_COLORMODEL) && !Offers(hardware.dcmColorModel, search.dcmColorModel)) return false;
    if ((flags & D3DFDS_TRIANGLES) && !CapsMatch(hardware.dpcTriCaps, search.dpcPrimCaps, flags)) return false;
    if ((flags & D3DFDS_LINES) && !CapsMatch(hardware.dpcLineCaps, search.dpcPrimCaps, flags)) return false;
    return true;
}

}  // namespace qv::ddraw
