// MessageBoxA: shown by the display back end when it can; otherwise the
// box becomes exactly one line on standard error, "caption: text", and is
// answered with OK as a person would.

#include "display/display.h"
#include "user/call.h"
#include "user/desktop.h"
#include "user/names.h"

#include <cstdio>
#include <string>

namespace qv::user {
namespace {

std::string TypeText(UINT type) {
    return control::Flags(type, {{MB_ICONINFORMATION, "MB_ICONINFORMATION"},
                                 {MB_ICONWARNING, "MB_ICONWARNING"},
                                 {MB_ICONERROR, "MB_ICONERROR"},
                                 {MB_ICONQUESTION, "MB_ICONQUESTION"}});
}

// The text on one line: line breaks and other control characters become spaces.
std::string OneLine(const char* text) {
    std::string line = text;
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return line;
}

}  // namespace
}  // namespace qv::user

using namespace qv;

extern "C" int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return user::Call<int>(
        "MessageBoxA", 0,
        [&]() -> user::Outcome<int> {
            if (owner && !user::FindWindow(owner)) return {0, "no such owner window"};
            // The platform's defaults for a missing text and caption.
            const char* shownText = text ? text : "";
            const char* shownCaption = caption ? caption : "Error";
            if (!display::Active().ShowMessageBox(shownText, shownCaption, type)) {
                std::fprintf(stderr, "%s: %s\n", user::OneLine(shownCaption).c_str(), user::OneLine(shownText).c_str());
                std::fflush(stderr);
            }
            return {IDOK};
        },
        [&](control::CallTrace& trace) {
            trace.Arg(user::WindowText(owner)).Arg(control::Text(text)).Arg(control::Text(caption)).Arg(user::TypeText(type));
        },
        [](int answer) { return answer == IDOK ? std::string("IDOK") : std::to_string(answer); });
}
