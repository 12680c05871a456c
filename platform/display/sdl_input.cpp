#include "display/sdl_input.h"

#include "display/sdl_keys.h"

namespace qv::display {
namespace {

void TranslateKey(const SDL_KeyboardEvent& event, const PostMessageFn& post) {
    const std::optional<KeyCode> key = KeyCodeFor(event.keysym.scancode, event.keysym.sym);
    if (!key) return;
    const KeyMessage message = MessageForKey({*key, event.type == SDL_KEYUP, event.repeat != 0,
                                              (event.keysym.mod & KMOD_ALT) != 0, (event.keysym.mod & KMOD_CTRL) != 0});
    post(message.message, message.wParam, message.lParam);
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
