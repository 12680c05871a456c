// The platform's names for the keys of a PC keyboard, shared by every back
// end that reads one: each key by its USB HID usage id (SDL's scancodes) and
// by its DOM KeyboardEvent.code name (the browser's), with its virtual-key
// code and PC scan code, and the key messages a press or release makes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv::display {

struct KeyCode {
    UINT virtualKey;
    UINT scanCode;  // PC set-1 scan code
    bool extended;  // one of the keys that send an extended (E0) scan code
};

// The platform's code for a key, by its position and, for letters, by the
// letter the keyboard layout prints on it ('a'..'z' or 'A'..'Z'; anything
// else keeps the key's position). nullopt for keys the platform has no
// virtual-key code for.
std::optional<KeyCode> KeyCodeForUsage(uint32_t usage, char layoutLetter);
std::optional<KeyCode> KeyCodeForDomCode(std::string_view code, char layoutLetter);

// The lParam of a key message: repeat count 1, scan code, extended flag,
// context code (Alt held), previous key state and transition state.
LPARAM KeyMessageParam(const KeyCode& key, bool altHeld, bool wasDown, bool released);

// A key going down (again, when repeated) or up, with the modifiers held.
struct KeyEvent {
    KeyCode key;
    bool released, repeat, altDown, ctrlDown;
};

struct KeyMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The message the window gets: WM_KEYDOWN/UP, or WM_SYSKEYDOWN/UP for keys
// pressed or released with Alt (or Alt itself) but without Ctrl, and for F10,
// which opens the menu.
KeyMessage MessageForKey(const KeyEvent& event);

}  // namespace qv::display
