// Lifetimes of the render objects: what each Release reports, any release
// order, objects kept alive by the ones that use them, and what a released
// object that is still held answers.

#include "ddraw_fixture.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <numeric>

namespace qv::ddraw::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

class Lifetimes : public PlatformTest {
protected:
    // Releases the objects in the given order (indices into All()). Each
    // Release gives back the caller's only reference on that interface; the
    // DirectDraw object's two interfaces (7 and 0) share one count.
    void ReleaseInOrder(const std::vector<int>& order) {
        std::vector<IUnknown**> all = objects.All();
        for (int index : order) {
            int partner = index == 0 ? 7 : index == 7 ? 0 : -1;
            ULONG left = partner >= 0 && *all[partner] ? 1 : 0;
            ASSERT_EQ((*all[index])->Release(), left) << "object " << index;
            *all[index] = nullptr;
        }
    }

    // After a full release every label is free again: a new bring-up names
    // its objects #1 (and the depth surface #2), so nothing of the old one lives.
    void ExpectNothingLeft() {
        RecordTrace();
        ASSERT_EQ(BringUp(), DD_OK) << failedStep;
        control::SetTraceSink(nullptr);
        for (const char* line :
             {"DirectDrawCreate(NULL, &ddraw#1, NULL) -> DD_OK",
              "IDirectDraw::QueryInterface(ddraw#1, IID_IDirect3D2, &ddraw#1) -> DD_OK",
              "IDirect3D2::CreateDevice(ddraw#1, IID_IDirect3DHALDevice, surface#1, &device#1) -> D3D_OK",
              "IDirect3D2::CreateViewport(ddraw#1, &viewport#1, NULL) -> D3D_OK",
              "IDirect3D2::CreateMaterial(ddraw#1, &material#1, NULL) -> D3D_OK",
              "IDirect3D2::CreateLight(ddraw#1, &light#1, NULL) -> D3D_OK"})
            EXPECT_THAT(traceLines, Contains(line));
        EXPECT_THAT(traceLines, Contains(HasSubstr("&surface#2, NULL) -> DD_OK")));
    }
};

TEST_F(Lifetimes, TheTeardownOrderFreesEverythingAndGivesTheDisplayBack) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    EXPECT_EQ(headless->OpenWindow(), window);
    ReleaseInOrder({0, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(headless->OpenWindow(), nullptr) << "the display is given back";
    ExpectNothingLeft();
}

TEST_F(Lifetimes, TheReversedOrderIsSafe) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    ReleaseInOrder({7, 6, 5, 4, 3, 2, 1, 0});
    EXPECT_EQ(headless->OpenWindow(), nullptr);
    ExpectNothingLeft();
}

TEST_F(Lifetimes, EveryOrderIsSafe) {
    // 40,320 devices: drawing threads would only slow the orders down.
    control::SetDrawThreads(1);
    control::SetDisplayModes({{16, 12, 32}});
    std::vector<int> order(8);
    std::iota(order.begin(), order.end(), 0);
    do {
        ASSERT_EQ(BringUp(16, 12), DD_OK) << failedStep;
        ReleaseInOrder(order);
        ASSERT_EQ(headless->OpenWindow(), nullptr);
    } while (std::next_permutation(order.begin(), order.end()));
    control::SetDisplayModes(control::DefaultDisplayModes());
    ExpectNothingLeft();
}

TEST_F(Lifetimes, AddRefAndReleaseCountTheCallersReferences) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    EXPECT_EQ(objects.device->AddRef(), 2u);
    EXPECT_EQ(objects.device->Release(), 1u);
    IDirectDrawSurface* again = nullptr;
    ASSERT_EQ(objects.primarySurface->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(&again)), DD_OK);
    EXPECT_EQ(again, objects.primarySurface);
    EXPECT_EQ(again->Release(), 1u);
}

TEST_F(Lifetimes, ObjectsInUseOutliveTheCallersRelease) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    // The device still renders into the released surfaces, the viewport
    // still holds the released light, and all of them their DirectDraw.
    ReleaseInOrder({7, 6, 1, 2, 0});
    D3DRECT all = {{0}, {0}, {800}, {600}};
    EXPECT_EQ(objects.viewport->Clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), D3D_OK);
    std::vector<D3DVERTEX> triangle = Triangle(0, 0);
    ASSERT_EQ(objects.device->BeginScene(), D3D_OK);
    EXPECT_EQ(objects.device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DVT_VERTEX, triangle.data(), 3, 0), D3D_OK);
    EXPECT_EQ(objects.device->EndScene(), D3D_OK);
}

