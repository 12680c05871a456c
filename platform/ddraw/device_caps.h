// What the one device, the HAL device, can do, as its descriptions say:
// triangle lists of D3DVT_VERTEX into 32-bit surfaces, depth tests of 16,
// 24 or 32 bits with every comparison, flat and Gouraud shading with
// specular highlights, every light type, any culling. Nothing of lines,
// points, textures, blending or fog.
#pragma once

#include <d3d.h>

namespace qv::ddraw {

// The published sizes of a device description: DirectX 3, 5 and 6.
bool DeviceDescSizeKnown(DWORD size);
// The hardware description, as much of it as size reaches; the rest of size
// zero. The device has no software emulation: its software description is
// all zero but dwSize.
void DescribeHardware(LPD3DDEVICEDESC desc, DWORD size);
void DescribeSoftware(LPD3DDEVICEDESC desc, DWORD size);
// Whether the device offers everything the search asks for.
bool Matches(const D3DFINDDEVICESEARCH& search);

}  // namespace qv::ddraw
