// Device bring-up and teardown: the one straight chain that takes the display,
// builds the flipping chain, depth buffer, device, viewport, material, light
// and camera, then the mesh and the scene; and the one place that releases it.
#pragma once

// Runs the whole chain; on the first failed step shows the failure message
// once and returns false, leaving what was created so far for ReleaseAll.
bool InitDirect3D();

// Sets the world, view and projection transforms; false (after the failure
// message) when the device refuses one.
bool SetupTransforms();

// Shows "Direct3D init failed!" and returns false.
bool ReportInitFailure();

// Releases every render object that is present, in a fixed order, emptying
// each reference, and frees the mesh. Safe on a partial or empty set.
void ReleaseAll();
