#include "render/main_window.h"

HWND mainWindow = nullptr;
