// The platform's codes for SDL's keys and the key message's lParam.
#include "display/sdl_keys.h"

#include <gtest/gtest.h>

namespace qv::display {
namespace {

KeyCode Code(SDL_Scancode scancode, SDL_Keycode keycode = SDLK_UNKNOWN) {
    std::optional<KeyCode> key = KeyCodeFor(scancode, keycode);
    EXPECT_TRUE(key.has_value()) << SDL_GetScancodeName(scancode);
    return key.value_or(KeyCode{0, 0, false});
}

TEST(SdlKeys, LettersFollowTheKeyboardLayoutAndKeepTheirPosition) {
    EXPECT_EQ(Code(SDL_SCANCODE_A, SDLK_a).virtualKey, UINT('A'));
    EXPECT_EQ(Code(SDL_SCANCODE_A, SDLK_a).scanCode, 0x1Eu);
    EXPECT_EQ(Code(SDL_SCANCODE_Z, SDLK_z).virtualKey, UINT('Z'));
    // On a French layout the key in the Q position prints A.
    const KeyCode azerty = Code(SDL_SCANCODE_Q, SDLK_a);
    EXPECT_EQ(azerty.virtualKey, UINT('A'));
    EXPECT_EQ(azerty.scanCode, 0x10u);
    // A layout that prints no Latin letter keeps the key's position.
    EXPECT_EQ(Code(SDL_SCANCODE_W, 0x0446).virtualKey, UINT('W'));
}

TEST(SdlKeys, DigitsAndFunctionKeys) {
    EXPECT_EQ(Code(SDL_SCANCODE_1).virtualKey, UINT('1'));
    EXPECT_EQ(Code(SDL_SCANCODE_1).scanCode, 0x02u);
    EXPECT_EQ(Code(SDL_SCANCODE_9).virtualKey, UINT('9'));
    EXPECT_EQ(Code(SDL_SCANCODE_0).virtualKey, UINT('0'));
    EXPECT_EQ(Code(SDL_SCANCODE_0).scanCode, 0x0Bu);
    EXPECT_EQ(Code(SDL_SCANCODE_F1).virtualKey, UINT(VK_F1));
    EXPECT_EQ(Code(SDL_SCANCODE_F4).virtualKey, UINT(VK_F4));
    EXPECT_EQ(Code(SDL_SCANCODE_F4).scanCode, 0x3Eu);
    EXPECT_EQ(Code(SDL_SCANCODE_F10).virtualKey, UINT(VK_F1 + 9));
    EXPECT_EQ(Code(SDL_SCANCODE_F12).virtualKey, UINT(VK_F12));
    EXPECT_EQ(Code(SDL_SCANCODE_F12).scanCode, 0x58u);
}

TEST(SdlKeys, NamedKeysAndExtendedOnes) {
    const KeyCode escape = Code(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(escape.virtualKey, UINT(VK_ESCAPE));
    EXPECT_EQ(escape.scanCode, 0x01u);
    EXPECT_FALSE(escape.extended);
    const KeyCode left = Code(SDL_SCANCODE_LEFT);
    EXPECT_EQ(left.virtualKey, UINT(VK_LEFT));
    EXPECT_TRUE(left.extended);
    EXPECT_EQ(Code(SDL_SCANCODE_UP).virtualKey, UINT(VK_UP));
    EXPECT_EQ(Code(SDL_SCANCODE_RETURN).virtualKey, UINT(VK_RETURN));
    EXPECT_FALSE(Code(SDL_SCANCODE_RETURN).extended);
    EXPECT_TRUE(Code(SDL_SCANCODE_KP_ENTER).extended);
    EXPECT_EQ(Code(SDL_SCANCODE_KP_7).virtualKey, UINT(VK_NUMPAD0 + 7));
    EXPECT_EQ(Code(SDL_SCANCODE_SPACE).virtualKey, UINT(VK_SPACE));
}

TEST(SdlKeys, BothSidesOfAModifierShareItsCode) {
    EXPECT_EQ(Code(SDL_SCANCODE_LALT).virtualKey, UINT(VK_MENU));
    EXPECT_EQ(Code(SDL_SCANCODE_RALT).virtualKey, UINT(VK_MENU));
    EXPECT_FALSE(Code(SDL_SCANCODE_LALT).extended);
    EXPECT_TRUE(Code(SDL_SCANCODE_RALT).extended);
    EXPECT_EQ(Code(SDL_SCANCODE_LSHIFT).virtualKey, UINT(VK_SHIFT));
    EXPECT_EQ(Code(SDL_SCANCODE_RSHIFT).scanCode, 0x36u);
    EXPECT_EQ(Code(SDL_SCANCODE_RCTRL).virtualKey, UINT(VK_CONTROL));
}

TEST(SdlKeys, KeysWithoutAPlatformCode) {
    EXPECT_FALSE(KeyCodeFor(SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN).has_value());
    EXPECT_FALSE(KeyCodeFor(SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY).has_value());
}

TEST(SdlKeys, MessageParamCarriesScanCodeAndStates) {
    const KeyCode escape{VK_ESCAPE, 0x01, false};
    EXPECT_EQ(KeyMessageParam(escape, false, false, false), LPARAM(0x00010001));
    EXPECT_EQ(KeyMessageParam(escape, false, true, false), LPARAM(0x40010001));
    EXPECT_EQ(KeyMessageParam(escape, false, true, true), LPARAM(0xC0010001u));
    const KeyCode f4{VK_F4, 0x3E, false};
    EXPECT_EQ(KeyMessageParam(f4, true, false, false), LPARAM(0x203E0001));
    const KeyCode right{VK_RIGHT, 0x4D, true};
    EXPECT_EQ(KeyMessageParam(right, false, false, false), LPARAM(0x014D0001));
}

}  // namespace
}  // namespace qv::display
