// DispatchMessageA, SendMessageA and TranslateMessage.

#include "user/call.h"
#include "user/desktop.h"
#include "user/keyboard.h"
#include "user/names.h"

#include <string>

using namespace qv;

extern "C" LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    return user::Call<LRESULT>(
        "DispatchMessageA", 0,
        [&]() -> user::Outcome<LRESULT> {
            if (!msg) return {0, "no message record"};
            if (!msg->hwnd) return {0, "a thread message has no window procedure"};
            if (!user::FindWindow(msg->hwnd)) return {0, "no such window"};
            return {user::Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam)};
        },
        [&](control::CallTrace& trace) { trace.Arg(user::RecordText(msg)); }, user::ResultText);
}

extern "C" LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return user::Call<LRESULT>(
        "SendMessageA", 0,
        [&]() -> user::Outcome<LRESULT> {
            if (!user::FindWindow(window)) return {0, "no such window"};
            return {user::Deliver(window, message, wParam, lParam)};
        },
        [&](control::CallTrace& trace) { user::MessageArguments(trace, window, message, wParam, lParam); },
        user::ResultText);
}

// A key press that types a character posts WM_CHAR (WM_SYSCHAR for a
// system key) right behind it. As on the platform, the result is TRUE for
// every key message, whether or not it typed a character.
extern "C" BOOL WINAPI TranslateMessage(const MSG* msg) {
    return user::Call<BOOL>(
        "TranslateMessage", FALSE,
        [&]() -> user::Outcome<BOOL> {
            if (!msg) return {FALSE, "no message record"};
            UINT message = msg->message;
            if (message == WM_KEYUP || message == WM_SYSKEYUP) return {TRUE};
            if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return {FALSE};
            char character = user::CharacterFor(msg->wParam);
            if (character && user::FindWindow(msg->hwnd)) {
                user::QueueMessage(msg->hwnd, message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                                   static_cast<unsigned char>(character), msg->lParam);
            }
            return {TRUE};
        },
        [&](control::CallTrace& trace) { trace.Arg(user::RecordText(msg)); }, user::BoolText);
}
