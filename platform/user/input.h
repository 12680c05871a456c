// How display back ends deliver input to the window layer: as window
// messages posted to the window's queue, in arrival order.
#pragma once

#include <windows.h>

namespace qv::user {

// Posts an input message (key, character, close request, focus, paint...)
// to the window's queue, as the window system would.
void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main (first created, not yet destroyed) top-level window, or null.
HWND MainWindow();

// The window's title and class name as created (empty when unknown).
const char* WindowTitle(HWND window);

// Forgets every window, class and message (tests start from a clean desktop).
void Reset();

}  // namespace qv::user
