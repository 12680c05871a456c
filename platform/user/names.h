// How the window layer writes its arguments on the call trace: handles by
// stable labels (hwnd#1, icon#107, IDC_ARROW), messages and keys by their
// published names, never raw addresses.
#pragma once

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

}  // namespace qv::user
