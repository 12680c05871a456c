// Conventions: a D3DMATRIX holds a row-vector transform row by row; read as
// OpenGL's column-major array it is the same transform for column vectors,
// so the program's matrices load as they are. The platform's clip depth runs
// from 0 to w, OpenGL's from -w to w; one extra matrix maps the first onto
// the second (z' = 2z - w), so the same triangles are clipped at the same
// near plane and depth keeps its order.
#include "fixed_function_scene.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>
#include <cstring>

#include "scene/constants.h"
#include "scene/scene.h"
#include "scene/torus_mesh.h"

namespace qv::glref {
namespace {

// The camera: the eye at the origin looking along +z with the world origin
// 10 units ahead; 4:3 field with tangents 0.5 and 0.375, depth 0 at view
// depth 1 and no far plane.
constexpr GLfloat kView[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1};
constexpr GLfloat kProjection[16] = {2, 0, 0, 0, 0, 2.6666667f, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0};
constexpr GLfloat kDepthZeroToW[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1};

// One white point light at (4, 4, -4) in world space, unattenuated, and full
// white ambient light.
constexpr GLfloat kLightPosition[4] = {4, 4, -4, 1};
constexpr GLfloat kWhite[4] = {1, 1, 1, 1};
constexpr GLfloat kBlack[4] = {0, 0, 0, 1};

void MultiplyWorld(const D3DMATRIX& world) {
    static_assert(sizeof(D3DMATRIX) == 16 * sizeof(GLfloat), "16 floats, _11 to _44");
    GLfloat m[16];
    std::memcpy(m, &world, sizeof m);
    glMultMatrixf(m);
}

void ApplyMaterial(const D3DMATERIAL& m) {
    const GLfloat diffuse[4] = {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a};
    const GLfloat ambient[4] = {m.ambient.r, m.ambient.g, m.ambient.b, m.ambient.a};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
}

}  // namespace

bool FixedFunctionScene::Init() {
    if (!BuildTorusMesh()) return false;
    InitScene();  // the material table

    glClearColor(0, 0, 0, 0);
    glClearDepth(1);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    // Back faces are culled: the mesh's outer faces wind clockwise as seen
    // on the screen.
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);

    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(kDepthZeroToW);
    glMultMatrixf(kProjection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(kView);

    // Lighting is per vertex with normals normalised after the world
    // transform; the light's position is given in world space, so under the
    // view matrix alone.
    glEnable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kWhite);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, kLightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, kBlack);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kWhite);
    glLightfv(GL_LIGHT0, GL_SPECULAR, kBlack);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kBlack);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, kBlack);

    glGenBuffers(1, &vertexBuffer_);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(D3DVERTEX) * kVertexCount, torusVertices, GL_STATIC_DRAW);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(D3DVERTEX), reinterpret_cast<const void*>(offsetof(D3DVERTEX, x)));
    glNormalPointer(GL_FLOAT, sizeof(D3DVERTEX), reinterpret_cast<const void*>(offsetof(D3DVERTEX, nx)));
    return glGetError() == GL_NO_ERROR;
}

FixedFunctionScene::~FixedFunctionScene() {
    if (vertexBuffer_) glDeleteBuffers(1, &vertexBuffer_);
}

void FixedFunctionScene::Draw(const WorldMatrices& world) const {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int k = 0; k < kObjectCount; ++k) {
        glLoadMatrixf(kView);
        MultiplyWorld(world[k]);
        ApplyMaterial(materialTable[k]);
        glDrawArrays(GL_TRIANGLES, 0, kVertexCount);
    }
    glFinish();
}

}  // namespace qv::glref
