// DirectDraw: the display driver, display modes, surfaces and flipping.
#pragma once

#include <windows.h>

#define _FACDD 0x876
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, _FACDD, code)

DEFINE_GUID(IID_IDirectDraw, 0x6C14DB80, 0xA733, 0x11CE, 0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60);
DEFINE_GUID(IID_IDirectDrawSurface, 0x6C14DB81, 0xA733, 0x11CE, 0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60);

struct IDirectDraw;
struct IDirectDrawSurface;
struct IDirectDrawClipper;
struct IDirectDrawPalette;
typedef IDirectDraw* LPDIRECTDRAW;
typedef IDirectDrawSurface* LPDIRECTDRAWSURFACE;
typedef IDirectDrawClipper* LPDIRECTDRAWCLIPPER;
typedef IDirectDrawPalette* LPDIRECTDRAWPALETTE;

// A palette's colour, as the GDI declares it.
typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;

typedef struct _DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
} DDCOLORKEY, *LPDDCOLORKEY;

typedef struct _DDSCAPS {
    DWORD dwCaps;
} DDSCAPS, *LPDDSCAPS;

typedef struct _DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    union {
        DWORD dwRGBBitCount;
        DWORD dwYUVBitCount;
        DWORD dwZBufferBitDepth;
        DWORD dwAlphaBitDepth;
    };
    union {
        DWORD dwRBitMask;
        DWORD dwYBitMask;
    };
    union {
        DWORD dwGBitMask;
        DWORD dwUBitMask;
    };
    union {
        DWORD dwBBitMask;
        DWORD dwVBitMask;
    };
    union {
        DWORD dwRGBAlphaBitMask;
        DWORD dwYUVAlphaBitMask;
        DWORD dwRGBZBitMask;
        DWORD dwYUVZBitMask;
    };
} DDPIXELFORMAT, *LPDDPIXELFORMAT;
static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT is 32 bytes");

typedef struct _DDSURFACEDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    union {
        LONG lPitch;
        DWORD dwLinearSize;
    };
    DWORD dwBackBufferCount;
    union {
        DWORD dwMipMapCount;
        DWORD dwZBufferBitDepth;
        DWORD dwRefreshRate;
    };
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
} DDSURFACEDESC, *LPDDSURFACEDESC;
static_assert(sizeof(DDSURFACEDESC) == (sizeof(void*) == 4 ? 108 : 120), "DDSURFACEDESC layout");

#define DD_ROP_SPACE 8

// The driver's capabilities as the DirectX 5 level describes them. Callers
// built for DirectX 3 pass the first 316 bytes; DirectX 6 and later append
// a DDSCAPS2 (16 bytes) after dwNLVBRops.
typedef struct _DDCAPS_DX5 {
    DWORD dwSize;
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCKeyCaps;
    DWORD dwFXCaps;
    DWORD dwFXAlphaCaps;
    DWORD dwPalCaps;
    DWORD dwSVCaps;
    DWORD dwAlphaBltConstBitDepths;
    DWORD dwAlphaBltPixelBitDepths;
    DWORD dwAlphaBltSurfaceBitDepths;
    DWORD dwAlphaOverlayConstBitDepths;
    DWORD dwAlphaOverlayPixelBitDepths;
    DWORD dwAlphaOverlaySurfaceBitDepths;
    DWORD dwZBufferBitDepths;
    DWORD dwVidMemTotal;
    DWORD dwVidMemFree;
    DWORD dwMaxVisibleOverlays;
    DWORD dwCurrVisibleOverlays;
    DWORD dwNumFourCCCodes;
    DWORD dwAlignBoundarySrc;
    DWORD dwAlignSizeSrc;
    DWORD dwAlignBoundaryDest;
    DWORD dwAlignSizeDest;
    DWORD dwAlignStrideAlign;
    DWORD dwRops[DD_ROP_SPACE];
    DDSCAPS ddsCaps;
    DWORD dwMinOverlayStretch;
    DWORD dwMaxOverlayStretch;
    DWORD dwMinLiveVideoStretch;
    DWORD dwMaxLiveVideoStretch;
    DWORD dwMinHwCodecStretch;
    DWORD dwMaxHwCodecStretch;
    DWORD dwReserved1;
    DWORD dwReserved2;
    DWORD dwReserved3;
    DWORD dwSVBCaps;
    DWORD dwSVBCKeyCaps;
    DWORD dwSVBFXCaps;
    DWORD dwSVBRops[DD_ROP_SPACE];
    DWORD dwVSBCaps;
    DWORD dwVSBCKeyCaps;
    DWORD dwVSBFXCaps;
    DWORD dwVSBRops[DD_ROP_SPACE];
    DWORD dwSSBCaps;
    DWORD dwSSBCKeyCaps;
    DWORD dwSSBFXCaps;
    DWORD dwSSBRops[DD_ROP_SPACE];
    DWORD dwMaxVideoPorts;
    DWORD dwCurrVideoPorts;
    DWORD dwSVBCaps2;
    DWORD dwNLVBCaps;
    DWORD dwNLVBCaps2;
    DWORD dwNLVBCKeyCaps;
    DWORD dwNLVBFXCaps;
    DWORD dwNLVBRops[DD_ROP_SPACE];
} DDCAPS_DX5, *LPDDCAPS_DX5;
static_assert(sizeof(DDCAPS_DX5) == 364, "DDCAPS_DX5 is 364 bytes");
typedef DDCAPS_DX5 DDCAPS;
typedef DDCAPS* LPDDCAPS;

