// The program's entry and its only loop: seed the random source, create the
// main window, bring the device up, then handle messages first and draw a
// frame whenever none is waiting, until the quit message arrives.

#include <windows.h>

#include "render/bring_up.h"
#include "render/frame.h"
#include "render/main_window.h"
#include "scene/random.h"

#include <ctime>

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        ReleaseAll();
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    SeedRandom(static_cast<DWORD>(std::time(nullptr)));

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(107));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "Quorvane";
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(108));
    RegisterClassExA(&windowClass);

    mainWindow = CreateWindowExA(0, "Quorvane", "My Quorvane application", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                 CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);

    // A failed start is reported to the launcher as a failure, and releases
    // what the bring-up had created.
    if (!InitDirect3D()) {
        ReleaseAll();
        return 1;
    }

    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);

    MSG message = {};
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (GetMessageA(&message, nullptr, 0, 0) == 0) return static_cast<int>(message.wParam);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            RenderFrame();
        }
    }
}
