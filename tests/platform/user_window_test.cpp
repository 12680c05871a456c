// Window classes, windows, default window handling, translation, icons,
// the message box, fault injection and the trace of a scripted session.

#include "control/control.h"
#include "display/display.h"
#include "display/headless.h"
#include "user/input.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ddraw.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace qv::user {
namespace {

using testing::ElementsAre;

struct Delivery {
    UINT message;
    WPARAM wParam;
    bool operator==(const Delivery&) const = default;
};
std::vector<Delivery> delivered;
LRESULT createResult = 0;

// Behaves like the program's procedure: Escape asks to close, other key
// presses are swallowed, WM_DESTROY quits; the rest is default handling.
LRESULT CALLBACK ProgramLikeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    delivered.push_back({message, wParam});
    switch (message) {
    case WM_CREATE:
        return createResult;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

class WindowLayer : public testing::Test {
protected:
    void SetUp() override {
        control::Reset();
        user::Reset();
        display::Install(std::make_unique<display::HeadlessBackend>());
        delivered.clear();
        createResult = 0;
    }
    void TearDown() override {
        display::Install(nullptr);
        user::Reset();
        control::Reset();
    }

    WNDCLASSEXA ClassRecord() {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = ProgramLikeProcedure;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(107));
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        windowClass.lpszClassName = "Quorvane";
        windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(108));
        return windowClass;
    }

    HWND CreateMainWindow() {
        return CreateWindowExA(0, "Quorvane", "My Quorvane application", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                               CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    }

    HWND RegisterAndCreate() {
        WNDCLASSEXA windowClass = ClassRecord();
        EXPECT_NE(RegisterClassExA(&windowClass), 0);
        HWND window = CreateMainWindow();
        EXPECT_NE(window, nullptr);
        delivered.clear();
        return window;
    }

    // Runs the program's message loop until the quit message or until no
    // message is left; returns the quit code, or -1 when it never came.
    int RunLoop() {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&msg, nullptr, 0, 0) == 0) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return -1;
    }

    int instanceTag = 0;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(&instanceTag);
};

TEST_F(WindowLayer, RegistersAClassOnce) {
    WNDCLASSEXA windowClass = ClassRecord();
    EXPECT_NE(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(RegisterClassExA(&windowClass), 0) << "duplicate";
    windowClass.lpszClassName = "QUORVANE";
    EXPECT_EQ(RegisterClassExA(&windowClass), 0) << "class names ignore case";
}

TEST_F(WindowLayer, RefusesBadClassRecords) {
    EXPECT_EQ(RegisterClassExA(nullptr), 0);
    WNDCLASSEXA windowClass = ClassRecord();
    windowClass.cbSize = 48;
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    windowClass = ClassRecord();
    windowClass.lpszClassName = nullptr;
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    windowClass = ClassRecord();
    windowClass.lpszClassName = "";
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    windowClass = ClassRecord();
    windowClass.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    windowClass = ClassRecord();
    windowClass.cbWndExtra = -1;
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
}

TEST_F(WindowLayer, CreationSendsNcCreateThenCreateAndLeavesTheWindowHidden) {
    WNDCLASSEXA windowClass = ClassRecord();
    RegisterClassExA(&windowClass);
    HWND window = CreateMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_THAT(delivered, ElementsAre(Delivery{WM_NCCREATE, 0}, Delivery{WM_CREATE, 0}));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(MainWindow(), window);
    EXPECT_STREQ(WindowTitle(window), "My Quorvane application");
    EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT)) << "was hidden";
    EXPECT_TRUE(ShowWindow(window, SW_SHOW)) << "was shown";
    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(ShowWindow(window, SW_HIDE));
}

