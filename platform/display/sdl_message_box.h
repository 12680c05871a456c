// SDL's message box, ended by SIGTERM and SIGINT as well as by its button.
#pragma once

#include <windows.h>

namespace qv::display {

// Shows the box and waits until a person answers it or the process is asked
// to end (SIGTERM, SIGINT). Either way the box is gone when it returns.
void ShowSdlMessageBox(const char* text, const char* caption, UINT type);

}  // namespace qv::display
