#include "display/keys.h"

namespace qv::display {
namespace {

struct KeyEntry {
    uint32_t usage;  // USB HID keyboard usage id
    std::string_view domCode;
    KeyCode key;
};

// Usage ids of the first letter, the first digit and F1; the letters run
// A..Z, the digits 1..9 then 0, the function keys F1..F12.
constexpr uint32_t kUsageA = 4, kUsage1 = 30, kUsageF1 = 58;

constexpr KeyEntry Letter(char letter, UINT scanCode) {
    return {kUsageA + uint32_t(letter - 'A'), "", {UINT(letter), scanCode, false}};
}

// Every key the platform names. Letters, digits and function keys take
// their DOM names from their position ("KeyA", "Digit1", "F1").
constexpr KeyEntry kKeys[] = {
    Letter('A', 0x1E), Letter('B', 0x30), Letter('C', 0x2E), Letter('D', 0x20), Letter('E', 0x12),
    Letter('F', 0x21), Letter('G', 0x22), Letter('H', 0x23), Letter('I', 0x17), Letter('J', 0x24),
    Letter('K', 0x25), Letter('L', 0x26), Letter('M', 0x32), Letter('N', 0x31), Letter('O', 0x18),
    Letter('P', 0x19), Letter('Q', 0x10), Letter('R', 0x13), Letter('S', 0x1F), Letter('T', 0x14),
    Letter('U', 0x16), Letter('V', 0x2F), Letter('W', 0x11), Letter('X', 0x2D), Letter('Y', 0x15),
    Letter('Z', 0x2C),
    {40, "Enter", {VK_RETURN, 0x1C, false}},
    {41, "Escape", {VK_ESCAPE, 0x01, false}},
    {42, "Backspace", {VK_BACK, 0x0E, false}},
    {43, "Tab", {VK_TAB, 0x0F, false}},
    {44, "Space", {VK_SPACE, 0x39, false}},
    {45, "Minus", {VK_OEM_MINUS, 0x0C, false}},
    {46, "Equal", {VK_OEM_PLUS, 0x0D, false}},
    {47, "BracketLeft", {VK_OEM_4, 0x1A, false}},
    {48, "BracketRight", {VK_OEM_6, 0x1B, false}},
    {49, "Backslash", {VK_OEM_5, 0x2B, false}},
    {51, "Semicolon", {VK_OEM_1, 0x27, false}},
    {52, "Quote", {VK_OEM_7, 0x28, false}},
    {53, "Backquote", {VK_OEM_3, 0x29, false}},
    {54, "Comma", {VK_OEM_COMMA, 0x33, false}},
    {55, "Period", {VK_OEM_PERIOD, 0x34, false}},
    {56, "Slash", {VK_OEM_2, 0x35, false}},
    {57, "CapsLock", {VK_CAPITAL, 0x3A, false}},
    {70, "PrintScreen", {VK_SNAPSHOT, 0x37, true}},
    {71, "ScrollLock", {VK_SCROLL, 0x46, false}},
    {72, "Pause", {VK_PAUSE, 0x45, false}},
    {73, "Insert", {VK_INSERT, 0x52, true}},
    {74, "Home", {VK_HOME, 0x47, true}},
    {75, "PageUp", {VK_PRIOR, 0x49, true}},
    {76, "Delete", {VK_DELETE, 0x53, true}},
    {77, "End", {VK_END, 0x4F, true}},
    {78, "PageDown", {VK_NEXT, 0x51, true}},
    {79, "ArrowRight", {VK_RIGHT, 0x4D, true}},
    {80, "ArrowLeft", {VK_LEFT, 0x4B, true}},
    {81, "ArrowDown", {VK_DOWN, 0x50, true}},
    {82, "ArrowUp", {VK_UP, 0x48, true}},
    {83, "NumLock", {VK_NUMLOCK, 0x45, true}},
    {84, "NumpadDivide", {VK_DIVIDE, 0x35, true}},
    {85, "NumpadMultiply", {VK_MULTIPLY, 0x37, false}},
    {86, "NumpadSubtract", {VK_SUBTRACT, 0x4A, false}},
    {87, "NumpadAdd", {VK_ADD, 0x4E, false}},
    {88, "NumpadEnter", {VK_RETURN, 0x1C, true}},
    {89, "Numpad1", {VK_NUMPAD0 + 1, 0x4F, false}},
    {90, "Numpad2", {VK_NUMPAD0 + 2, 0x50, false}},
    {91, "Numpad3", {VK_NUMPAD0 + 3, 0x51, false}},
    {92, "Numpad4", {VK_NUMPAD0 + 4, 0x4B, false}},
    {93, "Numpad5", {VK_NUMPAD0 + 5, 0x4C, false}},
    {94, "Numpad6", {VK_NUMPAD0 + 6, 0x4D, false}},
    {95, "Numpad7", {VK_NUMPAD0 + 7, 0x47, false}},
    {96, "Numpad8", {VK_NUMPAD0 + 8, 0x48, false}},
    {97, "Numpad9", {VK_NUMPAD0 + 9, 0x49, false}},
    {98, "Numpad0", {VK_NUMPAD0, 0x52, false}},
    {99, "NumpadDecimal", {VK_DECIMAL, 0x53, false}},
    {101, "ContextMenu", {VK_APPS, 0x5D, true}},
    {224, "ControlLeft", {VK_CONTROL, 0x1D, false}},
    {225, "ShiftLeft", {VK_SHIFT, 0x2A, false}},
    {226, "AltLeft", {VK_MENU, 0x38, false}},
    {227, "MetaLeft", {VK_LWIN, 0x5B, true}},
    {228, "ControlRight", {VK_CONTROL, 0x1D, true}},
    {229, "ShiftRight", {VK_SHIFT, 0x36, false}},
    {230, "AltRight", {VK_MENU, 0x38, true}},
    {231, "MetaRight", {VK_RWIN, 0x5C, true}},
};

constexpr std::string_view kLetterPrefix = "Key", kDigitPrefix = "Digit";

// The letter the layout prints on the key, when it is one, else the key's own.
KeyCode WithLayoutLetter(KeyCode key, char layoutLetter) {
    if (layoutLetter >= 'a' && layoutLetter <= 'z') layoutLetter = char(layoutLetter - 'a' + 'A');
    if (key.virtualKey >= 'A' && key.virtualKey <= 'Z' && layoutLetter >= 'A' && layoutLetter <= 'Z') {
        key.virtualKey = UINT(layoutLetter);
    }
    return key;
}

// Digits 1..9 then 0 on the top row, scan codes 0x02..0x0B; F1..F10 are
// 0x3B..0x44, F11 and F12 0x57 and 0x58.
KeyCode DigitKey(UINT position) { return {position == 9 ? UINT('0') : UINT('1' + position), 0x02 + position, false}; }
KeyCode FunctionKey(UINT n) { return {VK_F1 + n, n < 10 ? 0x3B + n : 0x57 + (n - 10), false}; }

// Reads a number 1..max from the whole of text; 0 when it is none.
unsigned SmallNumber(std::string_view text, unsigned max) {
    if (text.empty() || text.size() > 2 || text[0] == '0') return 0;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + unsigned(c - '0');
    }
    return value <= max ? value : 0;
}

}  // namespace

