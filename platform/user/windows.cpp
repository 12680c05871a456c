// Windows: CreateWindowExA, ShowWindow, UpdateWindow, DestroyWindow and
// IsWindow. A window is created hidden unless WS_VISIBLE is given; showing
// it makes its contents due for painting, and UpdateWindow then sends
// WM_PAINT straight to its procedure (so does the queue, when idle).

#include "display/display.h"
#include "user/call.h"
#include "user/desktop.h"
#include "user/input.h"
#include "user/names.h"

#include <string>

namespace qv::user {
namespace {

// The size and place the platform picks for CW_USEDEFAULT.
constexpr int kDefaultX = 0, kDefaultY = 0, kDefaultWidth = 800, kDefaultHeight = 600;

std::string StyleText(DWORD style) {
    return control::Flags(style, {{WS_OVERLAPPEDWINDOW, "WS_OVERLAPPEDWINDOW"},
                                  {WS_POPUP, "WS_POPUP"},
                                  {WS_VISIBLE, "WS_VISIBLE"},
                                  {WS_CAPTION, "WS_CAPTION"},
                                  {WS_SYSMENU, "WS_SYSMENU"},
                                  {WS_THICKFRAME, "WS_THICKFRAME"},
                                  {WS_MINIMIZEBOX, "WS_MINIMIZEBOX"},
                                  {WS_MAXIMIZEBOX, "WS_MAXIMIZEBOX"}});
}

std::string CoordinateText(int value) { return value == CW_USEDEFAULT ? "CW_USEDEFAULT" : std::to_string(value); }

std::string ShowCommandText(int command) {
    return control::Enum(static_cast<unsigned>(command),
                         {{SW_HIDE, "SW_HIDE"}, {SW_SHOWNORMAL, "SW_SHOWNORMAL"},
                          {SW_SHOWMINIMIZED, "SW_SHOWMINIMIZED"}, {SW_SHOWMAXIMIZED, "SW_SHOWMAXIMIZED"},
                          {SW_SHOWNOACTIVATE, "SW_SHOWNOACTIVATE"}, {SW_SHOW, "SW_SHOW"},
                          {SW_MINIMIZE, "SW_MINIMIZE"}, {SW_SHOWMINNOACTIVE, "SW_SHOWMINNOACTIVE"},
                          {SW_SHOWNA, "SW_SHOWNA"}, {SW_RESTORE, "SW_RESTORE"},
                          {SW_SHOWDEFAULT, "SW_SHOWDEFAULT"}, {SW_FORCEMINIMIZE, "SW_FORCEMINIMIZE"}});
}

// Makes the window visible or hidden and tells its procedure and the back
// end; returns whether it was visible.
bool SetVisible(HWND handle, bool visible) {
    Window* window = FindWindow(handle);
    bool was = window->visible;
    if (was == visible) return was;
    window->visible = visible;
    if (visible) window->needsPaint = true;
    Deliver(handle, WM_SHOWWINDOW, visible, 0);
    display::Active().WindowShown(handle, visible);
    return was;
}

}  // namespace

void InvalidateWindow(HWND handle) {
    if (Window* window = FindWindow(handle)) window->needsPaint = true;
}

bool WindowExists(HWND handle) { return FindWindow(handle) != nullptr; }

bool Destroy(HWND handle) {
    Window* window = FindWindow(handle);
    if (!window || window->destroying) return false;
    window->destroying = true;
    Deliver(handle, WM_DESTROY, 0, 0);
    for (HWND child : LiveWindows()) {
        Window* other = FindWindow(child);
        if (other && other->parent == handle) Destroy(child);
    }
    Deliver(handle, WM_NCDESTROY, 0, 0);
    DropMessagesFor(handle);
    RemoveWindow(handle);
    display::Active().WindowDestroyed(handle);
    return true;
}

}  // namespace qv::user

using namespace qv;

