// The four tori: their state, their materials, their random start, and the
// per-frame step the renderer calls for each of them.
#pragma once

#include "scene/constants.h"

#include <windows.h>
#include <d3dtypes.h>

struct SceneObject {
    float angle;       // spin in radians, in (0, kTwoPi] after every step
    float x, y, z;     // centre in world coordinates
    float vx, vy, vz;  // displacement per frame
};

extern SceneObject objectTable[kObjectCount];
extern D3DMATERIAL materialTable[kObjectCount];  // torus k is drawn with material k

// Scales that map one random integer r in 0..kRandomMax onto a range; the
// decimal values are checked against their exact single-precision bits.
constexpr float kAngleScale = 3.0518509e-5f;       // 1 / 32767: r * kTwoPi * scale in [0, 2 pi]
constexpr float kPositionScaleXZ = 2.4414808e-4f;  // 8 / 32767: r * scale - 4 in [-4, 4]
constexpr float kPositionScaleY = 1.8311106e-4f;   // 6 / 32767: r * scale - 3 in [-3, 3]
constexpr float kSpeedScale = 6.103702e-6f;        // 0.2 / 32767, one unit in the last place up: r * scale - 0.1
static_assert(kAngleScale == 0x1.0002p-15f, "bits 0x38000100");
static_assert(kPositionScaleXZ == 0x1.0002p-12f, "bits 0x39800100");
static_assert(kPositionScaleY == 0x1.8003p-13f, "bits 0x39400180");
static_assert(kSpeedScale == 0x1.999ccep-18f, "bits 0x36CCCE67");

// Gives each torus, in order 0..3, a random angle, x, y, z, vx, vy, vz (seven
// draws in that order), and sets the four fixed material colours.
void InitScene();

// Sets device's world transform from objectTable[k] (k in 0..kObjectCount-1)
// as it stands, then moves the torus one frame on. device must be present.
void StepObject(int k);
