// The DLL's entry: the settings are read as the program loads it, before
// the program's code runs; its outputs end with the process.

#include "host/window_system.h"
#include "win32/start.h"

// The settings are read as the program loads the DLL; its outputs end with
// the process.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnds) {
    if (reason == DLL_PROCESS_ATTACH) qv::win32::Start();
    if (reason == DLL_PROCESS_DETACH && processEnds) {
        const std::string error = qv::win32::Finish();
        if (!error.empty()) qv::host::Active().Tell(error);
    }
    return TRUE;
}
