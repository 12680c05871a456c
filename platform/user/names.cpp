#include "user/names.h"

#include "control/trace.h"
#include "user/desktop.h"
#include "user/input.h"
#include "user/resources.h"

namespace qv::user {

using control::HexText;

std::string WindowText(HWND window) {
    if (!window) return "NULL";
    uintptr_t value = reinterpret_cast<uintptr_t>(window);
    if (value == static_cast<uintptr_t>(-1)) return "(HWND)-1";
    if (value > kWindowBase && value - kWindowBase <= 0xFFFFFF) return "hwnd#" + std::to_string(value - kWindowBase);
    return "hwnd?";
}

std::string InstanceText(HINSTANCE instance) { return instance ? "instance" : "NULL"; }

std::string IconText(HICON icon) {
    if (!icon) return "NULL";
    if (const ModuleResource* resource = IconResource(icon)) return "icon#" + std::to_string(resource->id);
    if (icon == SystemArrowCursor()) return "IDC_ARROW";
    if (icon == SystemApplicationIcon()) return "IDI_APPLICATION";
    return "icon?";
}

std::string MessageText(UINT message) {
    return control::Enum(message, {{WM_NULL, "WM_NULL"},
                                   {WM_CREATE, "WM_CREATE"},
                                   {WM_DESTROY, "WM_DESTROY"},
                                   {WM_MOVE, "WM_MOVE"},
                                   {WM_SIZE, "WM_SIZE"},
                                   {WM_ACTIVATE, "WM_ACTIVATE"},
                                   {WM_SETFOCUS, "WM_SETFOCUS"},
                                   {WM_KILLFOCUS, "WM_KILLFOCUS"},
                                   {WM_PAINT, "WM_PAINT"},
                                   {WM_CLOSE, "WM_CLOSE"},
                                   {WM_QUIT, "WM_QUIT"},
                                   {WM_ERASEBKGND, "WM_ERASEBKGND"},
                                   {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
                                   {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
                                   {WM_SETCURSOR, "WM_SETCURSOR"},
                                   {WM_NCCREATE, "WM_NCCREATE"},
                                   {WM_NCDESTROY, "WM_NCDESTROY"},
                                   {WM_NCACTIVATE, "WM_NCACTIVATE"},
                                   {WM_KEYDOWN, "WM_KEYDOWN"},
                                   {WM_KEYUP, "WM_KEYUP"},
                                   {WM_CHAR, "WM_CHAR"},
                                   {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
                                   {WM_SYSKEYUP, "WM_SYSKEYUP"},
                                   {WM_SYSCHAR, "WM_SYSCHAR"},
                                   {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
                                   {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
                                   {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
                                   {WM_LBUTTONUP, "WM_LBUTTONUP"},
                                   {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
                                   {WM_RBUTTONUP, "WM_RBUTTONUP"},
                                   {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
                                   {WM_MBUTTONUP, "WM_MBUTTONUP"},
                                   {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"}});
}

namespace {

constexpr control::NamedValue kKeyNames[] = {
    {VK_BACK, "VK_BACK"},       {VK_TAB, "VK_TAB"},         {VK_RETURN, "VK_RETURN"},     {VK_SHIFT, "VK_SHIFT"},
    {VK_CONTROL, "VK_CONTROL"}, {VK_MENU, "VK_MENU"},       {VK_PAUSE, "VK_PAUSE"},       {VK_CAPITAL, "VK_CAPITAL"},
    {VK_ESCAPE, "VK_ESCAPE"},   {VK_SPACE, "VK_SPACE"},     {VK_PRIOR, "VK_PRIOR"},       {VK_NEXT, "VK_NEXT"},
    {VK_END, "VK_END"},         {VK_HOME, "VK_HOME"},       {VK_LEFT, "VK_LEFT"},         {VK_UP, "VK_UP"},
    {VK_RIGHT, "VK_RIGHT"},     {VK_DOWN, "VK_DOWN"},       {VK_SNAPSHOT, "VK_SNAPSHOT"}, {VK_INSERT, "VK_INSERT"},
    {VK_DELETE, "VK_DELETE"},   {VK_LWIN, "VK_LWIN"},       {VK_RWIN, "VK_RWIN"},         {VK_APPS, "VK_APPS"},
    {VK_MULTIPLY, "VK_MULTIPLY"}, {VK_ADD, "VK_ADD"},       {VK_SUBTRACT, "VK_SUBTRACT"}, {VK_DECIMAL, "VK_DECIMAL"},
    {VK_DIVIDE, "VK_DIVIDE"},   {VK_NUMLOCK, "VK_NUMLOCK"}, {VK_SCROLL, "VK_SCROLL"},     {VK_LSHIFT, "VK_LSHIFT"},
    {VK_RSHIFT, "VK_RSHIFT"},   {VK_LCONTROL, "VK_LCONTROL"}, {VK_RCONTROL, "VK_RCONTROL"}, {VK_LMENU, "VK_LMENU"},
    {VK_RMENU, "VK_RMENU"},
};

std::string KeyText(WPARAM key) {
    for (const control::NamedValue& name : kKeyNames) {
        if (name.value == key) return name.name;
    }
    // Letter and digit keys are their upper-case characters; the numbered
    // keys count on from VK_F1 and VK_NUMPAD0.
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string("'") + char(key) + "'";
    if (key >= VK_F1 && key <= VK_F12) return "VK_F" + std::to_string(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return "VK_NUMPAD" + std::to_string(key - VK_NUMPAD0);
    return HexText(key);
}

bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

}  // namespace

std::string WParamText(UINT message, WPARAM wParam) {
    if (IsKeyMessage(message)) return KeyText(wParam);
    if (message == WM_SYSCOMMAND) return control::Enum(wParam, {{SC_CLOSE, "SC_CLOSE"}, {SC_KEYMENU, "SC_KEYMENU"}});
    return std::to_string(wParam);
}

std::string LParamText(UINT message, LPARAM lParam) {
    // The creation messages carry the address of a record that the
    // procedure reads; its address would change from run to run.
    if (message == WM_NCCREATE || message == WM_CREATE) return lParam ? "&CREATESTRUCTA" : "0";
    if (IsKeyMessage(message) || message == WM_CHAR || message == WM_SYSCHAR)
        return HexText(static_cast<unsigned long long>(static_cast<uint32_t>(lParam)));
    return std::to_string(lParam);
}

std::string RecordText(const MSG* msg) {
    if (!msg) return "NULL";
    return "{" + WindowText(msg->hwnd) + ", " + MessageText(msg->message) + ", " +
           WParamText(msg->message, msg->wParam) + ", " + LParamText(msg->message, msg->lParam) + "}";
}

std::string BoolText(BOOL value) { return value ? "TRUE" : "FALSE"; }

std::string ResultText(LRESULT result) { return std::to_string(result); }

void MessageArguments(control::CallTrace& trace, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    trace.Arg(WindowText(window)).Arg(MessageText(message)).Arg(WParamText(message, wParam)).Arg(LParamText(message, lParam));
}

}  // namespace qv::user
