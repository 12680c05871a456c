#include "render/render_objects.h"

IDirectDraw* directDraw = nullptr;
IDirectDrawSurface* zBuffer = nullptr;
IDirectDrawSurface* primarySurface = nullptr;
IDirect3D2* direct3D = nullptr;
IDirect3DDevice2* device = nullptr;
IDirect3DViewport2* viewport = nullptr;
IDirect3DMaterial2* material = nullptr;
IDirect3DLight* light = nullptr;
