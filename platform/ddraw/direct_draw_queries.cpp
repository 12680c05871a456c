// What the DirectDraw object tells about the driver and the display: its
// capabilities, the display modes offered and shown, the refresh rate.

#include "ddraw/direct_draw.h"

#include "ddraw/trace_text.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace qv::ddraw {
namespace {

// The DDCAPS sizes of DirectX 3, 5 and 6 and later; each is a prefix of the
// next, and the last appends a DDSCAPS2 after the DirectX 5 record.
constexpr DWORD kCapsSizeDx3 = 316;
constexpr DWORD kCapsSizeDx6 = sizeof(DDCAPS_DX5) + 4 * sizeof(DWORD);

// The refresh rate told when the display back end does not tell one.
constexpr DWORD kDefaultRefresh = 60;

bool KnownCapsSize(DWORD size) { return size == kCapsSizeDx3 || size == sizeof(DDCAPS_DX5) || size == kCapsSizeDx6; }

// The driver: 3D with depth buffers of 16, 24 and 32 bits, a primary
// surface that flips; everything in system memory, and nothing emulated.
DDCAPS_DX5 DriverCaps() {
    DDCAPS_DX5 caps{};
    caps.dwCaps = DDCAPS_3D;
    caps.dwZBufferBitDepths = DDBD_16 | DDBD_24 | DDBD_32;
    caps.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_BACKBUFFER |
                          DDSCAPS_FRONTBUFFER | DDSCAPS_3DDEVICE | DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY |
                          DDSCAPS_SYSTEMMEMORY;
    return caps;
}

// Writes caps into the caller's record, as much of it as its size asks for.
void FillCaps(DDCAPS* out, const DDCAPS_DX5& caps) {
    DWORD size = out->dwSize;
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    std::memcpy(bytes, &caps, std::min<std::size_t>(size, sizeof caps));
    std::memcpy(bytes, &size, sizeof size);
    if (size == kCapsSizeDx6) {
        const DWORD caps2[4] = {caps.ddsCaps.dwCaps, 0, 0, 0};
        std::memcpy(bytes + sizeof caps, caps2, sizeof caps2);
    }
}

DDSURFACEDESC ModeDesc(const control::DisplayMode& mode) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = mode.width;
    desc.dwHeight = mode.height;
    desc.lPitch = LONG(mode.width * (mode.bitsPerPixel / 8));
    DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    format.dwSize = sizeof format;
    format.dwRGBBitCount = mode.bitsPerPixel;
    if (mode.bitsPerPixel == 8) {
        format.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    } else if (mode.bitsPerPixel == 16) {
        format.dwFlags = DDPF_RGB;
        format.dwRBitMask = 0xF800;
        format.dwGBitMask = 0x07E0;
        format.dwBBitMask = 0x001F;
    } else {
        SetXrgbFormat(format);
    }
    return desc;
}

// A mode matches a filter in the fields the filter's flags name.
bool Matches(const DDSURFACEDESC& mode, const DDSURFACEDESC& filter) {
    if ((filter.dwFlags & DDSD_WIDTH) && filter.dwWidth != mode.dwWidth) return false;
    if ((filter.dwFlags & DDSD_HEIGHT) && filter.dwHeight != mode.dwHeight) return false;
    if ((filter.dwFlags & DDSD_PIXELFORMAT) &&
        filter.ddpfPixelFormat.dwRGBBitCount != mode.ddpfPixelFormat.dwRGBBitCount)
        return false;
    if ((filter.dwFlags & DDSD_REFRESHRATE) && filter.dwRefreshRate != 0 && filter.dwRefreshRate != kDefaultRefresh)
        return false;
    return true;
}

}  // namespace

HRESULT DirectDraw::GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) {
    return Call(
        "IDirectDraw::GetCaps",
        [&] {
            if (!driverCaps && !emulationCaps) return Refuse(DDERR_INVALIDPARAMS, "no record to fill");
            if ((driverCaps && !KnownCapsSize(driverCaps->dwSize)) ||
                (emulationCaps && !KnownCapsSize(emulationCaps->dwSize)))
                return Refuse(DDERR_INVALIDPARAMS, "not the size of a DDCAPS record");
            if (driverCaps) FillCaps(driverCaps, DriverCaps());
            if (emulationCaps) FillCaps(emulationCaps, DDCAPS_DX5{});
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(driverCaps ? "caps" : "NULL").Arg(emulationCaps ? "caps" : "NULL");
        });
}

HRESULT DirectDraw::GetDisplayMode(LPDDSURFACEDESC desc) {
    return Call(
        "IDirectDraw::GetDisplayMode",
        [&] {
            if (!desc) return Refuse(DDERR_INVALIDPARAMS, "no description to fill");
            if (desc->dwSize != sizeof(DDSURFACEDESC))
                return RefuseRecordSize("surface description", sizeof(DDSURFACEDESC));
            std::optional<control::DisplayMode> mode = CurrentMode();
            if (!mode) return Refuse(DDERR_INVALIDMODE, "the display offers no mode");
            *desc = ModeDesc(*mode);
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(desc ? "desc" : "NULL"); });
}

HRESULT DirectDraw::EnumDisplayModes(DWORD flags, LPDDSURFACEDESC desc, LPVOID context,
                                     LPDDENUMMODESCALLBACK callback) {
    return Call(
        "IDirectDraw::EnumDisplayModes",
        [&] {
            if (flags & ~DWORD(DDEDM_REFRESHRATES)) return Refuse(DDERR_INVALIDPARAMS, "unknown flags");
            if (!callback) return Refuse(DDERR_INVALIDPARAMS, "no callback");
            if (desc && desc->dwSize != sizeof(DDSURFACEDESC))
                return RefuseRecordSize("surface description", sizeof(DDSURFACEDESC));
            // A copy: the callback may change the modes offered.
            const std::vector<control::DisplayMode> modes = control::DisplayModes();
            for (const control::DisplayMode& mode : modes) {
                DDSURFACEDESC offered = ModeDesc(mode);
                if (desc && !Matches(offered, *desc)) continue;
                if (callback(&offered, context) == DDENUMRET_CANCEL) break;
            }
            return Ok();
        },
        [&](control::CallTrace& trace) {
            trace.Arg(flags).Arg(desc ? SurfaceDescText(desc) : "NULL").Arg(context ? "context" : "NULL").Arg("callback");
        });
}

HRESULT DirectDraw::GetMonitorFrequency(LPDWORD frequency) {
    return Call(
        "IDirectDraw::GetMonitorFrequency",
        [&] {
            if (!frequency) return Refuse(DDERR_INVALIDPARAMS, "no place for the frequency");
            *frequency = kDefaultRefresh;
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(frequency ? "frequency" : "NULL"); });
}

HRESULT DirectDraw::GetFourCCCodes(LPDWORD count, LPDWORD codes) {
    return Call(
        "IDirectDraw::GetFourCCCodes",
        [&] {
            if (!count) return Refuse(DDERR_INVALIDPARAMS, "no place for the count");
            *count = 0;  // no FourCC formats; codes is left as it is
            return Ok();
        },
        [&](control::CallTrace& trace) { trace.Arg(count ? "&count" : "NULL").Arg(codes ? "codes" : "NULL"); });
}

}  // namespace qv::ddraw
