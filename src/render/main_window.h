// The program's main window: set once by WinMain before the bring-up, which
// uses it for the exclusive display mode and as the owner of its message box.
#pragma once

#include <windows.h>

extern HWND mainWindow;