typedef struct _DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwDDROP;
    DWORD dwRotationAngle;
    DWORD dwZBufferOpCode;
    DWORD dwZBufferLow;
    DWORD dwZBufferHigh;
    DWORD dwZBufferBaseDest;
    DWORD dwZDestConstBitDepth;
    union {
        DWORD dwZDestConst;
        LPDIRECTDRAWSURFACE lpDDSZBufferDest;
    };
    DWORD dwZSrcConstBitDepth;
    union {
        DWORD dwZSrcConst;
        LPDIRECTDRAWSURFACE lpDDSZBufferSrc;
    };
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    union {
        DWORD dwAlphaDestConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaDest;
    };
    DWORD dwAlphaSrcConstBitDepth;
    union {
        DWORD dwAlphaSrcConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaSrc;
    };
    union {
        DWORD dwFillColor;
        DWORD dwFillDepth;
        DWORD dwFillPixel;
        LPDIRECTDRAWSURFACE lpDDSPattern;
    };
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
} DDBLTFX, *LPDDBLTFX;
static_assert(sizeof(DDBLTFX) == (sizeof(void*) == 4 ? 100 : 128), "DDBLTFX layout");

typedef struct _DDOVERLAYFX {
    DWORD dwSize;
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    union {
        DWORD dwAlphaDestConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaDest;
    };
    DWORD dwAlphaSrcConstBitDepth;
    union {
        DWORD dwAlphaSrcConst;
        LPDIRECTDRAWSURFACE lpDDSAlphaSrc;
    };
    DDCOLORKEY dckDestColorkey;
    DDCOLORKEY dckSrcColorkey;
    DWORD dwDDFX;
    DWORD dwFlags;
} DDOVERLAYFX, *LPDDOVERLAYFX;
static_assert(sizeof(DDOVERLAYFX) == (sizeof(void*) == 4 ? 56 : 72), "DDOVERLAYFX layout");

typedef struct _DDBLTBATCH {
    LPRECT lprDest;
    LPDIRECTDRAWSURFACE lpDDSSrc;
    LPRECT lprSrc;
    DWORD dwFlags;
    LPDDBLTFX lpDDBltFx;
} DDBLTBATCH, *LPDDBLTBATCH;
static_assert(sizeof(DDBLTBATCH) == (sizeof(void*) == 4 ? 20 : 40), "DDBLTBATCH layout");

