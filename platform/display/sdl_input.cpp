#include "display/sdl_input.h"

#include "display/sdl_keys.h"

namespace qv::display {
namespace {

void TranslateKey(const SDL_KeyboardEvent& event, const PostMessageFn& post) {
    const std::optional<KeyCode> key = KeyCodeFor(event.keysym.scancode, event.keysym.sym);
    if (!key) return;
    const bool released = event.type == SDL_KEYUP;
    const bool isAlt = key->virtualKey == VK_MENU;
    // The context code: Alt is down while this key goes down or up (an Alt
    // key is down when pressed and up when released).
    const bool altHeld = isAlt ? !released : (event.keysym.mod & KMOD_ALT) != 0;
    const bool ctrlHeld = (event.keysym.mod & KMOD_CTRL) != 0;
    // System keys: those pressed or released with Alt (or Alt itself) but
    // without Ctrl, and F10, which opens the menu.
    const bool system = ((altHeld || isAlt) && !ctrlHeld) || key->virtualKey == VK_F1 + 9;
    const bool wasDown = released || event.repeat != 0;
    const UINT message = system ? (released ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (released ? WM_KEYUP : WM_KEYDOWN);
    post(message, key->virtualKey, KeyMessageParam(*key, altHeld, wasDown, released));
}

void TranslateWindowEvent(const SDL_WindowEvent& event, const PostMessageFn& post) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            post(WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            post(WM_ACTIVATEAPP, TRUE, 0);
            post(WM_ACTIVATE, WA_ACTIVE, 0);
            post(WM_SETFOCUS, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            post(WM_ACTIVATE, WA_INACTIVE, 0);
            post(WM_ACTIVATEAPP, FALSE, 0);
            post(WM_KILLFOCUS, 0, 0);
            break;
        default:
            break;
    }
}

}  // namespace

void TranslateEvent(const SDL_Event& event, const PostMessageFn& post) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKey(event.key, post);
            break;
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window, post);
            break;
        case SDL_QUIT:  // the process was asked to end (a signal): close as a user would
            post(WM_CLOSE, 0, 0);
            break;
        default:
            break;
    }
}

}  // namespace qv::display
