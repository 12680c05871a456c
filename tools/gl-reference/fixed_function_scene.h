// The program's scene through OpenGL's fixed-function pipeline: its camera,
// its white point light and full white ambient light, its four materials and
// its torus mesh, each torus placed by a given world matrix.
#pragma once

#include <array>

#include <windows.h>
#include <d3dtypes.h>

namespace qv::glref {

// One frame's four world matrices, in object order.
using WorldMatrices = std::array<D3DMATRIX, 4>;

class FixedFunctionScene {
public:
    FixedFunctionScene() = default;
    FixedFunctionScene(const FixedFunctionScene&) = delete;
    FixedFunctionScene& operator=(const FixedFunctionScene&) = delete;
    ~FixedFunctionScene();

    // Sets the camera, light and render states in the current context and
    // loads the mesh. False when the mesh cannot be built or the context
    // refuses a state.
    bool Init();

    // Clears colour and depth and draws the four tori; returns once the
    // pixels are in the framebuffer.
    void Draw(const WorldMatrices& world) const;

private:
    unsigned vertexBuffer_ = 0;
};

}  // namespace qv::glref
