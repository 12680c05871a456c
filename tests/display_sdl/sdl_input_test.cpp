// SDL events as the window messages a window of the platform gets.
#include "display/sdl_input.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace qv::display {
namespace {

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Message&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Message& m) {
    return out << std::hex << "{0x" << m.message << ", 0x" << m.wParam << ", 0x" << m.lParam << "}";
}

std::vector<Message> Translate(const SDL_Event& event) {
    std::vector<Message> posted;
    TranslateEvent(event, [&](UINT message, WPARAM wParam, LPARAM lParam) { posted.push_back({message, wParam, lParam}); });
    return posted;
}

SDL_Event Key(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, bool repeat = false,
              SDL_Keycode keycode = SDLK_UNKNOWN) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = keycode;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event Window(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.type = SDL_WINDOWEVENT;
    event.window.event = id;
    return event;
}

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SdlInput, KeyPressRepeatAndRelease) {
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE)), ElementsAre(Message{WM_KEYDOWN, VK_ESCAPE, 0x00010001}));
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, KMOD_NONE, true)),
                ElementsAre(Message{WM_KEYDOWN, VK_ESCAPE, 0x40010001}));
    EXPECT_THAT(Translate(Key(SDL_KEYUP, SDL_SCANCODE_ESCAPE)),
                ElementsAre(Message{WM_KEYUP, VK_ESCAPE, LPARAM(0xC0010001u)}));
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_SPACE, KMOD_LSHIFT)),
                ElementsAre(Message{WM_KEYDOWN, VK_SPACE, 0x00390001}));
}

TEST(SdlInput, KeysHeldWithAltAreSystemKeys) {
    // Alt+F4: Alt goes down, then F4 with Alt held, then both come up.
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_LALT, KMOD_LALT)),
                ElementsAre(Message{WM_SYSKEYDOWN, VK_MENU, 0x20380001}));
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_F4, KMOD_LALT)),
                ElementsAre(Message{WM_SYSKEYDOWN, VK_F4, 0x203E0001}));
    EXPECT_THAT(Translate(Key(SDL_KEYUP, SDL_SCANCODE_F4, KMOD_LALT)),
                ElementsAre(Message{WM_SYSKEYUP, VK_F4, LPARAM(0xE03E0001u)}));
    EXPECT_THAT(Translate(Key(SDL_KEYUP, SDL_SCANCODE_LALT)),
                ElementsAre(Message{WM_SYSKEYUP, VK_MENU, LPARAM(0xC0380001u)}));
    // Whatever SDL reports as the modifier state while Alt itself changes.
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_RALT)),
                ElementsAre(Message{WM_SYSKEYDOWN, VK_MENU, 0x21380001}));
}

TEST(SdlInput, AltWithCtrlAndF10) {
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_X, KMOD_LALT | KMOD_LCTRL, false, SDLK_x)),
                ElementsAre(Message{WM_KEYDOWN, 'X', 0x202D0001}));
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_F10)), ElementsAre(Message{WM_SYSKEYDOWN, VK_F1 + 9, 0x00440001}));
}

TEST(SdlInput, KeysWithoutCodesPostNothing) {
    EXPECT_THAT(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_AUDIOPLAY)), IsEmpty());
}

TEST(SdlInput, CloseRequests) {
    EXPECT_THAT(Translate(Window(SDL_WINDOWEVENT_CLOSE)), ElementsAre(Message{WM_CLOSE, 0, 0}));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_THAT(Translate(quit), ElementsAre(Message{WM_CLOSE, 0, 0}));
}

TEST(SdlInput, FocusAndActivation) {
    EXPECT_THAT(Translate(Window(SDL_WINDOWEVENT_FOCUS_GAINED)),
                ElementsAre(Message{WM_ACTIVATEAPP, TRUE, 0}, Message{WM_ACTIVATE, WA_ACTIVE, 0},
                            Message{WM_SETFOCUS, 0, 0}));
    EXPECT_THAT(Translate(Window(SDL_WINDOWEVENT_FOCUS_LOST)),
                ElementsAre(Message{WM_ACTIVATE, WA_INACTIVE, 0}, Message{WM_ACTIVATEAPP, FALSE, 0},
                            Message{WM_KILLFOCUS, 0, 0}));
    EXPECT_THAT(Translate(Window(SDL_WINDOWEVENT_MOVED)), IsEmpty());
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    EXPECT_THAT(Translate(motion), IsEmpty());
}

}  // namespace
}  // namespace qv::display
