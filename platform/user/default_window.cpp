// DefWindowProcA: the platform's default handling of the messages that can
// reach it here. Closing: WM_CLOSE destroys the window; Alt+F4 (a system key
// press with the Alt bit, 29, of lParam) posts WM_SYSCOMMAND SC_CLOSE to the
// top-level window, and SC_CLOSE sends WM_CLOSE. Painting validates the
// window. The cursor is left as the class gives it: never hidden.

#include "user/call.h"
#include "user/desktop.h"
#include "user/names.h"

#include <string>

namespace qv::user {
namespace {

constexpr LPARAM kAltDown = LPARAM{1} << 29;

HWND TopLevel(HWND handle) {
    for (Window* window = FindWindow(handle); window && window->parent; window = FindWindow(handle))
        handle = window->parent;
    return handle;
}

LRESULT DefaultHandling(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = window.handle;
    switch (message) {
    case WM_NCCREATE:
    case WM_NCACTIVATE:
        return TRUE;
    case WM_CLOSE:
        Destroy(handle);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & kAltDown)) QueueMessage(TopLevel(handle), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) Deliver(handle, WM_CLOSE, 0, 0);
        return 0;
    case WM_PAINT:
        window.needsPaint = false;
        return 0;
    case WM_ERASEBKGND:
        // Erased with the class background brush, when there is one.
        return window.background ? 1 : 0;
    default:
        return 0;
    }
}

}  // namespace
}  // namespace qv::user

using namespace qv;

extern "C" LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::Call<LRESULT>(
        "DefWindowProcA", 0,
        [&]() -> user::Outcome<LRESULT> {
            user::Window* record = user::FindWindow(window);
            if (!record) return {0, "no such window"};
            return {user::DefaultHandling(*record, message, wParam, lParam)};
        },
        [&](control::CallTrace& trace) { user::MessageArguments(trace, window, message, wParam, lParam); },
        user::ResultText);
}
