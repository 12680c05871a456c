// Injected faults reach every DirectDraw and Direct3D operation: the faulted
// call fails with the operation's default code (or the one injected), says so
// on the trace, and the next call runs normally.

#include "ddraw_fixture.h"

#include <gmock/gmock.h>

#include <functional>
#include <map>

namespace qv::ddraw::testing {
namespace {

using ::testing::Contains;
using ::testing::EndsWith;

class InjectedFaults : public PlatformTest {
protected:
    // The operations a successful bring-up calls, each with its call number.
    std::vector<std::pair<std::string, unsigned>> BringUpCalls() {
        RecordTrace();
        EXPECT_EQ(BringUp(), DD_OK) << failedStep;
        control::SetTraceSink(nullptr);
        ReleaseAll();
        std::map<std::string, unsigned> counts;
        std::vector<std::pair<std::string, unsigned>> calls;
        for (const std::string& line : traceLines) {
            std::string name = line.substr(0, line.find('('));
            calls.emplace_back(name, ++counts[name]);
        }
        traceLines.clear();
        return calls;
    }
};

TEST_F(InjectedFaults, EachStepOfTheBringUpCanFail) {
    std::vector<std::pair<std::string, unsigned>> calls = BringUpCalls();
    ASSERT_EQ(calls.size(), 23u);
    for (const auto& [name, nth] : calls) {
        SCOPED_TRACE(name + " call " + std::to_string(nth));
        control::ClearFaults();
        control::InjectFault(name, nth);
        RecordTrace();
        HRESULT result = BringUp();
        control::SetTraceSink(nullptr);
        EXPECT_NE(result, DD_OK);
        EXPECT_EQ(failedStep, name);
        ASSERT_FALSE(traceLines.empty());
        EXPECT_THAT(traceLines.back(), EndsWith(": injected fault"));
        traceLines.clear();
        ReleaseAll();
    }
}

TEST_F(InjectedFaults, AFaultCarriesTheCodeInjected) {
    control::InjectFault("IDirectDraw::SetDisplayMode", 1, DDERR_UNSUPPORTEDMODE);
    EXPECT_EQ(BringUp(), DDERR_UNSUPPORTEDMODE);
    ReleaseAll();
    control::InjectFault("DirectDrawCreate");
    EXPECT_EQ(BringUp(), DDERR_NODIRECTDRAWHW);
    EXPECT_EQ(objects.directDraw, nullptr);
}

TEST_F(InjectedFaults, EveryFrameOperationCanFailOnce) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    RenderObjects& o = objects;
    D3DRECT all = {{0}, {0}, {800}, {600}};
    D3DMATERIAL material = AmbientMaterial(1, 0, 0);
    D3DMATERIALHANDLE handle = 0;
    std::vector<D3DVERTEX> triangle = Triangle(0, 0);
    struct Operation {
        const char* name;
        HRESULT defaultCode;
        std::function<HRESULT()> call;
    };
    const Operation operations[] = {
        {"IDirect3DViewport2::Clear", DDERR_SURFACELOST, [&] { return o.viewport->Clear(1, &all, D3DCLEAR_TARGET); }},
        {"IDirect3DDevice2::BeginScene", D3DERR_SCENE_BEGIN_FAILED,
         [&] {
             HRESULT result = o.device->BeginScene();
             if (result == D3D_OK) o.device->EndScene();
             return result;
         }},
        {"IDirect3DDevice2::EndScene", D3DERR_SCENE_END_FAILED,
         [&] {
             o.device->BeginScene();
             HRESULT result = o.device->EndScene();
             if (result != D3D_OK) o.device->EndScene();
             return result;
         }},
        {"IDirect3DDevice2::DrawPrimitive", DDERR_GENERIC,
         [&] {
             o.device->BeginScene();
             HRESULT result = o.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, 0);
             o.device->EndScene();
             return result;
         }},
        {"IDirectDrawSurface::Flip", DDERR_SURFACELOST, [&] { return o.primarySurface->Flip(nullptr, DDFLIP_WAIT); }},
        {"IDirect3DMaterial2::SetMaterial", D3DERR_MATERIAL_SETDATA_FAILED,
         [&] { return o.material->SetMaterial(&material); }},
        {"IDirect3DMaterial2::GetHandle", D3DERR_MATERIAL_GETDATA_FAILED,
         [&] { return o.material->GetHandle(o.device, &handle); }},
        {"IDirect3DDevice2::SetLightState", DDERR_INVALIDPARAMS,
         [&] { return o.device->SetLightState(D3DLIGHTSTATE_MATERIAL, 0); }},
        {"IDirect3DDevice2::SetTransform", D3DERR_MATRIX_SETDATA_FAILED,
         [&] {
             D3DMATRIX world = Identity();
             return o.device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
         }},
        {"IDirectDrawSurface::GetSurfaceDesc", DDERR_GENERIC,
         [&] {
             DDSURFACEDESC desc{};
             desc.dwSize = sizeof desc;
             return o.primarySurface->GetSurfaceDesc(&desc);
         }},
        {"IDirectDraw::RestoreDisplayMode", DDERR_GENERIC,
         [&] {
             HRESULT result = o.directDraw->RestoreDisplayMode();
             o.directDraw->SetDisplayMode(800, 600, 32);
             return result;
         }},
        {"IDirect3D2::QueryInterface", E_NOINTERFACE,
         [&] {
             IUnknown* unknown = nullptr;
             HRESULT result = o.direct3D->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
             if (unknown) unknown->Release();
             return result;
         }},
    };
    for (const Operation& operation : operations) {
        SCOPED_TRACE(operation.name);
        uint64_t presented = headless->PresentedFrames();
        control::InjectFault(operation.name);
        RecordTrace();
        EXPECT_EQ(operation.call(), operation.defaultCode);
        control::SetTraceSink(nullptr);
        EXPECT_THAT(traceLines, Contains(EndsWith(": injected fault")));
        traceLines.clear();
        EXPECT_EQ(operation.call(), D3D_OK) << "a fault fires once";
        if (std::string(operation.name) == "IDirectDrawSurface::Flip") {
            EXPECT_EQ(headless->PresentedFrames(), presented + 1) << "the faulted flip presented nothing";
        }
    }
}

}  // namespace
}  // namespace qv::ddraw::testing
