// The window layer's own records: registered classes and live windows.
// Handles are numbers, not addresses: window n is the handle kWindowBase + n
// (n counts from 1 and is never reused until Reset), so a stale or made-up
// handle is simply not found, and traces name windows "hwnd#n".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qv::user {

struct WindowClass {
    std::string name;
    ATOM atom;
    WNDCLASSEXA record;  // as registered; its name pointers are not kept
};

struct Window {
    unsigned id;
    HWND handle;
    std::string className, title;
    DWORD style;
    WNDPROC procedure;
    HWND parent;
    HICON icon, smallIcon;
    HBRUSH background;
    bool visible = false;
    bool needsPaint = false;  // has an update region: WM_PAINT is due
    bool destroying = false;
};

constexpr uintptr_t kWindowBase = 0x5100000;

// Classes by name (or MAKEINTATOM(atom)); null when none.
const WindowClass* FindClass(LPCSTR name);
// Registers a copy of the record; the caller has validated it. 0 when
// every class atom is taken.
ATOM AddClass(const WNDCLASSEXA& record);

// The live window, or null for null, stale and unknown handles. The pointer
// is valid only until the next window procedure runs or window is created.
Window* FindWindow(HWND handle);
Window& AddWindow(const WindowClass& windowClass, LPCSTR title, DWORD style, HWND parent);
void RemoveWindow(HWND handle);
std::vector<HWND> LiveWindows();
// The first visible window whose contents are due for painting, or null.
HWND FirstWindowDueForPaint();

// Calls the window's procedure; 0 when the window is gone.
LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Destroys a live window as the platform does (WM_DESTROY, its children,
// WM_NCDESTROY, its queued messages dropped). False when the window is not
// live or already being destroyed.
bool Destroy(HWND window);

// Adds a message to the posted queue (for a live window or, with a null
// window, for the thread); false when the queue is full.
bool QueueMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void DropMessagesFor(HWND window);

// Resets of the queue and keyboard state, for Reset.
void ResetQueue();
void ResetKeyboard();

}  // namespace qv::user
