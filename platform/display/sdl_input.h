// Turns SDL's events into the window messages a window of the platform gets:
// keys, the close request, focus and activation. (Painting is due when the
// window is exposed; the window layer makes WM_PAINT from that.)
#pragma once

#include <windows.h>

#include <SDL.h>

#include <functional>

namespace qv::display {

using PostMessageFn = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

// Posts, through post, the messages the event means for the window, in the
// platform's order; events that mean nothing to the window post nothing.
void TranslateEvent(const SDL_Event& event, const PostMessageFn& post);

}  // namespace qv::display
