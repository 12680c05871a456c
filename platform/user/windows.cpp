// Windows: CreateWindowExA, ShowWindow, UpdateWindow, DestroyWindow and
// IsWindow. A window is created hidden unless WS_VISIBLE is given; showing
// it makes its contents due for painting, and UpdateWindow then sends
// WM_PAINT straight to its procedure (so does the queue, when idle).

#include "control/control.h"
#include "control/trace.h"
#include "display/display.h"
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
    control::CallTrace trace("CreateWindowExA");
    trace.Arg(control::Flags(exStyle, {}))
        .Arg(IS_INTRESOURCE(className) && className ? "MAKEINTATOM(" + control::HexText(reinterpret_cast<uintptr_t>(className)) + ")"
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
    const user::WindowClass* windowClass = user::FindClass(className);
    if (!windowClass) {
        trace.Result("NULL", "unknown window class");
        return nullptr;
    }
    if (parent && !user::FindWindow(parent)) {
        trace.Result("NULL", "no such parent window");
        return nullptr;
    }
    if (control::TakeFault("CreateWindowExA", E_FAIL) != S_OK) {
        trace.Result("NULL", "injected fault");
        return nullptr;
    }
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
        trace.Result("NULL", "the window procedure refused WM_NCCREATE");
        return nullptr;
    }
    if (user::FindWindow(window) && user::Deliver(window, WM_CREATE, 0, createData) == -1 && user::FindWindow(window))
        user::Destroy(window);
    if (!user::FindWindow(window)) {
        trace.Result("NULL", "the window procedure refused WM_CREATE or destroyed the window");
        return nullptr;
    }
    if (style & WS_VISIBLE) user::SetVisible(window, true);
    trace.Result(user::WindowText(window));
    return window;
}

extern "C" BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    control::CallTrace trace("ShowWindow");
    trace.Arg(user::WindowText(window)).Arg(user::ShowCommandText(showCommand));
    if (!user::FindWindow(window)) {
        trace.Result("FALSE", "no such window");
        return FALSE;
    }
    if (showCommand < SW_HIDE || showCommand > SW_FORCEMINIMIZE) {
        trace.Result("FALSE", "unknown show command");
        return FALSE;
    }
    bool was = user::SetVisible(window, showCommand != SW_HIDE);
    trace.Result(user::BoolText(was));
    return was;
}

extern "C" BOOL WINAPI UpdateWindow(HWND window) {
    control::CallTrace trace("UpdateWindow");
    trace.Arg(user::WindowText(window));
    user::Window* record = user::FindWindow(window);
    if (!record) {
        trace.Result("FALSE", "no such window");
        return FALSE;
    }
    if (record->visible && record->needsPaint) user::Deliver(window, WM_PAINT, 0, 0);
    trace.Result("TRUE");
    return TRUE;
}

extern "C" BOOL WINAPI DestroyWindow(HWND window) {
    control::CallTrace trace("DestroyWindow");
    trace.Arg(user::WindowText(window));
    user::Window* record = user::FindWindow(window);
    if (!record) {
        trace.Result("FALSE", "no such window");
        return FALSE;
    }
    if (record->destroying) {
        trace.Result("FALSE", "the window is already being destroyed");
        return FALSE;
    }
    if (control::TakeFault("DestroyWindow", E_FAIL) != S_OK) {
        trace.Result("FALSE", "injected fault");
        return FALSE;
    }
    user::Destroy(window);
    trace.Result("TRUE");
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND window) {
    BOOL live = user::FindWindow(window) != nullptr;
    control::CallTrace("IsWindow").Arg(user::WindowText(window)).Result(user::BoolText(live));
    return live;
}
