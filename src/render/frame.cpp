#include "render/frame.h"

#include "render/render_objects.h"
#include "scene/constants.h"
#include "scene/scene.h"
#include "scene/torus_mesh.h"

void RenderFrame() {
    D3DRECT screen = {};
    screen.x1 = 0;
    screen.y1 = 0;
    screen.x2 = kScreenWidth;
    screen.y2 = kScreenHeight;
    if (viewport->Clear(1, &screen, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER) != D3D_OK) return;
    if (device->BeginScene() != D3D_OK) return;

    for (int k = 0; k < kObjectCount; ++k) {
        StepObject(k);
        ApplyMaterial(materialTable[k]);
        device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, torusVertices, kVertexCount, 0);
    }

    device->EndScene();
    if (primarySurface) primarySurface->Flip(nullptr, DDFLIP_WAIT);
}

void ApplyMaterial(D3DMATERIAL m) {
    material->SetMaterial(&m);
    D3DMATERIALHANDLE handle = 0;
    material->GetHandle(device, &handle);
    device->SetLightState(D3DLIGHTSTATE_MATERIAL, handle);
}