// Enumeration callbacks answer DDENUMRET_OK to go on, DDENUMRET_CANCEL to stop.
typedef HRESULT(CALLBACK* LPDDENUMMODESCALLBACK)(LPDDSURFACEDESC desc, LPVOID context);
typedef HRESULT(CALLBACK* LPDDENUMSURFACESCALLBACK)(LPDIRECTDRAWSURFACE surface, LPDDSURFACEDESC desc,
                                                    LPVOID context);
#define DDENUMRET_CANCEL 0
#define DDENUMRET_OK 1

// Surface description fields in use.
#define DDSD_CAPS 0x00000001
#define DDSD_HEIGHT 0x00000002
#define DDSD_WIDTH 0x00000004
#define DDSD_PITCH 0x00000008
#define DDSD_BACKBUFFERCOUNT 0x00000020
#define DDSD_ZBUFFERBITDEPTH 0x00000040
#define DDSD_ALPHABITDEPTH 0x00000080
#define DDSD_LPSURFACE 0x00000800
#define DDSD_PIXELFORMAT 0x00001000
#define DDSD_CKDESTOVERLAY 0x00002000
#define DDSD_CKDESTBLT 0x00004000
#define DDSD_CKSRCOVERLAY 0x00008000
#define DDSD_CKSRCBLT 0x00010000
#define DDSD_MIPMAPCOUNT 0x00020000
#define DDSD_REFRESHRATE 0x00040000
#define DDSD_LINEARSIZE 0x00080000
#define DDSD_ALL 0x00fff9ee

// Surface capabilities.
#define DDSCAPS_ALPHA 0x00000002
#define DDSCAPS_BACKBUFFER 0x00000004
#define DDSCAPS_COMPLEX 0x00000008
#define DDSCAPS_FLIP 0x00000010
#define DDSCAPS_FRONTBUFFER 0x00000020
#define DDSCAPS_OFFSCREENPLAIN 0x00000040
#define DDSCAPS_OVERLAY 0x00000080
#define DDSCAPS_PALETTE 0x00000100
#define DDSCAPS_PRIMARYSURFACE 0x00000200
#define DDSCAPS_SYSTEMMEMORY 0x00000800
#define DDSCAPS_TEXTURE 0x00001000
#define DDSCAPS_3DDEVICE 0x00002000
#define DDSCAPS_VIDEOMEMORY 0x00004000
#define DDSCAPS_VISIBLE 0x00008000
#define DDSCAPS_WRITEONLY 0x00010000
#define DDSCAPS_ZBUFFER 0x00020000
#define DDSCAPS_OWNDC 0x00040000
#define DDSCAPS_MIPMAP 0x00400000
#define DDSCAPS_LOCALVIDMEM 0x10000000

// Driver capabilities.
#define DDCAPS_3D 0x00000001
#define DDCAPS_NOHARDWARE 0x02000000

// Display mode enumeration.
#define DDEDM_REFRESHRATES 0x00000001

// Lock flags.
#define DDLOCK_SURFACEMEMORYPTR 0x00000000
#define DDLOCK_WAIT 0x00000001
#define DDLOCK_EVENT 0x00000002
#define DDLOCK_READONLY 0x00000010
#define DDLOCK_WRITEONLY 0x00000020
#define DDLOCK_NOSYSLOCK 0x00000800

// Vertical blank waits.
#define DDWAITVB_BLOCKBEGIN 0x00000001
#define DDWAITVB_BLOCKBEGINEVENT 0x00000002
#define DDWAITVB_BLOCKEND 0x00000004

// Status queries of surfaces.
#define DDGBS_CANBLT 0x00000001
#define DDGBS_ISBLTDONE 0x00000002
#define DDGFS_CANFLIP 0x00000001
#define DDGFS_ISFLIPDONE 0x00000002

// Pixel format flags.
#define DDPF_ALPHAPIXELS 0x00000001
#define DDPF_ALPHA 0x00000002
#define DDPF_FOURCC 0x00000004
#define DDPF_PALETTEINDEXED8 0x00000020
#define DDPF_RGB 0x00000040
#define DDPF_ZBUFFER 0x00000400

