#include "user/desktop.h"

#include "user/input.h"

#include <cstring>
#include <map>

namespace qv::user {
namespace {

// Class atoms run from 0xC000 to 0xFFFF, as the platform's string atoms do.
constexpr ATOM kFirstAtom = 0xC000, kLastAtom = 0xFFFF;

std::vector<WindowClass>& Classes() {
    static std::vector<WindowClass> classes;
    return classes;
}

struct Windows {
    std::map<unsigned, Window> live;
    unsigned lastId = 0;
};

Windows& AllWindows() {
    static Windows windows;
    return windows;
}

bool SameName(const std::string& a, const char* b) {
    // Class names compare without regard to case, as the platform's do.
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

}  // namespace

const WindowClass* FindClass(LPCSTR name) {
    if (!name) return nullptr;
    for (const WindowClass& windowClass : Classes()) {
        bool match = IS_INTRESOURCE(name) ? windowClass.atom == static_cast<ATOM>(reinterpret_cast<uintptr_t>(name))
                                          : SameName(windowClass.name, name);
        if (match) return &windowClass;
    }
    return nullptr;
}

ATOM AddClass(const WNDCLASSEXA& record) {
    if (Classes().size() > std::size_t{kLastAtom - kFirstAtom}) return 0;
    WindowClass windowClass{record.lpszClassName, static_cast<ATOM>(kFirstAtom + Classes().size()), record};
    windowClass.record.lpszClassName = nullptr;
    windowClass.record.lpszMenuName = nullptr;
    Classes().push_back(windowClass);
    return windowClass.atom;
}

Window* FindWindow(HWND handle) {
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value <= kWindowBase || value - kWindowBase > AllWindows().lastId) return nullptr;
    auto found = AllWindows().live.find(static_cast<unsigned>(value - kWindowBase));
    return found == AllWindows().live.end() ? nullptr : &found->second;
}

Window& AddWindow(const WindowClass& windowClass, LPCSTR title, DWORD style, HWND parent) {
    Windows& windows = AllWindows();
    unsigned id = ++windows.lastId;
    Window window{id,
                  reinterpret_cast<HWND>(kWindowBase + id),
                  windowClass.name,
                  title ? title : "",
                  style,
                  windowClass.record.lpfnWndProc,
                  parent,
                  windowClass.record.hIcon,
                  windowClass.record.hIconSm,
                  windowClass.record.hbrBackground};
    return windows.live.emplace(id, std::move(window)).first->second;
}

void RemoveWindow(HWND handle) {
    if (Window* window = FindWindow(handle)) AllWindows().live.erase(window->id);
}

std::vector<HWND> LiveWindows() {
    std::vector<HWND> handles;
    for (const auto& [id, window] : AllWindows().live) handles.push_back(window.handle);
    return handles;
}

HWND FirstWindowDueForPaint() {
    for (const auto& [id, window] : AllWindows().live) {
        if (window.visible && window.needsPaint) return window.handle;
    }
    return nullptr;
}

LRESULT Deliver(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindow(handle);
    if (!window || !window->procedure) return 0;
    return window->procedure(handle, message, wParam, lParam);
}

HWND MainWindow() {
    for (const auto& [id, window] : AllWindows().live) {
        if (!window.parent && !window.destroying) return window.handle;
    }
    return nullptr;
}

const char* WindowTitle(HWND handle) {
    Window* window = FindWindow(handle);
    return window ? window->title.c_str() : "";
}

HICON WindowIcon(HWND handle, bool small) {
    Window* window = FindWindow(handle);
    if (!window) return nullptr;
    return small ? window->smallIcon : window->icon;
}

void Reset() {
    Classes().clear();
    AllWindows() = Windows{};
    ResetQueue();
    ResetKeyboard();
}

}  // namespace qv::user
