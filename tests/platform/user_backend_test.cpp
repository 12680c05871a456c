// What the window layer asks of the display back end: input pumped before
// messages are looked at, waiting for input when it can come, windows shown
// and destroyed, message boxes.

#include "control/control.h"
#include "display/display.h"
#include "platform/mock_backend.h"
#include "user/input.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qv::user {
namespace {

using testing::_;
using testing::InSequence;
using testing::Return;

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowLayerBackend : public testing::Test {
protected:
    void SetUp() override {
        control::Reset();
        user::Reset();
        auto owned = std::make_unique<testing::NiceMock<MockBackend>>();
        backend = owned.get();
        display::Install(std::move(owned));
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = PlainProcedure;
        windowClass.lpszClassName = "BackendTest";
        RegisterClassExA(&windowClass);
    }
    void TearDown() override {
        display::Install(nullptr);
        user::Reset();
        control::Reset();
    }

    HWND Create(DWORD style) {
        return CreateWindowExA(0, "BackendTest", "backend", style, 0, 0, 640, 480, nullptr, nullptr, nullptr, nullptr);
    }

    MockBackend* backend = nullptr;
};

TEST_F(WindowLayerBackend, PeekPumpsInputWithoutWaiting) {
    HWND window = Create(WS_OVERLAPPEDWINDOW);
    EXPECT_CALL(*backend, PumpInput(0)).WillOnce([window](int) {
        PostInputMessage(window, WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    });
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_ESCAPE));
}

TEST_F(WindowLayerBackend, GetMessageWaitsWhileInputCanArrive) {
    HWND window = Create(WS_OVERLAPPEDWINDOW);
    {
        InSequence order;
        EXPECT_CALL(*backend, PumpInput(0)).WillOnce(Return(true));
        EXPECT_CALL(*backend, PumpInput(-1)).WillOnce(Return(true));  // woke without a message
        EXPECT_CALL(*backend, PumpInput(-1)).WillOnce([window](int) {
            PostInputMessage(window, WM_CLOSE, 0, 0);
            return true;
        });
    }
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
}

TEST_F(WindowLayerBackend, LastInputIsTakenEvenWhenNoMoreCanArrive) {
    HWND window = Create(WS_OVERLAPPEDWINDOW);
    EXPECT_CALL(*backend, PumpInput(0)).WillOnce(Return(false));
    EXPECT_CALL(*backend, PumpInput(-1)).WillOnce([window](int) {
        PostInputMessage(window, WM_CLOSE, 0, 0);
        return false;
    });
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
}

TEST_F(WindowLayerBackend, ToldAboutShowingAndDestroying) {
    HWND window = Create(WS_OVERLAPPEDWINDOW);
    {
        InSequence order;
        EXPECT_CALL(*backend, WindowShown(window, true));
        EXPECT_CALL(*backend, WindowShown(window, false));
        EXPECT_CALL(*backend, WindowDestroyed(window));
    }
    ShowWindow(window, SW_SHOWDEFAULT);
    ShowWindow(window, SW_SHOW);  // no change: nothing to tell
    ShowWindow(window, SW_HIDE);
    DestroyWindow(window);
}

TEST_F(WindowLayerBackend, VisibleStyleShowsAtCreation) {
    HWND shown = nullptr;
    EXPECT_CALL(*backend, WindowShown(_, true)).WillOnce([&shown](HWND window, bool) { shown = window; });
    HWND window = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ(shown, window);
    EXPECT_TRUE(ShowWindow(window, SW_SHOW)) << "was visible";
}

TEST_F(WindowLayerBackend, ChildrenAreDestroyedWithTheirParent) {
    HWND parent = Create(WS_OVERLAPPEDWINDOW);
    HWND child =
        CreateWindowExA(0, "BackendTest", "child", WS_POPUP, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(MainWindow(), parent) << "a window with a parent is not the main window";
    {
        InSequence order;
        EXPECT_CALL(*backend, WindowDestroyed(child));
        EXPECT_CALL(*backend, WindowDestroyed(parent));
    }
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLayerBackend, MessageBoxShownByTheBackEndIsAlsoOneLineOnStandardError) {
    EXPECT_CALL(*backend, ShowMessageBox(testing::StrEq("text"), testing::StrEq("caption"), MB_ICONERROR));
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_ICONERROR), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "caption: text\n");
}

TEST_F(WindowLayerBackend, MessageBoxWithoutTextShowsAnEmptyOne) {
    EXPECT_CALL(*backend, ShowMessageBox(testing::StrEq(""), testing::StrEq("Error"), MB_OK));
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: \n");
}

}  // namespace
}  // namespace qv::user