// Cooperative levels.
#define DDSCL_FULLSCREEN 0x00000001
#define DDSCL_ALLOWREBOOT 0x00000002
#define DDSCL_NOWINDOWCHANGES 0x00000004
#define DDSCL_NORMAL 0x00000008
#define DDSCL_EXCLUSIVE 0x00000010
#define DDSCL_ALLOWMODEX 0x00000040

// Flip flags.
#define DDFLIP_WAIT 0x00000001
#define DDFLIP_EVEN 0x00000002
#define DDFLIP_ODD 0x00000004

// Bit depths, as capabilities and device descriptions list them.
#define DDBD_1 0x00004000
#define DDBD_2 0x00002000
#define DDBD_4 0x00001000
#define DDBD_8 0x00000800
#define DDBD_16 0x00000400
#define DDBD_24 0x00000200
#define DDBD_32 0x00000100

// Result codes.
#define DD_OK S_OK
#define DDERR_ALREADYINITIALIZED MAKE_DDHRESULT(5)
#define DDERR_CANNOTATTACHSURFACE MAKE_DDHRESULT(10)
#define DDERR_CANNOTDETACHSURFACE MAKE_DDHRESULT(20)
#define DDERR_CURRENTLYNOTAVAIL MAKE_DDHRESULT(40)
#define DDERR_EXCEPTION MAKE_DDHRESULT(55)
#define DDERR_GENERIC E_FAIL
#define DDERR_HEIGHTALIGN MAKE_DDHRESULT(90)
#define DDERR_INCOMPATIBLEPRIMARY MAKE_DDHRESULT(95)
#define DDERR_INVALIDCAPS MAKE_DDHRESULT(100)
#define DDERR_INVALIDCLIPLIST MAKE_DDHRESULT(110)
#define DDERR_INVALIDMODE MAKE_DDHRESULT(120)
#define DDERR_INVALIDOBJECT MAKE_DDHRESULT(130)
#define DDERR_INVALIDPARAMS E_INVALIDARG
#define DDERR_INVALIDPIXELFORMAT MAKE_DDHRESULT(145)
#define DDERR_INVALIDRECT MAKE_DDHRESULT(150)
#define DDERR_NO3D MAKE_DDHRESULT(170)
#define DDERR_NOCOOPERATIVELEVELSET MAKE_DDHRESULT(212)
#define DDERR_NOEXCLUSIVEMODE MAKE_DDHRESULT(225)
#define DDERR_NOFLIPHW MAKE_DDHRESULT(230)
#define DDERR_NOTFOUND MAKE_DDHRESULT(255)
#define DDERR_NOZBUFFERHW MAKE_DDHRESULT(340)
#define DDERR_OUTOFCAPS MAKE_DDHRESULT(360)
#define DDERR_OUTOFMEMORY E_OUTOFMEMORY
#define DDERR_OUTOFVIDEOMEMORY MAKE_DDHRESULT(380)
#define DDERR_SURFACEALREADYATTACHED MAKE_DDHRESULT(410)
#define DDERR_SURFACEALREADYDEPENDENT MAKE_DDHRESULT(420)
#define DDERR_SURFACEBUSY MAKE_DDHRESULT(430)
#define DDERR_SURFACELOST MAKE_DDHRESULT(450)
#define DDERR_SURFACENOTATTACHED MAKE_DDHRESULT(460)
#define DDERR_TOOBIGHEIGHT MAKE_DDHRESULT(470)
#define DDERR_TOOBIGSIZE MAKE_DDHRESULT(480)
#define DDERR_TOOBIGWIDTH MAKE_DDHRESULT(490)
#define DDERR_UNSUPPORTED E_NOTIMPL
#define DDERR_UNSUPPORTEDFORMAT MAKE_DDHRESULT(510)
#define DDERR_WASSTILLDRAWING MAKE_DDHRESULT(540)
#define DDERR_INVALIDDIRECTDRAWGUID MAKE_DDHRESULT(561)
#define DDERR_DIRECTDRAWALREADYCREATED MAKE_DDHRESULT(562)
#define DDERR_NODIRECTDRAWHW MAKE_DDHRESULT(563)
#define DDERR_PRIMARYSURFACEALREADYEXISTS MAKE_DDHRESULT(564)
#define DDERR_NOHWND MAKE_DDHRESULT(569)
#define DDERR_HWNDALREADYSET MAKE_DDHRESULT(571)
#define DDERR_EXCLUSIVEMODEALREADYSET MAKE_DDHRESULT(581)
#define DDERR_NOTFLIPPABLE MAKE_DDHRESULT(582)
#define DDERR_NOTLOCKED MAKE_DDHRESULT(584)
#define DDERR_WRONGMODE MAKE_DDHRESULT(587)
#define DDERR_IMPLICITLYCREATED MAKE_DDHRESULT(588)
#define DDERR_UNSUPPORTEDMODE MAKE_DDHRESULT(590)
#define DDERR_INVALIDSURFACETYPE MAKE_DDHRESULT(592)
#define DDERR_NOTINITIALIZED CO_E_NOTINITIALIZED