extern "C" HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                       int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                       LPVOID param) {
    return user::Call<HWND>(
        "CreateWindowExA", nullptr,
        [&]() -> user::Outcome<HWND> {
            const user::WindowClass* windowClass = user::FindClass(className);
            if (!windowClass) return {nullptr, "unknown window class"};
            if (parent && !user::FindWindow(parent)) return {nullptr, "no such parent window"};
            HWND window = user::AddWindow(*windowClass, windowName, style, parent).handle;
            bool defaultPlace = x == CW_USEDEFAULT, defaultSize = width == CW_USEDEFAULT;
            CREATESTRUCTA create{param,
                                 instance,
                                 menu,
                                 parent,
                                 defaultSize ? user::kDefaultHeight : height,
                                 defaultSize ? user::kDefaultWidth : width,
                                 defaultPlace ? user::kDefaultY : y,
                                 defaultPlace ? user::kDefaultX : x,
                                 static_cast<LONG>(style),
                                 windowName,
                                 className,
                                 exStyle};
            LPARAM createData = reinterpret_cast<LPARAM>(&create);
            if (!user::Deliver(window, WM_NCCREATE, 0, createData)) {
                if (user::FindWindow(window)) {
                    user::Deliver(window, WM_NCDESTROY, 0, 0);
                    user::RemoveWindow(window);
                }
                return {nullptr, "the window procedure refused WM_NCCREATE"};
            }
            if (user::FindWindow(window) && user::Deliver(window, WM_CREATE, 0, createData) == -1 &&
                user::FindWindow(window))
                user::Destroy(window);
            if (!user::FindWindow(window)) return {nullptr, "the window procedure refused WM_CREATE or destroyed the window"};
            if (style & WS_VISIBLE) user::SetVisible(window, true);
            return {window};
        },
        [&](control::CallTrace& trace) {
            trace.Arg(control::Flags(exStyle, {}))
                .Arg(IS_INTRESOURCE(className) && className
                         ? "MAKEINTATOM(" + control::HexText(reinterpret_cast<uintptr_t>(className)) + ")"
                         : control::Text(className))
                .Arg(control::Text(windowName))
                .Arg(user::StyleText(style))
                .Arg(user::CoordinateText(x))
                .Arg(std::to_string(y))
                .Arg(user::CoordinateText(width))
                .Arg(std::to_string(height))
                .Arg(user::WindowText(parent))
                .Arg(menu ? "menu" : "NULL")
                .Arg(user::InstanceText(instance))
                .Arg(param ? "param" : "NULL");
        },
        user::WindowText);
}

extern "C" BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    return user::Call<BOOL>(
        "ShowWindow", FALSE,
        [&]() -> user::Outcome<BOOL> {
            if (!user::FindWindow(window)) return {FALSE, "no such window"};
            if (showCommand < SW_HIDE || showCommand > SW_FORCEMINIMIZE) return {FALSE, "unknown show command"};
            return {user::SetVisible(window, showCommand != SW_HIDE)};
        },
        [&](control::CallTrace& trace) { trace.Arg(user::WindowText(window)).Arg(user::ShowCommandText(showCommand)); },
        user::BoolText);
}

extern "C" BOOL WINAPI UpdateWindow(HWND window) {
    return user::Call<BOOL>(
        "UpdateWindow", FALSE,
        [&]() -> user::Outcome<BOOL> {
            user::Window* record = user::FindWindow(window);
            if (!record) return {FALSE, "no such window"};
            if (record->visible && record->needsPaint) user::Deliver(window, WM_PAINT, 0, 0);
            return {TRUE};
        },
        [&](control::CallTrace& trace) { trace.Arg(user::WindowText(window)); }, user::BoolText);
}

extern "C" BOOL WINAPI DestroyWindow(HWND window) {
    return user::Call<BOOL>(
        "DestroyWindow", FALSE,
        [&]() -> user::Outcome<BOOL> {
            user::Window* record = user::FindWindow(window);
            if (!record) return {FALSE, "no such window"};
            if (record->destroying) return {FALSE, "the window is already being destroyed"};
            user::Destroy(window);
            return {TRUE};
        },
        [&](control::CallTrace& trace) { trace.Arg(user::WindowText(window)); }, user::BoolText);
}

extern "C" BOOL WINAPI IsWindow(HWND window) {
    return user::Call<BOOL>(
        "IsWindow", FALSE, [&]() -> user::Outcome<BOOL> { return {user::FindWindow(window) != nullptr}; },
        [&](control::CallTrace& trace) { trace.Arg(user::WindowText(window)); }, user::BoolText);
}
