// The message queue: order, filters, the quit message, input from the back
// end, and GetMessageA never waiting for input that cannot come.

#include "control/control.h"
#include "display/display.h"
#include "display/headless.h"
#include "user/input.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv::user {
namespace {

std::vector<UINT> delivered;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    delivered.push_back(message);
    if (message == WM_DESTROY) PostQuitMessage(7);
    return DefWindowProcA(window, message, wParam, lParam);
}

class MessageQueue : public testing::Test {
protected:
    void SetUp() override {
        control::Reset();
        user::Reset();
        display::Install(std::make_unique<display::HeadlessBackend>());
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.lpszClassName = "QueueTest";
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        window = CreateWindowExA(0, "QueueTest", "queue", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        delivered.clear();
    }
    void TearDown() override {
        display::Install(nullptr);
        user::Reset();
        control::Reset();
    }

    // Takes every waiting message with GetMessageA, up to and including the
    // quit message, and returns their numbers.
    std::vector<UINT> Drain() {
        std::vector<UINT> messages;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL result = GetMessageA(&msg, nullptr, 0, 0);
            if (result == -1) break;
            messages.push_back(msg.message);
            if (result == 0) break;
        }
        return messages;
    }

    HWND window = nullptr;
};

TEST_F(MessageQueue, PostedMessagesComeOutInOrderWithTheirValues) {
    ASSERT_TRUE(PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0x00390001));
    ASSERT_TRUE(PostMessageA(window, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001)));
    ASSERT_TRUE(PostMessageA(nullptr, WM_NULL, 5, 6));
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_SPACE));
    EXPECT_EQ(msg.lParam, 0x00390001);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.hwnd, nullptr) << "a thread message";
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(msg.lParam, 6);
}

TEST_F(MessageQueue, QuitComesAfterThePostedMessages) {
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "the quit message is taken once";
}

TEST_F(MessageQueue, PeekWithoutRemovingLeavesTheMessage) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostQuitMessage(0);
    MSG msg;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    }
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    }
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, FiltersByMessageRangeAndWindow) {
    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(nullptr, WM_NULL, 0, 0);
    PostQuitMessage(0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    HWND threadOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
    ASSERT_TRUE(PeekMessageA(&msg, threadOnly, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
    ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) << "the quit message belongs to no window";
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MessageQueue, InputFromTheBackEndIsSeenBeforeIdle) {
    PostInputMessage(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_ESCAPE));
}

TEST_F(MessageQueue, PostedMessagesGoBeforeInput) {
    PostInputMessage(window, WM_KEYDOWN, 'A', 0);
    PostInputMessage(window, WM_KEYUP, 'A', 0);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    TranslateMessage(&msg);
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_CHAR, WM_KEYUP})) << "the typed character follows its key press";
}

TEST_F(MessageQueue, InputForUnknownWindowsIsDropped) {
    PostInputMessage(nullptr, WM_CLOSE, 0, 0);
    PostInputMessage(reinterpret_cast<HWND>(0x1234), WM_CLOSE, 0, 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, GetMessageDoesNotWaitForInputThatCannotCome) {
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), -1);
    std::vector<std::string> lines;
    control::SetTraceSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(GetMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYUP), -1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "GetMessageA(&msg, NULL, WM_KEYDOWN, WM_KEYUP) -> -1: no message is queued and no input can arrive");
}

TEST_F(MessageQueue, RefusesBadArguments) {
    MSG msg;
    EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
    HWND stale = reinterpret_cast<HWND>(0x77);
    EXPECT_EQ(GetMessageA(&msg, stale, 0, 0), -1);
    EXPECT_FALSE(PeekMessageA(&msg, stale, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageA(stale, WM_CLOSE, 0, 0));
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    EXPECT_FALSE(TranslateMessage(nullptr));
    msg = MSG{stale, WM_CLOSE, 0, 0, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&msg), 0);
}

TEST_F(MessageQueue, GetMessageFaultReturnsMinusOneAndClearsTheRecord) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    control::InjectFault("GetMessageA");
    MSG msg{window, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), -1);
    EXPECT_EQ(msg.hwnd, nullptr) << "the previous message is not handled twice";
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_NULL));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1) << "the message was kept";
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
}

TEST_F(MessageQueue, PostMessageFault) {
    control::InjectFault("PostMessageA", 2);
    EXPECT_TRUE(PostMessageA(window, WM_NULL, 0, 0));
    EXPECT_FALSE(PostMessageA(window, WM_NULL, 0, 0));
    EXPECT_TRUE(PostMessageA(window, WM_NULL, 0, 0));
}

TEST_F(MessageQueue, AFullQueueRefusesMorePosts) {
    int accepted = 0;
    while (accepted < 20000 && PostMessageA(window, WM_NULL, 0, 0)) ++accepted;
    EXPECT_LT(accepted, 20000);
    EXPECT_EQ(Drain().size(), static_cast<std::size_t>(accepted)) << "nothing accepted was lost";
}

TEST_F(MessageQueue, DestroyedWindowsLoseTheirMessages) {
    PostMessageA(window, WM_KEYDOWN, 'A', 0);
    PostMessageA(nullptr, WM_NULL, 0, 0);
    DestroyWindow(window);
    EXPECT_EQ(Drain(), (std::vector<UINT>{WM_NULL, WM_QUIT}));
}

TEST_F(MessageQueue, ShownWindowIsPaintedWhenIdleUntilValidated) {
    ShowWindow(window, SW_SHOWDEFAULT);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    EXPECT_EQ(msg.hwnd, window);
    DispatchMessageA(&msg);  // DefWindowProcA validates
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    InvalidateWindow(window);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace qv::user
