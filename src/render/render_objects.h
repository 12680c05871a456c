// The eight platform objects the renderer keeps, each empty until the
// bring-up creates it and emptied again by the teardown.
#pragma once

#include <windows.h>
#include <ddraw.h>
#include <d3d.h>

extern IDirectDraw* directDraw;            // display driver, display mode, surfaces
extern IDirectDrawSurface* zBuffer;        // depth surface, attached to the primary surface
extern IDirectDrawSurface* primarySurface; // front of the flipping chain; the device's render target
extern IDirect3D2* direct3D;               // factory for device, viewport, material, light
extern IDirect3DDevice2* device;           // the hardware 3D device
extern IDirect3DViewport2* viewport;       // the full-screen viewport, holds the light
extern IDirect3DMaterial2* material;       // the one material object all tori share
extern IDirect3DLight* light;              // the one white point light