TEST_F(WindowLayer, CreationRefusals) {
    EXPECT_EQ(CreateMainWindow(), nullptr) << "class not registered";
    WNDCLASSEXA windowClass = ClassRecord();
    RegisterClassExA(&windowClass);
    EXPECT_EQ(CreateWindowExA(0, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateWindowExA(0, "Quorvane", nullptr, 0, 0, 0, 0, 0, reinterpret_cast<HWND>(0x99), nullptr, nullptr,
                              nullptr),
              nullptr)
        << "no such parent";
    createResult = -1;
    delivered.clear();
    EXPECT_EQ(CreateMainWindow(), nullptr) << "WM_CREATE refused";
    EXPECT_THAT(delivered, ElementsAre(Delivery{WM_NCCREATE, 0}, Delivery{WM_CREATE, 0}, Delivery{WM_DESTROY, 0},
                                       Delivery{WM_NCDESTROY, 0}));
    EXPECT_EQ(MainWindow(), nullptr);
}

TEST_F(WindowLayer, ShowAndUpdatePaintOnce) {
    HWND window = RegisterAndCreate();
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_TRUE(delivered.empty()) << "a hidden window has nothing to paint";
    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
    UpdateWindow(window);
    EXPECT_THAT(delivered, ElementsAre(Delivery{WM_SHOWWINDOW, TRUE}, Delivery{WM_PAINT, 0}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "painted: idle";
}

TEST_F(WindowLayer, DestroySendsDestroyThenNcDestroy) {
    HWND window = RegisterAndCreate();
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_THAT(delivered, ElementsAre(Delivery{WM_DESTROY, 0}, Delivery{WM_NCDESTROY, 0}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_FALSE(DestroyWindow(window)) << "already gone";
    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_FALSE(UpdateWindow(window));
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(0x1234)));
    EXPECT_NE(CreateMainWindow(), window) << "handles are not reused";
}

TEST_F(WindowLayer, EscapeClosesThroughDefaultHandling) {
    HWND window = RegisterAndCreate();
    PostInputMessage(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_THAT(delivered, ElementsAre(Delivery{WM_KEYDOWN, VK_ESCAPE}, Delivery{WM_CHAR, 0x1B},
                                       Delivery{WM_CLOSE, 0}, Delivery{WM_DESTROY, 0}, Delivery{WM_NCDESTROY, 0}));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowLayer, AltF4ClosesThroughDefaultHandling) {
    HWND window = RegisterAndCreate();
    const LPARAM altDown = LPARAM{1} << 29;
    PostInputMessage(window, WM_SYSKEYDOWN, VK_MENU, altDown);
    PostInputMessage(window, WM_SYSKEYDOWN, VK_F4, altDown | 0x003E0001);
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_THAT(delivered, ElementsAre(Delivery{WM_SYSKEYDOWN, VK_MENU}, Delivery{WM_SYSKEYDOWN, VK_F4},
                                       Delivery{WM_SYSCOMMAND, SC_CLOSE}, Delivery{WM_CLOSE, 0},
                                       Delivery{WM_DESTROY, 0}, Delivery{WM_NCDESTROY, 0}));
}

TEST_F(WindowLayer, F4WithoutAltAndOtherKeysDoNotClose) {
    HWND window = RegisterAndCreate();
    PostInputMessage(window, WM_SYSKEYDOWN, VK_F4, 0x003E0001);
    PostInputMessage(window, WM_KEYDOWN, 'Q', 0);
    PostInputMessage(window, WM_KEYUP, 'Q', 0);
    EXPECT_EQ(RunLoop(), -1) << "no quit message";
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowLayer, DefaultResults) {
    HWND window = RegisterAndCreate();
    EXPECT_EQ(DefWindowProcA(window, WM_NCCREATE, 0, 0), TRUE);
    EXPECT_EQ(DefWindowProcA(window, WM_NCACTIVATE, TRUE, 0), TRUE);
    EXPECT_EQ(DefWindowProcA(window, WM_ERASEBKGND, 0, 0), 1) << "the class has a background brush";
    EXPECT_EQ(DefWindowProcA(window, WM_SETCURSOR, 0, 0), 0);
    EXPECT_EQ(DefWindowProcA(window, WM_KEYUP, 'A', 0), 0);
    EXPECT_EQ(DefWindowProcA(window, WM_ACTIVATE, WA_ACTIVE, 0), 0);
    EXPECT_EQ(DefWindowProcA(nullptr, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_FALSE(IsWindow(window)) << "SC_CLOSE closes";
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0) << "gone: nothing to call";
}

TEST_F(WindowLayer, TranslateTypesCharacters) {
    HWND window = RegisterAndCreate();
    auto translated = [&](UINT message, WPARAM key) {
        MSG msg{window, message, key, 0x1E0001, 0, {0, 0}};
        TranslateMessage(&msg);
        MSG typed{};
        bool any = PeekMessageA(&typed, nullptr, 0, 0, PM_REMOVE);
        return any ? Delivery{typed.message, typed.wParam} : Delivery{0, 0};
    };
    EXPECT_EQ(translated(WM_KEYDOWN, 'A'), (Delivery{WM_CHAR, 'a'}));
    EXPECT_EQ(translated(WM_KEYDOWN, '7'), (Delivery{WM_CHAR, '7'}));
    EXPECT_EQ(translated(WM_KEYDOWN, VK_SPACE), (Delivery{WM_CHAR, ' '}));
    EXPECT_EQ(translated(WM_SYSKEYDOWN, 'X'), (Delivery{WM_SYSCHAR, 'x'}));
    EXPECT_EQ(translated(WM_KEYDOWN, VK_F1), (Delivery{0, 0})) << "types nothing";
    EXPECT_EQ(translated(WM_KEYUP, 'A'), (Delivery{0, 0}));

    PostInputMessage(window, WM_KEYDOWN, VK_SHIFT, 0);
    MSG msg;
    GetMessageA(&msg, nullptr, 0, 0);
    EXPECT_EQ(translated(WM_KEYDOWN, 'A'), (Delivery{WM_CHAR, 'A'})) << "with Shift held";
    EXPECT_EQ(translated(WM_KEYDOWN, '1'), (Delivery{WM_CHAR, '!'}));

    MSG keyUp{window, WM_KEYUP, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&keyUp)) << "every key message counts as translated";
    MSG other{window, WM_CLOSE, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&other));
}

TEST_F(WindowLayer, IconsAndCursors) {
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(107));
    HICON small = LoadIconA(instance, MAKEINTRESOURCEA(108));
    EXPECT_NE(icon, nullptr);
    EXPECT_NE(small, nullptr);
    EXPECT_NE(icon, small);
    EXPECT_EQ(LoadIconA(instance, MAKEINTRESOURCEA(107)), icon) << "one handle per resource";
    // The icons are the files the program's resource script names.
    for (auto [handle, file] : {std::pair{icon, "quorvane.ico"}, std::pair{small, "quorvane-small.ico"}}) {
        const ModuleResource* resource = IconResource(handle);
        ASSERT_NE(resource, nullptr) << file;
        std::ifstream in(std::string(QUORVANE_SOURCE_DIR "/res/") + file, std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), resource->bytes, resource->bytes + resource->size)) << file;
    }
    EXPECT_EQ(LoadIconA(instance, MAKEINTRESOURCEA(109)), nullptr);
    EXPECT_EQ(LoadIconA(instance, "named"), nullptr);
    EXPECT_EQ(LoadIconA(instance, nullptr), nullptr);
    HICON application = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    EXPECT_NE(application, nullptr);
    EXPECT_EQ(IconResource(application), nullptr) << "a system icon";
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorA(instance, IDC_ARROW), nullptr) << "the program has no cursors";

    HWND window = RegisterAndCreate();
    EXPECT_EQ(WindowIcon(window, false), icon);
    EXPECT_EQ(WindowIcon(window, true), small);
    EXPECT_EQ(WindowIcon(nullptr, false), nullptr);
}

