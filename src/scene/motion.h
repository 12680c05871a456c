// The motion of one torus, free of any device: its world matrix, and one
// frame of drift, bounce off the walls of the box, speed band and spin.
#pragma once

#include "scene/scene.h"

#include <windows.h>
#include <d3dtypes.h>

// Half-extents of the box the centres stay in: |x| <= 4, |y| <= 3, |z| <= 4.
constexpr float kBoundX = 4.0f;
constexpr float kBoundY = 3.0f;
constexpr float kBoundZ = 4.0f;

constexpr float kMaxSpeed = 0.1f;     // largest magnitude of a velocity component
constexpr float kMinSpeed = 0.0125f;  // smallest magnitude of a moving component
constexpr float kSpinStep = 0.05f;    // radians per frame

// 0.4 / 32767, one unit in the last place up: r * scale + 0.8 in [0.8, 1.2].
constexpr float kBounceScale = 1.2207404e-5f;
static_assert(kBounceScale == 0x1.999ccep-17f, "bits 0x374CCE67");

// The spin (a turn by -angle about y, then by +angle about z) followed by the
// move to the centre, in the row-vector convention of D3DMATRIX.
D3DMATRIX MakeWorldMatrix(const SceneObject& object);

// Advances one frame: moves by the velocity, bounces axis by axis (x, y, z)
// off any wall reached or crossed, clamps the speeds and spins. Only a
// bouncing axis draws a random number.
void MoveObject(SceneObject& object);

// A random factor in [0.8, 1.2] that a bounce scales the speed by.
float RandomBounceFactor();

// Brings a nonzero component into kMinSpeed..kMaxSpeed in magnitude, sign
// kept; an exact 0 stays 0.
void ClampSpeed(float& v);
