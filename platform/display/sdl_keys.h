// The platform's names for SDL's keys: virtual-key codes, PC scan codes and
// the key-message parameter that carries them.
#pragma once

#include <windows.h>

#include <SDL.h>

#include <optional>

namespace qv::display {

struct KeyCode {
    UINT virtualKey;
    UINT scanCode;  // PC set-1 scan code
    bool extended;  // one of the keys that send an extended (E0) scan code
};

// The platform's code for a key, by its position (scancode) and, for letters
// and digits, by what the keyboard layout prints on it (keycode). nullopt
// for keys the platform has no virtual-key code for.
std::optional<KeyCode> KeyCodeFor(SDL_Scancode scancode, SDL_Keycode keycode);

// The lParam of a key message: repeat count 1, scan code, extended flag,
// context code (Alt held), previous key state and transition state.
LPARAM KeyMessageParam(const KeyCode& key, bool altHeld, bool wasDown, bool released);

}  // namespace qv::display
