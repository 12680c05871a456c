// RegisterClassExA.

#include "user/call.h"
#include "user/desktop.h"
#include "user/names.h"

#include <string>

namespace qv::user {
namespace {

std::string BrushText(HBRUSH brush) {
    uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (!brush) return "NULL";
    if (value == COLOR_WINDOW + 1) return "COLOR_WINDOW+1";
    return value <= 31 ? "(HBRUSH)" + std::to_string(value) : "brush";
}

std::string ClassRecordText(const WNDCLASSEXA& c) {
    return "{cbSize=" + std::to_string(c.cbSize) +
           ", style=" + control::Flags(c.style, {{CS_HREDRAW, "CS_HREDRAW"}, {CS_VREDRAW, "CS_VREDRAW"}}) +
           ", lpfnWndProc=" + (c.lpfnWndProc ? "proc" : "NULL") + ", cbClsExtra=" + std::to_string(c.cbClsExtra) +
           ", cbWndExtra=" + std::to_string(c.cbWndExtra) + ", hInstance=" + InstanceText(c.hInstance) +
           ", hIcon=" + IconText(c.hIcon) + ", hCursor=" + IconText(c.hCursor) +
           ", hbrBackground=" + BrushText(c.hbrBackground) +
           ", lpszMenuName=" + (IS_INTRESOURCE(c.lpszMenuName) && c.lpszMenuName ? "menu" : control::Text(c.lpszMenuName)) +
           ", lpszClassName=" + (IS_INTRESOURCE(c.lpszClassName) && c.lpszClassName ? "atom" : control::Text(c.lpszClassName)) +
           ", hIconSm=" + IconText(c.hIconSm) + "}";
}

// Why the platform would refuse the record, or null when it is fine.
const char* Refusal(const WNDCLASSEXA* c) {
    if (!c) return "no class record";
    if (c->cbSize != sizeof(WNDCLASSEXA)) return "cbSize is not the size of WNDCLASSEXA";
    if (!c->lpszClassName || IS_INTRESOURCE(c->lpszClassName) || !*c->lpszClassName) return "no class name";
    if (!c->lpfnWndProc) return "no window procedure";
    if (c->cbClsExtra < 0 || c->cbWndExtra < 0) return "negative extra bytes";
    if (FindClass(c->lpszClassName)) return "the class is already registered";
    return nullptr;
}

}  // namespace
}  // namespace qv::user

using namespace qv;

extern "C" ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wndClass) {
    return user::Call<ATOM>(
        "RegisterClassExA", 0,
        [&]() -> user::Outcome<ATOM> {
            if (const char* why = user::Refusal(wndClass)) return {0, why};
            ATOM atom = user::AddClass(*wndClass);
            if (!atom) return {0, "no class atom is left"};
            return {atom};
        },
        [&](control::CallTrace& trace) {
            bool readable = wndClass && wndClass->cbSize == sizeof(WNDCLASSEXA);
            trace.Arg(readable ? user::ClassRecordText(*wndClass)
                      : wndClass ? "{cbSize=" + std::to_string(wndClass->cbSize) + ", ...}"
                                 : "NULL");
        },
        [](ATOM atom) { return atom ? control::HexText(atom) : "0"; });
}
