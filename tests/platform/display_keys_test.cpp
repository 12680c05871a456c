// The shared key table as the browser reads it (DOM code names) and the key
// messages a press or release makes; SDL's side is tested with SDL.
#include "display/keys.h"

#include <gtest/gtest.h>

namespace qv::display {
namespace {

TEST(Keys, DomCodesNameTheSameKeysAsUsageIds) {
    struct Case {
        const char* code;
        char layoutLetter;
        UINT virtualKey, scanCode;
        bool extended;
    };
    const Case cases[] = {
        {"KeyA", 'a', 'A', 0x1E, false},
        {"KeyQ", 'a', 'A', 0x10, false},  // French layout: the Q position prints A
        {"KeyW", 0, 'W', 0x11, false},     // no Latin letter: the position's
        {"Digit1", '!', '1', 0x02, false},
        {"Digit0", 0, '0', 0x0B, false},
        {"F1", 0, VK_F1, 0x3B, false},
        {"F10", 0, VK_F1 + 9, 0x44, false},
        {"F12", 0, VK_F12, 0x58, false},
        {"Escape", 0, VK_ESCAPE, 0x01, false},
        {"NumpadEnter", 0, VK_RETURN, 0x1C, true},
        {"ArrowLeft", 0, VK_LEFT, 0x4B, true},
        {"AltRight", 0, VK_MENU, 0x38, true},
    };
    for (const Case& c : cases) {
        const std::optional<KeyCode> key = KeyCodeForDomCode(c.code, c.layoutLetter);
        ASSERT_TRUE(key.has_value()) << c.code;
        EXPECT_EQ(key->virtualKey, c.virtualKey) << c.code;
        EXPECT_EQ(key->scanCode, c.scanCode) << c.code;
        EXPECT_EQ(key->extended, c.extended) << c.code;
    }
    for (const char* unknown : {"", "Key", "KeyAB", "Keya", "Digit", "F0", "F13", "F01", "Fn", "MediaPlayPause"}) {
        EXPECT_FALSE(KeyCodeForDomCode(unknown, 0).has_value()) << unknown;
    }
}

TEST(Keys, AltMakesSystemKeysUnlessCtrlIsHeld) {
    const KeyCode f4 = *KeyCodeForDomCode("F4", 0), alt = *KeyCodeForDomCode("AltLeft", 0);
    const KeyCode f10 = *KeyCodeForDomCode("F10", 0), a = *KeyCodeForDomCode("KeyA", 'a');
    struct Case {
        KeyEvent event;
        UINT message;
        LPARAM lParam;
    };
    const Case cases[] = {
        {{a, false, false, false, false}, WM_KEYDOWN, 0x001E0001},
        {{a, false, true, false, false}, WM_KEYDOWN, 0x401E0001},
        {{a, true, false, false, false}, WM_KEYUP, LPARAM(0xC01E0001u)},
        {{f4, false, false, true, false}, WM_SYSKEYDOWN, 0x203E0001},
        {{f4, false, false, true, true}, WM_KEYDOWN, 0x203E0001},
        {{alt, false, false, true, false}, WM_SYSKEYDOWN, 0x20380001},
        {{alt, true, false, false, false}, WM_SYSKEYUP, LPARAM(0xC0380001u)},
        {{f10, false, false, false, false}, WM_SYSKEYDOWN, 0x00440001},
    };
    for (const Case& c : cases) {
        const KeyMessage message = MessageForKey(c.event);
        EXPECT_EQ(message.message, c.message) << std::hex << c.lParam;
        EXPECT_EQ(message.wParam, c.event.key.virtualKey);
        EXPECT_EQ(message.lParam, c.lParam) << std::hex << message.lParam;
    }
}

}  // namespace
}  // namespace qv::display
