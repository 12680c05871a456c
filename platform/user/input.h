// The window layer's side of input and its windows' looks: delivering input
// as window messages, finding the main window, its title and icons, and a
// clean desktop for tests. Display back ends reach these through the
// display::InputSink the window layer connects.
#pragma once

#include "user/resources.h"

#include <windows.h>

namespace qv::user {

// Posts an input message (key, character, close request, focus, paint...)
// to the window's input queue, as the window system would. Input is
// retrieved after the messages the program posted itself and before the
// quit message, in arrival order. Messages for a handle that is not a live
// window are dropped.
void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Marks the window's contents as lost (exposed), so that WM_PAINT is due.
void InvalidateWindow(HWND window);

// The main (first created, not yet destroyed) top-level window, or null.
HWND MainWindow();

// The window's title as created (empty when the window is unknown).
const char* WindowTitle(HWND window);

// The icons of the window's class (hIcon, hIconSm), null when none, and the
// program's icon resource an icon handle stands for, null for none.
HICON WindowIcon(HWND window, bool small);
const ModuleResource* IconResource(HICON icon);

// Forgets every window, class and message (tests start from a clean desktop).
void Reset();

}  // namespace qv::user