std::optional<KeyCode> KeyCodeForUsage(uint32_t usage, char layoutLetter) {
    if (usage >= kUsage1 && usage < kUsage1 + 10) return DigitKey(usage - kUsage1);
    if (usage >= kUsageF1 && usage < kUsageF1 + 12) return FunctionKey(usage - kUsageF1);
    for (const KeyEntry& entry : kKeys) {
        if (entry.usage == usage) return WithLayoutLetter(entry.key, layoutLetter);
    }
    return std::nullopt;
}

std::optional<KeyCode> KeyCodeForDomCode(std::string_view code, char layoutLetter) {
    if (code.size() == kLetterPrefix.size() + 1 && code.substr(0, kLetterPrefix.size()) == kLetterPrefix) {
        const char letter = code.back();
        if (letter >= 'A' && letter <= 'Z') return KeyCodeForUsage(kUsageA + uint32_t(letter - 'A'), layoutLetter);
        return std::nullopt;
    }
    if (code.size() == kDigitPrefix.size() + 1 && code.substr(0, kDigitPrefix.size()) == kDigitPrefix) {
        const char digit = code.back();
        if (digit >= '0' && digit <= '9') return DigitKey(digit == '0' ? 9 : UINT(digit - '1'));
        return std::nullopt;
    }
    if (code.size() > 1 && code[0] == 'F') {
        if (const unsigned n = SmallNumber(code.substr(1), 12)) return FunctionKey(n - 1);
        return std::nullopt;
    }
    for (const KeyEntry& entry : kKeys) {
        if (!entry.domCode.empty() && entry.domCode == code) return entry.key;
    }
    return std::nullopt;
}

LPARAM KeyMessageParam(const KeyCode& key, bool altHeld, bool wasDown, bool released) {
    const uint32_t value = 1u | (key.scanCode & 0xFF) << 16 | uint32_t{key.extended} << 24 |
                           uint32_t{altHeld} << 29 | uint32_t{wasDown} << 30 | uint32_t{released} << 31;
    return static_cast<LPARAM>(value);
}

KeyMessage MessageForKey(const KeyEvent& event) {
    const bool isAlt = event.key.virtualKey == VK_MENU;
    // The context code: Alt is down while this key goes down or up (an Alt
    // key is down when pressed and up when released).
    const bool altHeld = isAlt ? !event.released : event.altDown;
    const bool system = ((altHeld || isAlt) && !event.ctrlDown) || event.key.virtualKey == VK_F1 + 9;
    const bool wasDown = event.released || event.repeat;
    const UINT message = system ? (event.released ? WM_SYSKEYUP : WM_SYSKEYDOWN)
                                : (event.released ? WM_KEYUP : WM_KEYDOWN);
    return {message, event.key.virtualKey, KeyMessageParam(event.key, altHeld, wasDown, event.released)};
}

}  // namespace qv::display