TEST_F(Lifetimes, AReleasedObjectStillHeldRefusesItsCalls) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    IDirectDrawSurface* primary = objects.primarySurface;  // the device holds it
    EXPECT_EQ(primary->Release(), 0u);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_INVALIDOBJECT);
    EXPECT_EQ(primary->AddRef(), 0u) << "released stays released";
    EXPECT_EQ(primary->Release(), 0u);
    IDirect3DDevice2* second = nullptr;
    EXPECT_EQ(objects.direct3D->CreateDevice(IID_IDirect3DHALDevice, primary, &second), DDERR_INVALIDOBJECT);
    EXPECT_EQ(second, nullptr);
    objects.primarySurface = nullptr;
}

TEST_F(Lifetimes, ChildrenOfAReleasedDirectDrawAnswerWithoutTheDisplay) {
    ASSERT_EQ(BringUp(), DD_OK) << failedStep;
    IDirectDraw* directDraw = objects.directDraw;  // its surfaces hold it
    IDirect3D2* direct3D = objects.direct3D;
    EXPECT_EQ(directDraw->Release(), 1u) << "its Direct3D interface shares the count";
    EXPECT_EQ(headless->OpenWindow(), window) << "the object keeps the display while an interface is held";
    EXPECT_EQ(direct3D->Release(), 0u);
    objects.directDraw = nullptr;
    objects.direct3D = nullptr;
    EXPECT_EQ(headless->OpenWindow(), nullptr) << "released means the display is given back";
    EXPECT_EQ(directDraw->SetDisplayMode(800, 600, 32), DDERR_INVALIDOBJECT);
    EXPECT_EQ(objects.primarySurface->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(objects.primarySurface->IsLost(), DDERR_SURFACELOST);
    IDirect3DMaterial2* material = nullptr;
    EXPECT_EQ(direct3D->CreateMaterial(&material, nullptr), DDERR_INVALIDOBJECT);
    EXPECT_EQ(material, nullptr);
    EXPECT_EQ(headless->PresentedFrames(), 0u);
}

TEST_F(Lifetimes, TheDirectDrawObjectIsOneObjectWithTwoInterfaces) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &objects.directDraw, nullptr), DD_OK);
    IDirectDraw* directDraw = objects.directDraw;
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&objects.direct3D)), DD_OK);
    IDirect3D2* again = nullptr;
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D2, reinterpret_cast<void**>(&again)), DD_OK);
    EXPECT_EQ(again, objects.direct3D) << "the same interface each time";
    EXPECT_EQ(again->Release(), 2u) << "one count for both interfaces";
    EXPECT_EQ(objects.direct3D->AddRef(), 3u);
    EXPECT_EQ(directDraw->Release(), 2u);

    IUnknown* fromDirectDraw = nullptr;
    IUnknown* fromDirect3D = nullptr;
    ASSERT_EQ(directDraw->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromDirectDraw)), DD_OK);
    ASSERT_EQ(objects.direct3D->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromDirect3D)), D3D_OK);
    EXPECT_EQ(fromDirectDraw, fromDirect3D);
    EXPECT_EQ(static_cast<void*>(fromDirectDraw), static_cast<void*>(directDraw));
    EXPECT_EQ(fromDirectDraw->Release(), 3u);
    EXPECT_EQ(fromDirect3D->Release(), 2u);

    IDirectDraw* back = nullptr;
    ASSERT_EQ(objects.direct3D->QueryInterface(IID_IDirectDraw, reinterpret_cast<void**>(&back)), D3D_OK);
    EXPECT_EQ(back, directDraw);
    EXPECT_EQ(back->Release(), 2u);

    void* found = reinterpret_cast<void*>(1);
    EXPECT_EQ(directDraw->QueryInterface(IID_IDirect3DDevice2, &found), E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(directDraw->QueryInterface(IID_IDirect3D2, nullptr), E_POINTER);
}

}  // namespace
}  // namespace qv::ddraw::testing
