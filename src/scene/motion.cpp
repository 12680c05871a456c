#include "scene/motion.h"

#include "scene/random.h"
#include "scene/trigonometry.h"

namespace {

// A move that reaches or crosses a wall is undone along that axis, and the
// velocity turns around with a random change of speed.
void BounceOffWalls(float& coordinate, float& velocity, float bound) {
    if (coordinate >= bound || coordinate <= -bound) {
        coordinate -= velocity;
        velocity = -(velocity * RandomBounceFactor());
    }
}

}  // namespace

D3DMATRIX MakeWorldMatrix(const SceneObject& object) {
    const float c = Cosine(object.angle);
    const float s = Sine(object.angle);
    D3DMATRIX m;
    m._11 = c * c;     m._12 = s * c;     m._13 = s;    m._14 = 0.0f;
    m._21 = -s;        m._22 = c;         m._23 = 0.0f; m._24 = 0.0f;
    m._31 = -(s * c);  m._32 = -(s * s);  m._33 = c;    m._34 = 0.0f;
    m._41 = object.x;  m._42 = object.y;  m._43 = object.z; m._44 = 1.0f;
    return m;
}

void MoveObject(SceneObject& object) {
    object.x += object.vx;
    object.y += object.vy;
    object.z += object.vz;

    BounceOffWalls(object.x, object.vx, kBoundX);
    BounceOffWalls(object.y, object.vy, kBoundY);
    BounceOffWalls(object.z, object.vz, kBoundZ);

    ClampSpeed(object.vx);
    ClampSpeed(object.vy);
    ClampSpeed(object.vz);

    object.angle += kSpinStep;
    if (object.angle > kTwoPi) object.angle -= kTwoPi;
}

float RandomBounceFactor() {
    return static_cast<float>(NextRandom()) * kBounceScale + 0.8f;
}

void ClampSpeed(float& v) {
    if (v > kMaxSpeed) v = kMaxSpeed;
    if (v < -kMaxSpeed) v = -kMaxSpeed;
    if (v > 0.0f && v < kMinSpeed) v = kMinSpeed;
    if (v < 0.0f && v > -kMinSpeed) v = -kMinSpeed;
}