// The methods in the order of the published vtables.
struct IDirectDraw : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Compact() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                                    IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC surfaceDesc, LPDIRECTDRAWSURFACE* surface,
                                                    IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE DuplicateSurface(LPDIRECTDRAWSURFACE surface,
                                                       LPDIRECTDRAWSURFACE* duplicate) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumDisplayModes(DWORD flags, LPDDSURFACEDESC surfaceDesc, LPVOID context,
                                                       LPDDENUMMODESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumSurfaces(DWORD flags, LPDDSURFACEDESC surfaceDesc, LPVOID context,
                                                   LPDDENUMSURFACESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE FlipToGDISurface() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC surfaceDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFourCCCodes(LPDWORD count, LPDWORD codes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGDISurface(LPDIRECTDRAWSURFACE* surface) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorFrequency(LPDWORD frequency) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScanLine(LPDWORD scanLine) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVerticalBlankStatus(LPBOOL inVerticalBlank) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(GUID* driverGuid) = 0;
    virtual HRESULT STDMETHODCALLTYPE RestoreDisplayMode() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) = 0;
    virtual HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;

protected:
    ~IDirectDraw() = default;
};

struct IDirectDrawSurface : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE attached) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddOverlayDirtyRect(LPRECT rect) = 0;
    virtual HRESULT STDMETHODCALLTYPE Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                                          LPDDBLTFX effects) = 0;
    virtual HRESULT STDMETHODCALLTYPE BltBatch(LPDDBLTBATCH batch, DWORD count, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                                              DWORD transfer) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteAttachedSurface(DWORD flags, LPDIRECTDRAWSURFACE attached) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumOverlayZOrders(DWORD flags, LPVOID context,
                                                         LPDDENUMSURFACESCALLBACK callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE overrideSurface, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBltStatus(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER* clipper) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetColorKey(DWORD flags, LPDDCOLORKEY colorKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFlipStatus(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOverlayPosition(LPLONG x, LPLONG y) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE* palette) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT pixelFormat) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC surfaceDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW directDraw, LPDDSURFACEDESC surfaceDesc) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsLost() = 0;
    virtual HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC surfaceDesc, DWORD flags, HANDLE event) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) = 0;
    virtual HRESULT STDMETHODCALLTYPE Restore() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetColorKey(DWORD flags, LPDDCOLORKEY colorKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOverlayPosition(LONG x, LONG y) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE palette) = 0;
    virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID surfaceData) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateOverlay(LPRECT sourceRect, LPDIRECTDRAWSURFACE dest, LPRECT destRect,
                                                    DWORD flags, LPDDOVERLAYFX effects) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateOverlayDisplay(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateOverlayZOrder(DWORD flags, LPDIRECTDRAWSURFACE reference) = 0;

protected:
    ~IDirectDrawSurface() = default;
};

extern "C" HRESULT WINAPI DirectDrawCreate(GUID* driverGuid, LPDIRECTDRAW* directDraw, IUnknown* outer);
