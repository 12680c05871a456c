#include "display/sdl_keys.h"

namespace qv::display {

std::optional<KeyCode> KeyCodeFor(SDL_Scancode scancode, SDL_Keycode keycode) {
    const char letter = keycode >= SDLK_a && keycode <= SDLK_z ? char(keycode) : 0;
    return KeyCodeForUsage(static_cast<uint32_t>(scancode), letter);
}

}  // namespace qv::display
