#include "user/keyboard.h"

#include "user/desktop.h"

namespace qv::user {
namespace {

bool leftShift = false, rightShift = false;

bool Shifted() { return leftShift || rightShift; }

// The unshifted and shifted characters of the punctuation keys.
struct PunctuationKey {
    WPARAM key;
    char plain, shifted;
};
constexpr PunctuationKey kPunctuation[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},  {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},    {VK_SPACE, ' ', ' '},
    {VK_RETURN, '\r', '\r'},  {VK_BACK, '\b', '\b'},    {VK_TAB, '\t', '\t'},     {VK_ESCAPE, 0x1B, 0x1B},
    {VK_MULTIPLY, '*', '*'},  {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},  {VK_DECIMAL, '.', '.'},
    {VK_DIVIDE, '/', '/'},
};

}  // namespace

void TrackKey(const MSG& msg) {
    bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (!down && msg.message != WM_KEYUP && msg.message != WM_SYSKEYUP) return;
    if (msg.wParam == VK_SHIFT) leftShift = rightShift = down;
    if (msg.wParam == VK_LSHIFT) leftShift = down;
    if (msg.wParam == VK_RSHIFT) rightShift = down;
}

char CharacterFor(WPARAM key) {
    if (key >= 'A' && key <= 'Z') return static_cast<char>(Shifted() ? key : key - 'A' + 'a');
    if (key >= '0' && key <= '9') return Shifted() ? ")!@#$%^&*("[key - '0'] : static_cast<char>(key);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return static_cast<char>('0' + (key - VK_NUMPAD0));
    for (const PunctuationKey& punctuation : kPunctuation) {
        if (punctuation.key == key) return Shifted() ? punctuation.shifted : punctuation.plain;
    }
    return 0;
}

void ResetKeyboard() { leftShift = rightShift = false; }

}  // namespace qv::user
