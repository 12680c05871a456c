// How the window layer writes its arguments on the call trace: handles by
// stable labels (hwnd#1, icon#107, IDC_ARROW), messages and keys by their
// published names, never raw addresses.
#pragma once

#include "control/trace.h"

#include <windows.h>

#include <string>

namespace qv::user {

std::string WindowText(HWND window);
std::string InstanceText(HINSTANCE instance);
std::string IconText(HICON icon);
std::string MessageText(UINT message);
std::string WParamText(UINT message, WPARAM wParam);
std::string LParamText(UINT message, LPARAM lParam);
// {hwnd, message, wParam, lParam} of a message record, or NULL.
std::string RecordText(const MSG* msg);
std::string BoolText(BOOL value);
// A window procedure's result, in decimal.
std::string ResultText(LRESULT result);
// The four arguments of a message call: window, message, wParam, lParam.
void MessageArguments(control::CallTrace& trace, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv::user