TEST_F(WindowLayer, MessageBoxIsOneLineOnStandardError) {
    HWND window = RegisterAndCreate();
    testing::internal::CaptureStderr();
    int answer = MessageBoxA(window, "Direct3D init failed!", "My Quorvane application", MB_ICONERROR);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(printed, "My Quorvane application: Direct3D init failed!\n");

    testing::internal::CaptureStderr();
    MessageBoxA(nullptr, "two\nlines", nullptr, MB_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: two lines\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x99), "text", "caption", MB_OK), 0) << "no such owner";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(WindowLayer, FaultsMakeEachStepFail) {
    WNDCLASSEXA windowClass = ClassRecord();
    control::InjectFault("RegisterClassExA");
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    EXPECT_NE(RegisterClassExA(&windowClass), 0);
    control::InjectFault("CreateWindowExA");
    EXPECT_EQ(CreateMainWindow(), nullptr);
    HWND window = CreateMainWindow();
    EXPECT_NE(window, nullptr);
    control::InjectFault("LoadIconA");
    EXPECT_EQ(LoadIconA(instance, MAKEINTRESOURCEA(107)), nullptr);
    control::InjectFault("LoadCursorA");
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    control::InjectFault("DestroyWindow");
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_TRUE(IsWindow(window));
    control::InjectFault("MessageBoxA");
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(window, "text", "caption", MB_OK), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Both layers take a due fault first: it fires even where
// the arguments would have been refused.
TEST_F(WindowLayer, AFaultIsTakenBeforeTheArgumentsAreLookedAt) {
    const HWND gone = reinterpret_cast<HWND>(0x99);
    struct Case {
        const char* operation;
        std::function<bool()> callFails;
    };
    const Case cases[] = {
        {"RegisterClassExA", [] { return RegisterClassExA(nullptr) == 0; }},
        {"CreateWindowExA", [this] { return CreateMainWindow() == nullptr; }},
        {"DestroyWindow", [&] { return !DestroyWindow(gone); }},
        {"PostMessageA", [&] { return !PostMessageA(gone, WM_CLOSE, 0, 0); }},
        {"GetMessageA", [] { return GetMessageA(nullptr, nullptr, 0, 0) == -1; }},
        {"MessageBoxA", [&] { return MessageBoxA(gone, "text", "caption", MB_OK) == 0; }},
        {"DirectDrawCreate", [] { return DirectDrawCreate(nullptr, nullptr, nullptr) != DD_OK; }},
    };
    std::vector<std::string> lines;
    control::SetTraceSink([&](const std::string& line) { lines.push_back(line); });
    for (const Case& call : cases) {
        ASSERT_TRUE(control::InjectFault(call.operation)) << call.operation;
        EXPECT_TRUE(call.callFails()) << call.operation;
        ASSERT_FALSE(lines.empty());
        EXPECT_THAT(lines.back(), testing::EndsWith(": injected fault")) << call.operation;
    }
}

TEST_F(WindowLayer, TraceOfAScriptedSession) {
    WNDCLASSEXA windowClass = ClassRecord();
    std::vector<std::string> lines;
    control::SetTraceSink([&](const std::string& line) { lines.push_back(line); });
    RegisterClassExA(&windowClass);
    HWND window = CreateMainWindow();
    ShowWindow(window, SW_SHOWDEFAULT);
    UpdateWindow(window);
    PostInputMessage(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    MSG msg{};
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    GetMessageA(&msg, nullptr, 0, 0);
    DispatchMessageA(&msg);
    GetMessageA(&msg, nullptr, 0, 0);
    DispatchMessageA(&msg);
    GetMessageA(&msg, nullptr, 0, 0);
    testing::internal::CaptureStderr();
    MessageBoxA(nullptr, "bye", "caption", MB_ICONERROR);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(
        lines,
        std::vector<std::string>({
            "RegisterClassExA({cbSize=80, style=CS_HREDRAW|CS_VREDRAW, lpfnWndProc=proc, cbClsExtra=0, cbWndExtra=0, "
            "hInstance=instance, hIcon=icon#107, hCursor=IDC_ARROW, hbrBackground=COLOR_WINDOW+1, lpszMenuName=NULL, "
            "lpszClassName=\"Quorvane\", hIconSm=icon#108}) -> 0xC000",
            "DefWindowProcA(hwnd#1, WM_NCCREATE, 0, &CREATESTRUCTA) -> 1",
            "CreateWindowExA(0, \"Quorvane\", \"My Quorvane application\", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, "
            "CW_USEDEFAULT, 0, NULL, NULL, instance, NULL) -> hwnd#1",
            "DefWindowProcA(hwnd#1, WM_SHOWWINDOW, 1, 0) -> 0",
            "ShowWindow(hwnd#1, SW_SHOWDEFAULT) -> FALSE",
            "DefWindowProcA(hwnd#1, WM_PAINT, 0, 0) -> 0",
            "UpdateWindow(hwnd#1) -> TRUE",
            "PeekMessageA({hwnd#1, WM_KEYDOWN, VK_ESCAPE, 0x10001}, NULL, 0, 0, PM_NOREMOVE) -> TRUE",
            "GetMessageA({hwnd#1, WM_KEYDOWN, VK_ESCAPE, 0x10001}, NULL, 0, 0) -> 1",
            "PostMessageA(hwnd#1, WM_CLOSE, 0, 0) -> TRUE",
            "DispatchMessageA({hwnd#1, WM_KEYDOWN, VK_ESCAPE, 0x10001}) -> 0",
            "GetMessageA({hwnd#1, WM_CLOSE, 0, 0}, NULL, 0, 0) -> 1",
            "PostQuitMessage(0) -> void",
            "DefWindowProcA(hwnd#1, WM_NCDESTROY, 0, 0) -> 0",
            "DefWindowProcA(hwnd#1, WM_CLOSE, 0, 0) -> 0",
            "DispatchMessageA({hwnd#1, WM_CLOSE, 0, 0}) -> 0",
            "GetMessageA({NULL, WM_QUIT, 0, 0}, NULL, 0, 0) -> 0",
            "MessageBoxA(NULL, \"bye\", \"caption\", MB_ICONERROR) -> IDOK"}));
}

}  // namespace
}  // namespace qv::user
