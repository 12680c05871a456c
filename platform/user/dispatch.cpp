// DispatchMessageA, SendMessageA and TranslateMessage.

#include "control/trace.h"
#include "user/desktop.h"
#include "user/keyboard.h"
#include "user/names.h"

#include <string>

using namespace qv;

extern "C" LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    control::CallTrace trace("DispatchMessageA");
    trace.Arg(user::RecordText(msg));
    if (!msg) {
        trace.Result("0", "no message record");
        return 0;
    }
    if (!msg->hwnd) {
        trace.Result("0", "a thread message has no window procedure");
        return 0;
    }
    if (!user::FindWindow(msg->hwnd)) {
        trace.Result("0", "no such window");
        return 0;
    }
    LRESULT result = user::Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    trace.Result(std::to_string(result));
    return result;
}

extern "C" LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    control::CallTrace trace("SendMessageA");
    trace.Arg(user::WindowText(window))
        .Arg(user::MessageText(message))
        .Arg(user::WParamText(message, wParam))
        .Arg(user::LParamText(message, lParam));
    if (!user::FindWindow(window)) {
        trace.Result("0", "no such window");
        return 0;
    }
    LRESULT result = user::Deliver(window, message, wParam, lParam);
    trace.Result(std::to_string(result));
    return result;
}

// A key press that types a character posts WM_CHAR (WM_SYSCHAR for a
// system key) right behind it. As on the platform, the result is TRUE for
// every key message, whether or not it typed a character.
extern "C" BOOL WINAPI TranslateMessage(const MSG* msg) {
    control::CallTrace trace("TranslateMessage");
    trace.Arg(user::RecordText(msg));
    if (!msg) {
        trace.Result("FALSE", "no message record");
        return FALSE;
    }
    UINT message = msg->message;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) {
        trace.Result("TRUE");
        return TRUE;
    }
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) {
        trace.Result("FALSE");
        return FALSE;
    }
    char character = user::CharacterFor(msg->wParam);
    if (character && user::FindWindow(msg->hwnd)) {
        user::QueueMessage(msg->hwnd, message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                           static_cast<unsigned char>(character), msg->lParam);
    }
    trace.Result("TRUE");
    return TRUE;
}
