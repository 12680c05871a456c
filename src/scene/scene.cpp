#include "scene/scene.h"

#include "render/render_objects.h"
#include "scene/motion.h"
#include "scene/random.h"

#include <cstring>

SceneObject objectTable[kObjectCount];
D3DMATERIAL materialTable[kObjectCount];

namespace {

struct MaterialColours {
    float diffuse[3];  // red, green, blue
    float ambient[3];
};

constexpr MaterialColours kMaterialColours[kObjectCount] = {
    {{0.9f, 1.0f, 0.0f}, {0.1f, 0.0f, 0.0f}},
    {{1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.1f}},
    {{1.0f, 0.9f, 1.0f}, {0.0f, 0.1f, 0.0f}},
    {{0.0f, 0.0f, 1.0f}, {0.1f, 0.1f, 0.0f}},
};

float RandomScaled(float scale, float offset) {
    return static_cast<float>(NextRandom()) * scale + offset;
}

}  // namespace

void InitScene() {
    for (int k = 0; k < kObjectCount; ++k) {
        std::memset(&materialTable[k], 0, sizeof materialTable[k]);
        materialTable[k].dwSize = sizeof(D3DMATERIAL);

        SceneObject& object = objectTable[k];
        object.angle = static_cast<float>(NextRandom()) * kTwoPi * kAngleScale;
        object.x = RandomScaled(kPositionScaleXZ, -kBoundX);
        object.y = RandomScaled(kPositionScaleY, -kBoundY);
        object.z = RandomScaled(kPositionScaleXZ, -kBoundZ);
        object.vx = RandomScaled(kSpeedScale, -kMaxSpeed);
        object.vy = RandomScaled(kSpeedScale, -kMaxSpeed);
        object.vz = RandomScaled(kSpeedScale, -kMaxSpeed);
    }
    for (int k = 0; k < kObjectCount; ++k) {
        const MaterialColours& colours = kMaterialColours[k];
        materialTable[k].diffuse.r = colours.diffuse[0];
        materialTable[k].diffuse.g = colours.diffuse[1];
        materialTable[k].diffuse.b = colours.diffuse[2];
        materialTable[k].ambient.r = colours.ambient[0];
        materialTable[k].ambient.g = colours.ambient[1];
        materialTable[k].ambient.b = colours.ambient[2];
    }
}

void StepObject(int k) {
    D3DMATRIX world = MakeWorldMatrix(objectTable[k]);
    device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
    MoveObject(objectTable[k]);
}
