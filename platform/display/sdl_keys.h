// The platform's names for SDL's keys: SDL's scancodes are the keys' USB HID
// usage ids, looked up in the shared key table (display/keys.h).
#pragma once

#include "display/keys.h"

#include <SDL.h>

#include <optional>

namespace qv::display {

// The platform's code for a key, by its position (scancode) and, for letters,
// by what the keyboard layout prints on it (keycode). nullopt for keys the
// platform has no virtual-key code for.
std::optional<KeyCode> KeyCodeFor(SDL_Scancode scancode, SDL_Keycode keycode);

}  // namespace qv::display
